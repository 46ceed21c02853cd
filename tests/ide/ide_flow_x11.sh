#!/bin/sh
# The whole flow of quimbel-ide as a user drives it, on a virtual X display with a window manager:
# place an edit box and a keyboard, link them, load a built-in layout through the keyboard's verb,
# type the form's caption into the Object Inspector and save with Ctrl+S at once, reopen the file,
# run the form and type by clicking keys. Exit 77 (skipped) when a tool is missing.
#   ide_flow_x11.sh QUIMBEL_IDE WORKDIR
ide=$1
work=$2
for tool in Xvfb openbox xdotool import compare; do
    command -v "$tool" >/dev/null 2>&1 || { echo "no $tool"; exit 77; }
done
rm -rf "$work" && mkdir -p "$work" || exit 1
form="$work/flow.dfm"
printf "object Form1: TForm\n  Left = 0\n  Top = 0\n  Width = 480\n  Height = 360\n  Caption = 'Form1'\nend\n" >"$form"

display=:$((120 + $$ % 100))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY="$display" QT_QPA_PLATFORM=xcb HOME="$work" LC_ALL=C.UTF-8
# The server and then the window manager are up when they answer.
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.2; done
openbox >/dev/null 2>&1 &
wm=$!
for _ in $(seq 50); do xdotool search --name openbox >/dev/null 2>&1 || xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.2; done
app=
fail() {
    echo "FAILED: $*"
    import -window root "$work/failed.png" 2>/dev/null
    kill $app $wm $xvfb 2>/dev/null
    exit 1
}
# Starts the IDE on the form; W is its window.
start() {
    "$ide" "$form" >"$work/ide.log" 2>&1 &
    app=$!
    W=$(xdotool search --sync --onlyvisible --name "Quimbel IDE" | head -1)
    xdotool windowactivate --sync "$W" >/dev/null 2>&1
    sleep 1
}
# Clicks at (X, Y) of the IDE window's client area, with button B (default 1).
at() { xdotool mousemove --window "$W" "$1" "$2" sleep 0.2 click "${3:-1}" sleep 0.4; }
keys() { xdotool key --delay 80 "$@"; sleep 0.4; }
# Runs the command until it succeeds, for up to 10 seconds: the program's answer to input takes
# its own time on a loaded machine.
until_ok() {
    for _ in $(seq 50); do
        "$@" && return 0
        sleep 0.2
    done
    return 1
}
# The number of pixels that differ between two pictures within a crop WxH+X+Y.
differing() { compare -metric AE -crop "$3" "$1" "$2" null: 2>&1 | cut -d' ' -f1; }

# The window's client area: palette tabs at the top, the inspector's rows from y 128, 21 pixels
# each, values from x 124; the designed form at (300, 81).
start
at 49 59                   # Standard: Edit (the second picture)
at 332 105                 # places Edit1 at (32, 24)
at 113 31                  # Touch Screen
at 17 59                   # Keyboard
at 332 161                 # places Keyboard1 at (32, 80), selected
at 200 558                 # its LinkedControl (row 20)
keys ctrl+a
xdotool type --delay 50 Edit1
keys Return
at 500 230 3               # the keyboard's verbs
keys Down Down Right Return  # Load Built-in Layout > us
at 700 400                 # the form (an empty place), selected
at 200 495                 # its Caption (row 21)
keys ctrl+a
xdotool type --delay 50 "Typed flow"
keys ctrl+s                # at once: the typed value is saved
until_ok grep -q "Caption = 'Typed flow'" "$form" || fail "the caption was not saved"
grep -q "LinkedControl = Edit1" "$form" || fail "the keyboard was not linked"
grep -q "Keys.Items = (" "$form" && ! grep -q "Keys.Items = ()" "$form" || fail "no layout loaded"
until_ok xdotool search --name "Quimbel IDE - Form1 \($form\)\$" >/dev/null ||
    fail "the title shows a change"
keys ctrl+q
wait $app

# Opened from the command line, the form's edit box takes no typed text: neither typed at once
# nor after a click on it (inside its frame, away from the selection's handles).
start
import -window "$W" "$work/opened.png"
xdotool type --delay 50 wwww
at 392 115
xdotool type --delay 50 wwww
sleep 0.5
import -window "$W" "$work/typed.png"
differ=$(differing "$work/opened.png" "$work/typed.png" 111x13+337+109)
[ "$differ" -lt 10 ] 2>/dev/null || fail "the designed edit box took typed text ($differ)"
keys ctrl+q
wait $app

# Reopened: the caption is there, and the form runs (its window has the caption).
start
keys F9
R=$(xdotool search --sync --onlyvisible --name "^Typed flow\$" | head -1)
[ -n "$R" ] || fail "the form does not run"
sleep 1
import -window "$R" "$work/before.png"
# Clicks on q, w and e: the edit box shows them.
for x in 75 98 120; do xdotool mousemove --window "$R" $x 116 sleep 0.2 click 1 sleep 0.3; done
typed() {
    import -window "$R" "$work/after.png"
    [ "$(differing "$work/before.png" "$work/after.png" 121x21+32+24)" -gt 20 ] 2>/dev/null
}
until_ok typed || fail "clicked keys typed nothing"
kill $app $wm $xvfb 2>/dev/null
wait $app $wm $xvfb 2>/dev/null
echo "the whole flow ran"
exit 0

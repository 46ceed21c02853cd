#!/bin/sh
# Runs the panel test's X11 case on its own X server with a window manager; skipped (77) when
# Xvfb, openbox or xdotool is missing.
test_program=$1
for tool in Xvfb openbox xdotool; do
  command -v $tool >/dev/null 2>&1 || { echo "$tool is not installed"; exit 77; }
done
display=:$((90 + $$ % 100))
Xvfb $display -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $wm $xvfb 2>/dev/null' EXIT
for i in $(seq 50); do DISPLAY=$display xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
DISPLAY=$display openbox >/dev/null 2>&1 &
wm=$!
sleep 0.5
DISPLAY=$display QT_QPA_PLATFORM=xcb "$test_program" --gtest_filter='InputPanelX11.*'

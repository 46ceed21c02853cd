#!/bin/sh
# Pictures of the keyboard as the Qt widgetset draws it offscreen, from one build, for comparing
# the rendering before and after a change to the widgetset:
#   scripts/screenshots.sh BUILD DIR     draws every picture into DIR
#   scripts/screenshots.sh --compare A B  lists the pictures that differ; exit 0 when none does
# The set: kly render of each built-in layout in every modifier state at two sizes, the benchmark
# window step by step (pressed key, resizes, modifiers; the pixels as painted, partial repaints
# included), the demo after typing, the layout editor, the IDE with a keyboard form, and the
# pictures the Qt test suites save.
set -eu

if [ "${1:-}" = "--compare" ]; then
    [ $# -eq 3 ] || { echo "usage: $0 --compare DIR_A DIR_B" >&2; exit 2; }
    status=0
    count=0
    for a in "$2"/*.png; do
        b="$3/$(basename "$a")"
        count=$((count + 1))
        if [ ! -f "$b" ]; then
            echo "missing: $b"
            status=1
        elif ! cmp -s "$a" "$b"; then
            echo "differs: $(basename "$a")"
            status=1
        fi
    done
    [ "$status" -eq 0 ] && echo "$count pictures identical"
    exit $status
fi

[ $# -eq 2 ] || { echo "usage: $0 BUILD DIR" >&2; exit 2; }
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8

# Every built-in layout the build made.
for kly in "$build"/layouts/*.kly; do
    layout=$(basename "$kly" .kly)
    for state in normal shift caps altgr; do
        for size in 400x140 1280x500; do
            "$build/apps/kly/kly" render "$kly" --size "$size" \
                --state "$state" -o "$out/kly-$layout-$state-$size.png"
        done
    done
done

bench="$out/bench"
rm -rf "$bench"
"$build/bench/bench_handmade" --screenshots "$bench"
for f in "$bench"/*.png; do mv "$f" "$out/bench-$(basename "$f")"; done
rmdir "$bench"

cd "$out"
for layout in us de; do
    "$build/apps/demo/quimbel-demo" --layout "$layout" --self-test "Quimbel 42" \
        --screenshot "$out/demo-$layout.png" >/dev/null
done
"$build/apps/layout-editor/quimbel-layout-editor" --built-in de --select 14-23 \
    --screenshot "$out/layout-editor-de.png"
"$build/apps/ide/quimbel-ide" --select Keyboard1 --screenshot "$out/ide-keyboard-form.png" \
    "$root/docs/keyboard-form.dfm"

"$build/tests/qt/qt_tests" --gtest_brief=1 >/dev/null 2>&1
"$build/tests/design/design_qt_tests" --gtest_brief=1 >/dev/null 2>&1
for dir in "$build/tests/qt/grabs" "$build/tests/design/grabs"; do
    for f in "$dir"/*.png; do cp "$f" "$out/test-$(basename "$f")"; done
done
echo "pictures in $out"

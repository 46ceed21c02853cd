#!/bin/sh
# The README's pictures of the themes: the us layout in each theme, under the Fusion and the
# Windows widget styles, at device pixel ratios 1 and 2, drawn offscreen by kly render.
#   scripts/theme-pictures.sh BUILD [DIR]     writes DIR (default docs/themes) afresh
set -eu

[ $# -ge 1 ] || { echo "usage: $0 BUILD [DIR]" >&2; exit 2; }
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
out=${2:-$root/docs/themes}
mkdir -p "$out"
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8

for theme in classic native light dark high-contrast; do
    for style in Fusion Windows; do
        for scale in 1 2; do
            "$build/apps/kly/kly" render "$build/layouts/us.kly" --size 600x200 \
                --theme "$theme" --style "$style" --scale "$scale" \
                -o "$out/us-$theme-$(echo "$style" | tr A-Z a-z)-${scale}x.png"
        done
    done
done
echo "pictures in $out"

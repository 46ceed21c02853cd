#!/usr/bin/env bash
# Regenerates the built-in layouts that come from the system's XKB keymaps (layouts/NAME.json)
# with kly import-xkb. The build never runs this: it uses the JSON files kept in the repository,
# so it does not depend on the installed keymaps. us, de, numpad, ru and el were drawn by hand
# and are not regenerated.
#
#   scripts/import-layouts.sh [path/to/kly]      (default build/apps/kly/kly)
set -euo pipefail
cd "$(dirname "$0")/.."
kly=${1:-build/apps/kly/kly}

# Built-in name, then the XKB layout it is imported from; NAME=PAGE after it overrides the page
# kly chooses (Polish: 1257 holds a few more of the Alt Gr letters, 1250 is the page of Polish).
layouts=(
  gb gb   ie ie   fr fr   be be   ch ch   ch_fr 'ch(fr)'   es es   latam latam   pt pt   br br
  it it   nl nl   se se   no no   dk dk   fi fi   is is   pl pl=1250   cz cz   sk sk   hu hu   ro ro
  hr hr   si si   rs_latin 'rs(latin)'   tr tr   ua ua   bg bg   by by   lt lt   lv lv   ee ee
  il il   ara ara   th th   vn vn
)

for ((i = 0; i < ${#layouts[@]}; i += 2)); do
  name=${layouts[i]}
  xkb=${layouts[i + 1]%=*}
  page=()
  [[ ${layouts[i + 1]} == *=* ]] && page=(--codepage "${layouts[i + 1]#*=}")
  "$kly" "${page[@]}" import-xkb "$xkb" --json -o "layouts/$name.json"
done

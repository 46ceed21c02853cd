#!/usr/bin/env bash
# The ABI of the shared libraries against the record kept in abi/ (one abidw file per library,
# compressed with xz).
#   scripts/abi.sh BUILD_DIR            check: fails on an incompatible change without a new SONAME
#   scripts/abi.sh --update BUILD_DIR   record the ABI of BUILD_DIR's libraries (make abi-record)
# The record holds every exported symbol and every type reachable from one, so it is stricter
# than the stable interface (docs/ARCHITECTURE.md): a change that only an internal header sees
# but an exported function exposes fails too; when it reaches no program, record it anew. (The
# types are not filtered by the installed headers: ccache hands out objects whose debug
# information names the work tree that compiled them first, so header paths do not match.)
# The libraries need debug information (RelWithDebInfo, as make build builds).
# Exit status: 0 compatible (or a new SONAME, whose record is then due), 1 incompatible,
# 77 abidw/abidiff missing (the test is skipped).
set -euo pipefail

update=0
if [ "${1:-}" = --update ]; then
  update=1
  shift
fi
build=$(realpath "${1:?usage: scripts/abi.sh [--update] BUILD_DIR}")
src=$(cd "$(dirname "$0")/.." && pwd)
record=$src/abi
# QUIMBEL_ABI_LIBRARIES="QuimbelRtl ..." limits a run to some of them.
all="QuimbelRtl QuimbelVcl QuimbelQt Quimbel QuimbelQtKeyboard QuimbelDesignide QuimbelInputMethod"
read -r -a libraries <<< "${QUIMBEL_ABI_LIBRARIES:-$all}"

if ! command -v abidw >/dev/null || ! command -v abidiff >/dev/null; then
  echo "abidw/abidiff not installed (Debian package abigail-tools): ABI not checked"
  exit 77
fi
soname_of() { objdump -p "$1" | sed -n 's/^ *SONAME *//p'; }

status=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for name in "${libraries[@]}"; do
  # The file the development link names: a build folder may still hold an older version.
  # (Not a copy that a test installed under tests/, which may be older than the build.)
  link=$(find "$build" \( -path "$build/debian-work" -o -path "$build/tests" \) -prune -o \
           -type l -name "lib$name.so" -print |
           head -n 1)
  lib=${link:+$(realpath "$link")}
  if [ -z "$lib" ]; then
    echo "lib$name: not built in $build" >&2
    exit 1
  fi
  soname=$(soname_of "$lib")
  # Recorded without paths, line numbers or parameter names, so that the record changes only
  # when the ABI does.
  abidw --no-corpus-path --no-comp-dir-path --no-show-locs --no-parameter-names --out-file "$work/lib$name.abi" "$lib"
  if [ $update = 1 ]; then
    mkdir -p "$record"
    xz -9 -c "$work/lib$name.abi" > "$record/lib$name.abi.xz"
    echo "lib$name: recorded $soname"
    continue
  fi
  if [ ! -f "$record/lib$name.abi.xz" ]; then
    echo "lib$name: no record in abi/ (make abi-record)" >&2
    status=1
    continue
  fi
  xz -dc "$record/lib$name.abi.xz" > "$work/lib$name.recorded.abi"
  recorded=$(sed -n "s/.*<abi-corpus [^>]*soname='\([^']*\)'.*/\1/p" "$work/lib$name.recorded.abi" |
             head -n 1)
  if [ "$recorded" != "$soname" ]; then
    echo "lib$name: SONAME $soname, recorded $recorded: any change is allowed; record the new" \
         "ABI once it is released (make abi-record)"
    continue
  fi
  # Added functions and variables keep old programs working; anything else that changed
  # (a removed symbol, a class's size or members, a changed signature) does not.
  set +e
  abidiff --no-added-syms "$work/lib$name.recorded.abi" "$work/lib$name.abi" \
    > "$work/diff" 2>&1
  result=$?
  set -e
  if [ $((result & 3)) -ne 0 ]; then
    cat "$work/diff" >&2
    echo "lib$name: abidiff failed ($result)" >&2
    exit 1
  elif [ $((result & 12)) -ne 0 ]; then
    cat "$work/diff"
    echo "lib$name: incompatible change of the ABI of $soname: undo it, or raise" \
         "QUIMBEL_SOVERSION (cmake/QuimbelBuild.cmake) and the major version" >&2
    status=1
  else
    echo "lib$name: $soname compatible with the record"
  fi
done
exit $status

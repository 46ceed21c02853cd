#!/usr/bin/env bash
# The built packages on a clean Debian 12 system: makes a minimal bookworm with debootstrap (from
# the archive apt uses here) in a chroot, installs the packages of build-package/debs with
# apt-get install ./..., builds examples/qt-app against them with CMake and a program with
# pkg-config, runs their self-tests offscreen, every program's --help, the demo's self-test and
# the installed IDE on a form with a keyboard (which needs the installed design package), an
# ordinary Qt Widgets program typed into through the input-method plugin, then
# purges the packages and checks that they left nothing behind.
#   sudo scripts/test-packages.sh [DEBS_DIR] [CHROOT_DIR]
# QUIMBEL_TEST_BASE=FILE.tar keeps the fresh system with the build tools (before any package of
# ours) in FILE.tar and starts from it the next time instead of running debootstrap again.
# Needs root and the network; takes minutes. Run it after make package, before a release or
# after a change to the packaging (cmake/QuimbelPackage.cmake, scripts/build-debs.sh,
# packaging/debian/). Not part of make test.
set -euo pipefail

src=$(cd "$(dirname "$0")/.." && pwd)
debs=$(realpath "${1:-$src/build-package/debs}")
root=${2:-/var/tmp/quimbel-test-packages}
if [ "$(id -u)" -ne 0 ]; then
  echo "needs root (debootstrap, chroot)" >&2
  exit 1
fi
ls "$debs"/*.deb >/dev/null
command -v debootstrap >/dev/null || apt-get install -y -qq debootstrap

# The archive apt uses here, from the deb822 sources or the one-line list.
mirror=$(sed -n 's/^URIs: *\([^ ]*\).*/\1/p' /etc/apt/sources.list.d/*.sources 2>/dev/null |
         grep -v security | head -n 1 || true)
if [ -z "$mirror" ]; then
  mirror=$(awk '$1 == "deb" && $2 !~ /security/ {print $2; exit}' /etc/apt/sources.list)
fi

step() { echo "== $*"; }
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
            QT_QPA_PLATFORM=offscreen DEBIAN_FRONTEND=noninteractive "$@"; }
cleanup() { umount "$root/proc" 2>/dev/null || true; }
trap cleanup EXIT

base=${QUIMBEL_TEST_BASE:-}
cleanup
rm -rf --one-file-system "$root"
if [ -n "$base" ] && [ -f "$base" ]; then
  step "fresh bookworm with build tools from $base into $root"
  mkdir -p "$root"
  tar -xf "$base" -C "$root"
  mount -t proc proc "$root/proc"
else
  step "debootstrap bookworm from $mirror into $root"
  debootstrap --variant=minbase bookworm "$root" "$mirror" > "$root.debootstrap.log" 2>&1 ||
    { tail -n 20 "$root.debootstrap.log"; exit 1; }
  mount -t proc proc "$root/proc"
  in_root apt-get update -qq
  # What a developer adds to build against the packages; the rest comes as their dependencies.
  in_root apt-get install -y -qq --no-install-recommends g++ make cmake pkg-config > /dev/null
  if [ -n "$base" ]; then
    tar -cf "$base" -C "$root" --one-file-system --exclude=./proc/* .
  fi
fi
in_root find / -xdev \( -path /proc -o -path /tmp -o -path /var -o -path /root \) -prune -o \
  -print | sort > "$root/tmp/files-before"

step "apt-get install $(cd "$debs" && echo *.deb)"
mkdir -p "$root/tmp/debs"
cp "$debs"/*.deb "$root/tmp/debs/"
in_root sh -c 'apt-get install -y -qq --no-install-recommends /tmp/debs/*.deb' > /dev/null
in_root dpkg-query -W -f='${Package} ${Version} ${Status}\n' \
  libquimbel2 libquimbel-dev quimbel quimbel-designer-plugin quimbel-inputcontext-qt6

step "examples/qt-app with CMake"
cp -r "$src/examples/qt-app" "$root/tmp/qt-app"
in_root cmake -S /tmp/qt-app -B /tmp/qt-app/build -DCMAKE_BUILD_TYPE=Release > /dev/null
in_root cmake --build /tmp/qt-app/build -j 2 > /dev/null
in_root /tmp/qt-app/build/quimbel-qt-app --self-test

step "examples/qt-app with pkg-config"
# -fPIC is Qt's requirement of every program (its CMake package adds it, its .pc files do not):
# without it a position-independent executable gets copies of Qt's static data and crashes.
in_root sh -c 'g++ -std=c++17 -fPIC -o /tmp/qt-app/pc-app /tmp/qt-app/main.cpp \
  $(pkg-config --cflags --libs quimbel-qt Qt6Test)'
in_root /tmp/qt-app/pc-app --self-test
in_root pkg-config --cflags --libs quimbel-qt

step "programs"
for program in kly dfmconv quimbel-demo quimbel-layout-editor quimbel-ide; do
  in_root "$program" --help > /dev/null
  in_root man -w "$program" > /dev/null 2>&1 || test -f "$root/usr/share/man/man1/$program.1.gz"
  echo "$program --help: ok, manual page installed"
done
in_root kly check /usr/share/quimbel/layouts/us.kly
in_root sh -c 'cd /tmp && quimbel-demo --self-test "Hello, world" --screenshot /tmp/demo.png'

step "the installed IDE loads the installed design package"
cp "$src/docs/keyboard-form.dfm" "$root/tmp/"
in_root quimbel-ide --select Keyboard1 --screenshot /tmp/ide.png /tmp/keyboard-form.dfm
test -s "$root/tmp/ide.png"
echo "quimbel-ide opened a form with a TKeyboard and selected it"

step "an ordinary Qt Widgets program with QT_IM_MODULE=quimbel"
if ls "$debs"/quimbel-inputcontext-qt6_*.deb > /dev/null 2>&1; then
  cp "$src/packaging/check/plain-widgets.cpp" "$root/tmp/"
  in_root sh -c 'g++ -std=c++17 -fPIC -o /tmp/plain-widgets /tmp/plain-widgets.cpp \
    $(pkg-config --cflags --libs Qt6Widgets Qt6Test)'
  in_root sh -c 'QT_IM_MODULE=quimbel /tmp/plain-widgets 2>/dev/null'
else
  echo "no quimbel-inputcontext-qt6 package built: not checked"
fi

step "purge"
packages="libquimbel2 libquimbel-dev quimbel quimbel-designer-plugin quimbel-inputcontext-qt6"
in_root sh -c "dpkg -L $packages" | sort -u > "$root/tmp/package-files"
in_root sh -c "apt-get purge -y -qq $packages > /dev/null"
in_root find / -xdev \( -path /proc -o -path /tmp -o -path /var -o -path /root \) -prune -o \
  -print | sort > "$root/tmp/files-after"
# Left behind: a path of the packages that is still there (other than a folder that another
# package owns too), or any new path that names quimbel.
left=$( (comm -12 "$root/tmp/package-files" "$root/tmp/files-after" |
         comm -23 - "$root/tmp/files-before" |
         while read -r path; do
           [ -d "$root$path" ] && in_root dpkg -S "$path" > /dev/null 2>&1 || echo "$path"
         done
         comm -13 "$root/tmp/files-before" "$root/tmp/files-after" | grep -i quimbel) |
       sort -u || true)
if [ -n "$left" ]; then
  echo "left behind after the purge:" >&2
  echo "$left" >&2
  exit 1
fi
if in_root dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' $packages 2>/dev/null |
   grep -v '^un ' | grep -q .; then
  echo "packages still known to dpkg after the purge" >&2
  exit 1
fi
echo "purged: no file of the packages left"
step "all passed"

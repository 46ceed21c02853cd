#!/usr/bin/env bash
# Builds the Debian packages from a build configured for the prefix /usr (make package does both):
#   scripts/build-debs.sh BUILD_DIR OUT_DIR
# Each package is one install component of the build (cmake/QuimbelPackage.cmake lists them);
# a component that installs nothing (the input-method plugin before the tree has one) makes no
# package. Control data comes from packaging/debian/: the package descriptions (control), the
# Debian changelog, the machine-readable copyright and the lintian overrides.
set -euo pipefail

build=$(realpath "$1")
out=$(realpath -m "$2")
src=$(cd "$(dirname "$0")/.." && pwd)
work=$build/debian-work
rm -rf "$work" "$out"
mkdir -p "$work/debian" "$out"
cp "$src/packaging/debian/control" "$src/packaging/debian/changelog" "$work/debian/"
cd "$work"

version=$(dpkg-parsechangelog -S Version)
project=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
if [ "${version%-*}" != "$project" ]; then
  echo "packaging/debian/changelog is at $version, the project at $project: add an entry" >&2
  exit 1
fi
if ! grep -q '^CMAKE_INSTALL_PREFIX:PATH=/usr$' "$build/CMakeCache.txt"; then
  echo "$build is not configured for the prefix /usr" >&2
  exit 1
fi

# Libraries first: the other packages' dependencies come from its shlibs file.
packages=(libquimbel2:Libraries libquimbel-dev:Development quimbel:Runtime
          quimbel-designer-plugin:Designer quimbel-inputcontext-qt6:InputMethod)

for entry in "${packages[@]}"; do
  pkg=${entry%%:*}
  component=${entry#*:}
  root=debian/$pkg
  DESTDIR=$PWD/$root cmake --install "$build" --component "$component" >/dev/null
  if [ -z "$(find "$root" -type f 2>/dev/null)" ]; then
    rm -rf "$root"
    echo "$pkg: component $component installs nothing, no package"
    continue
  fi

  # Stripped as Debian strips: no debug information, comments or notes, and archives that
  # do not record time stamps.
  elves=()
  while IFS= read -r -d '' f; do
    case "$(file -b "$f")" in
      *"ELF "*" executable"*)
        strip --remove-section=.comment --remove-section=.note "$f"; elves+=("$f") ;;
      *"ELF "*"shared object"*)
        strip --remove-section=.comment --remove-section=.note --strip-unneeded "$f"
        chmod 0644 "$f"; elves+=("$f") ;;
      "current ar archive"*)
        strip --strip-debug --remove-section=.comment --remove-section=.note \
              --enable-deterministic-archives "$f" ;;
    esac
  done < <(find "$root" -type f -print0)

  find "$root" -type d -exec chmod 0755 {} +
  find "$root" -type f ! -path "$root/usr/bin/*" -exec chmod 0644 {} +
  if [ -d "$root/usr/share/man" ]; then
    find "$root/usr/share/man" -type f -name '*.[0-9]' -exec gzip -9n {} +
  fi

  doc=$root/usr/share/doc/$pkg
  mkdir -p "$doc"
  install -m 0644 "$src/packaging/debian/copyright" "$doc/copyright"
  gzip -9nc debian/changelog > "$doc/changelog.Debian.gz"
  chmod 0644 "$doc/changelog.Debian.gz"
  if [ -f "$src/packaging/debian/$pkg.lintian-overrides" ]; then
    install -D -m 0644 "$src/packaging/debian/$pkg.lintian-overrides" \
      "$root/usr/share/lintian/overrides/$pkg"
  fi

  mkdir -p "$root/DEBIAN"
  if [ "$pkg" = libquimbel2 ]; then
    # Programs built against 2.0.0 run with any later 2.x; a release that adds to the interface
    # raises this version (docs/ARCHITECTURE.md, stable interface).
    for lib in "$root"/usr/lib/*/lib*.so.*; do
      [ -L "$lib" ] && continue
      soname=$(objdump -p "$lib" | sed -n 's/^ *SONAME *//p')
      echo "${soname%.so.*} ${soname##*.so.} $pkg (>= $project)"
    done | sort > "$root/DEBIAN/shlibs"
    # The dynamic linker's cache is rebuilt by dpkg's trigger, not by maintainer scripts.
    echo "activate-noawait ldconfig" > "$root/DEBIAN/triggers"
    chmod 0644 "$root/DEBIAN/shlibs" "$root/DEBIAN/triggers"
  fi

  : > "debian/$pkg.substvars"
  if [ ${#elves[@]} -gt 0 ]; then
    dpkg-shlibdeps -T"debian/$pkg.substvars" -Sdebian/libquimbel2 "${elves[@]}" \
      2> >(grep -v 'dpkg-shlibdeps: warning: diversions' >&2)
  fi
  dpkg-gencontrol -p"$pkg" -P"$root" -T"debian/$pkg.substvars"
  (cd "$root" && find . -type f ! -path './DEBIAN/*' -printf '%P\0' | sort -z |
     xargs -0 md5sum > DEBIAN/md5sums)
  chmod 0644 "$root/DEBIAN/md5sums"
  dpkg-deb --root-owner-group -Zxz --build "$root" "$out" >/dev/null
  echo "$pkg: $(basename "$out/${pkg}_${version}"_*.deb)"
done

#!/usr/bin/env bash
# Builds the Debian package with dpkg-buildpackage in a copy of the sources under
# build-deb/, so that neither the working tree nor build/ is touched, and puts
# orvex_<version>-1_<arch>.deb at the top of the tree. The full log stays in
# build-deb/build.log, beside the .changes, .buildinfo and debug symbols package.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs="${1:-$(nproc)}"

version="$(sed -n 's/^project(orvex VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
revision="$(dpkg-parsechangelog -S Version)"
if [ "$revision" != "$version-1" ]; then
  echo "debian/changelog is at $revision but CMakeLists.txt at $version:" \
       "add an entry for $version-1 (dch -v $version-1)" >&2
  exit 1
fi
deb="orvex_${revision}_$(dpkg --print-architecture).deb"

stage="build-deb"
source="$stage/orvex-$version"
rm -rf "$stage"
mkdir -p "$source"
# The files git knows of or would add, as they are in the working tree; from an
# unpacked archive, everything but the build trees and packages.
if git rev-parse --is-inside-work-tree > /dev/null 2>&1; then
  git ls-files -z --cached --others --exclude-standard |
    tar --null --ignore-failed-read -T - -cf - 2> /dev/null | tar -xf - -C "$source"
else
  tar --exclude='./build*' --exclude='./orvex_*.deb' -cf - . | tar -xf - -C "$source"
fi

echo "Building $deb (log: $stage/build.log)"
if ! (cd "$source" && dpkg-buildpackage -us -uc -b -j"$jobs") > "$stage/build.log" 2>&1; then
  tail -n 30 "$stage/build.log" >&2
  echo "dpkg-buildpackage failed: see $stage/build.log" >&2
  exit 1
fi
rm -f orvex_*.deb
cp "$stage/$deb" .
echo "$deb"

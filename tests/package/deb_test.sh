#!/usr/bin/env bash
# Checks the Debian package `make deb` built: its files and dependencies, lintian
# and AppStream verdicts, the desktop entry, the manual page, and the packaged
# program itself run from an extracted copy.
set -euo pipefail
cd "$(dirname "$0")/../.."

version="$(sed -n 's/^project(orvex VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
deb="orvex_${version}-1_$(dpkg --print-architecture).deb"
changes="build-deb/orvex_${version}-1_$(dpkg --print-architecture).changes"
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
[ -f "$deb" ] || fail "$deb was not built"

files="$(dpkg-deb -c "$deb" | awk '{print $6}')"
for file in usr/bin/orvex usr/share/orvex/nouveautes.txt \
            usr/share/applications/fr.velmora.Orvex.desktop \
            usr/share/metainfo/fr.velmora.Orvex.metainfo.xml \
            usr/share/icons/hicolor/scalable/apps/orvex.svg \
            usr/share/icons/hicolor/48x48/apps/orvex.png \
            usr/share/icons/hicolor/128x128/apps/orvex.png \
            usr/share/man/man1/orvex.1.gz \
            usr/share/doc/orvex/copyright usr/share/doc/orvex/changelog.Debian.gz; do
  grep -qx "\./$file" <<< "$files" || fail "$file is not in the package"
done
stray="$(grep -v -e '^\./$' -e '^\./usr/' <<< "$files" || true)"
[ -z "$stray" ] || fail "files outside /usr: $stray"

depends="$(dpkg-deb -f "$deb" Depends | tr -d ' ' | tr ',' '\n' | sed 's/(.*//')"
for package in breeze-icon-theme libqt6svg6 qt6-translations-l10n fonts-urw-base35 \
               libc6 libqt6widgets6 libqscintilla2-qt6-15; do
  grep -qx "$package" <<< "$depends" || fail "Depends lacks $package: $(dpkg-deb -f "$deb" Depends)"
done
echo "package files and Depends: ok"

echo "lintian:"
# Root is told that lintian prefers a plain user: that line says nothing of the package.
lintian --fail-on error,warning --display-info "$changes" 2>&1 | { grep -v 'root privileges' || true; } | sed 's/^/  /' ||
  fail "lintian"

dpkg-deb -x "$deb" "$root"
share="$root/usr/share"
appstreamcli validate --no-net --strict "$share/metainfo/fr.velmora.Orvex.metainfo.xml" > "$root/appstream" 2>&1 ||
  fail "appstreamcli: $(cat "$root/appstream")"
report="$(desktop-file-validate "$share/applications/fr.velmora.Orvex.desktop" 2>&1)" || fail "$report"
[ -z "$report" ] || fail "desktop-file-validate: $report"
for size in 48 128; do
  [ "$(identify -format '%wx%h' "$share/icons/hicolor/${size}x$size/apps/orvex.png")" = "${size}x$size" ] ||
    fail "the ${size} px icon has the wrong size"
done
grep -q "<release version=\"$version\"" "$share/metainfo/fr.velmora.Orvex.metainfo.xml" ||
  fail "the AppStream metadata has no release $version"
grep -q '^MODE BATCH' <<< "$(man -l -P cat "$share/man/man1/orvex.1.gz" 2> /dev/null)" ||
  fail "the manual page does not read"
echo "AppStream, desktop entry, icons and manual page: ok"

# dpkg-buildflags' hardening: a position-independent executable, bound at start,
# with the fortified C library calls.
binary="$root/usr/bin/orvex"
grep -q 'BIND_NOW' <<< "$(readelf -d "$binary")" || fail "orvex is not linked with -z now"
grep -q 'Position-Independent' <<< "$(readelf -h "$binary")" || fail "orvex is not a PIE"
grep -q '__[a-z]*_chk@' <<< "$(readelf --dyn-syms -W "$binary")" || fail "orvex is not built with _FORTIFY_SOURCE"
echo "hardening (PIE, bind now, fortify): ok"

printed="$("$binary" --version)"
grep -qF "$version" <<< "$printed" || fail "orvex --version: $printed"
printf 'été\nabc\n' > "$root/texte.txt"
"$binary" "$root/texte.txt" 1 || fail "batch run"
[ "$(cat "$root/texte.txt")" = "$(printf 'éTé\nABC')" ] || fail "batch result: $(cat "$root/texte.txt")"
echo "packaged orvex --version and batch run: ok"

#!/usr/bin/env bash
# Installs the build tree into a temporary prefix and checks what a user gets: the
# layout, a valid desktop entry, a manual page that man reads without a warning,
# and an installed program that runs a batch.
set -euo pipefail
build="$1"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" > /dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }
for file in bin/orvex share/orvex/nouveautes.txt share/applications/fr.velmora.Orvex.desktop \
            share/metainfo/fr.velmora.Orvex.metainfo.xml \
            share/icons/hicolor/scalable/apps/orvex.svg share/icons/hicolor/48x48/apps/orvex.png \
            share/icons/hicolor/128x128/apps/orvex.png share/man/man1/orvex.1; do
  [ -f "$prefix/$file" ] || fail "$file is not installed"
done
[ -x "$prefix/bin/orvex" ] || fail "bin/orvex is not executable"

entry="$prefix/share/applications/fr.velmora.Orvex.desktop"
report="$(desktop-file-validate "$entry" 2>&1)" || fail "desktop-file-validate: $report"
[ -z "$report" ] || fail "desktop-file-validate: $report"
grep -qx 'Categories=Utility;TextEditor;' "$entry" || fail "Categories"
grep -qx 'MimeType=text/plain;' "$entry" || fail "MimeType"
grep -qx 'Exec=orvex %f' "$entry" || fail "Exec"

page="$(MANWIDTH=80 man --warnings -l -P cat "$prefix/share/man/man1/orvex.1" 2> "$prefix/man-warnings")"
[ ! -s "$prefix/man-warnings" ] || fail "man: $(cat "$prefix/man-warnings")"
for section in NOM SYNOPSIS "MODE BATCH" "CODE DE RETOUR" FICHIERS; do
  grep -q "^$section" <<< "$page" || fail "the manual has no $section section"
done

"$prefix/bin/orvex" --help | grep -q "Liste des options en mode batch" || fail "--help"
printf 'été\n' > "$prefix/texte.txt"
"$prefix/bin/orvex" "$prefix/texte.txt" 5 1 || fail "batch run"
[ "$(cat "$prefix/texte.txt")" = "ETE" ] || fail "batch result: $(cat "$prefix/texte.txt")"
echo "installed layout, desktop entry, manual page and batch run: ok"

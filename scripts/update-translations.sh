#!/usr/bin/env bash
# Rescans the sources for tr() texts and merges them into translations/CH.ts.
#
# Run it on purpose after adding or changing user-visible texts, translate the new entries
# (they come in marked unfinished), and commit CH.ts. The build never runs it: it only compiles
# the committed CH.ts into CH.qm, so a build can never clobber the translations.
# tests/tst_translations fails while any text of the sources lacks a finished translation.
#
# Usage: scripts/update-translations.sh [extra lupdate option...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

lupdate=""
for candidate in /usr/lib/qt5/bin/lupdate /usr/lib/x86_64-linux-gnu/qt5/bin/lupdate; do
    [ -x "$candidate" ] && { lupdate=$candidate; break; }
done
if [ -z "$lupdate" ] && command -v lupdate >/dev/null 2>&1; then
    lupdate="lupdate -qt=5"
fi
if [ -z "$lupdate" ]; then
    echo "update-translations: lupdate not found (install qttools5-dev-tools)" >&2
    exit 1
fi

# The main program, Dossview, the outside stand-ins (Panelet's and Livescope's texts show in
# the same windows) and the thermography engine (the texts of its reports and pictures).
# Locations are left out so line moves don't churn the catalogue.
cd "$root"
$lupdate -recursive app dossview outside thermography \
    -extensions cpp,h \
    -locations none \
    -no-obsolete \
    -source-language en \
    -target-language zh_CN \
    "$@" \
    -ts translations/CH.ts

unfinished=$(grep -c 'type="unfinished"' translations/CH.ts || true)
echo "update-translations: $unfinished text(s) still to translate in translations/CH.ts"

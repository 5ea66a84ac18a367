#!/usr/bin/env bash
# CI stage (as root): the Debian package. Builds it in build/ after the test stage, so the
# objects are reused; installs it with apt-get; validates the menu entry and the AppStream file
# and runs lintian (errors fail, warnings are listed); starts the installed program under Xvfb
# as an ordinary user made for the stage (scripts/ci-package-gui.sh); removes the package and
# checks that nothing of it is left under /usr. The user and their settings go at the end.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${CALORIX_BUILD_DIR:-$root/build}
user=${CALORIX_CI_USER:-calorix-ci}
[ "$(id -u)" -eq 0 ] || { echo "ci-package: run as root" >&2; exit 1; }

"$root/scripts/install-deps.sh" desktop-file-utils appstream lintian xdotool x11-utils passwd
"$root/scripts/package.sh"
deb=$(ls "$build"/calorix_*_*.deb)
work=$(mktemp -d)
chmod 755 "$work"
cp "$deb" "$root/scripts/ci-package-gui.sh" "$work/"

cleanup() {
    if dpkg-query -W -f='${Status}' calorix 2>/dev/null | grep -q 'ok installed'; then
        apt-get purge -y -qq calorix >/dev/null || true
    fi
    id "$user" >/dev/null 2>&1 && userdel -r "$user" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

echo "--- install $(basename "$deb")"
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$work/$(basename "$deb")" >/dev/null
dpkg -L calorix | sort >"$work/files"
desktop=/usr/share/applications/org.calorix.Calorix.desktop
[ -x /usr/bin/calorix ] && [ -f "$desktop" ] || { echo "ci-package: not installed" >&2; exit 1; }
[ -x /usr/bin/calorix-export ] && [ -f /usr/share/man/man1/calorix-export.1.gz ] \
    || { echo "ci-package: calorix-export or its manual page not installed" >&2; exit 1; }
for size in 48 64 128 256; do
    [ -f /usr/share/icons/hicolor/${size}x${size}/apps/calorix.png ]
done

echo "--- desktop-file-validate, appstreamcli validate --no-net"
desktop-file-validate "$desktop"
appstreamcli validate --no-net /usr/share/metainfo/org.calorix.Calorix.metainfo.xml

id "$user" >/dev/null 2>&1 || useradd --create-home --shell /bin/bash "$user"
as_user() { runuser -u "$user" -- "$@"; }

echo "--- lintian"
as_user lintian --fail-on error --display-level '>=warning' "$work/$(basename "$deb")"

echo "--- the installed program, as $user"
gui() { as_user env HOME="$(getent passwd "$user" | cut -d: -f6)" \
    xvfb-run -a -s "-screen 0 1280x800x24" "$work/ci-package-gui.sh" "$1" 2>&1 \
    | grep -v 'XDG_RUNTIME_DIR not set'; }
gui first
gui chinese
gui demo

echo "--- calorix-export on the demo card, as $user"
"$build/bin/democard" "$work/card" >/dev/null
chmod -R a+rX "$work/card"
home=$(getent passwd "$user" | cut -d: -f6)
status=0
as_user env HOME="$home" calorix-export --csv "$home/export/csv" --png "$home/export/png" \
    --report "$home/export/report.pdf" --title "Demo card" --box 60,40,40,30 --spot 80,60 \
    --json "$work/card" >"$work/export.json" 2>"$work/export.err" || status=$?
measured=$(grep -c '"temperature_data": true' "$work/export.json" || true)
csvs=$(find "$home/export/csv" -name '*.csv' | wc -l)
pngs=$(find "$home/export/png" -name '*.png' | wc -l)
pages=$(pdfinfo "$home/export/report.pdf" 2>/dev/null | sed -n 's/^Pages: *//p')
# The demo card holds one damaged picture: status 1, named alone, the others all done.
[ "$status" = 1 ] && [ "$(wc -l <"$work/export.err")" = 1 ] && grep -q IR_DAMAGED "$work/export.err" \
    && [ "$(grep -c '"temperature_data": false' "$work/export.json")" = 1 ] && [ "$measured" -gt 0 ] \
    && [ "$csvs" = "$measured" ] && [ "$pngs" = "$measured" ] && [ "$pages" = $((measured + 1)) ] \
    || { echo "ci-package: calorix-export: status $status; $measured pictures with data," \
              "$csvs CSV, $pngs PNG files, ${pages:-no} report pages" >&2
         cat "$work/export.err" >&2; exit 1; }
echo "calorix-export: $measured pictures as CSV, PNG and a report of $pages pages; $(cat "$work/export.err")"

echo "--- remove"
DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq calorix >/dev/null
left=()
while read -r path; do
    case $path in /usr/*) ;; *) continue ;; esac
    # Folders shared with other packages stay; the files and our own folders must go.
    if [ -e "$path" ] || [ -L "$path" ]; then
        [ -d "$path" ] && [ ! -L "$path" ] && [ -n "$(dpkg -S "$path" 2>/dev/null)" ] && continue
        left+=("$path")
    fi
done <"$work/files"
while read -r path; do left+=("$path"); done < <(find /usr -iname '*calorix*' 2>/dev/null)
[ -e /usr/bin/options.xml ] && left+=(/usr/bin/options.xml)
if [ ${#left[@]} -gt 0 ]; then
    printf 'ci-package: left under /usr: %s\n' "${left[@]}" >&2
    exit 1
fi
home=$(getent passwd "$user" | cut -d: -f6)
[ -s "$home/.config/calorix/options.xml" ] || { echo "ci-package: settings gone" >&2; exit 1; }
echo "removed: nothing of calorix is left under /usr; $user's settings stay in their home"

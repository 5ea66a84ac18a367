#!/usr/bin/env bash
# Part of scripts/ci-package.sh, run as the stage's ordinary user under Xvfb: starts the installed
# program, looks at its windows with xdotool/xprop and closes it through its File menu, so its
# closeEvent runs as it does for a user (there is no window manager to ask).
#   ci-package-gui.sh first    from the home folder, no settings yet: the window appears, and
#                              on close options.xml appears in the user's configuration folder
#   ci-package-gui.sh chinese  Language CH in that file, started as the menu entry starts it
#                              (its Exec in its Path): Chinese texts; then from the home folder,
#                              where the catalogues are found in the installed data folder:
#                              Chinese texts too
#   ci-package-gui.sh demo     the menu entry's demo action: the demo card is written into the
#                              user's cache folder and the main window comes up
set -euo pipefail
desktop=/usr/share/applications/org.calorix.Calorix.desktop
config=${XDG_CONFIG_HOME:-$HOME/.config}/calorix/options.xml
title='Calorix V1.35'

fail() { echo "ci-package-gui: $*" >&2; exit 1; }
# Waits until a visible window's name matches the regular expression; prints its id.
visible() { timeout 30 xdotool search --sync --onlyvisible --name "$1" | head -n 1; }
# Waits until no visible window's name matches.
gone() {
    local tries=300
    while xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; do
        ((--tries > 0)) || fail "window '$1' stays open"
        sleep 0.1
    done
}
# The program's visible windows other than the main window $1 (a menu's popup has no name).
others() { xdotool search --onlyvisible --classname '^calorix$' | grep -vx "$1" || true; }
# Waits until the program shows ($2 = shown) or hides ($2 = hidden) a window beside window $1.
popup() {
    local tries=300 now
    while :; do
        now=hidden
        [ -z "$(others "$1")" ] || now=shown
        [ "$now" = "$2" ] && return 0
        ((--tries > 0)) || fail "the menu is not $2"
        sleep 0.1
    done
}
# The File menu is the first one of the menu bar.
file_menu() {
    xdotool mousemove --window "$1" 20 12 click 1
    popup "$1" shown
}
# File > Option: the dialog's title, then Escape.
options_dialog_title() {
    file_menu "$1"
    xdotool key Down Down Return # Connect, (Disconnect is disabled), Option
    local dialog name
    dialog=$(visible '^(Options|选项)$')
    name=$(xdotool getwindowname "$dialog")
    xdotool key Escape
    gone '^(Options|选项)$'
    popup "$1" hidden
    echo "$name"
}
# File > Close, the last item; waits for the process to end.
close_by_menu() {
    file_menu "$1"
    xdotool key Up Return
    timeout 30 tail --pid="$2" -f /dev/null || fail "the program did not end after File > Close"
}
# Starts the program in folder $1 and checks its main window; sets window and pid.
start_in() {
    cd "$1"
    /usr/bin/calorix &
    pid=$!
    window=$(visible "^${title}\$") || fail "no main window"
    [ -n "$window" ] || fail "no main window"
    [ "$(xprop -id "$window" _NET_WM_NAME)" = "_NET_WM_NAME(UTF8_STRING) = \"$title\"" ] \
        || fail "title is $(xprop -id "$window" _NET_WM_NAME)"
}

case ${1:-} in
first)
    [ ! -e "$config" ] || fail "$config exists before the first start"
    start_in "$HOME"
    close_by_menu "$window" "$pid"
    [ -s "$config" ] || fail "no $config after closing"
    grep -q '<Language></Language>' "$config" || fail "unexpected $config"
    [ ! -e /usr/bin/options.xml ] || fail "options.xml beside the installed executable"
    echo "first start: window '$title', settings written to $config"
    ;;
chinese)
    sed -i 's|<Language>[^<]*</Language>|<Language>CH</Language>|' "$config"
    grep -q '<Language>CH</Language>' "$config" || fail "Language CH not set"
    exec_key=$(sed -n '/^\[Desktop Entry\]/,/^\[/ s/^Exec=//p' "$desktop")
    path_key=$(sed -n '/^\[Desktop Entry\]/,/^\[/ s/^Path=//p' "$desktop")
    [ "$exec_key" = calorix ] || fail "Exec=$exec_key"
    cd "$path_key"
    calorix &
    pid=$!
    window=$(visible "^${title}\$")
    [ -n "$window" ] || fail "no main window from the menu entry"
    name=$(options_dialog_title "$window")
    [ "$name" = 选项 ] || fail "menu entry start: the Options dialog is titled '$name'"
    close_by_menu "$window" "$pid"
    echo "menu entry start (Path=$path_key): window '$title', File > Option opens '$name'"

    start_in "$HOME"
    name=$(options_dialog_title "$window")
    [ "$name" = 选项 ] || fail "home folder start: the Options dialog is titled '$name'"
    close_by_menu "$window" "$pid"
    grep -q '<Language>CH</Language>' "$config" || fail "Language CH lost"
    echo "home folder start: catalogues from the installed data folder, File > Option opens '$name'"
    ;;
demo)
    card=${XDG_CACHE_HOME:-$HOME/.cache}/calorix/demo-card
    action=$(sed -n '/^\[Desktop Action demo\]/,/^\[/ s/^Exec=//p' "$desktop")
    [ -x "$action" ] || fail "demo action Exec=$action"
    cd "$HOME"
    "$action" &
    pid=$!
    window=$(visible "^${title}\$")
    [ -n "$window" ] || fail "no main window from the demo action"
    # The card is written while the window opens the demo instrument.
    timeout 30 sh -c "until [ -f '$card/DCIM/100THERM/IR_0001.BMP' ]; do sleep 0.1; done" \
        || fail "no demo card in $card"
    close_by_menu "$window" "$pid"
    echo "demo action: the main window came up, the demo card is in $card"
    ;;
*)
    fail "usage: ci-package-gui.sh first|chinese|demo"
    ;;
esac

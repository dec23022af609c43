#!/usr/bin/env bash
# Installs the game into a temporary prefix, validates its menu entry, metainfo and manual page
# with the desktop's own validators, and starts the installed executable in a virtual X display
# until it reports the game screen. Exits 77 (skipped) when a tool is missing.
# Usage: check_install.sh BUILD_DIR
set -euo pipefail

build_dir=$1
for tool in desktop-file-validate appstreamcli mandoc Xvfb; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed (scripts/install-deps.sh installs it)"
        exit 77
    fi
done

work=$(mktemp -d)
xvfb_pid=""
game_pid=""
cleanup() {
    if [ -n "$game_pid" ]; then
        kill "$game_pid" 2>/dev/null || true
        wait "$game_pid" 2>/dev/null || true
    fi
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

prefix="$work/prefix"
cmake --install "$build_dir" --prefix "$prefix" >/dev/null

share="$prefix/share"
desktop-file-validate "$share/applications/net.ostravel.Quarrow.desktop"
appstreamcli validate --no-net "$share/metainfo/net.ostravel.Quarrow.metainfo.xml"
mandoc -T lint -W warning "$share/man/man6/quarrow.6"
for size in 16 24 32 48 64 128 256 512; do
    test -s "$share/icons/hicolor/${size}x${size}/apps/quarrow.png"
done
test -s "$share/icons/hicolor/scalable/apps/quarrow.svg"

# A free display number: the lock file of a running X server marks a taken one.
display=140
while [ -e "/tmp/.X${display}-lock" ]; do
    display=$((display + 1))
done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 100); do
    [ -e "/tmp/.X11-unix/X$display" ] && break
    sleep 0.1
done

state="$work/state"
# The game window once the board is at rest, as a picture for the software centre listing.
save_screenshot() {
    command -v xdotool >/dev/null && command -v import >/dev/null || return 0
    for _ in $(seq 1 50); do
        grep -q '^rest 1$' "$state" && break
        sleep 0.1
    done
    local window
    window=$(DISPLAY=":$display" timeout 5 xdotool search --name Quarrow | head -n 1) || return 0
    mkdir -p "$build_dir/screenshots"
    DISPLAY=":$display" timeout 10 import -window "$window" "$build_dir/screenshots/game.png" ||
        true
}
DISPLAY=":$display" SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy QUARROW_HOME="$work/home" QUARROW_TEST_STATE="$state" \
    "$prefix/games/quarrow" --windowed --play=one:1 &
game_pid=$!

for _ in $(seq 1 600); do
    if grep -q '^screen game$' "$state" 2>/dev/null; then
        echo "The installed game reached the game screen"
        save_screenshot
        exit 0
    fi
    if ! kill -0 "$game_pid" 2>/dev/null; then
        echo "FAIL: the installed game ended before the game screen"
        exit 1
    fi
    sleep 0.1
done
echo "FAIL: the installed game did not reach the game screen within 60 seconds"
exit 1

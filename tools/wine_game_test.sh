#!/usr/bin/env bash
# Starts the Windows executable under Wine in a fresh folder with a debug
# world and the timed screenshot, and checks that it ran, drew a picture and
# wrote its settings on the way out.
set -euo pipefail
exe=$(readlink -f "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX=${WINEPREFIX:-$HOME/.wine-palewick}
mkdir -p "$WINEPREFIX"
status=0
KIRN_AUTOSTART=1 KIRN_SCREENSHOT=shot.png timeout 300 wine "$exe" > game.log 2>&1 || status=$?
if [ "$status" -ne 0 ]; then
  tail -20 game.log
  echo "wine game test: exit status $status"
  exit 1
fi
grep -q "SURVIVAL: " game.log || { tail -20 game.log; echo "wine game test: no start message"; exit 1; }
size=$(stat -c %s shot.png 2>/dev/null || echo 0)
[ "$size" -gt 10000 ] || { tail -20 game.log; echo "wine game test: no screenshot"; exit 1; }
[ -f settings.ini ] || { echo "wine game test: settings.ini not written"; exit 1; }
echo "wine game test: started, drew a ${size}-byte picture and shut down cleanly"

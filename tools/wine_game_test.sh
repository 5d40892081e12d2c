#!/usr/bin/env bash
# Starts the Windows executable under Wine in a fresh folder with a debug
# world and the timed screenshot, and checks that it ran, drew a picture and
# wrote its settings on the way out. The picture's name holds a link to a
# player's file, which must be replaced, not written through; a second run
# names a FIFO, which must neither hold the game nor keep it from writing
# its settings.
set -euo pipefail
exe=$(readlink -f "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX=${WINEPREFIX:-$HOME/.wine-palewick}
mkdir -p "$WINEPREFIX"
echo "a player's text" > victim.txt
ln -s victim.txt shot.png
# Runs the game in this folder with the timed screenshot named shot.png; $1
# says what lies at that name, for the failure message.
run_game() {
  local status=0
  KIRN_AUTOSTART=1 KIRN_SCREENSHOT=shot.png timeout 300 wine "$exe" > game.log 2>&1 || status=$?
  if [ "$status" -ne 0 ]; then
    tail -20 game.log
    echo "wine game test: with $1 at the picture's name, exit status $status"
    exit 1
  fi
}
run_game "a link"
grep -q "SURVIVAL: " game.log || { tail -20 game.log; echo "wine game test: no start message"; exit 1; }
[ ! -L shot.png ] || { echo "wine game test: the link at the picture's name was kept"; exit 1; }
size=$(stat -c %s shot.png 2>/dev/null || echo 0)
[ "$size" -gt 10000 ] || { tail -20 game.log; echo "wine game test: no screenshot"; exit 1; }
[ "$(cat victim.txt)" = "a player's text" ] || { echo "wine game test: the picture went through the link"; exit 1; }
[ -f settings.ini ] || { echo "wine game test: settings.ini not written"; exit 1; }

mkdir fifo && cd fifo
mkfifo shot.png
run_game "a FIFO"
[ -f settings.ini ] || { echo "wine game test: with a FIFO at the picture's name, settings.ini not written"; exit 1; }
echo "wine game test: started, drew a ${size}-byte picture beside a link and shut down cleanly, also past a FIFO"

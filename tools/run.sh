#!/usr/bin/env bash
# Builds Palewick for Linux (setting up a fresh machine first) and starts it.
# The game keeps settings.ini and savegame.dat in the folder it runs in.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/bootstrap.sh
cmake -S . -B build/linux -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/linux
if [ ! -x build/linux/palewick ]; then
  echo "run: the libraries are built; the game executable is not part of this tree yet."
  exit 0
fi
exec ./build/linux/palewick "$@"

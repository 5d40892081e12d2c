#!/usr/bin/env bash
# Builds the Linux game (setting up a fresh machine first with only what the
# game needs) and starts it. The game keeps settings.ini and savegame.dat in
# the folder it runs in.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/bootstrap.sh game
# A build folder that tools/test.sh configured keeps its tests; a new one is
# set up for the game alone, so no test framework is needed. Either way a
# compiler warning is printed and the build goes on: a compiler newer than
# the one the game was tested with must not stop a player.
if [ -f build/linux/CMakeCache.txt ]; then
  cmake -S . -B build/linux --compile-no-warning-as-error >/dev/null
else
  cmake -S . -B build/linux -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo --compile-no-warning-as-error \
        -DPALEWICK_TESTS=OFF -DPALEWICK_BENCH=OFF >/dev/null
fi
cmake --build build/linux --target palewick
exec ./build/linux/palewick "$@"

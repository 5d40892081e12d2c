#!/usr/bin/env bash
# Builds Palewick for Linux and for 64-bit Windows and runs every test: the
# logic tests, the GL tests under Xvfb, the whole-program tests, and the
# Windows logic tests under Wine. Sets up a fresh machine first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash tools/bootstrap.sh

echo "test: building for win64"
cmake -S . -B build/win64 -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DPALEWICK_TESTS=ON -DPALEWICK_BENCH=OFF >/dev/null
cmake --build build/win64

echo "test: building for linux"
cmake -S . -B build/linux -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DPALEWICK_TESTS=ON -DPALEWICK_BENCH=ON -DPALEWICK_WIN64_TEST_DIR="$root/build/win64" >/dev/null
cmake --build build/linux

echo "test: running"
export LIBGL_ALWAYS_SOFTWARE=1
xvfb-run -a -s "-screen 0 1920x1080x24" \
  ctest --test-dir build/linux --output-on-failure -j "$(nproc)" --timeout 600

#!/usr/bin/env bash
# Builds Palewick for Linux and for 64-bit Windows and runs every test: the
# logic tests, the GL tests under Xvfb, the whole-program tests, the Windows
# logic tests under Wine, and the logic tests built with the sanitizers. Sets
# up a fresh machine first. The Linux tree, the one a developer works in, is
# built first, so its faults show soonest; every tree is built before any
# test runs.
#
# A compiler warning fails this build, so that none piles up;
# PALEWICK_WARNINGS_AS_ERRORS=OFF bash tools/test.sh lets one run build past
# them (tools/run.sh, the player's build, never stops on one).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
werror="-DCMAKE_COMPILE_WARNING_AS_ERROR=${PALEWICK_WARNINGS_AS_ERRORS:-ON}"

bash tools/bootstrap.sh

echo "test: building for linux"
cmake -S . -B build/linux -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$werror" \
      -DPALEWICK_TESTS=ON -DPALEWICK_BENCH=ON -DPALEWICK_WIN64_TEST_DIR="$root/build/win64" \
      -DPALEWICK_SANITIZE_TEST_DIR="$root/build/linux-sanitize" >/dev/null
cmake --build build/linux

echo "test: building for win64"
cmake -S . -B build/win64 -G Ninja -DCMAKE_BUILD_TYPE=Release "$werror" \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DPALEWICK_TESTS=ON -DPALEWICK_BENCH=OFF >/dev/null
cmake --build build/win64

# The logic suites only (no window, no GL), with AddressSanitizer,
# UndefinedBehaviorSanitizer and the standard library's own checks, against
# .deps/linux-assert; run by the Linux build's tests under the label sanitize.
echo "test: building the sanitized logic suites"
cmake -S . -B build/linux-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPALEWICK_SANITIZE=ON "$werror" \
      -DPALEWICK_TESTS=ON -DPALEWICK_BENCH=OFF >/dev/null
cmake --build build/linux-sanitize --target world_tests actors_tests game_tests

echo "test: running"
export LIBGL_ALWAYS_SOFTWARE=1
xvfb-run -a -s "-screen 0 1920x1080x24" \
  ctest --test-dir build/linux --output-on-failure -j "$(nproc)" --timeout 600

#!/usr/bin/env bash
# Sets up a fresh Debian machine for Palewick: apt packages, then raylib 6 and
# GLFW 3.4 built from Debian's source packages. Idempotent: a stamp per step.
#   bootstrap.sh game   what the Linux game needs: its packages and .deps/linux
#   bootstrap.sh        everything the tests need besides: test tools, the
#                       Windows toolchain, Wine and .deps/win64
set -euo pipefail

mode=${1:-all}
case "$mode" in
  game|all) ;;
  *) echo "bootstrap: unknown mode '$mode' (game or all)" >&2; exit 2 ;;
esac

root=$(cd "$(dirname "$0")/.." && pwd)
deps="$root/.deps"
jobs=$(nproc)

step() { current_step="$1"; echo "bootstrap: $1"; }
trap 'echo "bootstrap: FAILED at step: ${current_step:-start}" >&2' ERR

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

apt_packages=(
  build-essential cmake ninja-build pkg-config dpkg-dev xz-utils
  libx11-dev libxrandr-dev libxinerama-dev libxcursor-dev libxi-dev libxext-dev
  libgl-dev libgl1-mesa-dri libglx-mesa0 libxkbcommon-dev
  fonts-dejavu-core debian-archive-keyring
)
if [ "$mode" = all ]; then
  apt_packages+=(
    xvfb xauth xdotool imagemagick
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix wine wine64
  )
fi

# ---- apt packages ---------------------------------------------------------
step "apt packages"
missing=()
for p in "${apt_packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "bootstrap: installing ${missing[*]}"
  as_root apt-get update -qq
  DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# ---- Debian source packages through a private apt configuration -----------
# raylib 6 and GLFW 3.4 are not packaged for this release; their source
# packages come from the suites that carry them, from the mirror the
# machine's own apt sources already use.
srcdir="$deps/src"
raylib_dir="$srcdir/raylib"
glfw_dir="$srcdir/glfw3"
if [ ! -f "$srcdir/.stamp" ]; then
  step "fetch source packages"
  mirror=""
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    mirror=$(awk '/^URIs:/ {for (i = 2; i <= NF; i++) if ($i ~ /\/debian\/?$/) {print $i; exit}}' "$f")
    [ -n "$mirror" ] && break
  done
  if [ -z "$mirror" ] && [ -f /etc/apt/sources.list ]; then
    mirror=$(awk '/^deb / {for (i = 2; i <= NF; i++) if ($i ~ /\/debian\/?$/) {print $i; exit}}' /etc/apt/sources.list)
  fi
  [ -n "$mirror" ] || { echo "bootstrap: no Debian mirror found in the machine's apt sources" >&2; false; }

  apt_dir="$deps/apt"
  rm -rf "$apt_dir" "$srcdir"
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$srcdir"
  keyring=/usr/share/keyrings/debian-archive-keyring.gpg
  cat > "$apt_dir/sources.list" <<SRC
deb-src [signed-by=$keyring] $mirror testing main
deb-src [signed-by=$keyring] $mirror trixie main
SRC
  apt_opts=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o Dir::Etc::SourceParts=/dev/null
            -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache"
            -o APT::Sandbox::User=root)
  apt-get "${apt_opts[@]}" -qq update
  (cd "$srcdir" && apt-get "${apt_opts[@]}" -qq source --download-only raylib/testing glfw3/trixie)

  step "unpack source packages"
  (cd "$srcdir" && dpkg-source --no-check -x raylib_*.dsc raylib >/dev/null \
                && dpkg-source --no-check -x glfw3_3.4*.dsc glfw3 >/dev/null)
  major=$(sed -n 's/^#define RAYLIB_VERSION_MAJOR *\([0-9]*\).*/\1/p' "$raylib_dir/src/raylib.h")
  if [ "$major" != "6" ]; then
    echo "bootstrap: the fetched raylib is major version '$major', not 6" >&2
    false
  fi
  glfw_ver=$(sed -n 's/^#define GLFW_VERSION_MINOR *\([0-9]*\).*/\1/p' "$glfw_dir/include/GLFW/glfw3.h")
  if [ "$glfw_ver" != "4" ]; then
    echo "bootstrap: the fetched GLFW is 3.$glfw_ver, not 3.4" >&2
    false
  fi
  touch "$srcdir/.stamp"
fi

# ---- GLFW and raylib for one target -----------------------------------------
build_target() {
  local target="$1"; shift
  local prefix="$deps/$target"
  local stamp="$prefix/.stamp"
  [ -f "$stamp" ] && return 0
  local bld="$deps/build-$target"
  rm -rf "$bld" "$prefix"
  mkdir -p "$bld"

  step "GLFW 3.4 for $target"
  cmake -S "$glfw_dir" -B "$bld/glfw" -G Ninja "$@" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF \
        -DGLFW_BUILD_EXAMPLES=OFF -DGLFW_BUILD_TESTS=OFF -DGLFW_BUILD_DOCS=OFF \
        -DGLFW_BUILD_WAYLAND=OFF >"$bld/glfw.log" 2>&1 || { cat "$bld/glfw.log" >&2; false; }
  cmake --build "$bld/glfw" -j "$jobs" >>"$bld/glfw.log" 2>&1 || { tail -40 "$bld/glfw.log" >&2; false; }
  cmake --install "$bld/glfw" >>"$bld/glfw.log" 2>&1

  # F12 belongs to the game, so raylib's own screen capture is compiled out.
  step "raylib 6 for $target"
  cmake -S "$raylib_dir" -B "$bld/raylib" -G Ninja "$@" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" \
        -DBUILD_SHARED_LIBS=OFF -DBUILD_EXAMPLES=OFF -DPLATFORM=Desktop \
        -DOPENGL_VERSION=3.3 -DUSE_EXTERNAL_GLFW=ON \
        -DCMAKE_C_FLAGS="-DSUPPORT_SCREEN_CAPTURE=0" >"$bld/raylib.log" 2>&1 || { cat "$bld/raylib.log" >&2; false; }
  cmake --build "$bld/raylib" -j "$jobs" >>"$bld/raylib.log" 2>&1 || { tail -40 "$bld/raylib.log" >&2; false; }
  cmake --install "$bld/raylib" >>"$bld/raylib.log" 2>&1
  touch "$stamp"
}

build_target linux
if [ "$mode" = all ]; then
  build_target win64 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake"
fi

current_step=done
if [ "$mode" = all ]; then
  echo "bootstrap: ready (.deps/linux, .deps/win64)"
else
  echo "bootstrap: ready (.deps/linux)"
fi

#!/usr/bin/env bash
# Sets up a fresh Debian machine for Palewick: apt packages, then raylib 6 and
# GLFW 3.4 built from Debian's source packages. Idempotent: a stamp per step.
#   bootstrap.sh game   what the Linux game needs: its packages and .deps/linux
#   bootstrap.sh        everything the tests need besides: test tools, the
#                       Windows toolchain, Wine, .deps/win64 and .deps/linux-assert
#                       (built with GLFW's and raylib's assertions on, for the
#                       sanitizer lane)
# -E: the ERR trap below also fires inside functions, so a failure there still
# names its step.
set -Eeuo pipefail

mode=${1:-all}
case "$mode" in
  game|all) ;;
  *) echo "bootstrap: unknown mode '$mode' (game or all)" >&2; exit 2 ;;
esac

root=$(cd "$(dirname "$0")/.." && pwd)
deps="$root/.deps"
jobs=$(nproc)

step() { current_step="$1"; echo "bootstrap: $1"; }
# Only the script's own shell reports: a failure inside $(...) is reported
# once, by the command that used it.
trap '[ "$BASHPID" = "$$" ] && echo "bootstrap: FAILED at step: ${current_step:-start}" >&2' ERR

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
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
missing=()
for p in "${apt_packages[@]}"; do
  installed "$p" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "bootstrap: installing ${missing[*]}"
  mkdir -p "$deps"
  apt_log="$deps/apt-install.log"
  as_root apt-get update -qq
  if ! DEBIAN_FRONTEND=noninteractive as_root apt-get install -y --no-install-recommends "${missing[@]}" \
         >"$apt_log" 2>&1; then
    tail -n 20 "$apt_log" >&2
    failed=()
    for p in "${missing[@]}"; do
      installed "$p" || failed+=("$p")
    done
    echo "bootstrap: apt could not install: ${failed[*]:-${missing[*]}} (whole log: $apt_log)" >&2
    false
  fi
fi

# ---- Debian source packages through a private apt configuration -----------
# raylib 6 and GLFW 3.4 are not packaged for this release; their source
# packages come from the suites that carry them, from the mirror the
# machine's own apt sources already use.
#
# The versions this tree was tested with, and the SHA-256 of every file their
# .dsc lists (and of the .dsc itself). When the archive no longer serves a
# pinned version, the newest raylib 6 / GLFW 3.4 it serves is taken instead.
raylib_pin=6.0+ds-2
glfw_pin=3.4-3
raylib_sha256="
d35a9be0e8d34a0c7db052f9826169964d22e5a8cab351135e65bf793d82f7cb  raylib_6.0+ds-2.dsc
48063be6305afd417a7f44fc588b2f266354cb30c0073ba8fb503d5a0429688e  raylib_6.0+ds.orig.tar.gz
beb554fc9021059703bde8027d1173aaa9ac4f2f3365cc62cea63c6d144f342e  raylib_6.0+ds-2.debian.tar.xz
"
glfw_sha256="
8fc111aa8b444731c84b7630388be8e94919824d6efd181763223f57181d36c1  glfw3_3.4-3.dsc
c038d34200234d071fae9345bc455e4a8f2f544ab60150765d7704e08f3dac01  glfw3_3.4.orig.tar.gz
2c3a620d012cc4ab7bf3504543d39ae8b5919c4348444bbbc7e0e63be2a6b858  glfw3_3.4-3.debian.tar.xz
"

# The stamps hold the pins, so a changed pin (or a stamp written before the
# pins existed) rebuilds the sources and every target.
stamp_key="pins: raylib $raylib_pin, glfw3 $glfw_pin"

srcdir="$deps/src"
raylib_dir="$srcdir/raylib"
glfw_dir="$srcdir/glfw3"
if [ ! -f "$srcdir/.stamp" ] || [ "$(head -n 1 "$srcdir/.stamp")" != "$stamp_key" ]; then
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

  # Prints the version of source package $1 to fetch: the pin $2 when the
  # archive serves it, else the newest served $4 (versions matching $3).
  pick_version() {
    local package="$1" pin="$2" wanted="$3" what="$4" served v best=""
    served=$(apt-cache "${apt_opts[@]}" showsrc --only-source "$package" | sed -n 's/^Version: //p')
    if grep -qxF -- "$pin" <<<"$served"; then echo "$pin"; return 0; fi
    for v in $served; do
      [[ "$v" =~ $wanted ]] || continue
      if [ -z "$best" ] || dpkg --compare-versions "$v" gt "$best"; then best=$v; fi
    done
    if [ -z "$best" ]; then
      echo "bootstrap: the archive serves neither $package $pin nor any other $what" >&2
      return 1
    fi
    echo "bootstrap: $package: pinned $pin is not served, using $best (newest $what; checked by apt's signed index, not by the pinned SHA-256)" >&2
    echo "$best"
  }
  raylib_ver=$(pick_version raylib "$raylib_pin" '^6\.' "raylib 6")
  glfw_ver=$(pick_version glfw3 "$glfw_pin" '^3\.4([^0-9]|$)' "GLFW 3.4")
  (cd "$srcdir" && apt-get "${apt_opts[@]}" -qq source --download-only \
                     "raylib=$raylib_ver" "glfw3=$glfw_ver")

  # apt has checked each file against the archive's signed index; the pinned
  # versions are checked once more against the hashes above, so a changed
  # upload under the same version cannot slip in. A version found in place
  # of its pin has no hashes here and rests on apt's check alone.
  step "verify source archives"
  expected=""
  [ "$raylib_ver" = "$raylib_pin" ] && expected+="$raylib_sha256"
  [ "$glfw_ver" = "$glfw_pin" ] && expected+="$glfw_sha256"
  if [ -n "$expected" ]; then
    (cd "$srcdir" && sed '/^$/d' <<<"$expected" | sha256sum --quiet --strict -c -) \
      || { echo "bootstrap: a downloaded source archive does not match its SHA-256 in tools/bootstrap.sh" >&2; false; }
    for f in "$srcdir"/*; do
      [ -f "$f" ] || continue
      name=${f##*/}
      case "$name" in
        raylib_*) [ "$raylib_ver" = "$raylib_pin" ] || continue ;;
        glfw3_*) [ "$glfw_ver" = "$glfw_pin" ] || continue ;;
      esac
      grep -qF "  $name" <<<"$expected" \
        || { echo "bootstrap: $name was downloaded but has no SHA-256 in tools/bootstrap.sh" >&2; false; }
    done
  fi

  # --no-check skips dpkg-source's check of the uploader's signature on the
  # .dsc (that key is in none of this machine's keyrings) and of the .dsc's
  # checksums. Both are safe to skip: apt fetched the .dsc and every file it
  # lists and checked each against the hashes in the archive's Sources index,
  # whose Release file is signed with the archive key apt was given above.
  step "unpack source packages"
  (cd "$srcdir" && dpkg-source --no-check -x "raylib_${raylib_ver#*:}.dsc" raylib >/dev/null \
                && dpkg-source --no-check -x "glfw3_${glfw_ver#*:}.dsc" glfw3 >/dev/null)
  major=$(sed -n 's/^#define RAYLIB_VERSION_MAJOR *\([0-9]*\).*/\1/p' "$raylib_dir/src/raylib.h")
  if [ "$major" != "6" ]; then
    echo "bootstrap: the fetched raylib is major version '$major', not 6" >&2
    false
  fi
  glfw_minor=$(sed -n 's/^#define GLFW_VERSION_MINOR *\([0-9]*\).*/\1/p' "$glfw_dir/include/GLFW/glfw3.h")
  if [ "$glfw_minor" != "4" ]; then
    echo "bootstrap: the fetched GLFW is 3.$glfw_minor, not 3.4" >&2
    false
  fi
  printf '%s\nused: raylib %s, glfw3 %s\n' "$stamp_key" "$raylib_ver" "$glfw_ver" > "$srcdir/.stamp"
fi

# ---- GLFW and raylib for one target -----------------------------------------
# build_target NAME BUILD_TYPE [cmake options...]
build_target() {
  local target="$1" build_type="$2"; shift 2
  local prefix="$deps/$target"
  local stamp="$prefix/.stamp"
  # A target is current when it was built from exactly these sources.
  [ -f "$stamp" ] && cmp -s "$stamp" "$srcdir/.stamp" && return 0
  local bld="$deps/build-$target"
  rm -rf "$bld" "$prefix"
  mkdir -p "$bld"

  step "GLFW 3.4 for $target"
  cmake -S "$glfw_dir" -B "$bld/glfw" -G Ninja "$@" -DCMAKE_BUILD_TYPE="$build_type" \
        -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF \
        -DGLFW_BUILD_EXAMPLES=OFF -DGLFW_BUILD_TESTS=OFF -DGLFW_BUILD_DOCS=OFF \
        -DGLFW_BUILD_WAYLAND=OFF >"$bld/glfw.log" 2>&1 || { cat "$bld/glfw.log" >&2; false; }
  cmake --build "$bld/glfw" -j "$jobs" >>"$bld/glfw.log" 2>&1 || { tail -40 "$bld/glfw.log" >&2; false; }
  cmake --install "$bld/glfw" >>"$bld/glfw.log" 2>&1

  # F12 belongs to the game, so raylib's own screen capture is compiled out.
  step "raylib 6 for $target"
  cmake -S "$raylib_dir" -B "$bld/raylib" -G Ninja "$@" -DCMAKE_BUILD_TYPE="$build_type" \
        -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" \
        -DBUILD_SHARED_LIBS=OFF -DBUILD_EXAMPLES=OFF -DPLATFORM=Desktop \
        -DOPENGL_VERSION=3.3 -DUSE_EXTERNAL_GLFW=ON \
        -DCMAKE_C_FLAGS="-DSUPPORT_SCREEN_CAPTURE=0" >"$bld/raylib.log" 2>&1 || { cat "$bld/raylib.log" >&2; false; }
  cmake --build "$bld/raylib" -j "$jobs" >>"$bld/raylib.log" 2>&1 || { tail -40 "$bld/raylib.log" >&2; false; }
  cmake --install "$bld/raylib" >>"$bld/raylib.log" 2>&1
  cp "$srcdir/.stamp" "$stamp"
}

build_target linux Release
if [ "$mode" = all ]; then
  build_target win64 Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake"
  # Debug keeps assert() (no NDEBUG): a call into GLFW without a window aborts.
  build_target linux-assert Debug
fi

current_step=done
if [ "$mode" = all ]; then
  echo "bootstrap: ready (.deps/linux, .deps/win64, .deps/linux-assert)"
else
  echo "bootstrap: ready (.deps/linux)"
fi

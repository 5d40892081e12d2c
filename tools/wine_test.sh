#!/usr/bin/env bash
# Runs one Windows test executable under Wine, quietly and without the
# Mono/Gecko installers a fresh prefix would otherwise offer.
set -euo pipefail
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX=${WINEPREFIX:-$HOME/.wine-palewick}
mkdir -p "$WINEPREFIX"
exec wine "$@"

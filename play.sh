#!/usr/bin/env bash
# Installs what the game needs (Debian 12), builds it, and plays it in game/.
set -euo pipefail
cd "$(dirname "$0")"
source tools/deps.sh
install_deps

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target quorvel

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "play.sh: no display to open the game window on; without one, run it under Xvfb: xvfb-run -a ./play.sh" >&2
  exit 1
fi
mkdir -p game/log
cd game
exec ../build/quorvel

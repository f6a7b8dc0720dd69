#!/usr/bin/env bash
# Builds Tallymere and starts the desktop program.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install_packages.sh run

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DTALLYMERE_WITH_QT=ON \
  -DTALLYMERE_TESTS=OFF -DTALLYMERE_BENCH=OFF
cmake --build build -j"$(nproc)" --target tallymere tallymere-cli

if [[ -x build/src/app/tallymere ]]; then
  if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "No graphical display: start Tallymere from a desktop session, or try it" >&2
    echo "in a virtual one with:  apt-get install xvfb && xvfb-run -a build/src/app/tallymere" >&2
    echo "The catalog tools also work from a terminal:  build/src/cli/tallymere-cli --help" >&2
    exit 1
  fi
  exec build/src/app/tallymere "$@"
fi
exec build/src/cli/tallymere-cli --help

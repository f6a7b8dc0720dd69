#!/usr/bin/env bash
# Builds Tallymere and runs every test: the whole suite (the Qt front end
# offscreen), then the Qt-free tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install_packages.sh test

# Every source stays in the repository's format (.clang-format).
find src tests bench \( -name '*.h' -o -name '*.cpp' \) -print0 |
  xargs -0 clang-format --dry-run -Werror

jobs=$(nproc)
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/ccache}"

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DTALLYMERE_WITH_QT=ON -DTALLYMERE_TESTS=ON -DTALLYMERE_BENCH=ON
cmake --build build -j"$jobs"
# A private session bus lets the desktop services talk to a file manager stand-in.
QT_QPA_PLATFORM=offscreen dbus-run-session -- \
  ctest --test-dir build --output-on-failure -j"$jobs"

cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTALLYMERE_WITH_QT=OFF \
  -DTALLYMERE_SANITIZE=ON -DTALLYMERE_TESTS=ON -DTALLYMERE_BENCH=OFF
cmake --build build-sanitize -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-sanitize --output-on-failure -j"$jobs"

#!/usr/bin/env bash
# Builds Tallymere and runs every test: the format check, the whole suite (the
# Qt front end offscreen), then the Qt-free tests again under AddressSanitizer
# and UndefinedBehaviorSanitizer, and the suites of the engines that run
# threads (the scan, the shelf search) under ThreadSanitizer. A test that
# skips itself fails the run: every failure branch must run wherever the
# suite runs. Each stage prints the time it took.
set -euo pipefail
cd "$(dirname "$0")/.."

# Each stage says how long it took, and the run its total at the end.
stage_start=$SECONDS
run_start=$SECONDS
stage_done() {
  printf '== %s: %d s\n' "$1" $((SECONDS - stage_start))
  stage_start=$SECONDS
}
trap 'printf "== total: %d s\n" $((SECONDS - run_start))' EXIT

tools/install_packages.sh test
stage_done "packages"

# Every source stays in the repository's format (.clang-format).
find src tests bench \( -name '*.h' -o -name '*.cpp' \) -print0 |
  xargs -0 clang-format --dry-run -Werror
stage_done "format check"

jobs=$(nproc)
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/ccache}"
log=$(mktemp)
trap 'rm -f "$log"; printf "== total: %d s\n" $((SECONDS - run_start))' EXIT

# Runs ctest in a build folder; fails when a test fails or skips itself.
run_tests() {
  local folder=$1
  shift
  "$@" ctest --test-dir "$folder" --output-on-failure -j"$jobs" | tee "$log"
  if grep -q '(Skipped)' "$log"; then
    echo "Tests skipped themselves in $folder (see above); every test must run." >&2
    exit 1
  fi
}

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DTALLYMERE_WITH_QT=ON \
  -DTALLYMERE_TESTS=ON -DTALLYMERE_BENCH=ON
cmake --build build -j"$jobs"
stage_done "build"
# A private session bus lets the desktop services talk to a file manager stand-in.
run_tests build env QT_QPA_PLATFORM=offscreen dbus-run-session --
stage_done "tests"

cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTALLYMERE_WITH_QT=OFF \
  -DTALLYMERE_SANITIZE=ON -DTALLYMERE_TESTS=ON -DTALLYMERE_BENCH=OFF
cmake --build build-sanitize -j"$jobs"
stage_done "sanitizer build"
run_tests build-sanitize env ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1
stage_done "tests under AddressSanitizer and UndefinedBehaviorSanitizer"

# The scan reads several folders at once and the shelf search several data
# files: their suites run again under ThreadSanitizer.
# -O1 with line tables is what ThreadSanitizer's reports need, and compiles
# far faster than a release build.
cmake -S . -B build-thread -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" -DTALLYMERE_WITH_QT=OFF \
  -DTALLYMERE_SANITIZE_THREAD=ON -DTALLYMERE_TESTS=ON -DTALLYMERE_BENCH=OFF
cmake --build build-thread -j"$jobs" --target test_scan test_search
stage_done "ThreadSanitizer build"
for suite in test_scan test_search; do
  TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" "build-thread/tests/$suite" --gtest_brief=1
done
stage_done "tests under ThreadSanitizer"

#!/bin/sh
# Builds the libraries and every test with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-asan/ and runs them headless.
# Any report fails the run.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-asan"
cd "$root"
if [ ! -f "$build/CMakeCache.txt" ]; then
  generator=""
  command -v ninja >/dev/null 2>&1 && generator="-G Ninja"
  flags="-O1 -g -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all"
  # shellcheck disable=SC2086
  cmake -S . -B "$build" $generator -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="$flags" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
fi
cmake --build "$build" --parallel "$(nproc 2>/dev/null || echo 2)"

export QT_QPA_PLATFORM=offscreen
if [ "$(id -u)" -eq 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
# The window tests turn one check off for themselves (sanitizer_options.cpp).
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd "$build"
ctest --output-on-failure --timeout 900 -j "$(nproc 2>/dev/null || echo 2)"

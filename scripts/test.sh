#!/bin/sh
# Installs what is missing, builds, and runs every test headless; then the
# fuzz targets and the sanitizer build.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen
# QtWebEngine's sandbox cannot run as root.
if [ "$(id -u)" -eq 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
cd "$root/build"
ctest --output-on-failure --timeout 600 -j "$(nproc 2>/dev/null || echo 2)"
# Each fuzz target briefly (VORNASK_FUZZ_SECONDS, 0 to skip), then every test
# again under AddressSanitizer and UndefinedBehaviorSanitizer (VORNASK_ASAN=0
# to skip), each in a build folder of its own.
fuzz_seconds=${VORNASK_FUZZ_SECONDS:-30}
if [ "$fuzz_seconds" -gt 0 ]; then "$root/fuzz/run.sh" "$fuzz_seconds"; fi
if [ "${VORNASK_ASAN:-1}" != 0 ]; then "$root/scripts/test-asan.sh"; fi

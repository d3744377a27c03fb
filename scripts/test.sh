#!/bin/sh
# Installs what is missing, builds, and runs every test headless.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen
# QtWebEngine's sandbox cannot run as root.
if [ "$(id -u)" -eq 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
cd "$root/build"
ctest --output-on-failure --timeout 600 -j "$(nproc 2>/dev/null || echo 2)"

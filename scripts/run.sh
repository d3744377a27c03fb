#!/bin/sh
# Installs what is missing, builds and starts the program.
# With no display, set VORNASK_XVFB=1 to run it under Xvfb.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
if [ "$(id -u)" -eq 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
if [ -x "$root/build/bin/vornask" ]; then
  if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    if [ "${VORNASK_XVFB:-0}" = 1 ]; then
      exec xvfb-run -a -s "-screen 0 1280x800x24" "$root/build/bin/vornask" "$@"
    fi
    echo "run: no display; start it on a desktop, or set VORNASK_XVFB=1 to run it under Xvfb" >&2
    exit 1
  fi
  exec "$root/build/bin/vornask" "$@"
fi
sample="$root/build/sample.csv"
printf 'name,count\r\napple,3\r\npear,5\r\n' > "$sample"
"$root/build/bin/vornask-convert" "$sample"
echo "run: wrote $root/build/sample.html"

#!/bin/sh
# Configures and builds into build/ (the programs land in build/bin/).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
generator=""
command -v ninja >/dev/null 2>&1 && generator="-G Ninja"
if [ ! -f build/CMakeCache.txt ]; then
  # shellcheck disable=SC2086
  cmake -S . -B build $generator -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
fi
cmake --build build --parallel "$(nproc 2>/dev/null || echo 2)"

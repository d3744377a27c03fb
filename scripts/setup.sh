#!/bin/sh
# Installs every Debian package the build, the tests and the program need.
# Quiet when everything is there; runs apt-get update only when something is missing.
set -eu

PACKAGES="g++ cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools qt6-webengine-dev \
libqt6webenginecore6-bin libgl-dev libgtest-dev googletest xvfb xauth fonts-ipafont \
fonts-ipafont-gothic clang libclang-rt-14-dev llvm"

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  SUDO=""
elif command -v sudo >/dev/null 2>&1; then
  SUDO="sudo"
else
  echo "setup: these packages are missing and I am not root (no sudo):$missing" >&2
  exit 1
fi
echo "setup: installing$missing" >&2
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
# shellcheck disable=SC2086
$SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null

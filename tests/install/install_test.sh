#!/bin/sh
# Installs the build into a temporary prefix and runs what was installed:
# the converter on a Shift_JIS sample, the settings location rule (a "kel"
# folder beside the program, else the per-user folder), the window offscreen,
# and, when dpkg-deb is there, the Debian package.
#
#   install_test.sh CMAKE CPACK BUILD_DIR WITH_WINDOW(0|1)
set -eu
cmake=$1 cpack=$2 build=$3 with_window=$4
export LC_ALL=C

work=$(mktemp -d "${TMPDIR:-/tmp}/vornask-install-XXXXXX")
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
check() { if "$@"; then :; else fail "$*"; fi; }
# The page's lines without their CR.
page_has() { tr -d '\r' < "$1" | grep -Fqx -- "$2"; }

"$cmake" --install "$build" --prefix "$prefix" > "$work/install.log" 2>&1 ||
  { cat "$work/install.log" >&2; echo "FAIL: cmake --install" >&2; exit 1; }

# --- what was installed ---------------------------------------------------------
programs="vornask-convert"
[ "$with_window" = 1 ] && programs="vornask vornask-convert"
check [ "$(ls "$prefix/bin" | tr '\n' ' ')" = "$programs " ]  # no kel beside them
check [ -f "$prefix/share/man/man1/vornask-convert.1.gz" -o -f "$prefix/share/man/man1/vornask-convert.1" ]
if [ "$with_window" = 1 ]; then
  share=$prefix/share
  check [ -f "$share/applications/vornask.desktop" ]
  check grep -qx 'Exec=vornask %f' "$share/applications/vornask.desktop"
  check grep -qx 'MimeType=text/csv;text/plain;' "$share/applications/vornask.desktop"
  check [ -f "$share/metainfo/org.vornask.Vornask.metainfo.xml" ]
  check [ -f "$share/icons/hicolor/scalable/apps/vornask.svg" ]
  for size in 16 22 24 32 48 64 128 256; do
    check [ -s "$share/icons/hicolor/${size}x${size}/apps/vornask.png" ]
  done
  if command -v desktop-file-validate > /dev/null 2>&1; then
    check desktop-file-validate "$share/applications/vornask.desktop"
  fi
  if command -v appstreamcli > /dev/null 2>&1; then
    check appstreamcli validate --no-net "$share/metainfo/org.vornask.Vornask.metainfo.xml" > "$work/as.log" 2>&1 ||
      cat "$work/as.log" >&2
  fi
fi

# --- the installed converter ----------------------------------------------------
mkdir -p "$work/home" "$work/config" "$work/runtime" "$work/data"
chmod 700 "$work/runtime"
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
convert=$prefix/bin/vornask-convert
# 品名,数量 / 表,3 in Shift_JIS; the second byte of 表 is 0x5C.
printf '\225i\226\274,\220\224\227\312\r\n\225\134,3\r\n' > "$work/data/list.csv"
cp "$work/data/list.csv" "$work/list.orig"
check "$convert" "$work/data/list.csv"
page=$work/data/list.html
check page_has "$page" '<body bgcolor=White text=Black>'
check page_has "$page" "$(printf '<td nowrap><font size=3>\225\134</font></td>')"
check [ "$(tr -d '\r' < "$page" | wc -l)" -eq 15 ]
check "$convert" --quiet --output - "$work/data/list.csv" > "$work/stdout.html" 2> "$work/stderr.txt"
check cmp -s "$page" "$work/stdout.html"
check [ ! -s "$work/stderr.txt" ]  # no progress on a file

# A settings file: the default 22 lines, the page colour and caption set.
settings() {  # FILE COLOUR-INDEX CAPTION
  mkdir -p "$(dirname "$1")"
  printf '%s\r\n' "$2" 0 0 15 0 2 1 3 3 5 2 0 0 '' '' "$3" 9 '' 8 0 0 '' > "$1"
}
# No kel beside the program: the per-user startup settings file counts.
settings "$XDG_CONFIG_HOME/vornask/kel/kidou.kel" 12 per-user
check "$convert" "$work/data/list.csv"
check page_has "$page" '<body bgcolor=Blue text=Black>'
check page_has "$page" '<caption><font color=Black><font size=3>per-user</font size></font color></caption>'
# A kel folder beside the program makes a portable copy: its file counts.
settings "$prefix/bin/kel/kidou.kel" 9 portable
check "$convert" "$work/data/list.csv"
check page_has "$page" '<body bgcolor=Red text=Black>'
rm -r "$prefix/bin/kel"

# --- the installed window, offscreen --------------------------------------------
if [ "$with_window" = 1 ]; then
  export QT_QPA_PLATFORM=offscreen QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu
  # QtWebEngine's sandbox cannot run as root.
  [ "$(id -u)" -eq 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1
  cp "$XDG_CONFIG_HOME/vornask/kel/kidou.kel" "$work/kidou.before"
  touch "$work/started"
  # Given a file, as the desktop entry starts it. 124 (or 137 after KILL):
  # still running when the time was up, which is what a window should be.
  status=0
  timeout -k 5 5 "$prefix/bin/vornask" "$work/data/list.csv" > "$work/window.log" 2>&1 || status=$?
  if [ "$status" -ne 124 ] && [ "$status" -ne 137 ]; then
    fail "the window ended by itself with status $status"
    cat "$work/window.log" >&2
  fi
  check [ "$(ls "$prefix/bin" | tr '\n' ' ')" = "$programs " ]
  # Starting reads the settings and writes nothing, beside the program or elsewhere in the prefix.
  check [ -z "$(find "$prefix" -newer "$work/started" -print)" ]
  check cmp -s "$XDG_CONFIG_HOME/vornask/kel/kidou.kel" "$work/kidou.before"
  check cmp -s "$work/data/list.csv" "$work/list.orig"
fi

# --- the Debian package ---------------------------------------------------------
if command -v dpkg-deb > /dev/null 2>&1 && [ -f "$build/CPackConfig.cmake" ]; then
  if "$cpack" -G DEB -B "$work/deb" --config "$build/CPackConfig.cmake" > "$work/cpack.log" 2>&1; then
    deb=$(ls "$work"/deb/vornask_*.deb)
    depends=$(dpkg-deb -f "$deb" Depends)
    if [ "$with_window" = 1 ]; then
      for needed in libqt6widgets6 libqt6webenginewidgets6 libqt6webenginecore6-bin \
                    'fonts-ipafont-gothic | fonts-noto-cjk'; do
        case "$depends" in *"$needed"*) ;; *) fail "Depends lacks $needed: $depends" ;; esac
      done
    fi
    dpkg-deb -c "$deb" | awk '{print $6}' > "$work/deb.files"
    check grep -qx './usr/bin/vornask-convert' "$work/deb.files"
    check grep -qx './usr/share/man/man1/vornask-convert.1.gz' "$work/deb.files"
    if grep -q '/kel' "$work/deb.files"; then fail "the package holds a kel folder"; fi
  else
    cat "$work/cpack.log" >&2
    fail "cpack -G DEB"
  fi
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "install test passed"

#!/usr/bin/env bash
# Runs the Windows tests under Wine, with the Chinese (code page 936) locale and a
# virtual display for the window.
set -eu
build=${1:-build/windows}
shift || true

# The ANSI code page follows the locale: zh_CN gives 936.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$'; then
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
  $sudo locale-gen >/dev/null
fi
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
export WINEPREFIX=$(realpath "$build")/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d"

Xvfb :93 -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=:93
# Start Wine's server and make the prefix first, or ctest waits on Wine's helpers.
mkdir -p "$WINEPREFIX"
wineserver -p
/usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1 || true
finish() { wineserver -k 2>/dev/null || true; kill "$xvfb" 2>/dev/null || true; }
trap finish EXIT
cd "$build" && ctest --output-on-failure "$@"

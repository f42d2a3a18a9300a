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

# A display number of Xvfb's choosing, so that two runs at once do not share one.
shown=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 3>"$shown" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$shown" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$shown")
rm -f "$shown"
# A window manager, as on a desktop: without one Wine waits 2 s for every visible
# window it destroys.
openbox >/dev/null 2>&1 &
openbox=$!
# Start Wine's server and make the prefix first, or ctest waits on Wine's helpers.
mkdir -p "$WINEPREFIX"
wineserver -p
/usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1 || true
# The desktop's process, started here and given time to come up: started by a test
# that makes a window instead, it would hold that test's output open for some 15 s
# after the test ends, and ctest would wait for it.
/usr/lib/wine/wine64 explorer.exe /desktop >/dev/null 2>&1 &
sleep 2
finish() { wineserver -k 2>/dev/null || true; kill "$openbox" "$xvfb" 2>/dev/null || true; }
trap finish EXIT
cd "$build" && ctest --output-on-failure "$@"

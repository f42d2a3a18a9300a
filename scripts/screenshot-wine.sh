#!/usr/bin/env bash
# Takes the README's picture of vqgen.exe under Wine after three presses.
# usage: screenshot-wine.sh [BUILD] [SERVICES] [DPI]; at a DPI other than 96 the
# desktop's LogPixels is set to it for the run and the picture is window-wine-<DPI>dpi.png.
set -eu
build=$(realpath "${1:-build/windows}")
services=$(realpath "${2:-build/services/vqgen-services}")
dpi=${3:-96}
out=$(realpath docs)
name=window-wine.png
[ "$dpi" = 96 ] || name=window-wine-${dpi}dpi.png
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 WINEDEBUG=-all WINEPREFIX=$build/wineprefix
export WINEDLLOVERRIDES="winemenubuilder.exe=d"
work=$(mktemp -d)
pids=()
set_dpi() { /usr/lib/wine/wine64 reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1; }
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  [ "$dpi" = 96 ] || set_dpi 96 || true
  wineserver -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
# A display number of Xvfb's choosing, so that a test run at the same time keeps its own.
Xvfb -displayfd 3 -screen 0 1024x768x24 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
trap cleanup EXIT
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
openbox >/dev/null 2>&1 & pids+=($!)
"$services" --port 8370 >/dev/null 2>&1 & pids+=($!)
cp "$build/vqgen.exe" "$work/vqgen.exe"
mkdir -p "$WINEPREFIX"
# Wine reads LogPixels when a process starts, so it is set before the program starts.
set_dpi "$dpi"
/usr/lib/wine/wine64 "$work/vqgen.exe" >/dev/null 2>&1 & pids+=($!)
win=$(xdotool search --sync --name VostrelQuilbe | head -1)
sleep 2
xdotool windowactivate --sync "$win" || true
for _ in 1 2 3; do xdotool key --window "$win" Return; sleep 0.7; done
sleep 1
import -window "$win" -frame "$out/$name"
echo "wrote $out/$name"

#!/usr/bin/env bash
# Takes the README's picture of vqgen.exe under Wine after three presses.
set -eu
build=$(realpath "${1:-build/windows}")
services=$(realpath "${2:-build/services/vqgen-services}")
out=$(realpath docs)
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 WINEDEBUG=-all WINEPREFIX=$build/wineprefix
export WINEDLLOVERRIDES="winemenubuilder.exe=d"
work=$(mktemp -d)
pids=()
cleanup() { wineserver -k 2>/dev/null || true; for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"; }
trap cleanup EXIT
Xvfb :96 -screen 0 1024x768x24 >/dev/null 2>&1 & pids+=($!)
export DISPLAY=:96
sleep 1
openbox >/dev/null 2>&1 & pids+=($!)
"$services" --port 8370 >/dev/null 2>&1 & pids+=($!)
cp "$build/vqgen.exe" "$work/vqgen.exe"
mkdir -p "$WINEPREFIX"
/usr/lib/wine/wine64 "$work/vqgen.exe" >/dev/null 2>&1 & pids+=($!)
win=$(xdotool search --sync --name VostrelQuilbe | head -1)
sleep 2
xdotool windowactivate --sync "$win" || true
for _ in 1 2 3; do xdotool key --window "$win" Return; sleep 0.7; done
sleep 1
import -window "$win" -frame "$out/window-wine.png"
echo "wrote $out/window-wine.png"

#!/usr/bin/env bash
# Takes the README's pictures: the window under Xvfb after three presses, and the
# exported page in headless Chromium. Needs the packages of `install-deps.sh shots`.
set -eu
build=$(realpath "${1:-build}")
out=$(realpath docs)
work=$(mktemp -d)
display=:97
pids=()
# Newest first: the window goes before its display.
cleanup() { for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done; rm -rf "$work"; }
trap cleanup EXIT

Xvfb $display -screen 0 1024x768x24 >/dev/null 2>&1 & pids+=($!)
sleep 1
DISPLAY=$display openbox >/dev/null 2>&1 & pids+=($!)
"$build/services/vqgen-services" --port 8370 >"$work/services.log" 2>&1 &
services=$!; pids+=($services)
sleep 1

# The program saves 1.html beside itself: run a copy, with an opener that only records.
cp "$build/vqgen" "$work/vqgen"
mkdir "$work/bin"
printf '#!/bin/sh\necho "$1" >> "%s/opened.log"\n' "$work" > "$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
PATH="$work/bin:$PATH" DISPLAY=$display "$work/vqgen" & pids+=($!)
sleep 2
win=$(DISPLAY=$display xdotool search --sync --name VostrelQuilbe | head -1)
DISPLAY=$display xdotool windowactivate --sync "$win"
for _ in 1 2 3; do DISPLAY=$display xdotool key --window "$win" Return; sleep 0.5; done
sleep 0.5
DISPLAY=$display import -window "$win" -frame "$out/window.png" 2>/dev/null || DISPLAY=$display import -window root -crop 330x460+340+140 "$out/window.png"

# Tab twice reaches the lower button; Space exports.
DISPLAY=$display xdotool key --window "$win" Tab Tab space
sleep 1
test -s "$work/1.html"
chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
  --disable-background-networking --disable-component-update --disable-sync \
  --user-data-dir="$work/chrome" --window-size=600,900 --screenshot="$out/page.png" \
  "file://$work/1.html" >/dev/null 2>&1
# A slow raffle service: the window waits, busy but alive, and says so after 300 ms.
kill "$services"; wait "$services" 2>/dev/null || true
"$build/services/vqgen-services" --port 8370 --delay-ms 3000 >>"$work/services.log" 2>&1 & pids+=($!)
sleep 1
DISPLAY=$display xdotool key --window "$win" Return
sleep 1
DISPLAY=$display import -window "$win" -frame "$out/window-busy.png" 2>/dev/null

# Closing with a code not yet exported asks first.
sleep 3
DISPLAY=$display xdotool key --window "$win" Escape
sleep 1
DISPLAY=$display import -window root -crop 420x460+300+140 "$out/close-question.png"
echo "wrote $out/window.png, $out/page.png, $out/window-busy.png and $out/close-question.png"

#!/usr/bin/env bash
# make run's launcher: starts the stand-in services (unless something already
# listens on their port), opens the window, and stops the services when it closes.
# usage: scripts/run.sh --check-display | scripts/run.sh BUILD [DELAY_MS]
set -u
port=8370

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "make run: no display (neither DISPLAY nor WAYLAND_DISPLAY is set); vqgen needs a desktop to show its window." >&2
  exit 1
fi
# make run asks this before installing or building anything.
[ "${1:-}" = --check-display ] && exit 0

build=${1:-build}
delay_ms=${2:-0}
build_dir=$(cd "$build" && pwd) || exit 1
if [ ! -x "$build_dir/vqgen" ]; then
  echo "make run: $build_dir/vqgen is missing; was $build configured with VQGEN_BUILD_GUI=OFF?" >&2
  exit 1
fi

listening() { (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; }

services_pid=""
stop_services() { [ -n "$services_pid" ] && kill "$services_pid" 2>/dev/null && wait "$services_pid" 2>/dev/null; }
trap stop_services EXIT

if listening; then
  echo "Using the server that already listens on 127.0.0.1:$port as the raffle and QR services."
  [ "$delay_ms" = 0 ] || echo "DELAY_MS=$delay_ms is not applied: make run did not start that server." >&2
else
  log="$build_dir/vqgen-services.log"
  [ -w "$build_dir" ] || log=$(mktemp -t vqgen-services.XXXXXX.log)
  "$build_dir/services/vqgen-services" --port "$port" --delay-ms "$delay_ms" > "$log" 2>&1 &
  services_pid=$!
  # Stop waiting as soon as it has exited, e.g. on a bad DELAY_MS or a busy port.
  for _ in $(seq 50); do
    listening && break
    kill -0 "$services_pid" 2>/dev/null || break
    sleep 0.1
  done
  if ! listening; then
    echo "make run: the stand-in services did not start:" >&2
    cat "$log" >&2
    exit 1
  fi
  echo "Stand-in raffle and QR services: http://127.0.0.1:$port (log: $log)"
  [ "$delay_ms" = 0 ] || echo "Each raffle reply waits $delay_ms ms."
fi

# The same choice vqgen makes: its own directory when the user may write there,
# else the desktop's documents directory (or ~/Documents) + /vqgen.
html_dir=$build_dir
if [ ! -w "$build_dir" ] || [ ! -x "$build_dir" ]; then
  documents=$(xdg-user-dir DOCUMENTS 2>/dev/null)
  case $documents in
    /*) html_dir=$documents/vqgen ;;
    *) [ -n "${HOME:-}" ] && html_dir=$HOME/Documents/vqgen ;;
  esac
fi
echo "The lower button saves 1.html in $html_dir/"

"$build_dir/vqgen"

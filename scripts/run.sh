#!/usr/bin/env bash
# Starts the stand-in services (unless something already listens on their port),
# opens the window, and stops the services again when the window closes.
set -u
build=${1:-build}
port=8370

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "make run: no display (neither DISPLAY nor WAYLAND_DISPLAY is set); vqgen needs a desktop to show its window." >&2
  exit 1
fi

listening() { (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; }

services_pid=""
if listening; then
  echo "something already listens on 127.0.0.1:$port; using it"
else
  "$build/services/vqgen-services" --port "$port" > "$build/vqgen-services.log" 2>&1 &
  services_pid=$!
  for _ in $(seq 50); do listening && break; sleep 0.1; done
  echo "vqgen-services on 127.0.0.1:$port (log: $build/vqgen-services.log)"
fi
stop_services() { [ -n "$services_pid" ] && kill "$services_pid" 2>/dev/null && wait "$services_pid" 2>/dev/null; }
trap stop_services EXIT

"$build/vqgen"

#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given seconds.
# New inputs go to a scratch folder; the seed corpus in fuzz/corpus stays as it is.
set -eu
seconds=${1:-60}
build=${2:-build-fuzz}
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVQGEN_FUZZ=ON >/dev/null
cmake --build "$build" -j "$(nproc)"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
status=0
for target in search_fuzz extract_fuzz replace_fuzz url_fuzz piece_fuzz snippet_fuzz; do
  mkdir -p "$scratch/$target"
  if "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      "$scratch/$target" "fuzz/corpus/$target" >"$scratch/$target.log" 2>&1; then
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$scratch/$target.log" | grep -o '[0-9]*$')
    echo "$target: clean, $runs executions in ${seconds}s"
  else
    echo "$target: FAILED"; tail -30 "$scratch/$target.log"; status=1
  fi
done
exit $status

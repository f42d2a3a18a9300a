#!/usr/bin/env bash
# Runs every benchmark next to its floor and prints the table of ratios.
set -eu
build=${1:-build}
out=$build/bench-results
mkdir -p "$out"
"$build/bench/text_bench" --benchmark_out="$out/text.json" --benchmark_out_format=json
"$build/bench/app_bench" --benchmark_out="$out/app.json" --benchmark_out_format=json
"$build/bench/stall_bench" --benchmark_out="$out/stall.json" --benchmark_out_format=json
"$build/bench/startup_bench" --benchmark_out="$out/startup.json" --benchmark_out_format=json 2>/dev/null
memory=$("$build/bench/memory_probe" 10000 2>/dev/null)
echo "$memory"
echo
python3 bench/report.py "$out/text.json" "$out/app.json" "$out/startup.json" "$memory" "$out/stall.json" | tee "$out/table.md"

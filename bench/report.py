#!/usr/bin/env python3
"""Prints each benchmark next to its floor, with the ratio and the goal."""
import json
import re
import sys


def times(path):
    with open(path) as f:
        data = json.load(f)
    return {b["name"]: b for b in data["benchmarks"] if b.get("run_type", "iteration") == "iteration"}


def main(text_json, app_json, startup_json, memory_line, stall_json):
    t, a, s, w = times(text_json), times(app_json), times(startup_json), times(stall_json)
    ms = lambda b: b["real_time"] * {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b["time_unit"]]
    rows = [
        ("fetch vs bare libcurl GET", ms(a["fetch"]), ms(a["bare_get"]), 1.05),
        ("press, empty page vs bare GET", ms(a["press/0"]), ms(a["bare_get"]), 1.5),
        ("press, empty page, no repaint vs bare GET", ms(a["press_unpainted/0"]), ms(a["bare_get"]), 1.5),
        ("press, 1,000 snippets vs empty page", ms(a["press/1000"]), ms(a["press/0"]), 2.0),
        ("press, 10,000 snippets vs empty page", ms(a["press/10000"]), ms(a["press/0"]), 2.0),
        ("export 10 MB vs write+fsync fresh file", ms(a["export_page"]), ms(a["write_fresh_file"]), 1.2),
        ("search_text 64 MiB ASCII vs memmem", ms(t["search_text_bench/ascii/64"]), ms(t["memmem_bench/ascii/64"]), 4.0),
        ("search_text 64 MiB GBK mix vs memmem", ms(t["search_text_bench/gbk/64"]), ms(t["memmem_bench/gbk/64"]), None),
        ("search_text bytes/s, 1 MiB vs 64 MiB", t["search_text_bench/ascii/1"]["bytes_per_second"] / 1e9,
         t["search_text_bench/ascii/64"]["bytes_per_second"] / 1e9, 1.2),
        ("longest window stall in a 200 ms press, empty page vs one frame", ms(w["press_stall/0/iterations:20/manual_time"]), 16.0, 1.0),
        ("longest window stall in a 200 ms press, 10,000 snippets vs one frame",
         ms(w["press_stall/10000/iterations:20/manual_time"]), 16.0, 1.0),
        ("start-up vs minimal Qt window", ms(s["run_to_end/program"]), ms(s["run_to_end/minimal_qt"]), 1.2),
    ]
    m = dict(re.findall(r"(\w+)=([\d.]+)", memory_line))
    rows.append(("memory growth after %s presses vs page size (KiB)" % m["presses"],
                 float(m["growth_kib"]), float(m["page_kib"]), 8.0))
    print("| measure | value | floor | ratio | goal |")
    print("|---|---:|---:|---:|---|")
    for name, value, floor, goal in rows:
        ratio = value / floor
        verdict = "" if goal is None else ("≤ %.2f met" % goal if ratio <= goal else "≤ %.2f missed" % goal)
        print("| %s | %.3f | %.3f | %.2f | %s |" % (name, value, floor, ratio, verdict))
    print("\n(times in ms; the 1 MiB vs 64 MiB row in GB/s)")


if __name__ == "__main__":
    main(*sys.argv[1:6])

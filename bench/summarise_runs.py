#!/usr/bin/env python3
"""Summarises hyperfine's JSON exports of one group of commands run in several
rounds (cli_vs_sox.sh): each command's median and mean over all rounds, and
the ratio of each other command's median to every sox command's median.

Usage: summarise_runs.py GROUP EXPORT.json..."""
import json
import statistics
import sys

times = {}
for path in sys.argv[2:]:
    for result in json.load(open(path))["results"]:
        times.setdefault(result["command"], []).extend(result["times"])

print(f"== {sys.argv[1]}")
for label, t in times.items():
    print(f"  {label:22} median {1000 * statistics.median(t):7.1f} ms   "
          f"mean {1000 * statistics.mean(t):7.1f} ms   ({len(t)} runs)")
references = [label for label in times if label.startswith("sox")]
for label, t in times.items():
    if label in references:
        continue
    ratios = ",  ".join(f"{statistics.median(t) / statistics.median(times[r]):.2f} x {r}"
                        for r in references)
    print(f"  {label:22} {ratios}")

#!/usr/bin/python3
# Draws the frame intervals of one bench_pacing run over the whole timeline:
# one point per tick at its engine time, the sequences marked, the 20 ms
# budget and the late threshold as lines. Debian's python3-matplotlib runs
# under the system's Python, hence the fixed interpreter above.
#
#   bench/plot-pacing.py TICKS.csv OUT.png [TITLE]
import csv
import sys

import matplotlib

matplotlib.use("Agg")  # no display needed
import matplotlib.pyplot as plt


def read_ticks(path):
    sequences, settings, ticks = [], {}, []
    with open(path, newline="") as f:
        rows = [line for line in f]
    for line in rows:
        if not line.startswith("#"):
            continue
        fields = line[1:].strip().split(",")
        if fields[0] == "sequence":
            name, start, end = fields[1], int(fields[2]), int(fields[3])
            if name != "whole_demo":
                sequences.append((name, start, end))
        else:
            settings[fields[0]] = float(fields[1])
    for row in csv.DictReader(line for line in rows if not line.startswith("#")):
        ticks.append((int(row["engine_ms"]) / 1000.0, float(row["interval_ms"])))
    return sequences, settings, ticks


def plot(sequences, settings, ticks, out, title):
    budget, late = settings.get("budget_ms", 20.0), settings.get("late_ms", 25.0)
    times = [t for t, _ in ticks]
    intervals = [i for _, i in ticks]
    top = max(40.0, min(max(intervals, default=0.0) * 1.05, 120.0))
    fig, ax = plt.subplots(figsize=(12, 4.5), dpi=100)
    for k, (name, start, end) in enumerate(sequences):
        ax.axvspan(start / 1000.0, end / 1000.0, color="0.93" if k % 2 else "0.86", zorder=0)
        ax.text((start + end) / 2000.0, top * 0.97, name.replace("_", " "), ha="center", va="top", fontsize=9)
    on_time = [(t, i) for t, i in ticks if i <= late]
    over = [(t, min(i, top)) for t, i in ticks if i > late]
    ax.scatter([t for t, _ in on_time], [i for _, i in on_time], s=4, color="tab:blue", label="frame interval")
    ax.scatter([t for t, _ in over], [i for _, i in over], s=12, color="tab:red",
               label=f"over {late:g} ms ({len(over)} of {len(ticks)})")
    ax.axhline(budget, color="tab:green", linewidth=1.2, label=f"budget {budget:g} ms")
    ax.axhline(late, color="tab:red", linewidth=0.8, linestyle="--")
    ax.set_xlim(0, max(end for _, _, end in sequences) / 1000.0 if sequences else None)
    ax.set_ylim(0, top)
    ax.set_xlabel("engine time (s)")
    ax.set_ylabel("interval between frame ticks (ms)")
    ax.set_title(title)
    ax.legend(loc="lower right", fontsize=9)
    fig.tight_layout()
    fig.savefig(out)


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit("usage: plot-pacing.py TICKS.csv OUT.png [TITLE]")
    sequences, settings, ticks = read_ticks(sys.argv[1])
    if not ticks:
        sys.exit(f"plot-pacing.py: no ticks in {sys.argv[1]}")
    title = sys.argv[3] if len(sys.argv) == 4 else "Frame pacing"
    plot(sequences, settings, ticks, sys.argv[2], title)
    print(f"wrote {sys.argv[2]}")


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Refreshes that showed a picture again, by sequence of the demo.

repeats.py TIMING_LOG SWAP_LOG: the player's --timing-log (for the real-time
clock at engine time 0) and the swap log of bench/vsync/vsyncshim.c (the
refresh each picture was shown at, and the real-time clock then). A picture
shown n refreshes after the one before it leaves n - 1 refreshes repeating
it. The sequences are those of bench/bench_pacing.cpp."""
import re
import sys

SEQUENCES = [("intro", 0, 5000), ("flicker", 5000, 9000), ("bouncing_boxes", 9000, 14700),
             ("pulsing_boxes", 14700, 27500), ("scenery", 27500, 36000),
             ("cogwheels", 36000, 40000), ("box_trail", 40000, 46000)]
SETTLE_MS = 1000  # the first second finds out the pacing


def engine_zero(timing_log):
    zero = None
    with open(timing_log) as log:
        for line in log:
            found = re.match(r"quenvarix: engine time 0 = unix time (\d+\.\d+)", line)
            if found:
                zero = float(found.group(1))  # the last one: after --start
    return zero


def main():
    zero = engine_zero(sys.argv[1])
    swaps = [line.split() for line in open(sys.argv[2])]
    shown = [(int(refresh), (float(at) - zero) * 1000) for refresh, at in swaps]
    print(f"{'sequence':16} {'pictures':>8} {'refreshes':>9} {'repeated':>8} {'share':>7}")
    total_pictures = total_refreshes = 0
    for name, start, end in SEQUENCES:
        pictures = refreshes = 0
        for (before, _), (refresh, ms) in zip(shown, shown[1:]):
            if max(start, SETTLE_MS) <= ms < end:
                pictures += 1
                refreshes += refresh - before
        if refreshes:
            print(f"{name:16} {pictures:8} {refreshes:9} {refreshes - pictures:8} "
                  f"{100 * (refreshes - pictures) / refreshes:6.1f}%")
        total_pictures += pictures
        total_refreshes += refreshes
    if total_refreshes:
        print(f"{'whole demo':16} {total_pictures:8} {total_refreshes:9} "
              f"{total_refreshes - total_pictures:8} "
              f"{100 * (total_refreshes - total_pictures) / total_refreshes:6.1f}%")


if __name__ == "__main__":
    main()

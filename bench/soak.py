#!/usr/bin/env python3
"""Runs the real player for a while and samples it as it plays.

    bench/soak.py [--seconds 600] [--interval 10] [--csv FILE] [--at SECONDS COMMAND]... PLAYER [ARGS]

The player is started with --timing-log (engine time 0 on the real-time
clock, then once a second its engine time, the audio position and the frames
of that second). Every interval, counted from engine time 0, one row:

    seconds   wall-clock seconds since engine time 0
    rss_kb    resident memory (VmRSS of /proc/PID/status)
    frames    frames drawn in the interval, late ones (over 25 ms since the
              frame before) and the longest interval between two frames
    work_ms   processor time of the player, all its threads, per frame drawn
    lag_ms    how far engine time was behind the wall clock since engine time 0
              at the frames that reported each second, at the most: a stall
              shows once, a clock that falls behind shows as a lag that grows
    audio     the last audio difference the log gave ("-": no audio)

--at SECONDS COMMAND runs a shell command that many seconds after engine
time 0 (faults while running: remove the soundtrack, kill the sound server).
Without an X display the whole run goes under xvfb-run. Exit status: 0 when
the player ran to the end, 1 when it ended on its own before.
"""

import argparse
import os
import re
import shlex
import signal
import subprocess
import sys
import threading
import time

ZERO = re.compile(r"engine time 0 = unix time (\d+)\.(\d+)")
REPORT = re.compile(r"engine (\d+) ms, audio (\S+)(?: ms)?, difference (\S+?)(?: ms)?, "
                    r"frames (\d+), late (\d+), longest (\d+) ms")
TICKS = os.sysconf("SC_CLK_TCK")


def parse_arguments():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--seconds", type=float, default=600)
    parser.add_argument("--interval", type=float, default=10)
    parser.add_argument("--csv", help="also write the rows to this file")
    parser.add_argument("--at", nargs=2, action="append", default=[], metavar=("SECONDS", "COMMAND"))
    parser.add_argument("player", nargs=argparse.REMAINDER)
    arguments = parser.parse_args()
    if not arguments.player:
        parser.error("name the player to run")
    return arguments


class TimingLog:
    """Reads the player's timing lines as they come, stamped on arrival."""

    def __init__(self, stream):
        self.zero = None            # unix time of engine time 0, in seconds
        self.reports = []           # (arrival, engine ms, audio, difference, frames, late, longest)
        self.lock = threading.Lock()
        self.thread = threading.Thread(target=self.read, args=(stream,), daemon=True)
        self.thread.start()

    def read(self, stream):
        for line in stream:
            arrival = time.time()
            if (match := ZERO.search(line)):
                self.zero = int(match[1]) + int(match[2]) / 1000
            elif (match := REPORT.search(line)):
                with self.lock:
                    self.reports.append((arrival, int(match[1]), match[2], match[3],
                                         int(match[4]), int(match[5]), int(match[6])))
            else:  # the player's own messages, with the time they came
                since = f"{arrival - self.zero:.1f} s" if self.zero else "start"
                print(f"# {since}: {line.rstrip()}", flush=True)

    def since(self, index):
        with self.lock:
            return self.reports[index:], len(self.reports)


def rss_kb(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS  # utime + stime


def sample(player, log, start, state):
    """One row for the interval since the last; updates state."""
    reports, state["index"] = log.since(state["index"])
    cpu = cpu_seconds(player.pid)
    frames = sum(r[4] for r in reports)
    lag = max(((r[0] - log.zero) * 1000 - r[1] for r in reports), default=0)
    row = {
        "seconds": round(time.time() - start),
        "rss_kb": rss_kb(player.pid),
        "frames": frames,
        "late": sum(r[5] for r in reports),
        "longest_ms": max((r[6] for r in reports), default=0),
        "work_ms": round((cpu - state["cpu"]) * 1000 / frames, 2) if frames else "",
        "lag_ms": round(lag),
        "audio": reports[-1][3] if reports else "",
    }
    state["cpu"] = cpu
    return row


def wait_for_zero(player, log):
    while log.zero is None:
        if player.poll() is not None:
            sys.exit(f"soak: the player ended with status {player.returncode} before engine time 0")
        time.sleep(0.05)


def run_events(events, elapsed):
    while events and float(events[0][0]) <= elapsed:
        when, command = events.pop(0)
        print(f"# {elapsed:.1f} s: {command}", flush=True)
        subprocess.run(command, shell=True)


def summarise(rows, ended):
    if not rows:
        return
    settled = [r for r in rows if r["seconds"] >= 60] or rows
    baseline = settled[0]["rss_kb"]
    growth = max(r["rss_kb"] for r in settled) - baseline
    work = [r["work_ms"] for r in rows if r["work_ms"] != ""]
    after = [r["work_ms"] for r in rows if r["work_ms"] != "" and r["seconds"] > 50]
    print(f"# resident memory: {rows[0]['rss_kb']} kB at {rows[0]['seconds']} s, {baseline} kB at "
          f"{settled[0]['seconds']} s, largest rise after that {growth} kB")
    if work:
        print(f"# work per frame: {work[0]} ms in the first interval"
              + (f", after the timeline {min(after)} to {max(after)} ms" if after else ""))
    print(f"# frames {sum(r['frames'] for r in rows)}, late {sum(r['late'] for r in rows)}, "
          f"longest interval {max(r['longest_ms'] for r in rows)} ms, "
          f"largest lag behind the wall clock {max(r['lag_ms'] for r in rows)} ms")
    print("# the player " + (f"ended on its own with status {ended}" if ended is not None
                             else "ran to the end"))


def soak(arguments):
    events = sorted(arguments.at, key=lambda event: float(event[0]))
    player = subprocess.Popen(arguments.player + ["--timing-log"], stdout=subprocess.PIPE,
                              stderr=subprocess.STDOUT, text=True, bufsize=1)
    log = TimingLog(player.stdout)
    wait_for_zero(player, log)
    start = log.zero
    state = {"index": 0, "cpu": cpu_seconds(player.pid)}
    columns = ["seconds", "rss_kb", "frames", "late", "longest_ms", "work_ms", "lag_ms", "audio"]
    csv = open(arguments.csv, "w") if arguments.csv else None
    print(",".join(columns), file=csv) if csv else None
    print(" ".join(f"{c:>9}" for c in columns), flush=True)
    rows, next_sample = [], arguments.interval
    while next_sample <= arguments.seconds and player.poll() is None:
        elapsed = time.time() - start
        run_events(events, elapsed)
        if elapsed >= next_sample:
            rows.append(sample(player, log, start, state))
            next_sample += arguments.interval
            print(" ".join(f"{rows[-1][c]!s:>9}" for c in columns), flush=True)
            print(",".join(str(rows[-1][c]) for c in columns), file=csv, flush=True) if csv else None
        time.sleep(0.05)
    ended = player.poll()
    if ended is None:
        player.send_signal(signal.SIGTERM)
        player.wait(10)
    summarise(rows, ended)
    return 0 if ended is None else 1


def main():
    arguments = parse_arguments()
    if not os.environ.get("DISPLAY"):
        os.execvp("xvfb-run", ["xvfb-run", "-a", "-s", "-screen 0 1280x720x24", sys.executable]
                  + [os.path.abspath(__file__)] + sys.argv[1:])
    sys.exit(soak(arguments))


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Music against picture, measured end to end on the real player.

Starts a private PulseAudio server with a null sink (no sound card needed),
runs the player headless over the whole demo with --timing-log, records the
sink's monitor with parec, finds every kick of the soundtrack in the
recording and sets it against where the logged engine clock puts it.

    bench/avsync.py PLAYER [--runs 5] [--loaded-runs 2] [--json FILE]

Needs an X display (run it under xvfb-run), pulseaudio, parec and ffmpeg.

How the two clocks meet:
  * The player logs "engine time 0 = unix time S.mmm": the real-time clock
    at engine time 0, in whole ms.
  * The recording is read through a pipe in small blocks, each stamped with
    the real-time clock on arrival. A block's last sample was captured no
    later than its arrival, so every block bounds the time of sample 0 from
    above; the smallest bound over the run is taken. The null sink renders
    at most the monitor's requested latency (5 ms) ahead of time.
  * The kick of beat k lies at 180 + 480 k ms of the file, so it is due at
    engine time 5000 + 180 + 480 k. Its place in the recording is found by
    matching the onsets (rises of a 1 ms loudness envelope) of the file's
    own decoded audio around that beat against the recording's, which makes
    the figure independent of how a kick's onset is defined.
"""
import argparse
import array
import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
from operator import mul

RATE = 44100
FRAME = RATE // 1000          # samples per 1 ms envelope frame
TRACK_START = 5000            # engine time at which the track starts
FIRST_KICK = 180              # ms into the file
BEAT = 480                    # ms between kicks
DEMO_END = 46000              # engine time at which the demo ends
HERE = os.path.dirname(os.path.abspath(__file__))
TRACK = os.path.join(HERE, "..", "data", "tavrenQuisk.mp3")


class PulseServer:
    """A throw-away PulseAudio daemon with one null sink, in its own
    runtime directory, so it meets no other server on the machine."""

    def __init__(self):
        self.dir = tempfile.mkdtemp(prefix="quenvarix-pulse-")
        self.env = dict(os.environ, HOME=self.dir, XDG_RUNTIME_DIR=self.dir,
                        PULSE_RUNTIME_PATH=os.path.join(self.dir, "pulse"),
                        PULSE_STATE_PATH=os.path.join(self.dir, "state"))
        self.env["PULSE_SERVER"] = "unix:" + os.path.join(self.dir, "pulse", "native")
        self.process = None

    def start(self):
        self.process = subprocess.Popen(
            ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
             "-L", "module-null-sink sink_name=quenvarix_bench",
             "-L", "module-native-protocol-unix"],
            env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(100):
            if subprocess.run(["pactl", "info"], env=self.env, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL).returncode == 0:
                return
            time.sleep(0.1)
        raise RuntimeError("pulseaudio did not come up")

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        shutil.rmtree(self.dir, ignore_errors=True)


class Recorder(threading.Thread):
    """parec on the null sink's monitor: mono samples and the real-time
    clock of sample 0 (see the module's notes)."""

    def __init__(self, env):
        super().__init__(daemon=True)
        self.process = subprocess.Popen(
            ["parec", "-d", "quenvarix_bench.monitor", "--latency-msec=5", "--rate=%d" % RATE,
             "--channels=1", "--format=s16le", "--raw"], env=env, stdout=subprocess.PIPE)
        self.data = bytearray()
        self.start_time = None

    def run(self):
        fd = self.process.stdout.fileno()
        while True:
            block = os.read(fd, 8192)
            now = time.time()
            if not block:
                return
            self.data += block
            bound = now - (len(self.data) // 2) / RATE
            self.start_time = bound if self.start_time is None else min(self.start_time, bound)

    def stop(self):
        self.process.terminate()
        self.process.wait()
        self.join()
        samples = array.array("h")
        samples.frombytes(bytes(self.data[:len(self.data) // 2 * 2]))
        return samples, self.start_time


def onsets(samples):
    """Rises of the 1 ms loudness envelope: sharp at every kick."""
    envelope = [sum(map(mul, samples[i:i + FRAME], samples[i:i + FRAME])) ** 0.5
                for i in range(0, len(samples) - FRAME, FRAME)]
    return [0.0] + [max(0.0, b - a) for a, b in zip(envelope, envelope[1:])]


def best_lag(reference, recording, ref_from, ref_to, centre, reach):
    """The lag (ms) within centre ± reach at which the recording's onsets
    match the reference's onsets in [ref_from, ref_to) best. The match is
    normalised by the recording's own onsets in the window, so a busier
    stretch of the track further on cannot outscore the right place."""
    window = [reference[i] if 0 <= i < len(reference) else 0.0 for i in range(ref_from, ref_to)]
    best, best_score = None, -1.0
    for lag in range(centre - reach, centre + reach + 1):
        start = ref_from + lag
        if start < 0 or start + len(window) > len(recording):
            continue
        stretch = recording[start:start + len(window)]
        energy = sum(map(mul, stretch, stretch))
        if energy <= 0:
            continue
        score = sum(map(mul, window, stretch)) / energy ** 0.5
        if score > best_score:
            best, best_score = lag, score
    return best


def decode_track():
    pcm = subprocess.run(["ffmpeg", "-v", "error", "-i", TRACK, "-f", "s16le", "-ac", "1",
                          "-ar", str(RATE), "-"], check=True, stdout=subprocess.PIPE).stdout
    samples = array.array("h")
    samples.frombytes(pcm)
    return samples


def run_player(player, env):
    """Runs the whole demo; returns the unix time of engine time 0 (s), the
    log lines and the recording."""
    recorder = Recorder(env)
    recorder.start()
    time.sleep(0.5)
    process = subprocess.Popen([player, "--timing-log"], env=env, stderr=subprocess.PIPE,
                               stdout=subprocess.DEVNULL, text=True)
    zero, lines = None, []
    try:
        for line in process.stderr:
            line = line.strip()
            lines.append(line)
            if line.startswith("quenvarix: engine time 0 = unix time "):
                zero = float(line.rsplit(" ", 1)[1])
            elif line.startswith("quenvarix: engine ") and int(line.split()[2]) >= DEMO_END + 500:
                break
    finally:
        process.send_signal(signal.SIGTERM)
        try:
            process.wait(10)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
    samples, start_time = recorder.stop()
    if zero is None:
        raise RuntimeError("the player logged no engine time 0:\n" + "\n".join(lines[-10:]))
    return zero, lines, samples, start_time


def beat_offsets(reference, recording, zero, start_time, track_length):
    """Offset (ms, positive: heard late) of every kick that falls inside the demo."""
    shift = round((zero - start_time) * 1000) + TRACK_START   # recording ms of track time 0
    offsets, lag = [], 0
    k = 0
    while True:
        kick = FIRST_KICK + BEAT * k
        if TRACK_START + kick + BEAT > DEMO_END or kick + BEAT > track_length:
            return offsets
        if k == 0:
            # From the silent lead-in into the first bars: unambiguous over
            # a wide reach, as the reference is silent before its start.
            lag = best_lag(reference, recording, -1000, 2000, shift, 1000) - shift
        else:
            lag = best_lag(reference, recording, kick - 100, kick + 380, shift + lag, 200) - shift
        offsets.append(lag)
        k += 1


def busy_cores(count):
    return [subprocess.Popen([sys.executable, "-c", "while True: pass"]) for _ in range(count)]


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("player")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--loaded-runs", type=int, default=2)
    parser.add_argument("--json")
    args = parser.parse_args()

    reference_samples = decode_track()
    reference = onsets(reference_samples)
    track_length = len(reference_samples) * 1000 // RATE
    pulse = PulseServer()
    results = []
    try:
        pulse.start()
        env = dict(pulse.env, QT_QPA_PLATFORM="xcb", LIBGL_ALWAYS_SOFTWARE="1")
        plan = [("quiet", i) for i in range(args.runs)] + \
               [("loaded", i) for i in range(args.loaded_runs)]
        for condition, index in plan:
            hogs = busy_cores(os.cpu_count() or 2) if condition == "loaded" else []
            try:
                load = os.getloadavg()[0]
                zero, lines, samples, start_time = run_player(args.player, env)
            finally:
                for hog in hogs:
                    hog.kill()
                    hog.wait()
            offsets = beat_offsets(reference, onsets(samples), zero, start_time, track_length)
            worst = max(offsets, key=abs)
            results.append({"condition": condition, "run": index + 1, "load": round(load, 2),
                            "start": offsets[0], "worst": worst, "beats": len(offsets),
                            "offsets": offsets, "log": lines})
            print("%-6s run %d: load %5.2f, %d beats, start %+4d ms, worst %+4d ms"
                  % (condition, index + 1, load, len(offsets), offsets[0], worst), flush=True)
    finally:
        pulse.stop()
    if args.json:
        with open(args.json, "w") as f:
            json.dump(results, f, indent=1)
    for condition, goal in (("quiet", 20), ("loaded", 40)):
        runs = [r for r in results if r["condition"] == condition]
        if runs:
            worst = max((r["worst"] for r in runs), key=abs)
            print("%s: worst beat over %d runs %+d ms (goal: within ±%d ms) %s"
                  % (condition, len(runs), worst, goal, "met" if abs(worst) <= goal else "NOT met"))


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Music against picture, measured end to end on the real player.

Starts a private sound server with a null sink (no sound card needed):
PulseAudio, then PipeWire (pipewire, wireplumber and pipewire-pulse on a
session bus of their own). On each it runs the player headless over the
whole demo with --timing-log, records the sink's monitor with parec, finds
every kick of the soundtrack in the recording and sets it against where the
logged engine clock puts it.

    bench/avsync.py PLAYER [--servers pulseaudio,pipewire] [--runs 5] [--loaded-runs 2]
                    [--start MS] [--until MS] [--smoke] [--json FILE] [--player-arg=ARG ...]

Needs an X display (run it under xvfb-run), pulseaudio, pipewire,
wireplumber, pipewire-pulse, dbus-daemon, parec and ffmpeg.

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


class SoundServer:
    """Sound server processes of the run's own, in a runtime directory of
    their own, so they meet no other server on the machine; stopped by pid
    whatever happens. The null sink "quenvarix_bench" is the default sink."""

    name = None

    def __init__(self):
        self.dir = tempfile.mkdtemp(prefix="quenvarix-%s-" % self.name)
        os.chmod(self.dir, 0o700)
        self.env = dict(os.environ, HOME=self.dir, XDG_RUNTIME_DIR=self.dir,
                        XDG_CONFIG_HOME=os.path.join(self.dir, "config"),
                        XDG_STATE_HOME=os.path.join(self.dir, "state"),
                        PULSE_RUNTIME_PATH=os.path.join(self.dir, "pulse"),
                        PULSE_STATE_PATH=os.path.join(self.dir, "state"),
                        PULSE_SERVER="unix:" + os.path.join(self.dir, "pulse", "native"))
        self.processes = []

    def spawn(self, *command):
        self.processes.append(subprocess.Popen(command, env=self.env, stdout=subprocess.DEVNULL,
                                               stderr=subprocess.DEVNULL))

    def pactl(self, *args):
        return subprocess.run(["pactl", *args], env=self.env, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL).returncode == 0

    def wait_for_pulse(self):
        for _ in range(100):
            if self.pactl("info"):
                return
            time.sleep(0.1)
        raise RuntimeError("%s did not come up" % self.name)

    def stop(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        shutil.rmtree(self.dir, ignore_errors=True)


class PulseServer(SoundServer):
    """PulseAudio with a null sink."""

    name = "pulseaudio"

    def start(self):
        self.spawn("pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
                   "-L", "module-null-sink sink_name=quenvarix_bench",
                   "-L", "module-native-protocol-unix")
        self.wait_for_pulse()


class PipeWireServer(SoundServer):
    """PipeWire with WirePlumber and its PulseAudio server, on a session bus
    of their own; the null sink is loaded through the PulseAudio side."""

    name = "pipewire"

    def start(self):
        bus = os.path.join(self.dir, "bus")
        self.env["DBUS_SESSION_BUS_ADDRESS"] = "unix:path=" + bus
        self.spawn("dbus-daemon", "--session", "--nofork", "--nopidfile", "--address=unix:path=" + bus)
        for _ in range(50):
            if os.path.exists(bus):
                break
            time.sleep(0.1)
        self.spawn("pipewire")
        self.spawn("wireplumber")
        self.spawn("pipewire-pulse")
        self.wait_for_pulse()
        if not self.pactl("load-module", "module-null-sink", "sink_name=quenvarix_bench"):
            raise RuntimeError("pipewire-pulse loaded no null sink")
        for _ in range(50):
            if self.pactl("set-default-sink", "quenvarix_bench"):
                return
            time.sleep(0.1)
        raise RuntimeError("the null sink did not appear")


SERVERS = {"pulseaudio": PulseServer, "pipewire": PipeWireServer}


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


def press_space(env):
    subprocess.run(["xdotool", "key", "space"], env=env, check=True)


def run_player(player, env, extra_args=(), until=DEMO_END, pause=None):
    """Runs the demo up to engine time `until`; with `pause` (engine ms, ms)
    the demo maker's Space pauses it once it is past that time, and resumes
    it after so long. Returns the unix time of engine time 0 (s, as last
    logged), the log lines and the recording."""
    recorder = Recorder(env)
    recorder.start()
    time.sleep(0.5)
    process = subprocess.Popen([player, "--timing-log", *extra_args], env=env, stderr=subprocess.PIPE,
                               stdout=subprocess.DEVNULL, text=True)
    zero, lines = None, []
    try:
        for line in process.stderr:
            line = line.strip()
            lines.append(line)
            if line.startswith("quenvarix: engine time 0 = unix time "):
                zero = float(line.rsplit(" ", 1)[1])
            elif line.startswith("quenvarix: engine "):
                engine = int(line.split()[2])
                if engine >= until + 500:
                    break
                if pause and engine >= pause[0]:
                    press_space(env)
                    time.sleep(pause[1] / 1000)
                    press_space(env)
                    pause = None
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


def beat_offsets(reference, recording, zero, start_time, track_length, first=0, until=DEMO_END):
    """Offset (ms, positive: heard late) of every kick that falls inside the
    demo from engine time `first` on (the player's --start)."""
    shift = round((zero - start_time) * 1000) + TRACK_START   # recording ms of track time 0
    offsets, lag = [], 0
    # The first kick after the start whose neighbourhood the recording holds
    # (it begins with the first sound).
    k = max(0, -(-(first + 100 - TRACK_START - FIRST_KICK) // BEAT))
    while first > 0 and FIRST_KICK + BEAT * k - 2180 + shift < 0:
        k += 1
    first_kick = k
    while True:
        kick = FIRST_KICK + BEAT * k
        if TRACK_START + kick + BEAT > until or kick + BEAT > track_length:
            return offsets
        if k == first_kick:
            # From the silence before the first sound into the first bars:
            # unambiguous over a wide reach.
            lag = best_lag(reference, recording, kick - 1180, kick + 1820, shift, 1000) - shift
        else:
            lag = best_lag(reference, recording, kick - 100, kick + 380, shift + lag, 200) - shift
        offsets.append(lag)
        k += 1


def busy_cores(count):
    return [subprocess.Popen([sys.executable, "-c", "while True: pass"]) for _ in range(count)]


def measure(args, server, reference, track_length):
    """The planned runs on one server; one result per run."""
    results = []
    server.start()
    env = dict(server.env, QT_QPA_PLATFORM="xcb", LIBGL_ALWAYS_SOFTWARE="1")
    plan = [("quiet", i) for i in range(args.runs)] + \
           [("loaded", i) for i in range(args.loaded_runs)]
    for condition, index in plan:
        hogs = busy_cores(os.cpu_count() or 2) if condition == "loaded" else []
        try:
            load = os.getloadavg()[0]
            extra = args.player_arg + (["--start", str(args.start)] if args.start else [])
            pause = None
            if args.pause_at:
                extra.append("--dev")
                pause = (args.pause_at, args.pause_for)
            zero, lines, samples, start_time = run_player(args.player, env, extra, args.until, pause)
        finally:
            for hog in hogs:
                hog.kill()
                hog.wait()
        first = max(args.start, args.pause_at + 1000 if args.pause_at else 0)
        offsets = beat_offsets(reference, onsets(samples), zero, start_time, track_length,
                               first, args.until)
        worst = max(offsets, key=abs)
        results.append({"server": server.name, "condition": condition, "run": index + 1,
                        "load": round(load, 2), "start": offsets[0], "worst": worst,
                        "beats": len(offsets), "offsets": offsets, "log": lines})
        print("%-10s %-6s run %d: load %5.2f, %d beats, start %+4d ms, worst %+4d ms"
              % (server.name, condition, index + 1, load, len(offsets), offsets[0], worst),
              flush=True)
    return results


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("player")
    parser.add_argument("--servers", default="pulseaudio,pipewire",
                        help="comma-separated: pulseaudio, pipewire (default: both)")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--loaded-runs", type=int, default=2)
    parser.add_argument("--start", type=int, default=0,
                        help="the player's --start: the kicks from there on are measured")
    parser.add_argument("--until", type=int, default=DEMO_END,
                        help="end each run at this engine time (default: the end of the demo)")
    parser.add_argument("--pause-at", type=int, default=0,
                        help="pause the player (--dev, Space) once it is past this engine time; "
                             "the kicks after the resume are measured")
    parser.add_argument("--pause-for", type=int, default=3000, help="ms the pause lasts")
    parser.add_argument("--smoke", action="store_true",
                        help="one short quiet run per server; fails unless the first kick is "
                             "heard within 20 ms of its place (the test suite's check)")
    parser.add_argument("--json")
    parser.add_argument("--player-arg", action="append", default=[],
                        help="one more argument for the player (repeatable), e.g. "
                             "--player-arg=--audio-delay=100: the offsets then include the delay")
    args = parser.parse_args()
    if args.smoke:
        args.runs, args.loaded_runs = 1, 0
        args.until = min(args.until, max(args.start, TRACK_START) + 2500)

    reference_samples = decode_track()
    reference = onsets(reference_samples)
    track_length = len(reference_samples) * 1000 // RATE
    results = []
    for name in args.servers.split(","):
        server = SERVERS[name]()
        try:
            results += measure(args, server, reference, track_length)
        finally:
            server.stop()
    if args.json:
        with open(args.json, "w") as f:
            json.dump(results, f, indent=1)
    if args.smoke:
        late = [r for r in results if abs(r["start"]) > 20]
        for r in late:
            print("%s: the first kick is %+d ms off its place" % (r["server"], r["start"]))
        sys.exit(1 if late else 0)
    for name in args.servers.split(","):
        for condition, goal in (("quiet", 5), ("loaded", 15)):
            runs = [r for r in results if r["server"] == name and r["condition"] == condition]
            if runs:
                worst = max((r["worst"] for r in runs), key=abs)
                print("%s %s: worst beat over %d runs %+d ms (goal: within ±%d ms) %s"
                      % (name, condition, len(runs), worst, goal,
                         "met" if abs(worst) <= goal else "NOT met"))


if __name__ == "__main__":
    main()

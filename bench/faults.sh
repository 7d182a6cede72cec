#!/usr/bin/env bash
# Faults while the player runs: the soundtrack removed or overwritten with
# junk mid-track, the sound server killed mid-track and started again. Each
# scenario is one bench/soak.py run of the installed player; what matters is
# that it runs to the end and that its engine time keeps to the wall clock.
#
#   bench/faults.sh [SCENARIO...]     (default: all; see the list below)
#
# The player is installed, data included, into a scratch prefix (build-faults/,
# prefix out/faults/prefix): the faults are done to that copy of the data,
# never to the repository's. Sound goes to a private PulseAudio server with a
# null sink (its socket in out/faults/pulse), started and stopped here.
set -euo pipefail
cd "$(dirname "$0")/.."

out=$PWD/out/faults
prefix=$out/prefix
data=$prefix/share/quenvarix/data
track=$data/tavrenQuisk.mp3
pulse=$out/pulse
export PULSE_SERVER=unix:$pulse/native

scenarios=("$@")
[[ ${#scenarios[@]} -gt 0 ]] || scenarios=(removed junk removed-before-start server-killed)

install_player() {
  cmake -S . -B build-faults -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUENVARIX_TESTS=OFF \
        -DCMAKE_INSTALL_PREFIX="$prefix" >/dev/null
  cmake --build build-faults -j2 >/dev/null  # everything the install copies
  cmake --install build-faults >/dev/null
}

# A sound server of our own: no D-Bus, no session, only a null sink.
start_pulse() {
  mkdir -p "$pulse/home" "$pulse/run"
  HOME=$pulse/home XDG_RUNTIME_DIR=$pulse/run pulseaudio -n --daemonize=no --exit-idle-time=-1 \
      --disallow-exit --use-pid-file=no --log-target=file:"$pulse/log" \
      -L "module-null-sink sink_name=faults" \
      -L "module-native-protocol-unix auth-anonymous=1 socket=$pulse/native" &
  echo $! > "$pulse/pid"
  for _ in $(seq 50); do pactl info >/dev/null 2>&1 && return; sleep 0.1; done
  echo "faults: the sound server did not start (see $pulse/log)" >&2
  return 1
}

stop_pulse() {
  [[ -f $pulse/pid ]] || return 0
  kill "$(cat "$pulse/pid")" 2>/dev/null || true
  wait "$(cat "$pulse/pid")" 2>/dev/null || true
  rm -f "$pulse/pid"
}

# The player's sound streams on the server, as seen at that moment.
streams() {
  echo "sound streams on the server: $(pactl list short sink-inputs 2>/dev/null | wc -l)"
}

soak() {
  bench/soak.py --interval 5 --csv "$out/$1.csv" "${@:2}" "$prefix/bin/quenvarix"
}

scenario() {
  local self=$PWD/bench/faults.sh
  cp "$PWD/data/tavrenQuisk.mp3" "$track"
  echo "== $1"
  case $1 in
    removed)
      soak "$1" --seconds 40 --at 10 "$self streams" --at 15 "rm $track" --at 30 "$self streams" ;;
    junk)  # overwritten in place: the open file now holds noise
      soak "$1" --seconds 40 --at 10 "$self streams" --at 15 "head -c 1000000 /dev/urandom > $track" \
           --at 30 "$self streams" ;;
    removed-before-start)  # the track starts at engine time 5000
      soak "$1" --seconds 30 --at 1 "rm $track" --at 20 "$self streams" ;;
    server-killed)
      soak "$1" --seconds 60 --at 10 "$self streams" --at 12 "$self kill-server" \
           --at 20 "$self start-server" --at 25 "$self streams" --at 45 "$self streams" ;;
    *) echo "faults: no scenario '$1'" >&2; return 2 ;;
  esac
}

# The steps that scenarios run from inside a soak run.
case ${1:-} in
  streams) streams; exit ;;
  kill-server) kill -KILL "$(cat "$pulse/pid")"; exit ;;
  start-server) start_pulse; exit ;;
esac

mkdir -p "$out"
install_player
trap stop_pulse EXIT
start_pulse
status=0
for name in "${scenarios[@]}"; do
  scenario "$name" || status=1
  stop_pulse
  start_pulse
done
exit $status

#!/usr/bin/env bash
# Runs a command with a private PulseAudio server (anonymous unix socket, no shared memory)
# that offers a capture device hearing a sine tone played into a null sink. Wine's audio
# driver finds it through PULSE_SERVER; the command learns the device's name and the tone's
# frequency from ORVANE_TONE_DEVICE and ORVANE_TONE_HZ. The server is stopped at the end.
#   with-pulse-tone.sh COMMAND...
set -euo pipefail

tone_hz=1000
# ASCII: the test run's Wine reads PulseAudio's UTF-8 names without a UTF-8 unix locale.
device_name="Vornix Tone"
dir=$(mktemp -d)
pulse_pid=""
cleanup() {
  if [[ -n $pulse_pid ]]; then
    kill "$pulse_pid" 2>/dev/null || true
    wait "$pulse_pid" 2>/dev/null || true
  fi
  rm -rf "$dir"
}
trap cleanup EXIT

env HOME="$dir" XDG_RUNTIME_DIR="$dir" pulseaudio -n --daemonize=no --exit-idle-time=-1 \
  --use-pid-file=no --disable-shm=yes --log-target=file:"$dir/pulse.log" \
  -L "module-native-protocol-unix socket=$dir/native auth-anonymous=1" \
  -L "module-null-sink sink_name=orvane_tone" \
  -L "module-remap-source master=orvane_tone.monitor source_name=vornix_mic source_properties=\"device.description='$device_name'\"" \
  -L "module-sine sink=orvane_tone frequency=$tone_hz" &
pulse_pid=$!

export PULSE_SERVER="unix:$dir/native"
for _ in $(seq 100); do
  pactl list short sources 2>/dev/null | grep -q vornix_mic && break
  kill -0 "$pulse_pid" 2>/dev/null || { cat "$dir/pulse.log" >&2; exit 1; }
  sleep 0.1
done
pactl list short sources | grep -q vornix_mic || { echo "with-pulse-tone: no capture device" >&2; exit 1; }

export ORVANE_TONE_HZ=$tone_hz ORVANE_TONE_DEVICE=$device_name
"$@"

#!/usr/bin/env bash
# Sourced by the test and benchmark scripts: starts a private PulseAudio server with a null sink
# and a 440 Hz sine source, so playback and recording go through the real audio stack on any
# machine, and stops it when the calling script ends.
KIVRA_PULSE_DIR=$(mktemp -d /tmp/kivra-pulse-XXXXXX)
export XDG_RUNTIME_DIR=$KIVRA_PULSE_DIR
export PULSE_RUNTIME_PATH=$KIVRA_PULSE_DIR/pulse
kivra_stop_audio() {
  pulseaudio --kill >/dev/null 2>&1 || true
  rm -rf "$KIVRA_PULSE_DIR"
}
trap kivra_stop_audio EXIT
if command -v pulseaudio >/dev/null 2>&1; then
  pulseaudio --daemonize=yes --exit-idle-time=-1 -n \
    --load=module-native-protocol-unix \
    --load="module-null-sink sink_name=nullsink" \
    --load="module-sine-source source_name=sine frequency=440" >/dev/null 2>&1 || \
    echo "start-audio: PulseAudio did not start; audio tests will find no device" >&2
  for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
  pactl set-default-sink nullsink >/dev/null 2>&1 || true
  pactl set-default-source sine >/dev/null 2>&1 || true
fi

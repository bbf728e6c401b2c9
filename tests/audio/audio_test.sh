#!/usr/bin/env bash
# Runs the audio player's tests against a sound server of their own: a private
# PulseAudio daemon whose only output is a null sink, in a temporary folder, so
# no system or user server is touched and two runs side by side never meet.
#   audio_test.sh <audio_tests binary> [GoogleTest arguments...]
# The daemon listens on a socket in that folder only (no TCP port, no D-Bus, no
# X11, no autospawn) and is stopped at the end, whatever the outcome; it and
# the tests die with this script even when CTest kills it at a timeout.
set -euo pipefail

tests=${1:?usage: audio_test.sh <audio_tests binary> [gtest arguments...]}
shift
[[ -x "$tests" ]] || { echo "not executable: $tests" >&2; exit 1; }

source "$(dirname "${BASH_SOURCE[0]}")/../common/processes.sh"
need_commands pulseaudio=pulseaudio pactl=pulseaudio-utils

work=$(mktemp -d "${TMPDIR:-/tmp}/sumwise-audio.XXXXXX")
server_pid=""
tests_pid=""
cleanup() {
    local status=$?
    stop_process "$tests_pid"
    stop_process "$server_pid"
    if ((status != 0)) && [[ -s "$work/server.log" ]]; then
        echo "--- sound server log" >&2
        cat "$work/server.log" >&2
    fi
    rm -rf "$work"
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

mkdir -m 700 "$work/home" "$work/runtime" "$work/state"
# The daemon and every client of this run (the tests, the player they load)
# find their configuration, cookie and runtime files here, and nowhere else.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/runtime"
export PULSE_RUNTIME_PATH="$work/runtime" PULSE_STATE_PATH="$work/state"
isolate_sound_clients "$work" "$work/native"
# No session bus to register on, and no X display to take one from.
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus"
unset DISPLAY WAYLAND_DISPLAY

# The null sink takes the shipped sounds' own format (16-bit mono, 22050 Hz),
# so its monitor carries their samples unchanged. Its monitor is the server's
# only source; the tests record it to hear what was played.
setpriv --pdeathsig KILL \
    pulseaudio --daemonize=no -n --exit-idle-time=-1 --use-pid-file=no --system=no \
    --log-target=stderr --log-level=warning \
    -L "module-native-protocol-unix socket=$work/native auth-anonymous=1" \
    -L "module-null-sink sink_name=sumwise_test format=s16le rate=22050 channels=1" \
    >"$work/server.log" 2>&1 &
server_pid=$!

deadline=$((SECONDS + 60))
until pactl info >/dev/null 2>&1; do
    kill -0 "$server_pid" 2>/dev/null || { echo "the sound server exited" >&2; exit 1; }
    ((SECONDS < deadline)) || { echo "the sound server did not start within 60s" >&2; exit 1; }
    sleep 0.1
done

# In the background: bash runs a trap only once a foreground command has
# ended, while a wait gives way to it at once.
setpriv --pdeathsig KILL "$tests" "$@" &
tests_pid=$!
status=0
wait "$tests_pid" || status=$?
tests_pid=""
exit "$status"

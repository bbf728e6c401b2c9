#!/usr/bin/env bash
# The installed program reaches its sounds and its audio module: installed
# under a prefix, started through the prefix's bin/sumwise from a working
# directory elsewhere, under an Xvfb server of its own. Answering once with
# sounds on plays a feedback sound, which the program can only do having found
# its sounds; that first sound loads the audio module, which must come from
# the installed bundle.
#   installed_run_test.sh <build dir>
set -euo pipefail

build=${1:?usage: installed_run_test.sh <build dir>}
log_tag=installed-run
source "$(dirname "${BASH_SOURCE[0]}")/../common/xvfb.sh"

start_session
prefix="$work/installed prefix"
DESTDIR="" cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || fail "cmake --install failed"
program=$prefix/bin/sumwise
expected=$(realpath "$prefix/lib/sumwise/lib")/libsumwise_audio.so
mkdir "$work/elsewhere"
cd "$work/elsewhere"

start_program run
wait_for_main_window
# The first problem comes 50 ms after the window opens and enables the answer field.
sleep 1
click_content $ANSWER_X $ANSWER_Y
xdotool type --delay 40 "12"
xdotool key Return
wait_until 20 "a feedback sound to load the audio module" audio_module_loaded
loaded=$(audio_module_path)
[[ $loaded == "$expected" ]] || fail "the audio module was loaded from '$loaded', not $expected"
xdotool windowfocus --sync "$main_window"
xdotool key --clearmodifiers ctrl+q
wait_for_exit 30
((exit_status == 0)) || fail "exited with status $exit_status"
log "passed"

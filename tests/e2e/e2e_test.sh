#!/usr/bin/env bash
# The built program under a real X server, driven only by synthetic mouse and
# keyboard input, the way a learner meets it.
#   e2e_test.sh <path to bundle/bin/sumwise> <path to the exit_mark library>
#
# Run 1: no settings file. Choose Subtract and Medium, type an answer, press
# Return, switch Sound off through its menu, quit through File > Quit; the
# program must exit with 0 and leave "False", "Subtract", "Medium". The sounds
# are on until then, so judging the answer plays one, which is what first
# loads the audio module: it must not be loaded before Return, and must be
# after, though the program is given no sound server to play to. Quitting
# must skip the libraries' exit-time teardown (a preloaded library tells).
# Run 2: a settings file "False", "Divide", "Hard". Quit at once with Ctrl+Q;
# the file must come back unchanged, which it only does when the window opened
# with that selection.
set -euo pipefail

program=${1:?usage: e2e_test.sh <sumwise executable> <exit_mark library>}
exit_mark_library=${2:?usage: e2e_test.sh <sumwise executable> <exit_mark library>}
log_tag=e2e
source "$(dirname "${BASH_SOURCE[0]}")/../common/xvfb.sh"
[[ -x "$program" ]] || fail "not executable: $program"
[[ -d "$(dirname "$program")/../Resources" ]] || fail "no Resources folder beside $program"

expect_settings() { # <description> <expected content>
    local file="$work/config/sumwise.txt"
    [[ -f "$file" ]] || fail "$1: no settings file written"
    if [[ "$(cat "$file"; echo .)" != "$2." ]]; then
        log "expected:"; printf '%s' "$2" >&2
        log "found:"; cat "$file" >&2
        fail "$1: settings file differs"
    fi
}

start_session

log "run 1: a first start, driven through a lesson"
# LD_PRELOAD splits at spaces, which the build folder may hold.
cp "$exit_mark_library" "$work/exit_mark.so"
LD_PRELOAD=$work/exit_mark.so SUMWISE_EXIT_MARK=$work/exit-mark start_program run1
wait_for_main_window
grep -qF "$(realpath "$work/exit_mark.so")" "/proc/$app_pid/maps" || fail "the exit_mark library was not preloaded"
click_content $SUBTRACT_X $SUBTRACT_Y
sleep 0.3
click_content $MEDIUM_X $MEDIUM_Y
# The level change presents a problem 50 ms later, which enables the answer field.
sleep 1
click_content $ANSWER_X $ANSWER_Y
! audio_module_loaded || fail "the audio module was loaded before any sound was played"
xdotool type --delay 40 "12"
xdotool key Return
wait_until 20 "the answer to be judged (a feedback sound)" audio_module_loaded
choose_middle_menu_item $SOUND_MENU_X    # Sound > Off
choose_middle_menu_item $FILE_MENU_X     # File > Quit
wait_for_exit 30
((exit_status == 0)) || fail "run 1 exited with status $exit_status"
[[ ! -e $work/exit-mark ]] || fail "quitting ran the libraries' exit-time teardown"
expect_settings "run 1" $'False\nSubtract\nMedium\n'

log "run 2: a saved selection comes back"
printf 'False\nDivide\nHard\n' >"$work/config/sumwise.txt"
start_program run2
wait_for_main_window
xdotool windowfocus --sync "$main_window"
xdotool key --clearmodifiers ctrl+q
wait_for_exit 30
((exit_status == 0)) || fail "run 2 exited with status $exit_status"
expect_settings "run 2" $'False\nDivide\nHard\n'

log "passed"

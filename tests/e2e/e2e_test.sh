#!/usr/bin/env bash
# The built program under a real X server, driven only by synthetic mouse and
# keyboard input, the way a learner meets it.
#   e2e_test.sh <path to bundle/bin/sumwise>
#
# Run 1: no settings file. Choose Subtract and Medium, type an answer, press
# Return, switch Sound off through its menu, quit through File > Quit; the
# program must exit with 0 and leave "False", "Subtract", "Medium". The sounds
# are on until then, so judging the answer plays one, which is what first
# loads the audio module: it must not be loaded before Return, and must be
# after, whether or not there is an audio device.
# Run 2: a settings file "False", "Divide", "Hard". Quit at once with Ctrl+Q;
# the file must come back unchanged, which it only does when the window opened
# with that selection.
#
# There is no window manager under Xvfb, and xdotool 3.20160805 cannot send
# WM_DELETE_WINDOW (its windowclose destroys the X window, windowkill kills the
# connection), so "closing" is done through the File menu's Quit, which closes
# the main window (its Close event writes the settings) and then quits.
set -euo pipefail

program=${1:?usage: e2e_test.sh <sumwise executable>}
[[ -x "$program" ]] || { echo "not executable: $program" >&2; exit 1; }
[[ -d "$(dirname "$program")/../Resources" ]] || { echo "no Resources folder beside $program" >&2; exit 1; }

# The main window's content is 420x467 below the menu bar; the points lie in
# the controls, relative to the content area: a radio button's mark, the
# middle of the answer field.
readonly CONTENT_HEIGHT=467
readonly SUBTRACT_X=76 SUBTRACT_Y=70
readonly MEDIUM_X=278 MEDIUM_Y=100
readonly ANSWER_X=351 ANSWER_Y=271
# Menu titles in the menu bar: File starts it, Sound ends it.
readonly FILE_MENU_X=15
readonly SOUND_MENU_X=379

log() { printf 'e2e: %s\n' "$*" >&2; }
fail() { log "FAIL: $*"; exit 1; }

install_missing() {
    local missing=()
    command -v Xvfb >/dev/null || missing+=(xvfb)
    command -v xdotool >/dev/null || missing+=(xdotool)
    ((${#missing[@]})) || return 0
    if [[ $(id -u) -ne 0 ]] || ! command -v apt-get >/dev/null; then
        fail "missing ${missing[*]}; install them (as root: apt-get install ${missing[*]})"
    fi
    log "installing ${missing[*]}"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" >&2 \
        || { DEBIAN_FRONTEND=noninteractive apt-get update -q >&2 \
             && DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" >&2; }
}

work=$(mktemp -d "${TMPDIR:-/tmp}/sumwise-e2e.XXXXXX")
xvfb_pid=""
app_pid=""

cleanup() {
    local status=$?
    if [[ -n "$app_pid" ]] && kill -0 "$app_pid" 2>/dev/null; then
        kill "$app_pid" 2>/dev/null || true
        wait "$app_pid" 2>/dev/null || true
    fi
    if [[ -n "$xvfb_pid" ]] && kill -0 "$xvfb_pid" 2>/dev/null; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    if ((status != 0)); then
        for f in "$work"/*.log; do
            [[ -s "$f" ]] && { log "--- $(basename "$f")"; cat "$f" >&2; }
        done
    fi
    rm -rf "$work"
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Runs the command until it succeeds; fails the test after <seconds>.
wait_until() { # <seconds> <description> <command...>
    local limit=$1 what=$2
    shift 2
    local deadline=$((SECONDS + limit))
    until "$@"; do
        ((SECONDS < deadline)) || fail "timed out after ${limit}s waiting for $what"
        sleep 0.1
    done
}

start_xvfb() {
    # Xvfb picks a free display itself (it skips numbers whose lock file or
    # socket exists) and writes the number only once it accepts connections,
    # so the number doubles as the readiness signal.
    local fdfile="$work/displayfd"
    : >"$fdfile"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$fdfile" >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    xvfb_ready() {
        kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb exited"
        [[ $(wc -l <"$fdfile") -ge 1 ]]
    }
    wait_until 60 "Xvfb" xvfb_ready
    export DISPLAY=":$(head -n1 "$fdfile" | tr -dc 0-9)"
    log "Xvfb $xvfb_pid on $DISPLAY"
}

start_program() { # <log name>
    XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb \
        QT_LOGGING_RULES='qt.multimedia*=false' "$program" >"$work/$1.log" 2>&1 &
    app_pid=$!
}

# The visible top-level window titled "Sumwise".
titled_windows() {
    xdotool search --onlyvisible --name '^Sumwise$' 2>/dev/null || true
}

# Every visible top-level window of the program: the main window and its open
# menus (a menu carries no WM_NAME, only the class).
program_windows() {
    xdotool search --onlyvisible --classname '^sumwise$' 2>/dev/null || true
}

main_window=""
wait_for_main_window() {
    main_window_mapped() {
        kill -0 "$app_pid" 2>/dev/null || fail "the program exited before its window appeared"
        main_window=$(titled_windows | head -n1)
        [[ -n "$main_window" ]]
    }
    wait_until 90 "the window \"Sumwise\"" main_window_mapped
    local HEIGHT="" WIDTH=""
    eval "$(xdotool getwindowgeometry --shell "$main_window" | grep -E '^(WIDTH|HEIGHT)=[0-9]+$')"
    menu_bar_height=$((HEIGHT - CONTENT_HEIGHT))
    ((WIDTH == 420 && menu_bar_height > 5 && menu_bar_height < 60)) \
        || fail "unexpected main window geometry ${WIDTH}x${HEIGHT}"
    log "main window $main_window, menu bar ${menu_bar_height}px"
}

click_content() { # <x> <y> in the content area
    xdotool mousemove --window "$main_window" "$1" $(($2 + menu_bar_height)) click 1
}

# Opens the menu under the menu bar title at x and clicks the middle of it:
# the one item of File, the second of the three of Sound.
choose_middle_menu_item() { # <title x>
    xdotool mousemove --window "$main_window" "$1" $((menu_bar_height / 2)) click 1
    popup=""
    popup_shown() {
        popup=$(program_windows | grep -vx "$main_window" | head -n1 || true)
        [[ -n "$popup" ]]
    }
    wait_until 20 "the menu to open" popup_shown
    local HEIGHT="" WIDTH=""
    eval "$(xdotool getwindowgeometry --shell "$popup" | grep -E '^(WIDTH|HEIGHT)=[0-9]+$')"
    # The X window is mapped before Qt has finished showing the menu; give it
    # a moment before clicking into it.
    sleep 0.3
    xdotool mousemove --window "$popup" $((WIDTH / 2)) $((HEIGHT / 2)) click 1
    popup_gone() { ! program_windows | grep -qx "$popup"; }
    wait_until 20 "the menu to close" popup_gone
}

wait_for_exit() { # <seconds>; sets exit_status
    local deadline=$((SECONDS + $1))
    while kill -0 "$app_pid" 2>/dev/null; do
        ((SECONDS < deadline)) || fail "the program did not quit within $1s"
        sleep 0.1
    done
    exit_status=0
    wait "$app_pid" || exit_status=$?
    app_pid=""
}

expect_settings() { # <description> <expected content>
    local file="$work/config/sumwise.txt"
    [[ -f "$file" ]] || fail "$1: no settings file written"
    if [[ "$(cat "$file"; echo .)" != "$2." ]]; then
        log "expected:"; printf '%s' "$2" >&2
        log "found:"; cat "$file" >&2
        fail "$1: settings file differs"
    fi
}

install_missing
mkdir -p "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
start_xvfb

log "run 1: a first start, driven through a lesson"
start_program run1
wait_for_main_window
click_content $SUBTRACT_X $SUBTRACT_Y
sleep 0.3
click_content $MEDIUM_X $MEDIUM_Y
# The level change presents a problem 50 ms later, which enables the answer field.
sleep 1
click_content $ANSWER_X $ANSWER_Y
audio_module_loaded() {
    kill -0 "$app_pid" 2>/dev/null || fail "the program died"
    grep -q 'libsumwise_audio\.so' "/proc/$app_pid/maps"
}
! audio_module_loaded || fail "the audio module was loaded before any sound was played"
xdotool type --delay 40 "12"
xdotool key Return
wait_until 20 "the answer to be judged (a feedback sound)" audio_module_loaded
choose_middle_menu_item $SOUND_MENU_X    # Sound > Off
choose_middle_menu_item $FILE_MENU_X     # File > Quit
wait_for_exit 30
((exit_status == 0)) || fail "run 1 exited with status $exit_status"
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

# shellcheck shell=bash
# Shared by the tests that start the real program under an Xvfb server of
# their own and drive it only by synthetic mouse and keyboard input (xdotool).
# Source it after setting
#   program   the sumwise executable to start
#   log_tag   the prefix of every message
# then call start_session: it installs Xvfb and xdotool when missing, makes
# $work (removed at exit; its logs are shown when the test fails) with an
# empty configuration folder, leaves the program no sound server to reach,
# and starts Xvfb.
#
# There is no window manager under Xvfb, and xdotool 3.20160805 cannot send
# WM_DELETE_WINDOW (its windowclose destroys the X window, windowkill kills the
# connection), so "closing" is done through the File menu's Quit, which closes
# the main window (its Close event writes the settings) and then quits.

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

source "$(dirname "${BASH_SOURCE[0]}")/processes.sh"

log() { printf '%s: %s\n' "$log_tag" "$*" >&2; }
fail() { log "FAIL: $*"; exit 1; }

install_missing() {
    need_commands Xvfb=xvfb xdotool=xdotool || fail "Xvfb or xdotool is missing"
}

work=""
xvfb_pid=""
app_pid=""

cleanup() {
    local status=$?
    stop_process "$app_pid"
    stop_process "$xvfb_pid"
    if ((status != 0)) && [[ -n "$work" ]]; then
        for f in "$work"/*.log; do
            [[ -s "$f" ]] && { log "--- $(basename "$f")"; cat "$f" >&2; }
        done
    fi
    [[ -z "$work" ]] || rm -rf "$work"
    exit "$status"
}

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

start_session() {
    trap cleanup EXIT
    trap 'exit 130' INT TERM
    install_missing
    work=$(mktemp -d "${TMPDIR:-/tmp}/sumwise-$log_tag.XXXXXX")
    mkdir -p "$work/config" "$work/runtime"
    chmod 700 "$work/runtime"
    # The program's feedback sounds must not play on the caller's own sound
    # server: there is none where they look.
    isolate_sound_clients "$work" "$work/no-sound-server"
    start_xvfb
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

# Where the running program mapped its audio module from, or nothing before
# the first sound plays: judging an answer with sounds on plays one, which
# loads the module whether or not there is a sound server to play to.
audio_module_path() {
    sed -n 's|^[^/]*\(/.*/libsumwise_audio\.so\)$|\1|p' "/proc/$app_pid/maps" | sort -u
}
audio_module_loaded() {
    kill -0 "$app_pid" 2>/dev/null || fail "the program died"
    grep -q '/libsumwise_audio\.so$' "/proc/$app_pid/maps"
}

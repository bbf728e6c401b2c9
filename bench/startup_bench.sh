#!/usr/bin/env bash
# Start-up time, memory and idle CPU of Sumwise beside a minimal Qt Widgets
# program (bench/baseline), both under one Xvfb.
#   bench/startup_bench.sh [build dir]      default: build-bench beside this folder
# Build first, in Release:
#   cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DSUMWISE_BUILD_TESTS=OFF
#   cmake --build build-bench --target sumwise sumwise_resources startup_baseline
#
# After one warm-up run of each, the two programs run in turn RUNS times each:
#   start-up  from exec to the top-level window's MapNotify (median, min, max)
#   RSS       VmRSS 2 s after the window was mapped (median)
# then once more each, left alone for IDLE_SECONDS after that 2 s settling time:
#   idle CPU  user + system time of the process over that span, in ms
#   wake-ups  context switches of all its threads over that span
# A program that waits for the learner should show 0 and 0: nothing in it runs
# until an event arrives.
# Needs Xvfb and xev (x11-utils); each process is stopped by its PID.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build-bench}
RUNS=${RUNS:-10}
IDLE_SECONDS=${IDLE_SECONDS:-10}
SETTLE_SECONDS=2

sumwise=$build/bundle/bin/sumwise
baseline=$build/bench/startup_baseline
for exe in "$sumwise" "$baseline"; do
    [[ -x "$exe" ]] || { echo "missing $exe: build the targets sumwise, sumwise_resources and startup_baseline" >&2; exit 1; }
done
for tool in Xvfb xev stdbuf; do
    command -v "$tool" >/dev/null || { echo "missing $tool (packages xvfb, x11-utils)" >&2; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/sumwise-bench.XXXXXX")
xvfb_pid=""
xev_pid=""
app_pid=""

cleanup() {
    for pid in "$app_pid" "$xev_pid" "$xvfb_pid"; do
        if [[ -n "$pid" ]] && kill -0 "$pid" 2>/dev/null; then
            kill "$pid" 2>/dev/null || true
            wait "$pid" 2>/dev/null || true
        fi
    done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

now_us() { local t=${EPOCHREALTIME/./}; echo $((10#$t)); }

# One Xvfb; it picks a free display and names it once it accepts connections.
: >"$work/displayfd"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/displayfd" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 600); do
    [[ -s "$work/displayfd" ]] && break
    kill -0 "$xvfb_pid" 2>/dev/null || { cat "$work/xvfb.log" >&2; exit 1; }
    sleep 0.05
done
export DISPLAY=":$(head -n1 "$work/displayfd" | tr -dc 0-9)"

# xev reports every window mapped on the screen as it happens: no polling, so
# the measurement takes no CPU from the program measured.
mkfifo "$work/xev"
stdbuf -oL xev -root -event substructure >"$work/xev" 2>/dev/null &
xev_pid=$!
exec 4<"$work/xev"

mkdir -p "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
printf 'True\nAdd\nEasy\n' >"$work/config/sumwise.txt"

# Drops the events of earlier runs.
drain_events() { while read -r -t 0.05 _ <&4; do :; done; }

# Waits for the next top-level window mapped (menus and tooltips are override-
# redirect windows, so they don't count).
wait_for_map() {
    local line next
    while read -r -t 60 line <&4; do
        [[ $line == MapNotify* ]] || continue
        read -r -t 5 next <&4 || return 1
        [[ $next == *"override NO"* ]] && return 0
    done
    return 1
}

launch() { # <exe>
    XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb \
        "$1" >>"$work/program.log" 2>&1 &
    app_pid=$!
}

stop() {
    kill "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
    app_pid=""
}

# Process CPU time in clock ticks (threads that ended included).
cpu_ticks() { local f; read -r -a f <"/proc/$app_pid/stat"; echo $((f[13] + f[14])); }
# Context switches of every thread alive now.
switches() {
    local total=0 t key value
    for t in /proc/"$app_pid"/task/*/status; do
        while read -r key value; do
            [[ $key == voluntary_ctxt_switches: || $key == nonvoluntary_ctxt_switches: ]] && total=$((total + value))
        done <"$t" 2>/dev/null || true
    done
    echo "$total"
}
rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$app_pid/status"; }

declare -A startup_us rss_kb
one_run() { # <name> <exe>
    drain_events
    local t0 t1
    t0=$(now_us)
    launch "$2"
    wait_for_map || { echo "$1: no window mapped" >&2; cat "$work/program.log" >&2; exit 1; }
    t1=$(now_us)
    sleep "$SETTLE_SECONDS"
    startup_us[$1]+="$((t1 - t0)) "
    rss_kb[$1]+="$(rss_kb) "
    stop
}

declare -A idle_ms idle_switches
idle_run() { # <name> <exe>
    drain_events
    launch "$2"
    wait_for_map || { echo "$1: no window mapped" >&2; exit 1; }
    sleep "$SETTLE_SECONDS"
    local c0 s0 hz
    hz=$(getconf CLK_TCK)
    c0=$(cpu_ticks); s0=$(switches)
    sleep "$IDLE_SECONDS"
    idle_ms[$1]=$(( ($(cpu_ticks) - c0) * 1000 / hz ))
    idle_switches[$1]=$(( $(switches) - s0 ))
    stop
}

stats() { # <numbers...> -> "median min max"
    printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END {
        m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
        printf "%d %d %d\n", m, v[1], v[NR] }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b == 0) print (a == 0 ? "1.00" : "inf"); else printf "%.2f\n", a / b }'; }

echo "display $DISPLAY, $RUNS runs each after a warm-up, idle span ${IDLE_SECONDS}s" >&2
one_run warmup "$sumwise"
one_run warmup "$baseline"
for i in $(seq "$RUNS"); do
    echo "  run $i/$RUNS" >&2
    one_run sumwise "$sumwise"
    one_run baseline "$baseline"
done
echo "  idle" >&2
idle_run sumwise "$sumwise"
idle_run baseline "$baseline"

# shellcheck disable=SC2086
read -r s_med s_min s_max < <(stats ${startup_us[sumwise]})
# shellcheck disable=SC2086
read -r b_med b_min b_max < <(stats ${startup_us[baseline]})
# shellcheck disable=SC2086
read -r sr_med sr_min sr_max < <(stats ${rss_kb[sumwise]})
# shellcheck disable=SC2086
read -r br_med br_min br_max < <(stats ${rss_kb[baseline]})

ms() { awk -v u="$1" 'BEGIN { printf "%.1f", u / 1000 }'; }
printf '%-26s %24s %24s %8s\n' "" "Sumwise" "baseline" "ratio"
printf '%-26s %24s %24s %8s\n' "start-up ms (median)" "$(ms "$s_med")" "$(ms "$b_med")" "$(ratio "$s_med" "$b_med")"
printf '%-26s %24s %24s %8s\n' "start-up ms (min..max)" "$(ms "$s_min")..$(ms "$s_max")" "$(ms "$b_min")..$(ms "$b_max")" \
    "$(ratio "$s_min" "$b_min")"
printf '%-26s %24s %24s %8s\n' "RSS KiB (median)" "$sr_med" "$br_med" "$(ratio "$sr_med" "$br_med")"
printf '%-26s %24s %24s %8s\n' "RSS KiB (min..max)" "$sr_min..$sr_max" "$br_min..$br_max" "$(ratio "$sr_min" "$br_min")"
printf '%-26s %24s %24s %8s\n' "idle CPU ms / ${IDLE_SECONDS}s" "${idle_ms[sumwise]}" "${idle_ms[baseline]}" \
    "$(ratio "${idle_ms[sumwise]}" "${idle_ms[baseline]}")"
printf '%-26s %24s %24s %8s\n' "idle wake-ups / ${IDLE_SECONDS}s" "${idle_switches[sumwise]}" "${idle_switches[baseline]}" \
    "$(ratio "${idle_switches[sumwise]}" "${idle_switches[baseline]}")"

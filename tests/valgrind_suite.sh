#!/usr/bin/env bash
# Every case of the given GoogleTest binaries under valgrind memcheck, each in
# a process of its own as CTest runs them, several at a time.
#   valgrind_suite.sh <suppressions file> <test binary>...
# Fails on any memcheck error (invalid read or write, use of uninitialised
# memory, bad free), on any definite leak that the suppressions (Qt and the
# libraries under it) do not cover, and on a crash.
# VALGRIND_JOBS sets how many run at once (default: the number of cores).
set -euo pipefail

supp=${1:?usage: valgrind_suite.sh <suppressions> <test binary>...}
shift
(($#)) || { echo "no test binary given" >&2; exit 2; }
command -v valgrind >/dev/null || { echo "valgrind is not installed (apt-get install valgrind)" >&2; exit 1; }

jobs=${VALGRIND_JOBS:-$(nproc 2>/dev/null || echo 2)}
logs=$(mktemp -d "${TMPDIR:-/tmp}/sumwise-valgrind.XXXXXX")
trap 'rm -rf "$logs"' EXIT

export QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES='qt.multimedia*=false'
# Code that PCRE2 compiles at run time for QRegularExpression is opaque to
# memcheck, which then reports its reads as uninitialised; interpreted
# matching gives the same results.
export QT_ENABLE_REGEXP_JIT=0
export VALGRIND_SUPP=$supp VALGRIND_LOGS=$logs

# "Suite." lines, then the indented cases; parameterised ones carry a comment.
list_cases() { # <binary>
    local line suite=""
    "$1" --gtest_list_tests | while IFS= read -r line; do
        if [[ $line == " "* ]]; then
            read -r name _ <<<"$line"
            printf '%s\t%s%s\n' "$1" "$suite" "$name"
        elif [[ -n $line ]]; then
            suite=${line%% *}
        fi
    done
}

run_case() { # <binary> <full case name>
    local log="$VALGRIND_LOGS/$(printf '%s' "$2" | tr -c 'A-Za-z0-9_.-' '_')"
    local status=0
    valgrind --tool=memcheck --error-exitcode=99 --leak-check=full --show-leak-kinds=definite \
        --errors-for-leak-kinds=definite --num-callers=40 --suppressions="$VALGRIND_SUPP" \
        --log-file="$log.valgrind" "$1" --gtest_filter="$2" >"$log.out" 2>&1 || status=$?
    if ((status == 99)); then
        echo "MEMCHECK $2"
    elif ((status > 128)); then
        echo "CRASHED $2 (signal $((status - 128)))"
    elif ((status != 0)); then
        rm -f "$log.valgrind"
        echo "SLOW-FAILED $2"
    else
        rm -f "$log.valgrind" "$log.out"
    fi
}
export -f run_case

cases="$logs/cases"
for binary in "$@"; do
    list_cases "$binary"
done >"$cases"
echo "$(wc -l <"$cases") cases under memcheck, $jobs at a time" >&2

results="$logs/results"
tr '\t' '\n' <"$cases" | xargs -d '\n' -n 2 -P "$jobs" bash -c 'run_case "$1" "$2"' _ >"$results"

# A case that fails by itself, memcheck clean, is listed but does not fail the
# run: under valgrind code runs some 30 times slower, and cases that time a
# 50 ms timer cannot keep up. The plain suite judges them.
if grep -q '^SLOW-FAILED' "$results"; then
    echo "failed under valgrind without a memcheck error (timing; the plain suite judges these):" >&2
    grep '^SLOW-FAILED' "$results" | sort | sed 's/^SLOW-FAILED /  /' >&2
fi
if grep -q -E '^(MEMCHECK|CRASHED)' "$results"; then
    grep -E '^(MEMCHECK|CRASHED)' "$results" | sort >&2
    for f in "$logs"/*.valgrind; do
        [[ -e $f ]] || continue
        echo "--- $(basename "$f" .valgrind)" >&2
        grep -v -E '^==[0-9]+== (Memcheck|Copyright|Using Valgrind|Command|Parent PID)' "$f" | head -n 150 >&2 || true
        tail -n 5 "${f%.valgrind}.out" >&2
    done
    exit 1
fi
echo "no memcheck errors, no definite leaks" >&2

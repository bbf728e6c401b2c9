# shellcheck shell=bash
# Shared by the test scripts that need outside commands and start processes
# of their own.

# Installs the packages of the commands that are missing, as root with
# apt-get; elsewhere it says what to install and fails.
need_commands() { # <command>=<package>...
    local missing=() pair
    for pair in "$@"; do
        command -v "${pair%%=*}" >/dev/null || missing+=("${pair#*=}")
    done
    ((${#missing[@]})) || return 0
    if [[ $(id -u) -ne 0 ]] || ! command -v apt-get >/dev/null; then
        echo "missing ${missing[*]}; install them (as root: apt-get install ${missing[*]})" >&2
        return 1
    fi
    echo "installing ${missing[*]}" >&2
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" >&2 \
        || { DEBIAN_FRONTEND=noninteractive apt-get update -q >&2 \
             && DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" >&2; }
}

# Stops a process the script started, if it still runs, and reaps it.
stop_process() { # <pid or "">
    [[ -n "$1" ]] && kill -0 "$1" 2>/dev/null || return 0
    kill "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}

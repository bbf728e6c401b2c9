# shellcheck shell=bash
# Shared by the test scripts that need outside commands and start processes
# of their own.

# Installs the packages of the commands that are missing (as root, or through
# sudo; see tools/install_packages.sh), or says what to install and fails.
need_commands() { # <command>=<package>...
    local missing=() pair
    for pair in "$@"; do
        command -v "${pair%%=*}" >/dev/null || missing+=("${pair#*=}")
    done
    ((${#missing[@]})) || return 0
    "$(dirname "${BASH_SOURCE[0]}")/../../tools/install_packages.sh" "${missing[@]}" >&2
}

# Leads the sound clients that this script starts (libpulse, under Qt
# Multimedia) to the server socket given and nowhere else, with a client
# configuration of their own that never starts a server: no system or user
# sound server is reached. A socket where nothing listens leaves them silent.
isolate_sound_clients() { # <folder for the client configuration> <server socket>
    printf 'autospawn = no\n' >"$1/client.conf"
    export PULSE_CLIENTCONFIG="$1/client.conf" PULSE_SERVER="unix:$2"
}

# Whether the process runs: one that has ended but is not yet reaped (a
# zombie) answers kill -0 all the same.
process_running() { # <pid>
    [[ -r /proc/$1/status ]] && ! grep -q '^State:[[:space:]]*Z' "/proc/$1/status" 2>/dev/null
}

# Stops a process the script started, if it still runs, and reaps it: asked
# with TERM, then killed when it has not ended within 10 s.
stop_process() { # <pid or "">
    [[ -n "$1" ]] && kill -0 "$1" 2>/dev/null || return 0
    kill "$1" 2>/dev/null || true
    local deadline=$((SECONDS + 10))
    while process_running "$1" && ((SECONDS < deadline)); do
        sleep 0.1
    done
    kill -KILL "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}

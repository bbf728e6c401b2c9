#!/usr/bin/env bash
# Installs those of the named Debian packages that are missing, with apt-get
# (no recommended packages): as root directly, from any other account through
# sudo. Where neither can be done it names the packages to install and fails.
# While another apt or dpkg holds the package lock (an unattended upgrade on a
# fresh machine, a second build) it waits its turn, up to APT_LOCK_WAIT
# seconds (default 600).
#   install_packages.sh <package>...
set -euo pipefail

lock_wait=${APT_LOCK_WAIT:-600}
if [[ ! $lock_wait =~ ^[0-9]+$ ]]; then
    echo "APT_LOCK_WAIT must be a whole number of seconds, not '$lock_wait'." >&2
    exit 2
fi

missing=()
for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
((${#missing[@]})) || exit 0

give_up() {
    echo "Missing Debian packages: ${missing[*]}" >&2
    echo "$1 Install them as root (apt-get install ${missing[*]}) and run this again." >&2
    exit 1
}

if [[ $(id -u) -eq 0 ]]; then
    as_root=()
elif command -v sudo >/dev/null; then
    as_root=(sudo)
else
    give_up "This account is not root and sudo is not installed."
fi
command -v apt-get >/dev/null || give_up "apt-get is not here."
echo "Installing: ${missing[*]}${as_root:+ (through sudo)}" >&2

deadline=$((SECONDS + 10#$lock_wait)) # 10#: "060" is sixty, not octal
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT

# apt-get with the package lock waited for. Installing waits by itself (the
# lock timeout below); updating the package lists gives up at once when their
# lock is held, so that is tried again until the deadline.
apt_get() {
    while true; do
        local status=0
        # Its messages are shown as they come (apt says whom it waits for)
        # and kept, to tell a held lock from other failures.
        { "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive LC_ALL=C \
            apt-get -q -o DPkg::Lock::Timeout="$((deadline > SECONDS ? deadline - SECONDS : 0))" "$@" \
            2>&1 >&3 | tee "$errors"; } 3>&1 >&2 || status=$?
        if ((status != 0)) && grep -q 'Could not get lock' "$errors" && ((SECONDS < deadline)); then
            echo "Another package manager is at work; waiting for it..." >&2
            sleep 5
            continue
        fi
        return "$status"
    done
}

apt_get update && apt_get install -y --no-install-recommends "${missing[@]}" \
    || give_up "They could not be installed."

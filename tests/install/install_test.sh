#!/usr/bin/env bash
# Installs a built tree the way a user does and looks at what lands there:
# only bin/, lib/ and share/; the bundle-like tree (bin/, Resources/, lib/) in
# lib/sumwise/, reached through a relative link bin/sumwise; under share/, a
# desktop entry that the desktop accepts, whose icon is installed and whose
# Exec starts the program through that link.
#   install_test.sh <build dir>
# Two installs: one under a prefix with a space and a "$" in its name, as a
# desktop must read them from Exec; one staged under DESTDIR, whose entry must
# name the program where it will run, not where it was staged.
set -euo pipefail

build=${1:?usage: install_test.sh <build dir>}
command -v desktop-file-validate >/dev/null \
    || { echo "missing desktop-file-validate (package desktop-file-utils)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/sumwise-install.XXXXXX")
trap 'rm -rf "$work"' EXIT

failures=0
fail() { echo "FAIL ($case_name): $*" >&2; failures=$((failures + 1)); }

# A desktop reads Exec in three steps: the escapes of a string value (\s \n
# \t \r \\), then the quoting into arguments, then the field codes ("%%" is a
# "%"). Prints each argument followed by a NUL.
exec_arguments() { # <Exec value>
    local in=$1 text="" arg="" c i quoted=0 started=0
    for ((i = 0; i < ${#in}; i++)); do
        c=${in:i:1}
        if [[ $c == '\' ]]; then
            i=$((i + 1))
            case ${in:i:1} in
            s) c=' ' ;; n) c=$'\n' ;; t) c=$'\t' ;; r) c=$'\r' ;; '\') c='\' ;;
            *) echo "bad escape in Exec: $in" >&2; return 1 ;;
            esac
        fi
        text+=$c
    done
    for ((i = 0; i < ${#text}; i++)); do
        c=${text:i:1}
        if ((quoted)); then
            case $c in
            '\') i=$((i + 1)); arg+=${text:i:1} ;;
            '"') quoted=0 ;;
            *) arg+=$c ;;
            esac
        elif [[ $c == '"' ]]; then
            quoted=1 started=1
        elif [[ $c == ' ' ]]; then
            ((started)) && printf '%s\0' "${arg//%%/%}"
            arg="" started=0
        else
            arg+=$c started=1
        fi
    done
    ((quoted == 0)) || { echo "unclosed quote in Exec: $in" >&2; return 1; }
    ((started == 0)) || printf '%s\0' "${arg//%%/%}"
}

check_install() { # <case name> <DESTDIR or ""> <prefix>
    case_name=$1
    local destdir=$2 prefix=$3
    local root=$destdir$prefix
    if ! DESTDIR=$destdir cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
        cat "$work/install.log" >&2
        fail "cmake --install failed"
        return
    fi

    # A distribution's tree: the bundle in a folder of its own under lib/,
    # bin/sumwise a relative link to its program.
    local found
    found=$(ls -A "$root" | tr '\n' ' ')
    [[ $found == "bin lib share " ]] || fail "the prefix holds '$found', not only bin/ lib/ share/"
    found=$(ls -A "$root/lib" | tr '\n' ' ')
    [[ $found == "sumwise " ]] || fail "lib/ holds '$found', not only the bundle's folder sumwise/"
    local bundle=$root/lib/sumwise link
    [[ -f "$bundle/bin/sumwise" && ! -L "$bundle/bin/sumwise" && -x "$bundle/bin/sumwise" ]] \
        || fail "no program at lib/sumwise/bin/sumwise"
    link=$(readlink "$root/bin/sumwise") || link=""
    [[ -n $link && $link != /* && $(realpath -e "$root/bin/sumwise" 2>/dev/null) == "$(realpath "$bundle/bin/sumwise")" ]] \
        || fail "bin/sumwise is not a relative link to lib/sumwise/bin/sumwise (it links to '$link')"
    [[ -f "$bundle/lib/libsumwise_audio.so" ]] || fail "no audio module in lib/sumwise/lib/"
    local sound
    for sound in "APPLAUSE LOOP.wav" "Laser.wav" "SndOK.wav"; do
        [[ -s "$bundle/Resources/$sound" ]] || fail "no $sound in lib/sumwise/Resources/"
    done

    local entries=("$root"/share/applications/*.desktop)
    [[ ${#entries[@]} -eq 1 && -f ${entries[0]} ]] || { fail "not one desktop entry in share/applications"; return; }
    local entry=${entries[0]} report
    if ! report=$(desktop-file-validate "$entry" 2>&1) || [[ -n $report ]]; then
        fail "desktop-file-validate: $report"
    fi

    local icon
    icon=$(sed -n 's/^Icon=//p' "$entry")
    [[ -n $icon && $icon != */* ]] || fail "Icon is not a name from the icon theme: '$icon'"
    grep -q '<svg' "$root/share/icons/hicolor/scalable/apps/$icon.svg" 2>/dev/null \
        || fail "no SVG icon share/icons/hicolor/scalable/apps/$icon.svg"

    local value
    local -a argv=()
    value=$(sed -n 's/^Exec=//p' "$entry")
    mapfile -d '' argv < <(exec_arguments "$value")
    [[ ${#argv[@]} -eq 1 && ${argv[0]} == "$prefix/bin/sumwise" ]] \
        || fail "Exec=$value starts '${argv[*]}', not '$prefix/bin/sumwise'"
}

check_install "prefix with a space and a dollar" "" "$work/Sumwise \$HOME"
check_install "staged under DESTDIR" "$work/stage" "/opt/sumwise-test"

((failures == 0)) || exit 1
echo "install tree and desktop entry: passed"

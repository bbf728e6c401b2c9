#!/usr/bin/env bash
# Set-up, build, run and test on Debian 12, as root or from a normal account
# (missing packages are then installed through sudo; everything else runs as
# the account that ran this).
#   ./build.sh run    install what is missing, build, start Sumwise
#   ./build.sh test   install what is missing, build twice (plain, and with
#                     AddressSanitizer + UndefinedBehaviorSanitizer), run every test,
#                     then fuzz the parsers of outside input for a bounded time
set -euo pipefail
cd "$(dirname "$0")"

RUN_PACKAGES=(cmake make g++ qt6-base-dev qt6-multimedia-dev qt6-qpa-plugins qt6-wayland fonts-liberation2
    libqt6svg6)
TEST_PACKAGES=(googletest libgtest-dev libgmock-dev libbenchmark-dev xvfb xdotool clang libclang-rt-dev
    pulseaudio pulseaudio-utils libpulse-dev desktop-file-utils)

ncpu() { nproc 2>/dev/null || echo 2; }

configure_and_build() { # <build dir> <extra cmake args...>
    local dir=$1; shift
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    cmake --build "$dir" -j "$(ncpu)"
}

case "${1:-}" in
run)
    tools/install_packages.sh "${RUN_PACKAGES[@]}"
    configure_and_build build -DSUMWISE_BUILD_TESTS=OFF -DSUMWISE_BUILD_BENCH=OFF
    exec ./build/bundle/bin/sumwise
    ;;
test)
    tools/install_packages.sh "${RUN_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
    export QT_QPA_PLATFORM=offscreen
    configure_and_build build-test -DSUMWISE_WERROR=ON
    ctest --test-dir build-test --output-on-failure -j "$(ncpu)" -LE nightly
    configure_and_build build-asan -DSUMWISE_WERROR=ON -DSUMWISE_SANITIZE=ON -DSUMWISE_BUILD_BENCH=OFF
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest --test-dir build-asan --output-on-failure -j "$(ncpu)" -LE "nightly|e2e"
    # The parsers of outside input under libFuzzer (clang), each for a bounded time.
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSUMWISE_FUZZ=ON \
        -DSUMWISE_BUILD_TESTS=OFF -DSUMWISE_BUILD_BENCH=OFF
    cmake --build build-fuzz -j "$(ncpu)" --target sumwise_fuzzers
    ctest --test-dir build-fuzz --output-on-failure -j "$(ncpu)" -L fuzz
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac

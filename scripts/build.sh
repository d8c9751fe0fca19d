#!/usr/bin/env bash
# Installs what Brinevar needs from Debian's packages and builds it:
#   --run    the program alone, then starts it (the default)
#   --build  the program alone, and nothing more
#   --test   the program, every test and the benchmarks, then runs the tests
# Arguments after the mode go to CMake (CI adds -DBRINEVAR_WERROR=ON). The
# build folder is $BUILD_DIR, else build.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh

mode=${1:---run}
shift || true
build=${BUILD_DIR:-build}

packages=(cmake ninja-build g++ qt6-base-dev libfontconfig-dev fonts-liberation)
case "$mode" in
--run | --build)
    # The program needs neither GoogleTest nor X tools: a user who only wants
    # to start it installs and compiles none of the tests, benchmarks or fuzz
    # target. A folder where --test has set the tests up keeps them, so that
    # ctest still finds them there.
    options=()
    [ -f "$build/tests/CTestTestfile.cmake" ] ||
        options=(-DBUILD_TESTING=OFF -DBRINEVAR_BENCH=OFF -DBRINEVAR_FUZZ=OFF)
    target=(--target brinevar)
    ;;
--test)
    packages+=(libgtest-dev xvfb xauth xdotool python3)
    # Set again, since a --run in the same folder turned them off.
    options=(-DBUILD_TESTING=ON -DBRINEVAR_BENCH=ON)
    target=()
    ;;
*) echo "usage: $0 [--run|--build|--test] [cmake options...]" >&2; exit 2 ;;
esac

ensure_packages "${packages[@]}"

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${options[@]}" "$@"
cmake --build "$build" "${target[@]}"

case "$mode" in
--run) exec "$build/qt/brinevar" ;;
--test) QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" --output-on-failure ;;
esac

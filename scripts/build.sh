#!/usr/bin/env bash
# Installs what Brinevar needs from Debian's packages, builds it, and then
# either starts the editor (--run) or runs every test (--test). Arguments
# after the mode go to CMake (CI adds -DBRINEVAR_WERROR=ON).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh

mode=${1:---run}
shift || true
build=${BUILD_DIR:-build}

packages=(cmake ninja-build g++ qt6-base-dev fonts-liberation)
if [ "$mode" = --test ]; then
    packages+=(libgtest-dev xvfb xauth xdotool python3)
fi

ensure_packages "${packages[@]}"

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$build"

case "$mode" in
--run) exec "$build/qt/brinevar" ;;
--test) QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" --output-on-failure ;;
*) echo "usage: $0 [--run|--test]" >&2; exit 2 ;;
esac

#!/usr/bin/env bash
# Fuzzes the settings reader: builds fuzz/reader_fuzz with clang's libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer (the settings library alone,
# no Qt), then runs it for the given number of seconds (default 60) from the
# committed seed corpus in fuzz/corpus. A finding stops the run with a non-zero
# exit and leaves the input that caused it in <build>/findings/.
#   scripts/fuzz.sh [seconds] [more libFuzzer options, e.g. -workers=1]
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh

seconds=${1:-60}
shift || true
build=${FUZZ_BUILD_DIR:-build-fuzz}

packages=(cmake ninja-build clang-14 libclang-rt-14-dev)
ensure_packages "${packages[@]}"

# The library is instrumented for coverage too, so that libFuzzer sees into it.
cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBRINEVAR_QT_FREE_ONLY=ON -DBRINEVAR_FUZZ=ON -DBRINEVAR_SANITIZE=ON \
    -DBRINEVAR_BENCH=OFF -DBUILD_TESTING=OFF -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link
cmake --build "$build" --target reader_fuzz

# New inputs go to a corpus in the build folder; the committed seeds stay as they are.
mkdir -p "$build/corpus" "$build/findings"
"$build/fuzz/reader_fuzz" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -dict=fuzz/reader.dict -artifact_prefix="$build/findings/" "$@" "$build/corpus" fuzz/corpus

#!/usr/bin/env bash
# Runs a command as if GoogleTest were not installed, the way a fresh Debian 12
# is: in a mount namespace of its own, an empty folder covers each folder the
# GoogleTest packages install and /dev/null each of their other files.
# Usage: .ci/without-gtest.sh command [arguments...]
set -euo pipefail
if [ "${1:-}" != --inside ]; then
    # Not root: a user namespace in which the mounts are allowed.
    ns=(unshare --mount)
    [ "$(id -u)" -eq 0 ] || ns=(unshare --map-root-user --mount)
    exec "${ns[@]}" bash "$0" --inside "$@"
fi
shift

hidden=
while read -r path; do
    # What lies inside a folder already covered is gone with it.
    [ -n "$hidden" ] && [[ $path == "$hidden"/* ]] && continue
    if [ -d "$path" ] && [ ! -L "$path" ]; then
        mount -t tmpfs none "$path"
        hidden=$path
    elif [ -f "$path" ]; then
        mount --bind /dev/null "$path"
    fi
done < <(dpkg -L googletest libgtest-dev libgmock-dev 2>/dev/null |
         grep -iE '/[^/]*(gtest|gmock|googletest)[^/]*$' | sort -u)

if [ -e /usr/include/gtest/gtest.h ]; then
    echo "without-gtest: GoogleTest is still visible" >&2
    exit 1
fi
exec "$@"

#!/usr/bin/env bash
# Runs a test as an unprivileged user, so that a file it makes read-only or a
# folder it makes unwritable really is one (a superuser may write anything).
# Not root: runs the test as it is. Root without setpriv or user nobody:
# skipped (77).
#
# Usage: as-nobody.sh test-program [arguments...]
set -u
if [ "$(id -u)" != 0 ]; then
    exec "$@"
fi
if ! command -v setpriv >/dev/null; then
    echo "SKIP: setpriv is not installed, and as root no file is read-only"
    exit 77
fi
if ! id nobody >/dev/null 2>&1; then
    echo "SKIP: there is no user nobody, and as root no file is read-only"
    exit 77
fi
# A folder of the test's own, made in /tmp rather than in the caller's TMPDIR,
# which user nobody may not be allowed to write: its home, its temporary
# folder and its working folder.
work=$(mktemp -d /tmp/brinevar-nobody.XXXXXX) || exit 1
mkdir "$work/home" "$work/tmp"
chown -R nobody:nogroup "$work"
(cd "$work" && exec setpriv --reuid=nobody --regid=nogroup --clear-groups \
    env -u XDG_DATA_HOME -u XDG_CONFIG_HOME -u XDG_RUNTIME_DIR \
    HOME="$work/home" TMPDIR="$work/tmp" "$@")
status=$?
rm -rf "$work"
exit $status

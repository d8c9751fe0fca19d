#!/usr/bin/env bash
# Runs a test as an unprivileged user, so that a file it makes read-only or a
# folder it makes unwritable really is one (a superuser may write anything).
# Not root: runs the test as it is. Root without setpriv: skipped (77).
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
home=$(mktemp -d)
chown nobody "$home"
setpriv --reuid=nobody --regid=nogroup --clear-groups \
    env -u XDG_DATA_HOME -u XDG_CONFIG_HOME -u XDG_RUNTIME_DIR HOME="$home" "$@"
status=$?
rm -rf "$home"
exit $status

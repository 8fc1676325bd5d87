#!/bin/sh
# Runs a test program whole, its tests one after another in one process, as CTest does not: what
# a test leaves must not trouble the next. Run by root, it runs as an unprivileged user
# (ZELVANE_TEST_USER, nobody by default), so that the suite also shows that no test needs root
# unless it skips without it. Where that user cannot reach the program, it runs as root and then
# answers 77, which CTest shows as skipped.
set -eu
program=$1
# The program makes its own sandbox in the temporary folder (TMPDIR), open to whoever runs it.
unset ZELVANE_HOST_ROOT
if [ "$(id -u)" -ne 0 ]; then
    exec "$program"
fi
user=${ZELVANE_TEST_USER:-nobody}
if ! runuser -u "$user" -- test -x "$program" 2>/dev/null; then
    "$program"
    echo "run as root: user $user cannot reach $program (open the build folder to it, or name" \
        "another user in ZELVANE_TEST_USER)" >&2
    exit 77
fi
# The user gets a folder of its own in TMPDIR, so that the run writes where TMPDIR says; where the
# user cannot reach TMPDIR, the system's temporary folder is used, and that is said.
made=$(mktemp -d "${TMPDIR:-/tmp}/whole-XXXXXX")
chown "$user" "$made"
if runuser -u "$user" -- test -d "$made" -a -w "$made" -a -x "$made" 2>/dev/null; then
    tmp=$made
else
    echo "user $user cannot reach TMPDIR ${TMPDIR:-/tmp}: the system's temporary folder is used" >&2
    tmp=/tmp
fi
status=0
runuser -u "$user" -- env HOME=/ TMPDIR="$tmp" "$program" || status=$?
rm -rf "$made"
exit "$status"

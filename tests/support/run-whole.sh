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
if runuser -u "$user" -- test -x "$program" 2>/dev/null; then
    # A TMPDIR that user cannot make folders in gives way to the system's temporary folder.
    if [ -n "${TMPDIR:-}" ] &&
        ! runuser -u "$user" -- test -d "$TMPDIR" -a -w "$TMPDIR" -a -x "$TMPDIR" 2>/dev/null; then
        echo "user $user cannot make folders in TMPDIR $TMPDIR: the system's temporary folder is used" >&2
        unset TMPDIR
    fi
    exec runuser -u "$user" -- env HOME=/ "$program"
fi
"$program"
echo "run as root: user $user cannot reach $program (open the build folder to it, or name" \
    "another user in ZELVANE_TEST_USER)" >&2
exit 77

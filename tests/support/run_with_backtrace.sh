#!/usr/bin/env bash
# run_with_backtrace.sh SECONDS PROGRAM [ARGS...]: runs a test program; if it is still running
# after SECONDS, prints every thread's stack (gdb, when installed) and stops it with status 124,
# so that a test that hangs leaves the place where it hangs in the log.
set -u
limit=$1
shift
"$@" &
pid=$!
for ((i = 0; i < limit * 10; i++)); do
  if ! kill -0 "$pid" 2>/dev/null; then
    wait "$pid"
    exit $?
  fi
  sleep 0.1
done
echo "run_with_backtrace: $1 still running after $limit s; its threads:" >&2
if command -v gdb >/dev/null; then
  gdb -p "$pid" -batch -ex "thread apply all bt" >&2 2>&1 || true
fi
kill -9 "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
exit 124

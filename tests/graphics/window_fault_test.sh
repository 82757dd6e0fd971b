#!/usr/bin/env bash
# The fault report of a program with its window open on the X display (a
# null-pointer fault in its own code under RunApplication) never hangs:
# - the "Windows exception" box appears; answered, the program ends at once
#   with 128 + SIGSEGV, nothing of it left running;
# - unanswered, the program ends when the box's time is up
#   (KESTREL_FAULT_BOX_SECONDS=2 here), the box gone with it;
# - killed while the box is up, the box goes with it;
# - without an X display (SDL's offscreen driver, DISPLAY unset) it ends at once.
# Standard error names the exception and, on a line of its own, the signal
# and the faulting address.
#   window_fault_test.sh PROBE
set -uo pipefail
probe=$1
[ -n "${DISPLAY:-}" ] && command -v xdotool >/dev/null && command -v xwininfo >/dev/null ||
  { echo "no X display, xdotool or xwininfo: skipped"; exit 77; }
export SDL_AUDIODRIVER=dummy
dir=$(mktemp -d)
pid=""
trap '[ -n "$pid" ] && kill -9 "$pid" 2>/dev/null; rm -rf "$dir"' EXIT
fail() { echo "FAIL ($case): $*"; cat "$dir/err" 2>/dev/null; exit 1; }

box_id() { xwininfo -name "Windows exception" 2>/dev/null | awk '/Window id:/{print $4}'; }
wait_box() { for _ in $(seq 150); do [ -n "$(box_id)" ] && return 0; sleep 0.1; done; return 1; }
# Waits up to $1 seconds for the probe to end; its status in rc.
finish() {
  for _ in $(seq $(($1 * 20))); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
  kill -0 "$pid" 2>/dev/null && fail "still running $1 s later"
  wait "$pid"; rc=$?
  pid=""
}
leftovers() { pgrep -f kestrel-fault-box; }
check_report() {
  [ "$rc" -eq 139 ] || fail "exit status $rc (want 139)"
  grep -q "^Windows exception: EXCEPTION_ACCESS_VIOLATION$" "$dir/err" || fail "no exception line"
  grep -q "^kestrel: fault: SIGSEGV (invalid memory access) at address 0x0000000000000000$" "$dir/err" ||
    fail "no signal line"
}

case=answered
"$probe" >"$dir/out" 2>"$dir/err" &
pid=$!
wait_box || fail "no \"Windows exception\" box"
box=$(box_id)
xdotool windowfocus --sync "$box" key Return 2>/dev/null || xdotool key Return
finish 3
check_report
sleep 0.2
[ -z "$(leftovers)" ] || fail "a box process was left: $(leftovers)"
echo "$case: the box shown and answered, exit 139"

case=unanswered
KESTREL_FAULT_BOX_SECONDS=2 "$probe" >"$dir/out" 2>"$dir/err" &
pid=$!
wait_box || fail "no \"Windows exception\" box"
finish 6
check_report
grep -q "no answer in time" "$dir/err" || fail "the time-out was not told"
sleep 0.2
[ -z "$(box_id)" ] || fail "the box stayed on the screen"
[ -z "$(leftovers)" ] || fail "a box process was left: $(leftovers)"
echo "$case: ended when the box's time was up, the box gone"

case=killed
"$probe" >"$dir/out" 2>"$dir/err" &
pid=$!
wait_box || fail "no \"Windows exception\" box"
kill -9 "$pid"; wait "$pid" 2>/dev/null; pid=""
for _ in $(seq 40); do [ -z "$(box_id)$(leftovers)" ] && break; sleep 0.05; done
[ -z "$(box_id)" ] || fail "the box stayed after the program was killed"
[ -z "$(leftovers)" ] || fail "a box process was left: $(leftovers)"
echo "$case: the box went with the program"

case=offscreen
env -u DISPLAY SDL_VIDEODRIVER=offscreen "$probe" >"$dir/out" 2>"$dir/err" &
pid=$!
finish 5
check_report
echo "$case: ended at once"
exit 0

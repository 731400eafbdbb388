#!/usr/bin/env bash
# Starts the program on a fresh program folder under Xvfb, draws the one batch of a small event with
# space presses (start, stop, announce), quits with F12 and checks the files the stop wrote.
set -euo pipefail
exe="${1:?usage: stage_space_presses.sh PATH/TO/kavrel-draw}"
here="$(cd "$(dirname "$0")" && pwd)"

E2E_WORK="$(mktemp -d)"
export E2E_WORK
trap 'rm -rf "$E2E_WORK"' EXIT
app="$E2E_WORK/app"
# shellcheck source=e2e_lib.sh
source "$here/e2e_lib.sh"
printf '%s\n' '特等奖,3,1,1,3,奖品：纪念金币,,' | make_event "$exe" "$app" 20

cat > "$E2E_WORK/drive.sh" <<DRIVE
#!/usr/bin/env bash
set -euo pipefail
E2E_WORK="$E2E_WORK"
source "$here/e2e_lib.sh"
app="$app"
start_program "\$app"
draw_batch "\$app"
announce "\$app"
# Every batch is drawn, so F12 closes without asking.
stage_key F12
wait_until program_gone || fail "the program did not close on F12"
wait "\$PROGRAM_PID" 2>/dev/null || true
DRIVE
run_under_xvfb "$E2E_WORK/drive.sh"

[ -f "$app/config/result.dat" ] || fail "config/result.dat was not written"
[ -f "$app/result.txt" ] || fail "result.txt was not written"
record="$(utf8 "$app/config/result.dat")"
log="$(utf8 "$app/result.txt")"
case "$record" in 特等奖-奖品：纪念金币-*) ;; *) fail "unexpected result.dat: $record" ;; esac
winners="$(recorded_winners "$app" | sort -u | wc -l)"
[ "$winners" -eq 3 ] || fail "result.dat holds $winners distinct winners, expected 3: $record"
printf '%s' "$log" | grep -q '【特等奖】' || fail "result.txt has no block for the award: $log"
[ ! -e "$app/config/exit.ini" ] || fail "a finished draw left a resume record"
echo "e2e: space presses drew and recorded one batch of 3"

#!/usr/bin/env bash
# F1 while a draw is under way asks first: a stray space press or Escape keeps the draw (the roll
# goes on and can still be stopped and recorded), 确定 starts afresh with the results kept in
# history/. F1 before any batch restarts without asking.
set -euo pipefail
exe="${1:?usage: restart.sh PATH/TO/kavrel-draw}"
here="$(cd "$(dirname "$0")" && pwd)"

E2E_WORK="$(mktemp -d)"
export E2E_WORK
trap 'rm -rf "$E2E_WORK"' EXIT
app="$E2E_WORK/app"
# shellcheck source=e2e_lib.sh
source "$here/e2e_lib.sh"
printf '%s\n' '一等奖,2,1,1,2,奖品：甲,,' '二等奖,2,1,1,2,奖品：乙,,' | make_event "$exe" "$app" 10

cat > "$E2E_WORK/drive.sh" <<DRIVE
#!/usr/bin/env bash
set -euo pipefail
E2E_WORK="$E2E_WORK"
source "$here/e2e_lib.sh"
app="$app"
history_count() { find "\$app/history" -mindepth 1 -maxdepth 1 -type d 2>/dev/null | wc -l; }
history_is() { [ "\$(history_count)" -eq "\$1" ]; }

start_program "\$app"
# Nothing drawn yet: F1 restarts at once (a question would block the next batch's roll).
stage_key F1
draw_batch "\$app"
announce "\$app"

# F1 while the next batch rolls: space and Escape answer 取消, and the roll is still there to stop.
stage_key space
wait_until file_exists "\$app/config/temp.jpg" || fail "the roll did not start"
stage_key F1
answer_box '提示信息' space
stage_key F1
answer_box '提示信息' Escape
[ "\$(result_blocks "\$app")" -eq 1 ] || fail "the cancelled restart changed the results"
stage_key space
wait_until blocks_are "\$app" 2 || fail "the roll did not survive the cancelled restart"
history_is 0 || fail "a cancelled restart moved results to history"

# 确定: a fresh draw, the old results kept in history.
stage_key F1
answer_box '提示信息' Tab Return
wait_until history_is 1 || fail "the restart did not keep the results in history"
wait_until file_missing "\$app/config/exit.ini" || fail "the restart kept the resume record"
file_missing "\$app/config/result.dat" || fail "the restart kept result.dat in place"
[ "\$(utf8 "\$app/history/"*/result.dat | grep -o '[0-9]\{4\}  选手[0-9]*  ' | wc -l)" -eq 4 ] \
  || fail "history/result.dat does not hold the 4 winners"
grep -q '^reason=restart' "\$app/history/"*/draw.ini || fail "the history folder does not say it was a restart"
draw_batch "\$app"
[ "\$(recorded_winners "\$app" | wc -l)" -eq 2 ] || fail "the fresh draw does not start with an empty result.dat"
utf8 "\$app/config/result.dat" | grep -q '^一等奖-' || fail "the fresh draw does not start with the first award"
stage_key F12
answer_box '退出提示' Tab Return
wait_until program_gone || fail "the program did not close"
DRIVE
run_under_xvfb "$E2E_WORK/drive.sh" || fail "the run under Xvfb failed"
echo "e2e: F1 asks during a draw, keeps the draw on 取消 and the results in history on 确定"

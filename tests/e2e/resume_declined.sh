#!/usr/bin/env bash
# After a crash, the answer 否 to the resume question starts afresh without destroying the last
# draw: its result files move, byte for byte, into history/<yyyyMMdd-HHmmss>/. Then F12 with
# batches left asks first (space and 取消 keep the program, 确定 quits) and keeps the resume
# record either way, so the next start offers to continue; 否 again keeps the results in history.
set -euo pipefail
exe="${1:?usage: resume_declined.sh PATH/TO/kavrel-draw}"
here="$(cd "$(dirname "$0")" && pwd)"

E2E_WORK="$(mktemp -d)"
export E2E_WORK
trap 'rm -rf "$E2E_WORK"' EXIT
app="$E2E_WORK/app"
# shellcheck source=e2e_lib.sh
source "$here/e2e_lib.sh"
printf '%s\n' '一等奖,4,2,1,2,奖品：甲,,' '一等奖,4,2,2,2,奖品：甲,,' '二等奖,1,1,1,1,奖品：乙,,' | make_event "$exe" "$app" 12

cat > "$E2E_WORK/drive.sh" <<DRIVE
#!/usr/bin/env bash
set -euo pipefail
E2E_WORK="$E2E_WORK"
source "$here/e2e_lib.sh"
app="$app"
history_count() { find "\$app/history" -mindepth 1 -maxdepth 1 -type d 2>/dev/null | wc -l; }
history_is() { [ "\$(history_count)" -eq "\$1" ]; }

# A batch, a crash, and 否.
start_program "\$app"
draw_batch "\$app"
cp "\$app/config/result.dat" "\$app/result.txt" "\$E2E_WORK/"
crash_program
start_program "\$app"
answer_box '开始抽奖前确认信息' Escape
wait_until history_is 1 || fail "the declined draw's results were not moved to history"
stamp="\$(find "\$app/history" -mindepth 1 -maxdepth 1 -type d -printf '%f\n')"
[[ "\$stamp" =~ ^[0-9]{8}-[0-9]{6}\$ ]] || fail "history folder not named by date and time: \$stamp"
cmp -s "\$E2E_WORK/result.dat" "\$app/history/\$stamp/result.dat" || fail "history/result.dat differs from the draw's"
cmp -s "\$E2E_WORK/result.txt" "\$app/history/\$stamp/result.txt" || fail "history/result.txt differs from the draw's"
file_missing "\$app/config/result.dat" && file_missing "\$app/result.txt" || fail "the fresh draw kept the old results"
file_missing "\$app/config/exit.ini" || fail "the fresh draw kept the resume record"

# The fresh draw starts with the first batch again and records into new files.
draw_batch "\$app"
[ "\$(recorded_winners "\$app" | wc -l)" -eq 2 ] || fail "the fresh draw's first batch is not alone in result.dat"
file_exists "\$app/config/exit.ini" || fail "no resume record after the fresh draw's first batch"

# F12 with batches left asks. A space press meant for the stage answers 取消, as does Escape:
# the program and the resume record stay. Only 确定 quits, and the record stays too.
stage_key F12
answer_box '退出提示' space
program_gone && fail "space in the quit question closed the program"
file_exists "\$app/config/exit.ini" || fail "space in the quit question lost the resume record"
stage_key F12
answer_box '退出提示' Escape
program_gone && fail "取消 closed the program"
file_exists "\$app/config/exit.ini" || fail "取消 lost the resume record"
stage_key F12
answer_box '退出提示' Tab Return
wait_until program_gone || fail "确定 did not close the program"
file_exists "\$app/config/exit.ini" || fail "a confirmed quit lost the resume record"

# The quit draw is offered for resumption; 否 moves its results to a history folder of their own.
start_program "\$app"
answer_box '开始抽奖前确认信息' Escape
wait_until history_is 2 || fail "the quit draw's results were not moved to history"
file_missing "\$app/config/result.dat" || fail "the new start kept the old results"
# Nothing drawn yet: F12 closes without asking.
stage_key F12
wait_until program_gone || fail "F12 before any batch did not close the program"
DRIVE
run_under_xvfb "$E2E_WORK/drive.sh" || fail "the run under Xvfb failed"
echo "e2e: resume declined keeps the results in history; F12 asks while batches remain"

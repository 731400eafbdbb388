#!/usr/bin/env bash
# F2 takes back the batch on screen once: 取消 (or a stray space press) keeps it, 确定 removes it
# from the result files and the resume record, and a second F2 is refused without touching
# anything. A crash right after the undo resumes with the undone batch to draw again, and it
# extends its award's line.
set -euo pipefail
exe="${1:?usage: undo_once.sh PATH/TO/kavrel-draw}"
here="$(cd "$(dirname "$0")" && pwd)"

E2E_WORK="$(mktemp -d)"
export E2E_WORK
trap 'rm -rf "$E2E_WORK"' EXIT
app="$E2E_WORK/app"
# shellcheck source=e2e_lib.sh
source "$here/e2e_lib.sh"
printf '%s\n' '一等奖,4,2,1,2,奖品：甲,,' '一等奖,4,2,2,2,奖品：甲,,' '二等奖,1,1,1,1,奖品：乙,,' | make_event "$exe" "$app" 10

cat > "$E2E_WORK/drive.sh" <<DRIVE
#!/usr/bin/env bash
set -euo pipefail
E2E_WORK="$E2E_WORK"
source "$here/e2e_lib.sh"
app="$app"
snapshot() { cat "\$app/config/result.dat" "\$app/result.txt" "\$app/config/exit.ini" | md5sum; }

start_program "\$app"
draw_batch "\$app"
announce "\$app"
draw_batch "\$app"
first_two="\$(recorded_winners "\$app" | head -2)"
before="\$(snapshot)"

stage_key F2
answer_box '操作提示' Escape
[ "\$(snapshot)" = "\$before" ] || fail "取消 changed the files"

stage_key F2
answer_box '操作提示' space
[ "\$(snapshot)" = "\$before" ] || fail "space in the undo question changed the files"

stage_key F2
answer_box '操作提示' Tab Return
wait_until blocks_are "\$app" 1 || fail "the undo did not cut the batch from result.txt"
[ "\$(recorded_winners "\$app")" = "\$first_two" ] || fail "result.dat does not hold exactly the first batch"
[ "\$(record_pool "\$app" | wc -l)" -eq 8 ] || fail "the undone winners are not back in the resume record's pool"
after_undo="\$(snapshot)"

stage_key F2
answer_box '操作提示' Return
[ "\$(snapshot)" = "\$after_undo" ] || fail "a second undo changed the files"

crash_program
start_program "\$app"
answer_box '开始抽奖前确认信息' Return
draw_batch "\$app"
[ "\$(utf8 "\$app/config/result.dat" | grep -c '^一等奖-')" -eq 1 ] || fail "the redrawn batch opened a new line"
[ "\$(recorded_winners "\$app" | wc -l)" -eq 4 ] || fail "expected 4 winners of 一等奖"
announce "\$app"
draw_batch "\$app"
wait_until file_missing "\$app/config/exit.ini" || fail "the finished draw kept a resume record"
stage_key F12
wait_until program_gone || fail "the program did not close on F12"
DRIVE
run_under_xvfb "$E2E_WORK/drive.sh" || fail "the run under Xvfb failed"

winners="$(recorded_winners "$app")"
[ "$(printf '%s\n' "$winners" | sort -u | wc -l)" -eq 5 ] || fail "expected 5 distinct winners: $winners"
[ "$(result_blocks "$app")" -eq 3 ] || fail "expected 3 blocks in result.txt"
echo "e2e: one undo per batch, and the undone batch drawn again after a crash"

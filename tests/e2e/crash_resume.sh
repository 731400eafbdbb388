#!/usr/bin/env bash
# A crash never costs a drawn batch: the session ends (SIGTERM) once with a batch's winners on
# screen, and the program is killed (kill -9) once in the middle of a roll. Each next start asks
# to resume, the answer 是 continues with the right batch, and the finished draw holds every batch
# once, every winner once, and nobody lost from the pool.
set -euo pipefail
exe="${1:?usage: crash_resume.sh PATH/TO/kavrel-draw}"
here="$(cd "$(dirname "$0")" && pwd)"

E2E_WORK="$(mktemp -d)"
export E2E_WORK
trap 'rm -rf "$E2E_WORK"' EXIT
app="$E2E_WORK/app"
make_plan() {
  printf '%s\n' '一等奖,6,2,1,3,奖品：甲,,' '一等奖,6,2,2,3,奖品：甲,,' '二等奖,2,1,1,2,奖品：乙,,' '三等奖,1,1,1,1,奖品：丙,,'
}
# shellcheck source=e2e_lib.sh
source "$here/e2e_lib.sh"
make_plan | make_event "$exe" "$app" 20

cat > "$E2E_WORK/drive.sh" <<DRIVE
#!/usr/bin/env bash
set -euo pipefail
E2E_WORK="$E2E_WORK"
source "$here/e2e_lib.sh"
app="$app"
all="\$(for i in \$(seq 1 20); do printf '%04d  选手%d  \n' "\$i" "\$i"; done)"

# Every participant is either a recorded winner or still in the record's pool, exactly once.
check_accounted() {
  local winners pool
  winners="\$(recorded_winners "\$app")"
  pool="\$(record_pool "\$app")"
  [ "\$(printf '%s\n%s\n' "\$winners" "\$pool" | sed '/^\$/d' | sort)" = "\$(printf '%s\n' "\$all" | sort)" ] \
    || fail "winners and the resume record's pool do not add up to the list: winners=[\$winners] pool=[\$pool]"
}

# First run: batch 1 of 一等奖, then the session ends with its winners on screen.
start_program "\$app"
draw_batch "\$app"
# The stop writes the results first and the resume record last: the new block can show before it.
wait_until file_exists "\$app/config/exit.ini" || fail "no resume record after the first batch"
terminate_program
check_accounted
[ "\$(record_value "\$app" award_name)" = "一等奖" ] || fail "the record does not name the award drawn last"

# Second run: resume, the stage prepares batch 2 of 一等奖, which extends the award's line; then
# the next batch is announced and the program is killed while candidates roll.
start_program "\$app"
answer_box '开始抽奖前确认信息' Return
E2E_LIMIT_S=3 wait_until file_missing "\$app/config/temp.jpg" || fail "a stale stage snapshot survived the crash"
draw_batch "\$app"
[ "\$(utf8 "\$app/config/result.dat" | grep -c '^一等奖-')" -eq 1 ] || fail "batch 2 did not extend the award's line"
[ "\$(recorded_winners "\$app" | wc -l)" -eq 6 ] || fail "expected 6 winners after two batches"
announce "\$app"
stage_key space
wait_until file_exists "\$app/config/temp.jpg" || fail "the roll did not start"
crash_program
check_accounted
[ "\$(result_blocks "\$app")" -eq 2 ] || fail "the roll that was killed recorded something"

# Third run: resume, and draw the rest to the end.
start_program "\$app"
answer_box '开始抽奖前确认信息' Return
draw_batch "\$app"
announce "\$app"
draw_batch "\$app"
wait_until file_missing "\$app/config/exit.ini" || fail "the finished draw kept a resume record"
# The press after the last winners shows "抽奖完毕！"; in the finished state the presses alternate
# between a stop that does nothing and "全部奖项已经抽取完毕！".
finish_draw "\$app"
answer_box '^提示：\$' Return
[ "\$(result_blocks "\$app")" -eq 4 ] || fail "a press in the finished state recorded something"
# Then the winner show opens over the stage; the session may end during it without leaving a
# record of a finished draw.
winner_show_open() { [ "\$(xdotool search --onlyvisible --classname . 2>/dev/null | wc -l)" -ge 2 ]; }
wait_until winner_show_open || fail "the winner show did not open"
terminate_program
file_missing "\$app/config/exit.ini" || fail "a finished draw left a resume record"
DRIVE
run_under_xvfb "$E2E_WORK/drive.sh" || fail "the run under Xvfb failed"

record="$(utf8 "$app/config/result.dat")"
[ "$(printf '%s' "$record" | tr -d '\r' | cut -d- -f1 | tr '\n' ' ')" = "一等奖 二等奖 三等奖 " ] \
  || fail "result.dat does not hold one line per award in plan order: $record"
winners="$(recorded_winners "$app")"
[ "$(printf '%s\n' "$winners" | wc -l)" -eq 9 ] || fail "expected 9 winners: $winners"
[ "$(printf '%s\n' "$winners" | sort -u | wc -l)" -eq 9 ] || fail "someone was drawn twice: $winners"
[ "$(utf8 "$app/result.txt" | grep '^【' | sed 's/\t.*//' | tr '\n' ' ')" = "【一等奖】 【一等奖】 【二等奖】 【三等奖】 " ] \
  || fail "result.txt blocks out of order: $(utf8 "$app/result.txt")"
[ ! -e "$app/history" ] || fail "a resumed draw moved results to history"
echo "e2e: two crashes, two resumes, 4 batches and 9 distinct winners recorded once each"

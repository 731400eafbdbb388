#!/usr/bin/env bash
# A stop while the program has no file descriptor left (a hall full of phones under the usual limit of
# 1,024): the batch is not shown as drawn, nothing is written, the operator is told, and once
# descriptors are free again the next presses draw and record the same batch.
set -euo pipefail
exe="${1:?usage: descriptor_limit.sh PATH/TO/kavrel-draw}"
here="$(cd "$(dirname "$0")" && pwd)"

E2E_WORK="$(mktemp -d)"
export E2E_WORK
trap 'rm -rf "$E2E_WORK"' EXIT
app="$E2E_WORK/app"
# shellcheck source=e2e_lib.sh
source "$here/e2e_lib.sh"
printf '%s\n' '一等奖,4,2,1,2,奖品：甲,,' '一等奖,4,2,2,2,奖品：甲,,' | make_event "$exe" "$app" 10

cat > "$E2E_WORK/drive.sh" <<DRIVE
#!/usr/bin/env bash
set -euo pipefail
E2E_WORK="$E2E_WORK"
source "$here/e2e_lib.sh"
app="$app"

start_program "\$app"
soft="\$(prlimit --pid "\$PROGRAM_PID" --nofile --noheadings --output SOFT)"
stage_key space
wait_rolling "\$app"
# The lowest descriptor number free now: with the soft limit there, every open fails with EMFILE.
free=0
while [ -e "/proc/\$PROGRAM_PID/fd/\$free" ]; do free=\$((free + 1)); done
prlimit --pid "\$PROGRAM_PID" --nofile="\$free:" || fail "prlimit could not lower the limit"
stage_key space
# The stop goes back to the ready state of the batch: the roll's snapshot goes, as when it is announced.
wait_until file_missing "\$app/config/temp.jpg" || fail "the stage still shows the batch it could not record"
[ "\$(result_blocks "\$app")" -eq 0 ] || fail "result.txt holds a batch"
[ -z "\$(recorded_winners "\$app")" ] || fail "result.dat holds winners"
[ ! -e "\$app/config/exit.ini" ] || fail "a resume record was written for a batch never recorded"
prlimit --pid "\$PROGRAM_PID" --nofile="\$soft:" || fail "prlimit could not restore the limit"
answer_box '错误提示' Return

draw_batch "\$app"
[ "\$(recorded_winners "\$app" | sort -u | wc -l)" -eq 2 ] || fail "the retried batch was not recorded whole"
[ -e "\$app/config/exit.ini" ] || fail "the recorded batch has no resume record"
crash_program
DRIVE
run_under_xvfb "$E2E_WORK/drive.sh"
echo "e2e: a stop at the descriptor limit drew nothing, and the next presses recorded the batch"

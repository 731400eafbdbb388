#!/usr/bin/env bash
# F3 after a batch of three: two winners are ticked and given up with a redraw of two queued. Both
# result files mark exactly those two, the stage announces the redraw at once, and the redraw is
# drawn and recorded under its own name. The resume record follows every step.
set -euo pipefail
exe="${1:?usage: abandon_redraw.sh PATH/TO/kavrel-draw}"
here="$(cd "$(dirname "$0")" && pwd)"

E2E_WORK="$(mktemp -d)"
export E2E_WORK
trap 'rm -rf "$E2E_WORK"' EXIT
app="$E2E_WORK/app"
# shellcheck source=e2e_lib.sh
source "$here/e2e_lib.sh"
printf '%s\n' '一等奖,3,1,1,3,奖品：甲,,' '二等奖,1,1,1,1,奖品：乙,,' | make_event "$exe" "$app" 10

cat > "$E2E_WORK/drive.sh" <<DRIVE
#!/usr/bin/env bash
set -euo pipefail
E2E_WORK="$E2E_WORK"
source "$here/e2e_lib.sh"
app="$app"
marks() { utf8 "\$app/config/result.dat" | grep -o '(已弃奖)' | wc -l; }
marks_are() { [ "\$(marks)" -eq "\$1" ]; }

start_program "\$app"
draw_batch "\$app"
first="\$(recorded_winners "\$app")"
[ "\$(printf '%s\n' "\$first" | wc -l)" -eq 3 ] || fail "expected 3 winners of 一等奖"

stage_key F3
wait_until has_window '^弃奖\$' || fail "F3 did not open the abandon window"
wid="\$(visible_window '^弃奖\$')"
focus_on "\$wid" || fail "the abandon window did not take the focus"
# Award box -> winner list: tick the first two; -> 弃奖人员回归奖池 (kept) -> the redraw option.
xdotool key Tab Home space Down space Tab Tab space Return
wait_until no_window '^弃奖\$' || fail "弃奖 did not close the window"
wait_until marks_are 2 || fail "result.dat does not mark two winners"
[ "\$(record_pool "\$app" | wc -l)" -eq 9 ] || fail "the resume record's pool does not hold the two given up"
grep -q "补抽" <(utf8 "\$app/config/exit.ini") || fail "the resume record does not hold the queued redraw"

draw_batch "\$app"
[ "\$(utf8 "\$app/config/result.dat" | grep -c '^补抽一等奖-奖品：甲-')" -eq 1 ] || fail "the redraw has no line of its own"
terminate_program
DRIVE
run_under_xvfb "$E2E_WORK/drive.sh" || fail "the run under Xvfb failed"

dat="$(utf8 "$app/config/result.dat" | tr -d '\r')"
txt="$(utf8 "$app/result.txt" | tr -d '\r')"
first_line="$(printf '%s\n' "$dat" | sed -n 1p)"
redraw_line="$(printf '%s\n' "$dat" | sed -n 2p)"
[ "$(printf '%s\n' "$dat" | wc -l)" -eq 2 ] || fail "expected two lines in result.dat: $dat"
mapfile -t won < <(printf '%s\n' "$first_line" | cut -d- -f3-5 | tr '-' '\n')
[ "$first_line" = "一等奖-奖品：甲-${won[0]%(已弃奖)}(已弃奖)-${won[1]%(已弃奖)}(已弃奖)-${won[2]}-" ] \
  || fail "the first two winners are not the ones marked: $first_line"
[ "$(printf '%s\n' "$redraw_line" | tr '-' '\n' | grep -c '选手')" -eq 2 ] || fail "the redraw did not draw 2: $redraw_line"
printf '%s\n' "$redraw_line" | grep -qF -- "-${won[2]}-" && fail "the winner who kept the prize was drawn again"
[ "$(printf '%s\n' "$txt" | grep -c '^【一等奖】')" -eq 1 ] || fail "result.txt: expected one block of 一等奖"
[ "$(printf '%s\n' "$txt" | grep '^【一等奖】' | grep -o '(已弃奖)' | wc -l)" -eq 2 ] \
  || fail "result.txt does not mark the two in the award's block"
[ "$(printf '%s\n' "$txt" | grep -c '^【补抽一等奖】')" -eq 1 ] || fail "result.txt: expected one block of the redraw"
# The receipts tell the same story: the abandon and the redraw replay to exactly these files.
verify="$(dirname "$exe")/kavrel-verify"
# The plan still holds 二等奖: the draw is open, so it verifies without its closing line (status 4).
status=0
out="$("$verify" "$app")" || status=$?
[ "$status" -eq 4 ] || fail "kavrel-verify did not confirm the open draw (status $status): $out"
[[ "$out" == "NOT CLOSED: 2 batches, 3 winners, 2 gave up, seal "* ]] || fail "kavrel-verify: $out"
echo "e2e: two winners given up, the redraw queued, drawn and recorded in both files; receipts verified"

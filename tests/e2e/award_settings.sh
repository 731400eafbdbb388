#!/usr/bin/env bash
# The award settings as an operator uses them before the event: a new main title and one more award
# typed into "主副标题和奖项设置" and its edit dialog (a "-" in the award name refused where it is
# typed), confirmed with 确定. The typed texts are ASCII: xdotool drops characters it has to map onto
# a spare key when the machine is busy. The files follow at once and the stage draws the new plan; at the end
# the winner show opens and "返回" brings back the stage, which still takes keys.
set -euo pipefail
exe="${1:?usage: award_settings.sh PATH/TO/kavrel-draw}"
here="$(cd "$(dirname "$0")" && pwd)"

E2E_WORK="$(mktemp -d)"
export E2E_WORK
trap 'rm -rf "$E2E_WORK"' EXIT
app="$E2E_WORK/app"
# shellcheck source=e2e_lib.sh
source "$here/e2e_lib.sh"
printf '%s\n' '一等奖,2,1,1,2,奖品：甲,,' | make_event "$exe" "$app" 8
printf '一等奖,2,1,2,奖品：甲,,\r\n' | gb > "$app/config/jiangx.dat"

cat > "$E2E_WORK/drive.sh" <<DRIVE
#!/usr/bin/env bash
set -euo pipefail
E2E_WORK="$E2E_WORK"
source "$here/e2e_lib.sh"
app="$app"
# Clicks at x,y inside the window wid (x or y below 0 counts from the right or bottom edge).
click_in() {
  local wid="\$1" x="\$2" y="\$3" geo wx wy ww wh
  geo="\$(xdotool getwindowgeometry --shell "\$wid")"
  wx="\$(sed -n 's/^X=//p' <<<"\$geo")"; wy="\$(sed -n 's/^Y=//p' <<<"\$geo")"
  ww="\$(sed -n 's/^WIDTH=//p' <<<"\$geo")"; wh="\$(sed -n 's/^HEIGHT=//p' <<<"\$geo")"
  [ "\$x" -lt 0 ] && x=\$((ww + x))
  [ "\$y" -lt 0 ] && y=\$((wh + y))
  xdotool mousemove \$((wx + x)) \$((wy + y)) click 1
}
in_file() { utf8 "\$1" | grep -q "\$2"; }
window_count() { xdotool search --onlyvisible --classname . 2>/dev/null | wc -l; }
windows_are() { [ "\$(window_count)" -eq "\$1" ]; }

start_program "\$app"
# "设定" → its second item, "主副标题/奖项设定(U)".
open_stage_menu 2
xdotool key Down Down Return
wait_until has_window '^主副标题和奖项设置\$' || fail "the award settings window did not open"
settings="\$(visible_window '^主副标题和奖项设置\$')"
xdotool windowfocus --sync "\$settings"
click_in "\$settings" -52 22
wait_until has_window '^增加奖项\$' || fail "增加奖项 did not open the edit dialog"
edit="\$(visible_window '^增加奖项\$')"
xdotool windowfocus --sync "\$edit"
xdotool type 'Lucky'
xdotool key minus
answer_box '^错误提示：\$' Return
xdotool windowfocus --sync "\$edit"
xdotool type 'Draw'
xdotool key Tab
xdotool type 3
xdotool key Tab
xdotool type 2
xdotool key Tab
xdotool type 'Gift box'
xdotool key Return
wait_until no_window '^增加奖项\$' || fail "确认 did not close the edit dialog"
wait_until in_file "\$app/config/jiangx.dat" '^LuckyDraw,3,2,2+1,Gift box,,' || fail "jiangx.dat: \$(utf8 "\$app/config/jiangx.dat")"
in_file "\$app/config/shezhijx.dat" '^LuckyDraw,3,2,2,1,Gift box,,' || fail "shezhijx.dat: \$(utf8 "\$app/config/shezhijx.dat")"
in_file "\$app/config/config.ini" '^中奖名额=5' || fail "the total quota was not stored"
# The main title box sits 299 pixels above the window's lower edge.
xdotool windowfocus --sync "\$settings"
click_in "\$settings" 530 -299
xdotool key ctrl+a
xdotool type 'Spring Gala 2027'

click_in "\$settings" -138 -23
wait_until no_window '^主副标题和奖项设置\$' || fail "确定 did not close the award settings window"
in_file "\$app/config/config.ini" '^主标题=Spring Gala 2027' || fail "the main title was not stored"

# No draw was under way: the stage starts afresh with the new plan, three batches in all.
draw_batch "\$app"
announce "\$app"
draw_batch "\$app"
announce "\$app"
draw_batch "\$app"
utf8 "\$app/config/result.dat" | tr -d '\r' | cut -d- -f1 | tr '\n' ' ' | grep -qx '一等奖 LuckyDraw ' \
  || fail "result.dat: \$(utf8 "\$app/config/result.dat")"
[ "\$(recorded_winners "\$app" | sort -u | wc -l)" -eq 5 ] || fail "expected 5 distinct winners"

# The end of the draw opens the winner show; "返回" (top right) closes it.
finish_draw "\$app"
answer_box '^提示：\$' Return
wait_until windows_are 2 || fail "the winner show did not open"
show="\$(xdotool search --onlyvisible --classname . | grep -vx "\$STAGE_WID" | head -1)"
click_in "\$show" -40 30
wait_until windows_are 1 || fail "返回 did not close the winner show"
# Back on the stage, F7 opens the latest award and Escape closes it.
stage_key F7
wait_until has_window '^查看中奖名单\$' || fail "F7 did not open the latest award"
xdotool windowfocus --sync "\$(visible_window '^查看中奖名单\$')"
xdotool key Escape
wait_until no_window '^查看中奖名单\$' || fail "Escape did not close the latest award"
terminate_program
DRIVE
run_under_xvfb "$E2E_WORK/drive.sh" || fail "the run under Xvfb failed"
echo "e2e: title and award typed into the settings reach the files and the stage; the winner show closes on 返回"

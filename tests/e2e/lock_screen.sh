#!/usr/bin/env bash
# The screen lock as the operator leaves the desk: "锁定屏幕(X)" covers the stage; the space bar, F1 and
# F12 pressed with the stage focused reach the lock, not the draw (nothing rolls, the program does not
# quit); a wrong password is refused; the empty password unlocks and the stage takes the space bar again.
set -euo pipefail
exe="${1:?usage: lock_screen.sh PATH/TO/kavrel-draw}"
here="$(cd "$(dirname "$0")" && pwd)"

E2E_WORK="$(mktemp -d)"
export E2E_WORK
trap 'rm -rf "$E2E_WORK"' EXIT
app="$E2E_WORK/app"
# shellcheck source=e2e_lib.sh
source "$here/e2e_lib.sh"
printf '%s\n' '一等奖,2,1,1,2,奖品：甲,,' | make_event "$exe" "$app" 8

cat > "$E2E_WORK/drive.sh" <<DRIVE
#!/usr/bin/env bash
set -euo pipefail
E2E_WORK="$E2E_WORK"
source "$here/e2e_lib.sh"
app="$app"
program_alive() { kill -0 "\$PROGRAM_PID" 2>/dev/null; }

start_program "\$app"
# "界面" opens its popup, whose sixth item is "锁定屏幕(X)".
open_stage_menu 1
xdotool key Down Down Down Down Down Down Return
wait_until has_window '^屏幕已锁定\$' || fail "锁定屏幕(X) did not lock the screen"
lock="\$(visible_window '^屏幕已锁定\$')"

# Keys sent with the stage focused: the lock holds the keyboard, so they show its password row.
stage_key space
stage_key F1
stage_key F12
xdotool type x
xdotool key Return
# The message comes after every key above has been handled.
wait_until has_window '^错误提示：\$' || fail "a wrong password was not refused"
program_alive || fail "F12 reached the stage while it was locked"
file_missing "\$app/config/temp.jpg" || fail "the space bar started the draw while the stage was locked"
no_window '^提示信息：\$' || fail "F1 reached the stage while it was locked"
answer_box '^错误提示：\$' Return
has_window '^屏幕已锁定\$' || fail "a wrong password unlocked the screen"

# The empty password (nothing stored) unlocks; the stage then takes the space bar again.
xdotool windowfocus --sync "\$lock"
xdotool key ctrl+a BackSpace Return
wait_until no_window '^屏幕已锁定\$' || fail "the empty password did not unlock"
stage_key space
wait_until file_exists "\$app/config/temp.jpg" || fail "the stage did not take the space bar after unlocking"
terminate_program
DRIVE
run_under_xvfb "$E2E_WORK/drive.sh" || fail "the run under Xvfb failed"
echo "e2e: keys pressed while locked reach the lock, not the draw; the empty password unlocks"

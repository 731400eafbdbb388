#!/usr/bin/env bash
# The stage on the projector, the console on the laptop: an X server with two monitors, the stage's
# screen remembered as the second one. The stage must open there and the operator console on the first;
# a whole batch is drawn with a presenter remote's PageDown sent to the console, a screenshot of
# each monitor shows the stage only on the second, and F6 on the console opens the winner show there.
#
# The two monitors are two X screens (:N.0 and :N.1). Xvfb's Xinerama puts every head at 0,0 and Qt
# then sees a single screen, so Xinerama would not give two monitors side by side here.
set -euo pipefail
exe="${1:?usage: two_screens.sh PATH/TO/kavrel-draw}"
here="$(cd "$(dirname "$0")" && pwd)"

E2E_WORK="$(mktemp -d)"
export E2E_WORK
trap 'rm -rf "$E2E_WORK"' EXIT
app="$E2E_WORK/app"
# shellcheck source=e2e_lib.sh
source "$here/e2e_lib.sh"
printf '%s\n' '一等奖,3,1,1,3,奖品：手机,,' | make_event "$exe" "$app" 20
# Both X screens are called "screen": the second is remembered by its place.
printf '[扩展显示]\r\n舞台显示屏=screen#2\r\n' | gb >> "$app/config/config.ini"

cat > "$E2E_WORK/drive.sh" <<DRIVE
#!/usr/bin/env bash
set -euo pipefail
E2E_WORK="$E2E_WORK"
source "$here/e2e_lib.sh"
app="$app"
display="\${DISPLAY%%.*}"
start_program "\$app"
wait_until has_window '^kavrel抽奖 操作台$' || fail "the operator console did not open"
console="\$(visible_window '^kavrel抽奖 操作台$')"
# (Read whole before matching: grep -q leaving early would fail the pipe under pipefail.)
on_screen() { case "\$(xdotool getwindowgeometry "\$1")" in *"(screen: \$2)"*) return 0 ;; *) return 1 ;; esac; }
on_screen "\$STAGE_WID" 1 || fail "the stage is not on the second monitor: \$(xdotool getwindowgeometry "\$STAGE_WID")"
on_screen "\$console" 0 || fail "the console is not on the first monitor: \$(xdotool getwindowgeometry "\$console")"

console_key() {
  focus_on "\$console" || fail "the console did not take the focus"
  xdotool key "\$1"
}
# PageDown starts the roll and stops it. The stage writes its snapshot at the roll's first painted
# pick, so once the file is there one stop records the batch.
console_key Next
wait_until file_exists "\$app/config/temp.jpg" || fail "PageDown on the console did not start the roll"
console_key Next
wait_until blocks_are "\$app" 1 || fail "PageDown on the console did not stop and record the batch"

# The monitors as the audience and the operator see them.
import -display "\$display.0" -window root "\$E2E_WORK/monitor1.png"
import -display "\$display.1" -window root "\$E2E_WORK/monitor2.png"

# F6 on the console: the winner show covers the projector, not the laptop the console is on.
# (Untitled, it is found by the program's class among its windows other than the stage, the console and
# the console's "舞台正在展示" window that closes it.)
closer() { visible_window '^舞台正在展示\$'; }
other_stage_window() {
  xdotool search --onlyvisible --classname '^kavrel-draw\$' 2>/dev/null |
    grep -vx -e "\$STAGE_WID" -e "\$console" -e "\$(closer)" | head -1 || true
}
has_winner_show() { [ -n "\$(other_stage_window)" ]; }
console_key F6
wait_until has_winner_show || fail "F6 on the console did not open the winner show"
show="\$(other_stage_window)"
on_screen "\$show" 1 || fail "the winner show is not on the second monitor: \$(xdotool getwindowgeometry "\$show")"
case "\$(xdotool getwindowgeometry "\$show")" in *"Geometry: 1024x768"*) ;; *) fail "the winner show does not cover the projector" ;; esac
wait_until has_window '^舞台正在展示\$' || fail "the console has no window to close the winner show"
on_screen "\$(closer)" 0 || fail "the winner show's close window is not on the console's monitor"
# It closes only through its "返回" caption, at its top right.
xdotool mousemove --screen 1 980 30 click 1
no_winner_show() { ! has_winner_show; }
wait_until no_winner_show || fail "the winner show did not close on 返回"

# Every batch is drawn, so F12 closes without asking; the console goes with the stage.
console_key F12
wait_until program_gone || fail "the program did not close on F12 from the console"
wait "\$PROGRAM_PID" 2>/dev/null || true
DRIVE

# Like run_under_xvfb, with two screens.
: > "$E2E_WORK/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -screen 1 1024x768x24 -nolisten tcp -noreset 3> "$E2E_WORK/display" \
  2> "$E2E_WORK/xvfb.log" &
xvfb=$!
display_ready() { grep -q '^[0-9][0-9]*$' "$E2E_WORK/display"; }
wait_until display_ready || { kill "$xvfb" 2>/dev/null || true; cat "$E2E_WORK/xvfb.log"; fail "Xvfb did not start"; }
rc=0
DISPLAY=":$(cat "$E2E_WORK/display")" bash "$E2E_WORK/drive.sh" || rc=$?
kill "$xvfb" 2>/dev/null || true
wait "$xvfb" 2>/dev/null || true
[ "$rc" -eq 0 ] || exit "$rc"

winners="$(recorded_winners "$app" | sort -u | wc -l)"
[ "$winners" -eq 3 ] || fail "result.dat holds $winners distinct winners, expected 3"

# The stage's festive red fills the second monitor; on the first it is at most the console's small
# picture of the stage and its start button.
stage_red() {
  convert "$1" -resize 160x100! -fx '(r > 0.45 && g < 0.35 && b < 0.35) ? 1 : 0' -format '%[fx:mean]' info:
}
red1="$(stage_red "$E2E_WORK/monitor1.png")"
red2="$(stage_red "$E2E_WORK/monitor2.png")"
awk -v r="$red2" 'BEGIN { exit !(r > 0.5) }' || fail "the second monitor does not show the stage (red share $red2)"
awk -v r="$red1" 'BEGIN { exit !(r < 0.15) }' || fail "the stage shows on the first monitor (red share $red1)"
if [ -n "${E2E_KEEP_SHOTS:-}" ]; then cp "$E2E_WORK"/monitor*.png "$E2E_KEEP_SHOTS"/; fi
echo "e2e: stage on the second monitor, console on the first, a batch drawn with PageDown (red $red2 / $red1)"

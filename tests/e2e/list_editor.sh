#!/usr/bin/env bash
# The list editor as an operator uses it before the event: "设定" → "编辑抽奖人员名单(T)" on the stage,
# Ctrl+T imports a UTF-8 text file with LF line ends, Escape asks whether to save and 是 writes
# config/set.dat (GB18030, CR LF) and config/imdata.dat; the stage then draws from the new list.
# Reopening the editor shows the saved table and closes without a question.
set -euo pipefail
exe="${1:?usage: list_editor.sh PATH/TO/kavrel-draw}"
here="$(cd "$(dirname "$0")" && pwd)"

E2E_WORK="$(mktemp -d)"
export E2E_WORK
trap 'rm -rf "$E2E_WORK"' EXIT
app="$E2E_WORK/app"
# shellcheck source=e2e_lib.sh
source "$here/e2e_lib.sh"
printf '%s\n' '一等奖,2,1,1,2,奖品：甲,,' | make_event "$exe" "$app" 8
printf '一等奖,2,1,2,奖品：甲,,\r\n' | gb > "$app/config/jiangx.dat"
# The new list, as a spreadsheet or a phone exports it: UTF-8, LF only.
list="$E2E_WORK/list.txt"
printf '新人甲\n新人乙\n新人丙\n' > "$list"

cat > "$E2E_WORK/drive.sh" <<DRIVE
#!/usr/bin/env bash
set -euo pipefail
E2E_WORK="$E2E_WORK"
source "$here/e2e_lib.sh"
app="$app"
# A checksum of what window \$1 shows in the rectangle WxH+X+Y (\$2), to wait for a repaint.
region_sum() { import -window "\$1" -crop "\$2" +repage rgb:- 2>/dev/null | md5sum; }
region_changed() { [ "\$(region_sum "\$1" "\$2")" != "\$3" ]; }

# "设定" → the first item, "编辑抽奖人员名单(T)", chosen with the keyboard once the popup is up.
# The menu bar stays until the next Escape; the first call shows it.
open_list_editor() {
  if [ "\$1" = show-bar ]; then open_stage_menu 2; else open_stage_menu 2 bar-shown; fi
  xdotool key Down Return
  wait_until has_window '^编辑抽奖人员名单\$' || fail "the list editor did not open"
  editor="\$(visible_window '^编辑抽奖人员名单\$')"
}

start_program "\$app"
open_list_editor show-bar
# The count line "还未导入任何数据" changes once the import is done.
count_line="\$(region_sum "\$editor" 300x20+60+28)"
xdotool windowfocus --sync "\$editor"
xdotool key ctrl+t
wait_until has_window '^导入TXT\$' || fail "Ctrl+T did not open the file dialog"
xdotool windowfocus --sync "\$(visible_window '^导入TXT\$')"
xdotool type --delay 30 "$list"
xdotool key Return
wait_until no_window '^导入TXT\$' || fail "the file dialog did not close"
wait_until region_changed "\$editor" 300x20+60+28 "\$count_line" || fail "the import did not show a count"

# Escape closes; the list changed, so the save question comes and 是 saves.
xdotool windowfocus --sync "\$editor"
xdotool key Escape
answer_box '^更改提示：\$' Return
wait_until no_window '^编辑抽奖人员名单\$' || fail "the list editor did not close after saving"
printf '新人甲\r\n新人乙\r\n新人丙\r\n' | gb | cmp -s - "\$app/config/set.dat" \\
  || fail "set.dat: \$(od -c "\$app/config/set.dat")"
head -c 7 "\$app/config/imdata.dat" | grep -q KVIMDAT || fail "no table snapshot was written"

# No draw was under way: the stage starts afresh from the new list.
draw_batch "\$app"
winners="\$(utf8 "\$app/config/result.dat" | grep -o '新人[甲乙丙]' | sort -u | wc -l)"
[ "\$winners" -eq 2 ] || fail "result.dat: \$(utf8 "\$app/config/result.dat")"
utf8 "\$app/config/result.dat" | grep -q '选手' && fail "a winner came from the old list"

# Reopened, the editor shows the saved table and closes without asking.
announce "\$app"
open_list_editor bar-shown
xdotool windowfocus --sync "\$editor"
xdotool key Escape
wait_until no_window '^编辑抽奖人员名单\$' || fail "the unchanged list editor did not close on Escape"
has_window '^更改提示：\$' && fail "an unchanged list asked to be saved"
terminate_program
DRIVE
run_under_xvfb "$E2E_WORK/drive.sh" || fail "the run under Xvfb failed"
echo "e2e: a text list imported in the list editor is saved and drawn from"

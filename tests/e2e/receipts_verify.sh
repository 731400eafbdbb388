#!/usr/bin/env bash
# The event seal shown by "公证信息" before the first press is what a phone reads off the screen (the
# QR code), and kavrel-verify, run on the program folder after a draw with an undo and a crash,
# verifies it under that seal and with the closing code the window shows once the draw is finished;
# an edited result file is caught.
# E2E_SHOTS=DIR keeps screenshots of the window at each screen size.
set -euo pipefail
exe="${1:?usage: receipts_verify.sh PATH/TO/kavrel-draw PATH/TO/kavrel-verify}"
verify="${2:?usage: receipts_verify.sh PATH/TO/kavrel-draw PATH/TO/kavrel-verify}"
here="$(cd "$(dirname "$0")" && pwd)"

E2E_WORK="$(mktemp -d)"
export E2E_WORK
trap 'rm -rf "$E2E_WORK"' EXIT
app="$E2E_WORK/app"
# shellcheck source=e2e_lib.sh
source "$here/e2e_lib.sh"
printf '%s\n' '一等奖,4,2,1,2,奖品：甲,,' '一等奖,4,2,2,2,奖品：甲,,' '二等奖,1,1,1,1,奖品：乙,,' | make_event "$exe" "$app" 10
cp "$verify" "$app/kavrel-verify"

cat > "$E2E_WORK/drive.sh" <<DRIVE
#!/usr/bin/env bash
set -euo pipefail
E2E_WORK="$E2E_WORK"
source "$here/e2e_lib.sh"
app="$app"

# The menu bar shows on Escape; "功能" opens its popup, whose eighth item is "公证信息".
open_notary() {
  stage_key Escape
  xdotool mousemove 130 93 click 1
  local tries
  for tries in 1 2 3 4 5 6 7 8; do xdotool key Down; done
  xdotool key Return
  wait_until has_window '^公证信息\$' || fail "公证信息 did not open"
}
# What a phone pointed at the window reads: the window as it is on the screen, through zbarimg.
read_qr() {
  import -window "\$(visible_window '^公证信息\$')" "\$E2E_WORK/window.png"
  import -window root "\$E2E_WORK/screen.png"
  zbarimg --raw -q "\$E2E_WORK/window.png" 2>/dev/null | tr -d '\n'
}
# Every code in the window, one a line.
read_codes() {
  import -window "\$(visible_window '^公证信息\$')" "\$E2E_WORK/window.png"
  zbarimg --raw -q "\$E2E_WORK/window.png" 2>/dev/null | grep .
}

start_program "\$app"
open_notary
qr_read() { seal="\$(read_qr)"; [ -n "\$seal" ]; }
seal=""
wait_until qr_read || fail "no QR code could be read off the screen"
[ "\${#seal}" -eq 64 ] || fail "the QR code holds '\$seal', not a seal"
[ -n "\${E2E_SHOTS:-}" ] && cp "\$E2E_WORK/screen.png" "\$E2E_SHOTS/notary-\$(xdpyinfo | sed -n 's/ *dimensions: *\([0-9x]*\) .*/\1/p').png"
focus_on "\$(visible_window '^公证信息\$')"
xdotool key Escape
wait_until no_window '^公证信息\$' || fail "公证信息 did not close on Escape"
stage_key Escape

draw_batch "\$app"
announce "\$app"
draw_batch "\$app"
stage_key F2
answer_box '操作提示' Tab Return
wait_until blocks_are "\$app" 1 || fail "the undo did not cut the batch"
crash_program
start_program "\$app"
answer_box '开始抽奖前确认信息' Return
draw_batch "\$app"
announce "\$app"
draw_batch "\$app"
wait_until file_missing "\$app/config/exit.ini" || fail "the finished draw kept a resume record"
# Finished: the window shows the closing code beside the seal.
open_notary
codes=""
two_codes() { codes="\$(read_codes)"; [ "\$(printf '%s\n' "\$codes" | wc -l)" -eq 2 ]; }
wait_until two_codes || fail "the finished draw's 公证信息 does not show two codes: \$codes"
printf '%s\n' "\$codes" | grep -qx "\$seal" || fail "the seal's code changed: \$codes"
closing="\$(printf '%s\n' "\$codes" | grep -vx "\$seal")"
[ "\${#closing}" -eq 64 ] || fail "the closing code holds '\$closing'"
[ -n "\${E2E_SHOTS:-}" ] && import -window root "\$E2E_SHOTS/notary-closed-\$(xdpyinfo | sed -n 's/ *dimensions: *\([0-9x]*\) .*/\1/p').png"
focus_on "\$(visible_window '^公证信息\$')"
xdotool key Escape
wait_until no_window '^公证信息\$' || fail "公证信息 did not close on Escape"
stage_key Escape

kill -TERM "\$PROGRAM_PID"
wait_until program_gone || fail "the program ignored SIGTERM"

out="\$("\$app/kavrel-verify" "\$app")" || fail "kavrel-verify failed: \$out"
[ "\$(printf '%s\n' "\$out" | head -1)" = "OK: 3 batches, 5 winners, seal \${seal:0:16}, closed \${closing:0:16}" ] \
  || fail "kavrel-verify said: \$out"
printf '%s\n' "\$out" | grep -qx "closing:    \$closing (finished)" || fail "kavrel-verify's closing hash: \$out"
winner="\$(recorded_winners "\$app" | head -1)"
utf8 "\$app/config/result.dat" | sed "s/\$winner/0099  选手99  /" | gb > "\$E2E_WORK/edited.dat"
cp "\$E2E_WORK/edited.dat" "\$app/config/result.dat"
status=0
out="\$("\$app/kavrel-verify" "\$app")" || status=\$?
[ "\$status" -eq 1 ] || fail "an edited result.dat gave status \$status: \$out"
case "\$out" in "MISMATCH"*result.dat*) ;; *) fail "the edit was not named: \$out" ;; esac
DRIVE
run_under_xvfb "$E2E_WORK/drive.sh"
echo "receipts_verify: ok"

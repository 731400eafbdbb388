#!/usr/bin/env bash
# The audience's phones in a real browser (headless Chromium through chromedriver, phone-sized), on
# 127.0.0.1 only: the server started from the remembered settings, a sign-in by a personal link (the
# console counts it, signin.dat holds it), the results page open while a batch is drawn with the
# console's PageDown (the stop appears without a reload), names and mobile numbers masked, and a
# lookup. Screenshots of the pages and the console are kept with E2E_KEEP_SHOTS=folder.
set -euo pipefail
exe="${1:?usage: phone_pages.sh PATH/TO/kavrel-draw}"
here="$(cd "$(dirname "$0")" && pwd)"
command -v chromium > /dev/null || { echo "FAIL: chromium is missing (scripts/install-deps.sh installs it)"; exit 1; }
command -v chromedriver > /dev/null || { echo "FAIL: chromedriver is missing (scripts/install-deps.sh installs it)"; exit 1; }

E2E_WORK="$(mktemp -d)"
export E2E_WORK
driver=""
cleanup() {
  # The browser a failed run left open is chromedriver's child: it goes first, or it outlives the run.
  if [ -n "$driver" ]; then
    pkill -P "$driver" 2>/dev/null || true
    kill "$driver" 2>/dev/null || true
  fi
  rm -rf "$E2E_WORK"
}
trap cleanup EXIT
app="$E2E_WORK/app"
# shellcheck source=e2e_lib.sh
source "$here/e2e_lib.sh"
printf '%s\n' '一等奖,3,1,1,3,奖品：手机,,' | make_event "$exe" "$app" 0
names=(张小三 李四 王五 赵六 钱七 孙八 周九 吴十 郑一 冯二)
for i in $(seq 1 10); do printf '%04d  %s  138%08d\r\n' "$i" "${names[$((i - 1))]}" "$i"; done | gb > "$app/config/set.dat"

free_port() { python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'; }
port="$(free_port)"
printf '[现场手机互动]\r\naddress=127.0.0.1\r\nport=%s\r\nmatchField=1\r\nmaskNames=真\r\nmaskPhones=真\r\nenabled=真\r\n' "$port" \
  | gb >> "$app/config/config.ini"
printf '[扩展显示]\r\n舞台显示屏=screen#2\r\n' | gb >> "$app/config/config.ini"

wdport="$(free_port)"
chromedriver --port="$wdport" > "$E2E_WORK/chromedriver.log" 2>&1 &
driver=$!
wd() { python3 "$here/webdriver.py" "$wdport" "$@"; }

cat > "$E2E_WORK/drive.sh" <<DRIVE
#!/usr/bin/env bash
set -euo pipefail
E2E_WORK="$E2E_WORK"
source "$here/e2e_lib.sh"
app="$app"
display="\${DISPLAY%%.*}"
wd() { python3 "$here/webdriver.py" "$wdport" "\$@"; }
start_program "\$app"
wait_until has_window '^kavrel抽奖 操作台\$' || fail "the operator console did not open"
console="\$(visible_window '^kavrel抽奖 操作台\$')"
server_up() { curl -s -o /dev/null "http://127.0.0.1:$port/"; }
wait_until server_up || fail "the phone server did not start from the remembered settings"
driver_up() { curl -s -o /dev/null "http://127.0.0.1:$wdport/status"; }
wait_until driver_up || fail "chromedriver did not start"
sid="\$(wd new)"

# Everyone on the list has a personal code once the server runs; a colleague's employee number
# signs nobody in, the personal link signs in with no typing.
has_codes() { [ -s "\$app/config/signin-codes.dat" ]; }
wait_until has_codes || fail "the personal codes were not made"
code="\$(utf8 "\$app/config/signin-codes.dat" | grep '0003  王五' | cut -f1)"
[ -n "\$code" ] || fail "王五 has no personal code"
wd go "\$sid" "http://127.0.0.1:$port/?q=0003"
needs_code() { wd text "\$sid" | grep -q '请扫描邀请函'; }
wait_until needs_code || fail "typing an employee number was not refused: \$(wd text "\$sid")"
[ ! -s "\$app/config/signin.dat" ] || fail "an employee number signed someone in"
wd go "\$sid" "http://127.0.0.1:$port/?c=\$code"
signed() { wd text "\$sid" | grep -q '签到成功'; }
wait_until signed || fail "the sign-in by link did not succeed: \$(wd text "\$sid")"
wd text "\$sid" | grep -q '王\*' || fail "the sign-in answer does not mask the name: \$(wd text "\$sid")"
wd shot "\$sid" "\$E2E_WORK/phone-signin.png"
utf8 "\$app/config/signin.dat" | grep -q '0003  王五' || fail "signin.dat does not hold the sign-in"
# Twice is refused.
wd go "\$sid" "http://127.0.0.1:$port/?c=\$code"
refused() { wd text "\$sid" | grep -q '已经签到过了'; }
wait_until refused || fail "a second sign-in was not refused: \$(wd text "\$sid")"
sleep_free_console_shot() { import -display "\$display.0" -window root "\$E2E_WORK/console.png"; }
sleep_free_console_shot

# The results page stays open while a batch is drawn on the stage.
wd go "\$sid" "http://127.0.0.1:$port/results"
streaming() { wd text "\$sid" | grep -q '实时更新中'; }
wait_until streaming || fail "the results page did not connect: \$(wd text "\$sid")"
console_key() {
  focus_on "\$console" || fail "the console did not take the focus"
  xdotool key "\$1"
}
console_key Next
wait_until file_exists "\$app/config/temp.jpg" || fail "PageDown on the console did not start the roll"
console_key Next
wait_until blocks_are "\$app" 1 || fail "PageDown on the console did not stop and record the batch"
stopped_at=\$(date +%s%N)
shown() { wd text "\$sid" | grep -q '一等奖'; }
wait_until shown || fail "the stop did not reach the open results page: \$(wd text "\$sid")"
echo "e2e: the stop reached the open results page after \$(( (\$(date +%s%N) - stopped_at) / 1000000 )) ms (polling included)"
wd text "\$sid" > "\$E2E_WORK/results.txt"
wd shot "\$sid" "\$E2E_WORK/phone-results.png"

wd go "\$sid" "http://127.0.0.1:$port/lookup?c=\$code"
looked() { wd text "\$sid" | grep -q '王\\*.*在本次抽奖的'; }
wait_until looked || fail "the lookup by the personal code did not answer: \$(wd text "\$sid")"
wd shot "\$sid" "\$E2E_WORK/phone-lookup.png"
wd quit "\$sid"
console_key F12
wait_until program_gone || fail "the program did not close on F12"
wait "\$PROGRAM_PID" 2>/dev/null || true
closed() { ! server_up; }
wait_until closed || fail "the phone server still answers after the program closed"
DRIVE

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
if [ -n "${E2E_KEEP_SHOTS:-}" ]; then cp "$E2E_WORK"/*.png "$E2E_KEEP_SHOTS"/ 2>/dev/null || true; fi
[ "$rc" -eq 0 ] || exit "$rc"

# The winners as the phones saw them: three, each name and number masked, none in the clear.
grep -q '公证记录' "$E2E_WORK/results.txt" || { cat "$E2E_WORK/results.txt"; fail "the results page shows no 公证 card"; }
winners="$(grep -c '138\*\*\*\*' "$E2E_WORK/results.txt" || true)"
[ "$winners" -eq 3 ] || { cat "$E2E_WORK/results.txt"; fail "the results page shows $winners masked winners, expected 3"; }
for n in "${names[@]}"; do
  if grep -q "$n" "$E2E_WORK/results.txt"; then fail "the results page shows the name $n unmasked"; fi
done
echo "e2e: phone sign-in by link, live results with masking, lookup"

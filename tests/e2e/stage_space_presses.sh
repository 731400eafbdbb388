#!/usr/bin/env bash
# Starts the program on a fresh program folder under Xvfb, draws the one batch of a small event with
# three space presses (start, stop, announce), quits with F12 and checks the files the stop wrote.
set -euo pipefail
exe="${1:?usage: stage_space_presses.sh PATH/TO/kavrel-draw}"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
app="$work/app"
mkdir -p "$app/config"
# The program folder is the executable's own folder, so the program is copied into a fresh one.
cp "$exe" "$app/kavrel-draw"

gb() { iconv -f UTF-8 -t GB18030; }
for i in $(seq 1 20); do printf '%04d  选手%d  \r\n' "$i" "$i"; done | gb > "$app/config/set.dat"
printf '特等奖,3,1,1,3,奖品：纪念金币,,\r\n' | gb > "$app/config/shezhijx.dat"
printf '[标题设置]\r\n主标题=端到端测试\r\n中奖名额=3\r\n[音效设置]\r\n启用抽奖页面背景音乐=假\r\n启用开始音乐=假\r\n启用停止音乐=假\r\n' \
  | gb > "$app/config/config.ini"

cat > "$work/drive.sh" <<'DRIVE'
#!/usr/bin/env bash
set -euo pipefail
app="$1"
SDL_AUDIODRIVER=dummy "$app/kavrel-draw" > "$app/../program.log" 2>&1 &
pid=$!
wid=""
for _ in $(seq 1 100); do
  wid="$(xdotool search --name 'kavrel抽奖' 2>/dev/null | head -1 || true)"
  [ -n "$wid" ] && break
  sleep 0.1
done
if [ -z "$wid" ]; then echo "the stage window did not appear"; kill "$pid"; exit 1; fi
sleep 0.5
# There is no window manager: focus the window directly, then type.
for _ in 1 2 3; do
  xdotool windowfocus --sync "$wid"
  xdotool key space
  sleep 0.6
done
# Every batch is drawn, so F12 closes without asking.
xdotool windowfocus --sync "$wid"
xdotool key F12
for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then echo "the program did not close on F12"; kill "$pid"; exit 1; fi
wait "$pid"
DRIVE
xvfb-run -a -s '-screen 0 1024x768x24' bash "$work/drive.sh" "$app"

fail() { echo "FAIL: $*"; cat "$work/program.log" || true; exit 1; }
[ -f "$app/config/result.dat" ] || fail "config/result.dat was not written"
[ -f "$app/result.txt" ] || fail "result.txt was not written"
record="$(iconv -f GB18030 -t UTF-8 < "$app/config/result.dat")"
log="$(iconv -f GB18030 -t UTF-8 < "$app/result.txt")"
case "$record" in 特等奖-奖品：纪念金币-*) ;; *) fail "unexpected result.dat: $record" ;; esac
winners="$(printf '%s' "$record" | grep -o '[0-9]\{4\}  选手[0-9]*  ' | sort -u | wc -l)"
[ "$winners" -eq 3 ] || fail "result.dat holds $winners distinct winners, expected 3: $record"
printf '%s' "$log" | grep -q '【特等奖】' || fail "result.txt has no block for the award: $log"
[ ! -e "$app/config/exit.ini" ] || fail "a finished draw left a resume record"
echo "e2e: three space presses drew and recorded one batch of 3"

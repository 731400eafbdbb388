#!/usr/bin/env bash
# Shared helpers of the end-to-end runs, sourced by the scenario scripts: a fresh program folder,
# the program started under the caller's Xvfb, windows and files waited for by polling (every wait
# gives up after E2E_LIMIT_S seconds), keys typed with xdotool. There is no window manager under
# Xvfb, so windows are focused directly before typing.

E2E_LIMIT_S="${E2E_LIMIT_S:-30}"

fail() {
  echo "FAIL: $*"
  if [ -n "${E2E_WORK:-}" ] && [ -f "$E2E_WORK/program.log" ]; then cat "$E2E_WORK/program.log"; fi
  if [ -n "${DISPLAY:-}" ]; then
    local w
    for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do echo "visible window $w: $(xdotool getwindowname "$w")"; done
  fi
  exit 1
}

gb() { iconv -f UTF-8 -t GB18030; }
utf8() { iconv -f GB18030 -t UTF-8 < "$1"; }

# A program folder holding a copy of the executable (the program folder is the executable's own),
# `count` participants "0001  选手1  " …, the plan lines given on stdin (UTF-8, one per line) and
# the sounds switched off.
make_event() {
  local exe="$1" app="$2" count="$3" i
  mkdir -p "$app/config"
  cp "$exe" "$app/kavrel-draw"
  for i in $(seq 1 "$count"); do printf '%04d  选手%d  \r\n' "$i" "$i"; done | gb > "$app/config/set.dat"
  sed 's/$/\r/' | gb > "$app/config/shezhijx.dat"
  # Batches of a few winners are revealed slowly on the stage; the scripts press on at once.
  printf '[标题设置]\r\n主标题=端到端测试\r\n[音效设置]\r\n启用抽奖页面背景音乐=假\r\n启用开始音乐=假\r\n启用停止音乐=假\r\n[舞台效果]\r\n揭晓秒数=0\r\n' \
    | gb > "$app/config/config.ini"
}

# Polls `cmd…` every 0.1 s until it succeeds; false after E2E_LIMIT_S seconds.
wait_until() {
  local tries=$((E2E_LIMIT_S * 10))
  while [ "$tries" -gt 0 ]; do
    "$@" && return 0
    sleep 0.1
    tries=$((tries - 1))
  done
  return 1
}

# Runs `script` under an Xvfb of its own. The server picks a free display itself (-displayfd):
# `xvfb-run -a` can hand two runs started together the same display number.
run_under_xvfb() {
  local script="$1" rc=0
  : > "$E2E_WORK/display"
  # -noreset: the tests end and restart the program; a server resetting after its last client left
  # refuses the next connection for a moment.
  Xvfb -displayfd 3 -screen 0 "${E2E_SCREEN:-1024x768x24}" -nolisten tcp -noreset 3> "$E2E_WORK/display" 2> "$E2E_WORK/xvfb.log" &
  local xvfb=$!
  display_ready() { grep -q '^[0-9][0-9]*$' "$E2E_WORK/display"; }
  if ! wait_until display_ready; then
    kill "$xvfb" 2>/dev/null || true
    cat "$E2E_WORK/xvfb.log"
    fail "Xvfb did not start"
  fi
  DISPLAY=":$(cat "$E2E_WORK/display")" bash "$script" || rc=$?
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
  return "$rc"
}

visible_window() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1; }
has_window() { [ -n "$(visible_window "$1")" ]; }
no_window() { [ -z "$(visible_window "$1")" ]; }

# Starts the program of folder `app` in the background; sets PROGRAM_PID and STAGE_WID.
start_program() {
  SDL_AUDIODRIVER=dummy "$1/kavrel-draw" >> "$E2E_WORK/program.log" 2>&1 &
  PROGRAM_PID=$!
  wait_until has_window '^kavrel抽奖$' || fail "the stage window did not appear"
  STAGE_WID="$(visible_window '^kavrel抽奖$')"
}

program_gone() { ! kill -0 "$PROGRAM_PID" 2>/dev/null; }

# A crash or power loss: the program gets no chance to write anything.
crash_program() {
  kill -9 "$PROGRAM_PID"
  wait "$PROGRAM_PID" 2>/dev/null || true
}

# The session ends (logout, shutdown): SIGTERM must end the program.
terminate_program() {
  kill -TERM "$PROGRAM_PID"
  wait_until program_gone || fail "the program ignored SIGTERM"
  wait "$PROGRAM_PID" 2>/dev/null || true
}

# Waits for the message box whose title (its caption) matches `pattern` and answers it with the
# keys `key…`. A Yes/No box starts on 是 and an OK/Cancel box on 取消 (Return and space press the
# button with the focus); Escape takes 否 / 取消, and "Tab Return" takes 确定 of an OK/Cancel box.
# The keys are typed once, after the box holds the input focus; then the box must close.
answer_box() {
  local pattern="$1" wid
  shift
  wait_until has_window "$pattern" || fail "no message box titled '$pattern' appeared"
  wid="$(visible_window "$pattern")"
  focus_on "$wid" || fail "the message box '$pattern' did not take the focus"
  xdotool key "$@"
  wait_until no_window "$pattern" || fail "the message box '$pattern' did not close on $*"
}

# Gives window `wid` the input focus and waits until the X server reports it there.
has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }
focus_on() {
  xdotool windowfocus --sync "$1" 2>/dev/null || true
  wait_until has_focus "$1"
}

# Focuses the stage and presses `key`.
stage_key() {
  focus_on "$STAGE_WID" || fail "the stage did not take the focus"
  xdotool key "$1"
}

# Opens popup `n` of the stage's menu bar (1 界面, 2 设定, 3 功能, 4 帮助) with Alt+n, the way an
# operator without a mouse does; Escape shows the bar first unless `bar-shown` says it is up. The
# stage takes its keys in order, so the bar is up when Alt+n arrives. Then the arrow keys and Return
# choose the item.
shown_windows() { xdotool search --onlyvisible --classname . 2>/dev/null | wc -l; }
more_shown_windows_than() { [ "$(shown_windows)" -gt "$1" ]; }
open_stage_menu() {
  local n="$1" before
  before="$(shown_windows)"
  [ "${2:-}" = bar-shown ] || stage_key Escape
  stage_key "alt+$n"
  wait_until more_shown_windows_than "$before" || fail "Alt+$n did not open the stage's popup menu $n"
}

file_exists() { [ -e "$1" ]; }
file_missing() { [ ! -e "$1" ]; }

# Recorded batches: result.txt holds one block per batch, its winners on the line beginning "【".
result_blocks() {
  if [ -e "$1/result.txt" ]; then utf8 "$1/result.txt" | grep -c '^【' || true; else echo 0; fi
}
blocks_are() { [ "$(result_blocks "$1")" -eq "$2" ]; }

# Every winner recorded in config/result.dat and every entry of the pool held by config/exit.ini,
# one per line.
recorded_winners() {
  if [ -e "$1/config/result.dat" ]; then utf8 "$1/config/result.dat" | grep -o '[0-9]\{4\}  选手[0-9]*  ' || true; fi
}
record_pool() { utf8 "$1/config/exit.ini" | tr -d '\r' | sed -n 's/^number=//p' | sed 's/--/\n/g' | sed '/^$/d'; }
record_value() { utf8 "$1/config/exit.ini" | tr -d '\r' | sed -n "s/^$2=//p"; }

# Waits until candidates roll: the stage writes its snapshot config/temp.jpg with the roll's first
# painted tick, so from then on a stop press has a whole batch to record. (A stop before the first
# tick records nothing and the roll goes on.)
wait_rolling() {
  wait_until file_exists "$1/config/temp.jpg" || fail "the roll did not start"
}

# A whole batch from the ready state: the roll starts, and the one stop press records one more block.
draw_batch() {
  local app="$1" before
  before="$(result_blocks "$app")"
  stage_key space
  wait_rolling "$app"
  stage_key space
  wait_until blocks_are "$app" $((before + 1)) || fail "the stop did not record batch $((before + 1))"
}

# From the last batch's winners to "全部奖项已经抽取完毕！": the press that announces shows "抽奖完毕！",
# and the finished stage takes the next press as a stop that does nothing; the press after it answers
# with the message box (caption "提示："). Keys reach the stage in order, so two presses do it.
finish_draw() {
  announce "$1"
  stage_key space
  stage_key space
}

# From the result state to the next batch's ready state: the snapshot goes with the winners.
announce() {
  stage_key space
  wait_until file_missing "$1/config/temp.jpg" || fail "the next batch was not announced"
}

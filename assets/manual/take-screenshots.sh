#!/usr/bin/env bash
# Retakes the manual's screenshots from the real program: starts it on a throw-away copy of the program
# folder with the sample event, drives it under Xvfb with xdotool and crops the shots with ImageMagick.
#
#   bash assets/manual/take-screenshots.sh [PROGRAM_DIR] [OUT_DIR] [SHOT...]
#
# PROGRAM_DIR defaults to build/app (run `make build` first), OUT_DIR to assets/manual/img. With SHOT names
# (stage rolling winners menu help_window winner_show latest_award winner_list award_settings award_edit)
# only those are retaken. The program folder itself is never touched: every run works on a copy, so no
# results, resume record or settings are left behind.
# Needs xvfb, xauth, xdotool and imagemagick (all in scripts/install-deps.sh).
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
repo="$(cd "$here/../.." && pwd)"
app_src="$(cd "${1:-$repo/build/app}" && pwd)"
out="$(mkdir -p "${2:-$here/img}" && cd "${2:-$here/img}" && pwd)"
shift $(($# > 2 ? 2 : $#))
wanted=("$@")

# Xvfb without a window manager: one 1920x1080 screen, the size the stage is designed for.
if [ -z "${KAVREL_SHOTS_INNER:-}" ]; then
  export KAVREL_SHOTS_INNER=1
  exec xvfb-run -a -s '-screen 0 1920x1080x24' bash "$0" "$app_src" "$out" "${wanted[@]}"
fi

export SDL_AUDIODRIVER=dummy
export LC_ALL=C.UTF-8
work="$(mktemp -d)"
pid=""
cleanup() {
  [ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

want() {
  [ ${#wanted[@]} -eq 0 ] && return 0
  local w
  for w in "${wanted[@]}"; do [ "$w" = "$1" ] && return 0; done
  return 1
}

# A fresh copy of the program folder with the sample event and nothing recorded yet.
fresh_app() {
  rm -rf "$work/app"
  cp -r "$app_src" "$work/app"
  rm -f "$work/app/config/"{set.dat,jiangx.dat,shezhijx.dat,config.ini,result.dat,exit.ini,imdata.dat,person.dat}
  rm -f "$work/app/result.txt" "$work/app/config/temp.jpg"
  rm -rf "$work/app/history"
  bash "$repo/scripts/sample-event.sh" "$work/app" >/dev/null
}

# The id of the visible top-level window titled $1 that is at least $2 pixels wide (waits up to 15 s).
find_window() {
  local title="$1" min="${2:-1}" w width
  for _ in $(seq 150); do
    for w in $(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null); do
      width=$(xdotool getwindowgeometry --shell "$w" | sed -n 's/^WIDTH=//p')
      if [ "${width:-0}" -ge "$min" ]; then
        echo "$w"
        return 0
      fi
    done
    sleep 0.1
  done
  echo "no window '$title' appeared" >&2
  return 1
}

start_program() {
  fresh_app
  (cd "$work/app" && exec ./kavrel-draw >"$work/program.log" 2>&1) &
  pid=$!
  stage=$(find_window 'kavrel抽奖' 1000)
  sleep 2 # the first paint and the title fitting
  xdotool windowfocus --sync "$stage"
}

# The copy is thrown away, so a hard kill is enough and never waits on a question box.
stop_program() {
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  pid=""
}

key() {
  xdotool windowfocus --sync "$stage"
  xdotool key "$@"
}

# A key for another window (a modal window takes the keys while it is open).
key_to() {
  local w="$1"
  shift
  xdotool windowfocus --sync "$w"
  xdotool key "$@"
}

# One batch: start the roll, stop it (the winners are recorded), and optionally announce the next batch.
draw_batch() {
  key space
  sleep 1.2
  key space
  sleep 1
  if [ "${1:-}" = announce ]; then
    key space
    sleep 0.5
  fi
}

click() {
  xdotool mousemove "$1" "$2" click 1
}

# Moves the pointer out of the way so no hover highlight shows in a shot.
park_pointer() {
  xdotool mousemove 1919 1079
}

grab_root() {
  import -window root "$work/raw.png"
}

# Saves the whole screen scaled to 960 px wide.
save_scaled() {
  convert "$work/raw.png" -resize 960x -strip "$out/$1.png"
  echo "took $1.png"
}

# Saves a region of the screen (WxH+X+Y) at its own size.
save_region() {
  convert "$work/raw.png" -crop "$2" +repage -strip "$out/$1.png"
  echo "took $1.png"
}

# Saves one window at its own size.
save_window() {
  import -window "$2" "$work/win.png"
  convert "$work/win.png" -strip "$out/$1.png"
  echo "took $1.png"
}

# Shows the menu bar (ESC) and finds its top edge by what changed on screen, so a change of the title
# font that moves the bar moves the clicks with it. The four 40 px buttons start 30 px from the left.
show_menu_bar() {
  grab_root
  mv "$work/raw.png" "$work/before.png"
  key Escape
  sleep 0.5
  grab_root
  bar_y=$(convert "$work/before.png" "$work/raw.png" -crop 160x400+30+0 +repage -compose difference -composite \
    -threshold 10% -trim -format '%Y' info: | tr -d '+')
}

# Items of the popups are 29 px apart with 4 px above the first: item k (from 0, separators take 8 px)
# is clicked at bar_y + 40 + 29 k (+ 8 per separator above it).
open_popup() { # 0 界面, 1 设定, 2 功能, 3 帮助
  click $((30 + 40 * $1 + 20)) $((bar_y + 10))
  sleep 0.8
}

# --- the stage ------------------------------------------------------------------------------------------
if want stage || want rolling || want winners; then
  start_program
  park_pointer
  if want stage; then
    grab_root
    save_scaled stage
  fi
  key space
  sleep 1.5
  if want rolling; then
    grab_root
    save_scaled rolling
  fi
  key space
  sleep 1.5
  if want winners; then
    grab_root
    save_scaled winners
  fi
  stop_program
fi

# --- a popup menu ---------------------------------------------------------------------------------------
if want menu; then
  start_program
  show_menu_bar
  open_popup 2
  xdotool mousemove 180 $((bar_y + 164)) # hover "重新开始抽奖(T)   F1", as a user would
  sleep 0.5
  grab_root
  save_region menu 640x480+0+0
  key Escape
  stop_program
fi

# --- the help window (帮助 → 操作提示(Y)) ---------------------------------------------------------------
if want help_window; then
  start_program
  show_menu_bar
  open_popup 3
  click 190 $((bar_y + 36))
  help=$(find_window '操作提示' 700)
  sleep 1
  park_pointer
  save_window help_window "$help"
  stop_program
fi

# --- the result window: latest award (F7), winner list (功能 → 查看中奖名单(Q)), winner show (F6) ----------
if want latest_award || want winner_list || want winner_show; then
  start_program
  # Three batches of 参与奖 and the first of 三等奖, so the views have two awards to show.
  draw_batch announce
  draw_batch announce
  draw_batch announce
  draw_batch
  park_pointer
  if want latest_award; then
    key F7
    view=$(find_window '查看中奖名单' 1000)
    sleep 1
    grab_root
    save_scaled latest_award
    key_to "$view" Escape
    sleep 0.5
  fi
  if want winner_list; then
    show_menu_bar
    open_popup 2
    click 160 $((bar_y + 98)) # 查看中奖名单(Q)
    view=$(find_window '查看中奖名单' 1000)
    sleep 1
    park_pointer
    grab_root
    save_scaled winner_list
    key_to "$view" Escape
    sleep 0.5
  fi
  if want winner_show; then
    key F6
    sleep 28 # the list scrolls up from the bottom of the screen by about 33 pixels a second
    grab_root
    save_scaled winner_show
  fi
  stop_program
fi

# --- award and title settings (设定 → 主副标题/奖项设定(U)) and the award edit dialog --------------------
if want award_settings || want award_edit; then
  start_program
  show_menu_bar
  open_popup 1
  click 170 $((bar_y + 69)) # 主副标题/奖项设定(U)
  settings=$(find_window '主副标题和奖项设置' 600)
  sleep 1
  park_pointer
  if want award_settings; then
    save_window award_settings "$settings"
  fi
  if want award_edit; then
    eval "$(xdotool getwindowgeometry --shell "$settings")"
    # Double-clicking the third award (二等奖) opens it for editing.
    xdotool mousemove $((X + 60)) $((Y + 67)) click --repeat 2 --delay 80 1
    edit=$(find_window '修改奖项' 300)
    sleep 1
    park_pointer
    save_window award_edit "$edit"
  fi
  stop_program
fi

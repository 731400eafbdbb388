#!/usr/bin/env bash
# Retakes the manual's screenshots from the real program: starts it on a throw-away copy of the program
# folder with the sample event, drives it under Xvfb with xdotool and crops the shots with ImageMagick.
#
#   bash assets/manual/take-screenshots.sh [PROGRAM_DIR] [OUT_DIR] [SHOT...]
#
# PROGRAM_DIR defaults to build/app (run `make build` first), OUT_DIR to assets/manual/img. With SHOT names
# (stage rolling winners menu help_window list_editor notary latest_award winner_list export history abandon
# winner_show award_settings award_edit console photo_list photo_rolling photo_winners) only those are retaken.
# The program folder itself is never touched: every run works on a copy, so no
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

# Starts the program on a fresh copy; a function named as the first argument may change the copy first.
start_program() {
  fresh_app
  [ $# -gt 0 ] && "$1"
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

# The pictures ship in the package: full screens are scaled to 768 px wide and every picture is reduced to
# a palette, which keeps each one well under 150 KB.
shrink() { # SOURCE NAME [COLOURS] [RESIZE]
  convert "$1" ${4:+-resize "$4"} -strip -dither FloydSteinberg -colors "${3:-256}" \
    -define png:compression-level=9 "PNG8:$out/$2.png"
  echo "took $2.png ($(stat -c %s "$out/$2.png") bytes)"
}

# Saves the whole screen scaled down.
save_scaled() {
  shrink "$work/raw.png" "$1" 128 768x
}

# Saves a region of the screen (WxH+X+Y) at its own size.
save_region() {
  convert "$work/raw.png" -crop "$2" +repage "$work/region.png"
  shrink "$work/region.png" "$1"
}

# Saves one window at its own size.
save_window() {
  import -window "$2" "$work/win.png"
  shrink "$work/win.png" "$1"
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

# Opens a popup from the keyboard (Alt+1 … Alt+4 while the bar is shown): 1 界面, 2 设定, 3 功能, 4 帮助.
open_popup() {
  key "alt+$1"
  sleep 0.8
}

# Chooses an item of the open popup: by its letter ("q" for 查看中奖名单(Q)), or, for an item without
# one, by its place (1 for the first; separators do not count).
choose_letter() {
  xdotool key "$1"
  sleep 0.5
}
choose_nth() {
  local i
  for i in $(seq "$1"); do xdotool key Down; done
  xdotool key Return
  sleep 0.5
}

# Runs one item of a stage menu (the bar stays shown): POPUP then a letter or a place.
menu_item() {
  show_menu_bar
  open_popup "$1"
  case "$2" in
    [0-9]*) choose_nth "$2" ;;
    *) choose_letter "$2" ;;
  esac
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
  open_popup 3
  for _ in $(seq 11); do xdotool key Down; done # 弃奖(V)   F3, highlighted as a user would see it
  sleep 0.5
  park_pointer
  grab_root
  save_region menu 420x600+0+0
  stop_program
fi

# --- the help window (帮助 → 操作提示(Y)) ---------------------------------------------------------------
if want help_window; then
  start_program
  menu_item 4 y
  help=$(find_window '操作提示' 700)
  sleep 1
  park_pointer
  save_window help_window "$help"
  stop_program
fi

# --- the list editor (设定 → 编辑抽奖人员名单(T)) on the sample list -----------------------------------------
if want list_editor; then
  start_program
  menu_item 2 t
  editor=$(find_window '编辑抽奖人员名单' 600)
  sleep 1
  park_pointer
  save_window list_editor "$editor"
  stop_program
fi

# --- the notary window before the first batch (功能 → 公证信息) ------------------------------------------
if want notary; then
  start_program
  menu_item 3 7
  notary=$(find_window '公证信息' 600)
  sleep 1
  park_pointer
  save_window notary "$notary"
  stop_program
fi

# --- after four batches: latest award (F7), winner list (功能 → 查看中奖名单(Q)), export, 弃奖 (F3),
# winner show (F6, last: it takes half a minute to scroll in) ----------------------------------------------
if want latest_award || want winner_list || want export || want abandon || want winner_show; then
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
    menu_item 3 q
    view=$(find_window '查看中奖名单' 1000)
    sleep 1
    park_pointer
    grab_root
    save_scaled winner_list
    key_to "$view" Escape
    sleep 0.5
    key Escape # the menu bar
  fi
  if want export; then
    menu_item 3 5
    export=$(find_window '导出中奖名单' 300)
    sleep 1
    park_pointer
    save_window export "$export"
    key_to "$export" Escape
    sleep 0.5
    key Escape
  fi
  if want abandon; then
    key F3
    abandon=$(find_window '弃奖' 300)
    sleep 1
    park_pointer
    save_window abandon "$abandon"
    key_to "$abandon" Escape
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

# --- history (功能 → 历史抽奖记录) with a draw put aside: one batch, a crash, "否" to the resume question ------
if want history; then
  start_program
  draw_batch announce
  stop_program
  (cd "$work/app" && exec ./kavrel-draw >"$work/program.log" 2>&1) &
  pid=$!
  question=$(find_window '开始抽奖前确认信息：' 200)
  sleep 0.5
  key_to "$question" Escape # 否: a fresh draw; the one before goes into history/
  stage=$(find_window 'kavrel抽奖' 1000)
  sleep 2
  draw_batch announce
  draw_batch
  menu_item 3 6
  history=$(find_window '历史抽奖记录' 400)
  sleep 1
  park_pointer
  save_window history "$history"
  stop_program
fi

# --- award and title settings (设定 → 主副标题/奖项设定(U)) and the award edit dialog --------------------
if want award_settings || want award_edit; then
  start_program
  menu_item 2 u
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

# --- the operator console: a laptop (1280x800, the first X screen) and a projector (the second) ------------
# The stage's screen is remembered as the second one, so the stage opens there and the console on the laptop.
stage_on_second_screen() {
  printf '[扩展显示]\r\n舞台显示屏=screen#2\r\n' | iconv -f UTF-8 -t GB18030 >>"$work/app/config/config.ini"
}
if want console; then
  : >"$work/display"
  Xvfb -displayfd 3 -screen 0 1280x800x24 -screen 1 1920x1080x24 -nolisten tcp -noreset 3>"$work/display" \
    2>"$work/xvfb.log" &
  xvfb=$!
  for _ in $(seq 100); do grep -q '^[0-9][0-9]*$' "$work/display" && break; sleep 0.1; done
  outer_display="$DISPLAY"
  export DISPLAY=":$(cat "$work/display")"
  start_program stage_on_second_screen
  console=$(find_window 'kavrel抽奖 操作台' 600)
  park_pointer
  # One batch drawn from the console with a presenter remote's PageDown, then the next announced.
  key_to "$console" Next
  sleep 1.5
  key_to "$console" Next
  sleep 1
  key_to "$console" Next
  sleep 1.5
  import -display "$DISPLAY.0" -window root "$work/raw.png" # the laptop's screen
  shrink "$work/raw.png" console 128
  stop_program
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
  export DISPLAY="$outer_display"
fi

# --- picture mode: made-up portraits (a silhouette on a coloured ground, one per name of the sample list) ---
picture_mode() {
  local photos="$work/photos" colours=('#F4C27A' '#9FD3C7' '#F29E8E' '#B7C4F2' '#E8D37A' '#C9A7E0' '#9CCB8C' '#F2B5CF') i=0 name
  mkdir -p "$photos"
  : >"$work/names.txt"
  while IFS= read -r name && [ "$i" -lt 70 ]; do
    name="${name%$'\r'}"
    convert -size 300x400 "gradient:${colours[$((i % 8))]}-#FFF6E6" \
      -fill '#5A3A2E' -draw 'circle 150,125 150,65' -draw 'ellipse 150,320 105,105 180,360' \
      -quality 85 "$photos/$name.jpg"
    printf '%s\r\n' "$name" >>"$work/names.txt"
    i=$((i + 1))
  done < <(iconv -f GB18030 -t UTF-8 "$work/app/config/set.dat")
  iconv -f UTF-8 -t GB18030 "$work/names.txt" >"$work/app/config/set.dat"
  printf '[模式]\r\n文字抽奖模式=假\r\n[图片路径]\r\n图片前缀=%s\r\n图片比例=3:4\r\n' "$photos" |
    iconv -f UTF-8 -t GB18030 >>"$work/app/config/config.ini"
}
if want photo_rolling || want photo_winners || want photo_list; then
  start_program picture_mode
  park_pointer
  if want photo_list; then
    menu_item 2 t
    photos=$(find_window '编辑抽奖名单\(图片模式\)' 400)
    sleep 1
    park_pointer
    save_window photo_list "$photos"
    key_to "$photos" Escape
    sleep 0.5
    key Escape # the menu bar
  fi
  key space
  sleep 1.5
  if want photo_rolling; then
    grab_root
    save_scaled photo_rolling
  fi
  key space
  sleep 1.5
  if want photo_winners; then
    grab_root
    save_scaled photo_winners
  fi
  stop_program
fi

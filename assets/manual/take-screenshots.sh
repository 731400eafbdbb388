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
  rm -f "$work/app/result.txt"
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

# SDL's audio set-up catches SIGTERM (it turns it into a quit event nobody polls), so the copy that has
# played a sound only ends with SIGKILL; the copy is thrown away, so nothing is lost.
stop_program() {
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  pid=""
}

key() {
  xdotool windowfocus --sync "$stage"
  xdotool key "$@"
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

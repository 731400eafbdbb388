#!/usr/bin/env bash
# `make check-windows-installer`: the NSIS installer from `make windows`, tried under wine64 + Xvfb in
# a wine prefix made for the run (nothing of ours in it beforehand, no search path into the toolchain):
# a silent install into Program Files, the Start-menu entry and the uninstall entry, the program
# started through that entry with the sample event offered at its first start, one batch drawn into
# %LOCALAPPDATA%\kavrel (never into Program Files), a second program refused, kavrel-verify.exe on the
# data folder, then the uninstaller: the program, its entry and its registry keys are gone and the
# user's data stays.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
version=$(sed -n 's/^project(kavrel_draw VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
setup=$root/dist/kavrel-$version-setup.exe
[ -f "$setup" ] || { echo "check-installer: no $setup (make windows first)" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/kavrel-win-installer.XXXXXX")
export KAVREL_WINEPREFIX=$work/prefix
source "$root/scripts/windows/wine-env.sh"
# The installed program must find every DLL in its own folder.
unset WINEPATH
me=check-installer
source "$root/scripts/windows/wine-screen.sh"
step() { echo "check-installer: $*"; }
unix() { winepath -u "$1" 2>/dev/null | tr -d '\r'; }
windows_var() { wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r'; }
registry_has() { wine reg query "$1" >/dev/null 2>&1; }

step "wine $(basename "$setup") /S"
wine "$setup" /S >"$work/setup.log" 2>&1 || fail "the installer exited with $? ($(cat "$work/setup.log"))"
wineserver -w
program=$(unix 'C:\Program Files\kavrel')
start_menu=$(unix "$(windows_var ProgramData)\\Microsoft\\Windows\\Start Menu\\Programs")
data=$(unix "$(windows_var LOCALAPPDATA)\\kavrel")
for f in kavrel-draw.exe kavrel-verify.exe kavrel-sheet.exe kavrel.installed uninstall.exe qt.conf \
  plugins/platforms/qwindows.dll sample/set.dat manual; do
  [ -e "$program/$f" ] || fail "the installer did not put $f into Program Files\\kavrel"
done
[ -f "$start_menu/kavrel抽奖.lnk" ] || fail "no Start-menu entry in $start_menu"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\kavrel'
registry_has "$uninstall_key" || fail "no uninstall entry in the registry"
step "installed: $(du -sh "$program" | cut -f1) in Program Files\\kavrel, Start-menu entry, uninstall entry"

# Started as a user starts it: the Start-menu entry.
t0=$(date +%s.%N)
wine start "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\kavrel抽奖.lnk" >"$work/start.log" 2>&1
wait_for 120 xdotool search --onlyvisible --name '^提示信息：$' || { cat "$work/start.log"; fail "no sample-event offer"; }
step "first start: the sample event offered after $(echo "$(date +%s.%N) - $t0" | bc) s"
answer 提示信息： Return
wait_for 60 xdotool search --onlyvisible --name '^kavrel抽奖$' || fail "the stage did not open"
[ -s "$data/config/set.dat" ] || fail "the sample event was not laid into %LOCALAPPDATA%\\kavrel\\config"
stage=$(xdotool search --onlyvisible --name '^kavrel抽奖$' | head -n 1)
xdotool windowfocus --sync "$stage"
xdotool key space
sleep 1 # the candidates roll for a moment, as they would in front of the audience
xdotool key space
wait_for 30 test -s "$data/config/result.dat" || fail "no winners in %LOCALAPPDATA%\\kavrel\\config\\result.dat"
wait_for 10 test -s "$data/result.txt" || fail "no result.txt in %LOCALAPPDATA%\\kavrel"
[ ! -e "$program/config/result.dat" ] || fail "the program wrote into Program Files"
step "one batch drawn: $(grep -c '' "$data/config/result.dat") line(s) in %LOCALAPPDATA%\\kavrel\\config\\result.dat"
sleep 2 # wine repaints the stage a moment after the winners are written
import -window root "$root/dist/windows-installed.png"

# Two programs on one data folder would corrupt its results.
(cd "$program" && wine kavrel-draw.exe >"$work/second.log" 2>&1 &)
wait_for 60 xdotool search --onlyvisible --name '^提示信息：$' || fail "a second program was not refused"
answer 提示信息： Return
step "a second program on the same data folder is refused"
wineserver -k 2>/dev/null || true

status=0
verify=$(cd "$program" && wine kavrel-verify.exe "$(windows_var LOCALAPPDATA)\\kavrel" 2>/dev/null | tr -d '\r') ||
  status=$?
case "$status:$verify" in
  "0:OK: 1 batches, 10 winners"* | "4:NOT CLOSED: 1 batches, 10 winners"*) ;;
  *) fail "kavrel-verify.exe (exit $status): $verify" ;;
esac
step "kavrel-verify.exe: ${verify%%$'\n'*}"

# The uninstaller copies itself away and returns at once: wait for its work to show.
wine 'C:\Program Files\kavrel\uninstall.exe' /S >"$work/uninstall.log" 2>&1 || fail "the uninstaller failed"
wait_for 60 test ! -e "$program" || fail "Program Files\\kavrel is still there: $(ls "$program")"
wineserver -w
[ ! -e "$start_menu/kavrel抽奖.lnk" ] || fail "the Start-menu entry stayed"
! registry_has "$uninstall_key" || fail "the uninstall entry stayed in the registry"
! registry_has 'HKLM\Software\kavrel' || fail "HKLM\\Software\\kavrel stayed"
[ -s "$data/config/result.dat" ] || fail "the uninstaller took the user's results"
step "uninstalled: program, Start-menu entry and registry keys gone; the user's data stays"
step "screenshot of the installed program: dist/windows-installed.png"
step "OK"

#!/usr/bin/env bash
# `make test-windows-e2e`: the end-to-end scripts of tests/e2e run against the Windows program under
# wine64 + Xvfb. Each script gets a stand-in for kavrel-draw that fills the event folder it is copied
# into with the portable folder of `make windows` and starts kavrel-draw.exe there (on its own DLLs),
# and one for kavrel-verify that hands kavrel-verify.exe Windows paths.
#
# Left out, for what they depend on rather than for the program: list_editor (it types Linux paths
# into Windows file dialogs), award_settings and receipts_verify (they click at offsets inside windows,
# and wine frames windows itself where no window manager runs) and two_screens (it checks the screen
# list, which wine names otherwise; not tried with the Xinerama monitors below).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
version=$(sed -n 's/^project(kavrel_draw VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
portable=$root/dist/kavrel-$version-win64
[ -f "$portable/kavrel-draw.exe" ] || { echo "e2e-under-wine: no $portable (make windows first)" >&2; exit 2; }
source "$root/scripts/windows/wine-env.sh"  # makes the wine prefix once, before the scripts start

stand_ins=$(mktemp -d "${TMPDIR:-/tmp}/kavrel-wine-e2e.XXXXXX")
trap 'wineserver -k 2>/dev/null || true; rm -rf "$stand_ins"' EXIT
cat >"$stand_ins/kavrel-draw" <<EOF
#!/usr/bin/env bash
here=\$(cd "\$(dirname "\$0")" && pwd)
[ -e "\$here/kavrel-draw.exe" ] || cp -r "$portable/." "\$here/"
source "$root/scripts/windows/wine-env.sh"
unset WINEPATH
exec wine "\$here/kavrel-draw.exe" "\$@"
EOF
cat >"$stand_ins/kavrel-verify" <<EOF
#!/usr/bin/env bash
source "$root/scripts/windows/wine-env.sh"
unset WINEPATH
args=()
for a in "\$@"; do if [ -e "\$a" ]; then args+=("\$(winepath -w "\$a" 2>/dev/null)"); else args+=("\$a"); fi; done
wine "$portable/kavrel-verify.exe" "\${args[@]}" | tr -d '\r'
exit "\${PIPESTATUS[0]}"
EOF
# Two X screens are one monitor to wine, and the operator console would never open. Xvfb joined by
# Xinerama gives wine two monitors, once wine is told to take them from Xinerama rather than from
# XRandR (which reports Xvfb's one output); the setting is put back when the run ends. Xvfb lays both
# screens at the top left, so the console covers the stage there: the scripts work by keys and files.
mkdir -p "$stand_ins/bin"
printf '#!/usr/bin/env bash\nexec %q +xinerama "$@"\n' "$(command -v Xvfb)" >"$stand_ins/bin/Xvfb"
export PATH="$stand_ins/bin:$PATH"
x11_key='HKCU\Software\Wine\X11 Driver'
wine reg add "$x11_key" /v UseXRandR /t REG_SZ /d N /f >/dev/null 2>&1
wineserver -w  # its helpers would stay bound to no display
trap 'wine reg delete "$x11_key" /v UseXRandR /f >/dev/null 2>&1; wineserver -k 2>/dev/null || true; rm -rf "$stand_ins"' EXIT
chmod +x "$stand_ins/kavrel-draw" "$stand_ins/kavrel-verify" "$stand_ins/bin/Xvfb"

# Wine starts slower than the Linux program: the scripts' waits get a minute.
export E2E_LIMIT_S=${E2E_LIMIT_S:-60}
passed=0
failed=()
scripts=(stage_space_presses crash_resume undo_once abandon_redraw restart resume_declined lock_screen phone_pages)
# With script names as arguments, only those run.
[ $# -gt 0 ] && scripts=("$@")
for script in "${scripts[@]}"; do
  echo "== $script under wine64"
  if bash "$root/tests/e2e/$script.sh" "$stand_ins/kavrel-draw" >"$stand_ins/$script.log" 2>&1; then
    grep '^e2e:' "$stand_ins/$script.log" | sed 's/^/   /'
    passed=$((passed + 1))
  else
    grep -v '^X connection\|^XIO\|^ *after [0-9]' "$stand_ins/$script.log" | tail -n 40 | sed 's/^/   /'
    failed+=("$script")
  fi
  # Wine's helper processes stay bound to the display of the script that started them, which is gone.
  wineserver -k 2>/dev/null || true
done
echo "windows e2e: $passed passed, ${#failed[@]} failed${failed:+ (${failed[*]})}"
[ ${#failed[@]} -eq 0 ]

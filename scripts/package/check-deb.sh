#!/usr/bin/env bash
# Checks the Debian package the way a new machine meets it: a pristine Debian 12 root (debootstrap
# minbase), `apt-get install ./kavrel_….deb`, the program started as an ordinary user from the menu
# entry's command under Xvfb, the sample event offered at the first start, one batch drawn with the
# space bar, kavrel-verify on the user's data folder, then the package purged and what it left
# behind listed.
#
#   bash scripts/package/check-deb.sh [PACKAGE.deb]     (default: the newest dist/kavrel_*_amd64.deb)
#
# Needs root (chroot, mounts; debootstrap is installed when missing), xvfb, xdotool and imagemagick on this machine. The
# debootstrap result is cached in KAVREL_DEB_CHECK_CACHE (default ~/.cache/kavrel-deb-check); every
# run unpacks a fresh copy of it. The screenshot of the stage is left in that folder.
set -euo pipefail

here=$(cd "$(dirname "$0")/../.." && pwd)
deb=${1:-$(ls -t "$here"/dist/kavrel_*_amd64.deb 2>/dev/null | head -n 1)}
[ -f "$deb" ] || { echo "check-deb: no package (make package first)" >&2; exit 2; }
deb=$(realpath "$deb")
cache=${KAVREL_DEB_CHECK_CACHE:-$HOME/.cache/kavrel-deb-check}
mirror=$(awk '/^URIs:/ {print $2; exit}' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)
mirror=${mirror:-http://deb.debian.org/debian}
mkdir -p "$cache"

step() { echo "check-deb: $*"; }
fail() { echo "check-deb: FAILED: $*" >&2; exit 1; }

if [ ! -f "$cache/bookworm-minbase.tar.gz" ]; then
  command -v debootstrap >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -q debootstrap >/dev/null ||
    fail "debootstrap is not installed and could not be"
  step "debootstrap --variant=minbase bookworm (once; cached in $cache)"
  rm -rf "$cache/bootstrap-tmp"
  debootstrap --variant=minbase bookworm "$cache/bootstrap-tmp" "$mirror" >"$cache/debootstrap.log" 2>&1 ||
    fail "debootstrap, see $cache/debootstrap.log"
  tar -C "$cache/bootstrap-tmp" -czf "$cache/bookworm-minbase.tar.gz" .
  rm -rf "$cache/bootstrap-tmp"
fi

root=$(mktemp -d "${TMPDIR:-/tmp}/kavrel-deb-root.XXXXXX")
display=:$((100 + RANDOM % 400))
xvfb_pid=""
app_pid_file="$root/tmp/kavrel-draw.pid"
cleanup() {
  set +e
  [ -f "$app_pid_file" ] && kill "$(cat "$app_pid_file")" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  for m in var/cache/apt/archives proc sys dev/pts dev; do umount -l "$root/$m" 2>/dev/null; done
  rm -rf "$root"
}
trap cleanup EXIT

step "fresh Debian 12 root in $root"
tar -C "$root" -xzf "$cache/bookworm-minbase.tar.gz"
mount -t proc proc "$root/proc"
mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"
mount -t sysfs sysfs "$root/sys"
# The downloaded packages are kept between runs (the root itself is fresh every time).
mkdir -p "$cache/archives/partial"
mount --bind "$cache/archives" "$root/var/cache/apt/archives"
cp /etc/resolv.conf "$root/etc/resolv.conf"
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"; }

# What the system holds before the package, to name what the package leaves behind.
snapshot() {
  in_root find / -xdev \( -path /proc -o -path /sys -o -path /dev -o -path /tmp -o -path /run -o -path /home -o -path /root \
    -o -path /var/cache -o -path /var/lib/apt -o -path /var/log -o -path /var/lib/dpkg \) -prune -o -print | sort
}
in_root apt-get update -q >/dev/null
snapshot >"$root/tmp/before.txt"
installed_packages() { in_root dpkg-query -W -f='${Package}\n' | sort; }
installed_packages >"$root/tmp/packages-before.txt"

step "apt-get install ./$(basename "$deb")"
cp "$deb" "$root/tmp/"
start=$SECONDS
in_root apt-get install -y -q "/tmp/$(basename "$deb")" >"$cache/apt-install.log" 2>&1 ||
  { tail -n 20 "$cache/apt-install.log"; fail "apt-get install"; }
step "installed in $((SECONDS - start)) s; $(grep -c '^Setting up' "$cache/apt-install.log") packages set up"
in_root dpkg -L kavrel | grep -q '^/usr/share/applications/kavrel.desktop$' || fail "no menu entry"
version=$(in_root kavrel-verify --version) || fail "kavrel-verify --version"
step "$version"

# The ordinary user who runs the event (not root: root could write into /opt).
in_root useradd -m -s /bin/bash ada
exec_line=$(sed -n 's/^Exec=//p' "$root/usr/share/applications/kavrel.desktop")
step "menu entry runs: $exec_line"

Xvfb "$display" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do xdpyinfo -display "$display" >/dev/null 2>&1 && break; sleep 0.1; done
# The chroot shares this machine's network namespace, so the program reaches Xvfb's abstract socket.
chroot --userspec=ada:ada "$root" env -i HOME=/home/ada USER=ada LANG=C.UTF-8 \
  PATH=/usr/bin:/bin DISPLAY="$display" XDG_RUNTIME_DIR=/tmp SDL_AUDIODRIVER=dummy \
  sh -c "cd /home/ada && $exec_line >/tmp/kavrel-draw.log 2>&1 & echo \$! >/tmp/kavrel-draw.pid"

# answer TITLE KEY: presses KEY in the message box titled TITLE (raised first: without a window
# manager it may open behind the full-screen stage).
answer() {
  local box
  box=$(xdotool search --onlyvisible --name "^$1\$" | head -n 1)
  xdotool windowraise "$box"
  xdotool windowfocus --sync "$box"
  xdotool key "$2"
}

# wait_for SECONDS COMMAND...: polls until the command succeeds.
wait_for() {
  local limit=$1
  shift
  local t0=$SECONDS
  until "$@" >/dev/null 2>&1; do
    [ $((SECONDS - t0)) -lt "$limit" ] || return 1
    sleep 0.2
  done
}
export DISPLAY=$display
data=$root/home/ada/.local/share/kavrel
# The first start offers the sample event.
wait_for 60 xdotool search --onlyvisible --name '^提示信息：$' || { cat "$root/tmp/kavrel-draw.log"; fail "no sample-event offer"; }
answer 提示信息： Return
wait_for 60 xdotool search --onlyvisible --name '^kavrel抽奖$' || fail "the stage did not open"
[ -s "$data/config/set.dat" ] || fail "the sample event was not laid into $data/config"
stage=$(xdotool search --onlyvisible --name '^kavrel抽奖$' | head -n 1)
xdotool windowfocus --sync "$stage"
xdotool key space
sleep 1 # the candidates roll for a moment, as they would in front of the audience
xdotool key space
wait_for 30 test -s "$data/config/result.dat" || fail "no winners in $data/config/result.dat"
wait_for 10 test -s "$data/result.txt" || fail "no result.txt"
import -display "$display" -window root "$cache/check-deb-stage.png"
step "winners recorded: $(wc -c <"$data/config/result.dat") bytes in result.dat; screenshot $cache/check-deb-stage.png"

# A second program on the same data is refused.
chroot --userspec=ada:ada "$root" env -i HOME=/home/ada LANG=C.UTF-8 PATH=/usr/bin:/bin \
  DISPLAY="$display" XDG_RUNTIME_DIR=/tmp SDL_AUDIODRIVER=dummy sh -c "$exec_line >/tmp/second.log 2>&1 &"
wait_for 30 xdotool search --onlyvisible --name '^提示信息：$' || fail "a second program was not refused"
answer 提示信息： Return
step "a second program on the same data folder is refused"

# One batch of several: the draw is still open, which kavrel-verify answers with "NOT CLOSED" and exit 4.
verify_status=0
verify=$(chroot --userspec=ada:ada "$root" env -i HOME=/home/ada PATH=/usr/bin:/bin \
  kavrel-verify /home/ada/.local/share/kavrel) || verify_status=$?
[ "$verify_status" -eq 4 ] && [[ $verify == "NOT CLOSED: 1 batches"* ]] || fail "kavrel-verify ($verify_status): $verify"
step "kavrel-verify: $verify"

kill "$(cat "$app_pid_file")" 2>/dev/null || true
rm -f "$app_pid_file"
[ ! -e "$root/opt/kavrel/config/result.dat" ] || fail "the program wrote into /opt/kavrel"

step "apt-get purge kavrel"
in_root apt-get purge -y -q kavrel >/dev/null
in_root apt-get autoremove --purge -y -q >"$cache/apt-autoremove.log" 2>&1
step "autoremove: $(grep -E '^[0-9]+ upgraded' "$cache/apt-autoremove.log" || echo 'see apt-autoremove.log')"
snapshot >"$root/tmp/after.txt"
kept=$(comm -13 "$root/tmp/packages-before.txt" <(installed_packages) | tr '\n' ' ')
# APT keeps what the minimal system's own packages recommend (apt recommends ca-certificates, ...).
[ -z "$kept" ] || step "still installed, recommended by the base system's packages: $kept"
# Files that appeared and belong to no installed package are what the package itself left behind.
# Files generated inside a folder of a package still installed (the certificate links) are that
# package's.
cat "$root"/var/lib/dpkg/info/*.list | sort -u >"$root/tmp/owned.txt"
for package in $kept; do
  in_root dpkg -L "$package" 2>/dev/null | while read -r f; do [ -d "$root$f" ] && echo "$f/"; done
done | grep -v '^/$' | grep -Ev '^/(etc|usr|usr/lib|usr/share|usr/bin|var|var/lib)/$' | sort -u >"$root/tmp/kept-dirs.txt" || true
leftovers=$(comm -13 "$root/tmp/before.txt" "$root/tmp/after.txt" | comm -23 - "$root/tmp/owned.txt" |
  grep -Ev '^/etc/(hosts|mtab|machine-id|shadow-|gshadow-|passwd-|group-|subuid-|subgid-|ld.so.cache)$' |
  while read -r f; do grep -qxF "$(dirname "$f")/" "$root/tmp/kept-dirs.txt" || echo "$f"; done || true)
if [ -n "$leftovers" ]; then
  step "left behind, owned by no package:"
  echo "$leftovers" | sed 's/^/    /'
else
  step "nothing left behind that no package owns"
fi
step "the user's data stays, as with any program: $(cd "$data" && find . -type f | wc -l) files in ~ada/.local/share/kavrel"
step "OK"

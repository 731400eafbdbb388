#!/usr/bin/env bash
# The program itself under a hall's load, on loopback only: kavrel-draw runs under Xvfb with the
# desktop's usual descriptor limit (`ulimit -n 1024`, soft and hard, so it cannot raise it) and the
# phone server on; bench_phone_load (BENCH_TARGET_PORT) brings 1,000 phones polling and 300 signing in
# with their personal codes while the stage draws three batches. Prints the phones' figures, the
# program's most open descriptors, and fails unless every batch was recorded and the stage still
# answers. Bounded: every wait gives up after E2E_LIMIT_S seconds, the bench after its own deadline.
#   bench/phone/program_under_load.sh build/app/kavrel-draw build/bench/phone/bench_phone_load
set -euo pipefail
exe="${1:?usage: program_under_load.sh PATH/TO/kavrel-draw PATH/TO/bench_phone_load}"
bench="${2:?usage: program_under_load.sh PATH/TO/kavrel-draw PATH/TO/bench_phone_load}"
here="$(cd "$(dirname "$0")" && pwd)"
e2e="$here/../../tests/e2e"
E2E_WORK="$(mktemp -d)"
export E2E_WORK
trap 'rm -rf "$E2E_WORK"' EXIT
app="$E2E_WORK/app"
# shellcheck source=../../tests/e2e/e2e_lib.sh
source "$e2e/e2e_lib.sh"
for b in 1 2 3 4 5; do printf '一等奖,50,5,%d,10,奖品：电脑,,\n' "$b"; done | make_event "$exe" "$app" 2000
port="$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')"
printf '[现场手机互动]\r\naddress=127.0.0.1\r\nport=%s\r\nmatchField=1\r\nenabled=真\r\n' "$port" | gb >> "$app/config/config.ini"

cat > "$E2E_WORK/drive.sh" <<DRIVE
#!/usr/bin/env bash
set -euo pipefail
E2E_WORK="$E2E_WORK"
source "$e2e/e2e_lib.sh"
app="$app"
( ulimit -n 1024; SDL_AUDIODRIVER=dummy exec "\$app/kavrel-draw" >> "\$E2E_WORK/program.log" 2>&1 ) &
PROGRAM_PID=\$!
wait_until has_window '^kavrel抽奖\$' || fail "the stage window did not appear"
STAGE_WID="\$(visible_window '^kavrel抽奖\$')"
echo "program's descriptor limit: \$(grep 'Max open files' /proc/\$PROGRAM_PID/limits)"
server_up() { curl -s -o /dev/null "http://127.0.0.1:$port/"; }
wait_until server_up || fail "the phone server did not start"
has_codes() { [ "\$(wc -l < "\$app/config/signin-codes.dat")" -ge 2000 ]; }
wait_until has_codes || fail "the personal codes were not made"
BENCH_TARGET_PORT=$port BENCH_CODES="\$app/config/signin-codes.dat" "$bench" > "\$E2E_WORK/bench.txt" 2>&1 &
load=\$!
most=0
sample() {
  local n
  n="\$(ls /proc/\$PROGRAM_PID/fd | wc -l)"
  [ "\$n" -gt "\$most" ] && most=\$n
  return 0
}
for batch in 1 2 3; do
  sample
  draw_batch "\$app"
  sample
  announce "\$app"
done
while kill -0 "\$load" 2>/dev/null; do sample; sleep 0.2; done
wait "\$load" || true
cat "\$E2E_WORK/bench.txt"
echo "program: at most \$most descriptors open during the load"
blocks_are "\$app" 3 || fail "not every batch was recorded: \$(result_blocks "\$app")"
# The stage still answers: the next roll starts.
stage_key space
wait_rolling "\$app"
echo "program: 3 batches recorded during the load, the stage answered after it"
terminate_program
DRIVE
run_under_xvfb "$E2E_WORK/drive.sh"

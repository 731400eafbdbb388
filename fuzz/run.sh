#!/usr/bin/env bash
# Runs every fuzz target for FUZZ_SECONDS (or $2) seconds, one after another, each with its seed corpus
# and a working corpus in the build folder. Usage: fuzz/run.sh <fuzz build folder> [seconds] [target...]
# Findings (crash-*, leak-*, oom-*, timeout-*) land in <build>/fuzz/findings/<target>/; the summary
# of each run (executions, coverage, peak memory) is printed at the end.
set -euo pipefail

build=${1:?usage: run.sh <fuzz build folder> [seconds] [target...]}
seconds=${2:-${FUZZ_SECONDS:-60}}
shift $(( $# >= 2 ? 2 : 1 ))
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(fuzz_text_list fuzz_config_ini fuzz_exit_record fuzz_imdata fuzz_receipts fuzz_picture
           fuzz_csv fuzz_xlsx fuzz_ods fuzz_xls)
fi

bin="$build/fuzz"
seeds="$bin/seeds"
rm -rf "$seeds"
QT_QPA_PLATFORM=offscreen "$bin/fuzz_make_seeds" "$seeds"

summary=()
for t in "${targets[@]}"; do
  corpus="$bin/corpus/$t"
  findings="$bin/findings/$t"
  mkdir -p "$corpus" "$findings"
  log="$bin/$t.log"
  echo "== $t: ${seconds}s"
  # -rss_limit_mb also caps a single allocation (malloc_limit_mb follows it); a unit slower than
  # 10 s is a finding too.
  status=0
  QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES='*.warning=false' \
    "$bin/$t" -max_total_time="$seconds" -rss_limit_mb=1024 -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$findings/" "$corpus" "$seeds/$t" >"$log" 2>&1 || status=$?
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo '?')
  peak=$(grep -o 'stat::peak_rss_mb: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo '?')
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*' || echo '?')
  found=$(find "$findings" -type f | wc -l)
  summary+=("$t: exit $status, $execs executions, coverage $cov, peak RSS ${peak} MB, $found finding file(s)")
done
printf '%s\n' "${summary[@]}"

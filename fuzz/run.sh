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

here=$(cd "$(dirname "$0")" && pwd)
bin="$build/fuzz"
seeds="$bin/seeds"
# FUZZ_KEEP_SEEDS=1 reuses the seeds another run made, so two runs can share the folder side by side.
if [ "${FUZZ_KEEP_SEEDS:-0}" != 1 ] || [ ! -d "$seeds" ]; then
  rm -rf "$seeds"
  QT_QPA_PLATFORM=offscreen "$bin/fuzz_make_seeds" "$seeds"
fi

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
  # FreeXL itself fails ASan on some damaged .xls files (see the README): the .xls run goes on past its
  # crashes in fork mode and keeps each one.
  extra=()
  if [ "$t" = fuzz_xls ]; then extra=(-fork=1 -ignore_crashes=1); fi
  QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES='*.warning=false' XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp} \
    LSAN_OPTIONS="suppressions=$here/lsan.supp:print_suppressions=0" \
    "$bin/$t" -max_total_time="$seconds" -rss_limit_mb=1024 -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$findings/" "${extra[@]}" "$corpus" "$seeds/$t" >"$log" 2>&1 || status=$?
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | tail -1 | grep -o '[0-9]*$' || true)
  # Fork mode prints its progress as "#<executions>: cov: …" instead.
  [ -n "$execs" ] || execs=$(grep -o '^#[0-9]*:' "$log" | tail -1 | tr -dc '0-9' || true)
  peak=$(grep -o 'stat::peak_rss_mb: *[0-9]*' "$log" | tail -1 | grep -o '[0-9]*$' || echo '?')
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*' || echo '?')
  # The memory of the worst input: the whole corpus replayed once in one process (its peak is that
  # input's, on top of the baseline of Qt and the sanitizers, which an empty input shows).
  replay=$(QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp} \
    LSAN_OPTIONS="suppressions=$here/lsan.supp:print_suppressions=0" \
    "$bin/$t" -runs=0 -rss_limit_mb=1024 -print_final_stats=1 "$corpus" 2>&1 |
    grep -o 'stat::peak_rss_mb: *[0-9]*' | tail -1 | grep -o '[0-9]*$' || echo '?')
  empty=$(mktemp)
  base=$(QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp} "$bin/$t" -runs=1 -print_final_stats=1 \
    "$empty" 2>&1 | grep -o 'stat::peak_rss_mb: *[0-9]*' | tail -1 | grep -o '[0-9]*$' || echo '?')
  rm -f "$empty"
  found=$(find "$findings" -type f | wc -l)
  inputs=$(find "$corpus" -type f | wc -l)
  summary+=("$t: exit $status, $execs executions, coverage $cov, peak RSS ${peak} MB while fuzzing, corpus of $inputs replayed at peak ${replay} MB (empty input ${base} MB), $found finding file(s)")
done
printf '%s\n' "${summary[@]}"

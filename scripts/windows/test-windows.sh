#!/usr/bin/env bash
# `make test-windows`: the cross-built test programs that need no display (storage, engine, verify,
# the workbook readers, the winner exports, the phones' server on loopback) run under wine64; each
# prints its summary, and the last line sums them up.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${WIN_BUILD_DIR:-$root/build-windows}
bash "$root/scripts/windows/build.sh" --tests
source "$root/scripts/windows/wine-env.sh"
passed=0
skipped=0
failed=0
# The PDF export's test reads the PDF back with poppler's pdftotext, a Linux program.
declare -A filter=([results/results_export_tests]='-WinnerExport.PdfHasTitlesTablesMarksAndNumberedPagesAsText')
for t in storage/storage_tests engine/engine_tests verify/verify_tests lists/workbook/workbook_tests \
  results/results_export_tests phone/phone_tests; do
  exe="$build/tests/$t.exe"
  log="$build/tests/$(basename "$t").wine.log"
  echo "== $(basename "$t") under wine64"
  (cd "$(dirname "$exe")" &&
    QT_QPA_PLATFORM=offscreen wine "$exe" --gtest_filter="${filter[$t]:-*}" >"$log" 2>&1) || true
  grep -E '^\[  (PASSED|FAILED)  \]|^\[  SKIPPED \] [0-9]+ tests?,|tests? ran' "$log" | sed 's/^/   /'
  p=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) test.*/\1/p' "$log" | tail -n 1)
  s=$(sed -n 's/^\[  SKIPPED \] \([0-9]*\) test.*/\1/p' "$log" | tail -n 1)
  f=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) test.*/\1/p' "$log" | tail -n 1)
  total=$(sed -n 's/^\[==========\] \([0-9]*\) tests\? from .* ran.*/\1/p' "$log" | tail -n 1)
  [ -n "$total" ] || { echo "   did not finish; see $log"; failed=$((failed + 1)); continue; }
  passed=$((passed + ${p:-0}))
  skipped=$((skipped + ${s:-0}))
  failed=$((failed + ${f:-0}))
done
wineserver -k 2>/dev/null || true
echo "windows: $passed passed, $skipped skipped, $failed failed"
[ "$failed" -eq 0 ]

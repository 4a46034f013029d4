#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan + UBSan) and runs each for a while, seeded
# from tests/data, tests/errors and fuzz/regressions/<target>. Each run keeps what it found
# in a folder of its own, build-fuzz/findings/<run>/<time>/ (the newest also as
# build-fuzz/findings/<run>/latest); the script fails when this run found a crash, leak or
# time-out, whatever earlier runs found. Keep a finding as a regression case in
# fuzz/regressions/<target>/ once fixed.
#   scripts/fuzz.sh [seconds per run, default 60] [run-name filter]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
seconds=${1:-60}
filter=${2:-}

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DLUVIR_FUZZERS=ON -DLUVIR_TESTS=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc)" --target archive_reader_fuzzer device_response_fuzzer report_export_fuzzer calib_csv_fuzzer
export QT_QPA_PLATFORM=offscreen

# run name, target, LUVIR_FUZZ_FORMATS
runs=(
  "archive_reader archive/archive_reader_fuzzer -"
  "device_response device/device_response_fuzzer -"
  "report_csv report/report_export_fuzzer csv"
  "report_xlsx_pdf report/report_export_fuzzer xlsx,pdf"
  "calib_csv calib/calib_csv_fuzzer -"
)

status=0
stamp=$(date -u +%Y%m%dT%H%M%SZ)
for run in "${runs[@]}"; do
  read -r name target formats <<<"$run"
  case "$name" in *"$filter"*) ;; *) continue ;; esac
  program="build-fuzz/fuzz/$target"
  corpus="build-fuzz/corpus/$name"
  findings="build-fuzz/findings/$name/$stamp"
  mkdir -p "$corpus" "$findings"
  ln -sfn "$stamp" "build-fuzz/findings/$name/latest"
  seeds=(tests/data tests/errors)
  regressions="fuzz/regressions/$(basename "$target")"
  [ -d "$regressions" ] && seeds+=("$regressions")
  [ "$name" = calib_csv ] && seeds+=(tests/calib/data)
  if [ "$formats" != - ]; then export LUVIR_FUZZ_FORMATS=$formats; else unset LUVIR_FUZZ_FORMATS; fi
  echo "== $name: ${seconds}s"
  ran=0
  "$program" -max_total_time="$seconds" -max_len=4096 -artifact_prefix="$findings/" -print_final_stats=1 \
    "$corpus" "${seeds[@]}" > "$findings/log.txt" 2>&1 || ran=$?
  runs_done=$(grep -Eo 'stat::number_of_executed_units: *[0-9]+' "$findings/log.txt" | grep -Eo '[0-9]+$' || echo "?")
  found=$(ls "$findings" | grep -E '^(crash|leak|timeout|oom)-' || true)
  if [ -n "$found" ]; then
    status=1
    echo "   FINDING in $findings: $(echo "$found" | head -3 | tr '\n' ' ')"
    grep -E 'ERROR|SUMMARY' "$findings/log.txt" | head -5
  elif [ "$ran" -ne 0 ]; then
    status=1
    echo "   FAILED (exit status $ran) without a finding; the end of $findings/log.txt:"
    tail -5 "$findings/log.txt"
  fi
  echo "   $runs_done inputs"
done
exit $status

#!/usr/bin/env bash
# Builds the benchmarks in release mode and runs them; each prints its median of five runs.
#   scripts/bench.sh [benchmark-name-filter]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUVIR_BENCHMARKS=ON >/dev/null
cmake --build build-bench -j "$(nproc)"
filter=${1:-.}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
# A throwaway PostgreSQL server for the register's server figures, removed at the end.
export LUVIR_BENCH_PG_DIR=/tmp/luvir-bench-pg-$$
trap 'bash tests/support/pg-cluster.sh stop "$LUVIR_BENCH_PG_DIR"' EXIT
bash tests/support/pg-cluster.sh start "$LUVIR_BENCH_PG_DIR"
for program in $(find build-bench/bench -maxdepth 2 -type f -executable -name 'bench*' -o -type f -executable -name '*_bench' | sort); do
  echo "== $program"
  "$program" --benchmark_filter="$filter" --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true --benchmark_display_aggregates_only=true
done

#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan + UBSan) and runs each for a while,
# seeded from tests/data and tests/errors. Anything that crashes is left as crash-* in
# build-fuzz/findings/<target>/.
#   scripts/fuzz.sh [seconds per target, default 60] [target-name-filter]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
seconds=${1:-60}
filter=${2:-}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DLUVIR_FUZZERS=ON -DLUVIR_TESTS=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc)"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
status=0
for target in $(find build-fuzz/fuzz -type f -executable -name '*_fuzzer' | sort); do
  name=$(basename "$target")
  case "$name" in *"$filter"*) ;; *) continue ;; esac
  corpus="build-fuzz/corpus/$name"
  findings="build-fuzz/findings/$name"
  mkdir -p "$corpus" "$findings"
  seeds=("tests/data" "tests/errors")
  [ -d "fuzz/regressions/$name" ] && seeds+=("fuzz/regressions/$name")
  echo "== $name for ${seconds}s"
  if ! "$target" -max_total_time="$seconds" -artifact_prefix="$findings/" -print_final_stats=1 \
      "$corpus" "${seeds[@]}" 2>&1 | grep -E 'stat::number_of_executed_units|ERROR|SUMMARY|Done'; then
    :
  fi
  if ls "$findings"/crash-* >/dev/null 2>&1; then status=1; fi
done
exit $status

#!/usr/bin/env bash
# The long form of the download soak: many downloads of a 999-cell archive from the
# simulated meter, each with a random fault at a random exchange.
#   scripts/soak.sh [downloads, default 200] [seed, default: the time]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$(nproc)" --target mainwin_test
downloads=${1:-200}
seed=${2:-$(date +%s)}
log="build/soak-$seed.log"
echo "soak: $downloads downloads, seed $seed (again: scripts/soak.sh $downloads $seed)"
# The whole output goes to the log; a failure shows all of it, a pass only the figures.
status=0
LUVIR_SOAK_DOWNLOADS=$downloads LUVIR_SOAK_SEED=$seed QT_QPA_PLATFORM=offscreen \
  build/tests/mainwin/mainwin_test --gtest_filter='*DownloadSoak*' >"$log" 2>&1 || status=$?
if [ "$status" -ne 0 ]; then
  cat "$log"
  echo "soak FAILED (exit status $status); output kept in $log"
else
  grep -E '^soak:|^\[  PASSED  \]' "$log" || true
  echo "output kept in $log"
fi
exit "$status"

#!/usr/bin/env bash
# The long form of the download soak: many downloads of a 999-cell archive from the
# simulated meter, each with a random fault at a random exchange.
#   scripts/soak.sh [downloads, default 200] [seed, default: the time]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$(nproc)" --target mainwin_test
LUVIR_SOAK_DOWNLOADS=${1:-200} LUVIR_SOAK_SEED=${2:-$(date +%s)} QT_QPA_PLATFORM=offscreen \
  build/tests/mainwin/mainwin_test --gtest_filter='*DownloadSoak*' | grep -E '^soak:|OK|FAILED'

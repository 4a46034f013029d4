#!/usr/bin/env bash
# Sets up the machine, builds the program and starts it.
#   scripts/run.sh              with a meter plugged in, the real one; otherwise the simulated one
#   scripts/run.sh --simulated  always the simulated meter (300 generated measurements)
#   scripts/run.sh --real       never the simulated meter
# The simulated meter takes its settings from LUVIR_SIM_* variables (tools/meter-sim/README.md).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$(nproc)" --target luvir luvir_meter_sim

meter_present() {
  grep -qsi 'HID_ID=0003:00002047:00000904' /sys/bus/hid/devices/*/uevent
}

mode=${1:-auto}
case "$mode" in
  --simulated) simulate=1 ;;
  --real) simulate=0 ;;
  auto) if meter_present; then simulate=0; else simulate=1; fi ;;
  *) echo "usage: $0 [--simulated|--real]" >&2; exit 2 ;;
esac

if [ "$simulate" = 1 ]; then
  echo "run: no meter in use: starting with the simulated meter"
  export LD_PRELOAD="$PWD/build/tools/meter-sim/libluvir-meter-sim.so${LD_PRELOAD:+:$LD_PRELOAD}"
  export LUVIR_SIM_CELLS="${LUVIR_SIM_CELLS:-300}"
fi
exec build/src/app/luvir

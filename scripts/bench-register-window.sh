#!/usr/bin/env bash
# The register window on a register of 100,000 measurements, timed from outside the program:
# the program runs under Xvfb with the register as its own; the toolbar's register button is
# clicked with xdotool, and the window is watched (xwd, every few milliseconds) until it shows
# and its picture no longer changes. Prints the time from the click to the first picture equal
# to the final one, for each round.
#   scripts/bench-register-window.sh [BUILD_DIR] [ROUNDS] [UNASSIGNED]
# UNASSIGNED: how many of the 100,000 belong to no structure (2,000; the window opens on them).
# LUVIR_PROGRAM, when set, is the program timed instead of BUILD_DIR's (an earlier build).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
rounds=${2:-5}
unassigned=${3:-2000}
cmake --build "$build" --target luvir make_large_register >/dev/null
work=$(mktemp -d /tmp/luvir-window-bench.XXXXXX)
xvfb_pid=
program_pid=
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

"$build/bench/register/make_large_register" "$work/large.sqlite" 100000 "$unassigned"
display=:$((100 + RANDOM % 800))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

for round in $(seq "$rounds"); do
  # A home of the program's own, the register in it as the program's register.
  home=$work/home$round
  mkdir -p "$home/data/luvir" "$home/config"
  cp "$work/large.sqlite" "$home/data/luvir/register.sqlite"
  HOME=$home XDG_DATA_HOME=$home/data XDG_CONFIG_HOME=$home/config QT_QPA_PLATFORM=xcb \
    "${LUVIR_PROGRAM:-$build/src/app/luvir}" >/dev/null 2>&1 &
  program_pid=$!
  python3 - <<'PY'
import hashlib, subprocess, sys, time
def visible(name):
    r = subprocess.run(['xdotool', 'search', '--onlyvisible', '--name', name], capture_output=True, text=True)
    return r.stdout.split()
def width(win):
    r = subprocess.run(['xdotool', 'getwindowgeometry', '--shell', win], capture_output=True, text=True)
    return int(dict(l.split('=') for l in r.stdout.split()).get('WIDTH', 0))
# The main window (its title the program's name; wider than the start-up picture), settled.
main = None
started = time.monotonic()
while not main and time.monotonic() - started < 60:
    main = next((w for w in visible('^ЛЮВИР') if width(w) > 500), None)
    time.sleep(0.2)
time.sleep(2)
def picture(win):
    r = subprocess.run(['xwd', '-silent', '-id', win], capture_output=True)
    return hashlib.md5(r.stdout).hexdigest() if r.returncode == 0 else None
# The register button: the seventh of the toolbar (four of 30 pixels, a gap of 8, two more),
# in the toolbar's 22 pixels under the menu bar.
subprocess.run(['xdotool', 'mousemove', '--window', main, '203', '29'])
clicked = time.monotonic()
subprocess.run(['xdotool', 'click', '1'])
win = None
while not win and time.monotonic() - clicked < 10:
    found = visible('^Журнал испытаний$')
    win = found[0] if found else None
shown = time.monotonic()
seen = []  # (time, picture)
while time.monotonic() - clicked < 10:
    now = time.monotonic()
    seen.append((now, picture(win)))
    # the same picture for half a second: that is the window as it stays
    same = [t for t, p in seen if p == seen[-1][1]]
    if now - same[0] > 0.5 and len(same) > 5:
        break
final = seen[-1][1]
first = next(t for t, p in seen if p == final)
print(f"mapped {1000 * (shown - clicked):.0f} ms, painted {1000 * (first - clicked):.0f} ms after the click")
PY
  kill "$program_pid"; wait "$program_pid" 2>/dev/null || true
  program_pid=
done

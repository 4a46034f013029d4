#!/bin/sh
# The built tool downloads from the simulated meter preloaded in front of the HID library.
# Usage: download-end-to-end.sh LUVIR_CLI METER_SIM_LIBRARY SAMPLE_ARCHIVE
set -u
cli=$1 sim=$2 sample=$3
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
export LUVIR_SIM_CLOCK=virtual LUVIR_SIM_LATENCY_US=0 LC_ALL=C.UTF-8
fail() { echo "FAIL: $*"; exit 1; }

# A whole archive, byte for byte.
LD_PRELOAD=$sim LUVIR_SIM_ARCHIVE=$sample "$cli" download "$work/out.db" >"$work/stdout" 2>"$work/stderr" \
    || fail "download exited with $?: $(cat "$work/stderr")"
cmp -s "$sample" "$work/out.db" || fail "the downloaded archive differs from the meter's"
[ "$(cat "$work/stdout")" = "version 1.0
cells 300" ] || fail "unexpected output: $(cat "$work/stdout")"
[ "$(tail -n 1 "$work/stderr")" = "Читаю архив: 100%" ] || fail "no progress: $(cat "$work/stderr")"

# A bad cell: both messages, exit 1, the earlier file untouched.
cp "$work/out.db" "$work/kept.db"
LD_PRELOAD=$sim LUVIR_SIM_CELLS=20 LUVIR_SIM_FAULT=crc@cell4 "$cli" download "$work/out.db" \
    >"$work/stdout" 2>"$work/stderr"
rc=$?
[ $rc -eq 1 ] || fail "a failed download exited with $rc"
grep -v '^Читаю архив:' "$work/stderr" >"$work/messages"
[ "$(cat "$work/messages")" = "Ошибка CRC
Ошибка чтения ячейки5" ] || fail "unexpected messages: $(cat "$work/stderr")"
cmp -s "$work/kept.db" "$work/out.db" || fail "a failed download changed the earlier file"
echo "ok"

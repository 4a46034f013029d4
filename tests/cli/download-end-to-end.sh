#!/bin/sh
# The built tool downloads from the simulated meter preloaded in front of the HID library.
# Usage: download-end-to-end.sh LUVIR_CLI METER_SIM_LIBRARY SAMPLE_ARCHIVE
set -u
cli=$1 sim=$2 sample=$3
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
export LUVIR_SIM_CLOCK=virtual LUVIR_SIM_LATENCY_US=0 LC_ALL=C.UTF-8
# The register of measurements and the remembered settings go to the scratch folder.
export XDG_DATA_HOME="$work/share" XDG_CONFIG_HOME="$work/config"
fail() { echo "FAIL: $*"; exit 1; }

# A whole archive, byte for byte.
LD_PRELOAD=$sim LUVIR_SIM_ARCHIVE=$sample "$cli" download "$work/out.db" >"$work/stdout" 2>"$work/stderr" \
    || fail "download exited with $?: $(cat "$work/stderr")"
cmp -s "$sample" "$work/out.db" || fail "the downloaded archive differs from the meter's"
[ "$(cat "$work/stdout")" = "version 1.0
cells 300
Журнал: добавлено 300, уже были 0" ] || fail "unexpected output: $(cat "$work/stdout")"
[ -f "$work/share/luvir/register.sqlite" ] || fail "the download did not go into the default register"

# The same meter again: the register already holds every measurement.
LD_PRELOAD=$sim LUVIR_SIM_ARCHIVE=$sample "$cli" download "$work/again.db" >"$work/stdout" 2>"$work/stderr" \
    || fail "the second download exited with $?: $(cat "$work/stderr")"
[ "$(tail -n 1 "$work/stdout")" = "Журнал: добавлено 0, уже были 300" ] || fail "second download: $(cat "$work/stdout")"
[ "$("$cli" register list | wc -l)" -eq 301 ] || fail "register list: $("$cli" register list | head -3)"
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

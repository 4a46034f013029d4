#!/bin/sh
# check_qt_links.sh PROGRAM FORBIDDEN
# PROGRAM's dynamic section must name libQt6Core and no library matching the extended
# regular expression FORBIDDEN. A readelf that fails, or a section without Qt at all,
# fails the check: it proves nothing about the libraries.
program=$1
forbidden=$2
needed=$(readelf -d "$program") || { echo "readelf could not read $program" >&2; exit 1; }
needed=$(printf '%s\n' "$needed" | grep '(NEEDED)')
if ! printf '%s\n' "$needed" | grep -q 'libQt6Core'; then
    echo "$program does not list libQt6Core:" >&2
    printf '%s\n' "$needed" >&2
    exit 1
fi
if printf '%s\n' "$needed" | grep -Eq "$forbidden"; then
    echo "$program links more of Qt than it may:" >&2
    printf '%s\n' "$needed" | grep -E "$forbidden" >&2
    exit 1
fi
exit 0

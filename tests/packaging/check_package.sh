#!/usr/bin/env bash
# Builds the Debian package into a scratch folder, unpacks it and checks what a user gets:
# the program in its own folder with the help file beside it, the link in bin, the udev
# access rule, the desktop entry, the icons, the copyright file, the change log, the manual
# pages in English and Russian, the control fields with what the program needs from other
# packages, and lets lintian look at it.
#   check_package.sh BUILD_DIR HELP_FILE SCRATCH_DIR
set -euo pipefail
build=$1 help=$2 scratch=$3

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

rm -rf "$scratch" && mkdir -p "$scratch"
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1 \
  || { cat "$scratch/cpack.log"; echo "FAIL: cpack"; exit 1; }
debs=("$scratch"/out/luvir_*.deb)
[ "${#debs[@]}" = 1 ] && [ -f "${debs[0]}" ] || { echo "FAIL: no single luvir_*.deb: ${debs[*]}"; exit 1; }
deb=${debs[0]}
echo "package: $(basename "$deb")"
root=$scratch/root
dpkg-deb -x "$deb" "$root"

# The program, in a folder of its own, with its help file beside it.
[ -x "$root/usr/lib/luvir/luvir" ] || fail "usr/lib/luvir/luvir is not an executable"
head -c 4 "$root/usr/lib/luvir/luvir" | grep -q 'ELF' || fail "usr/lib/luvir/luvir is not an ELF program"
cmp -s "$root/usr/lib/luvir/luvir.chm" "$help" || fail "usr/lib/luvir/luvir.chm is not the built help file"
[ -L "$root/usr/bin/luvir" ] || fail "usr/bin/luvir is not a link"
[ "$(readlink "$root/usr/bin/luvir")" = "../lib/luvir/luvir" ] \
  || fail "usr/bin/luvir points to '$(readlink "$root/usr/bin/luvir")', not to ../lib/luvir/luvir"
[ -e "$root/usr/bin/luvir" ] || fail "usr/bin/luvir is a dangling link"

# The access rule, word for word: the seat rules (73-seat-late) act on uaccess only when
# it is set by a rule that sorts before them.
expected_rule='# LUVIR-2.07 strength meter: the user logged in at the seat may open its HID device.
SUBSYSTEM=="hidraw", ATTRS{idVendor}=="2047", ATTRS{idProduct}=="0904", TAG+="uaccess"'
rule=$root/usr/lib/udev/rules.d/70-luvir.rules
if [ -f "$rule" ]; then
  [ "$(cat "$rule")" = "$expected_rule" ] || { fail "udev rule text differs:"; cat "$rule"; }
  [[ "70-luvir.rules" < "73-seat-late.rules" ]] || fail "the rule does not sort before the seat rules"
else
  fail "no usr/lib/udev/rules.d/70-luvir.rules"
fi

# The desktop entry and its icon.
desktop=$root/usr/share/applications/luvir.desktop
if [ -f "$desktop" ]; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate rejects luvir.desktop"
  for line in 'Exec=luvir' 'Icon=luvir' 'Name[ru]=ЛЮВИР-2.07' 'Terminal=false'; do
    grep -qxF "$line" "$desktop" || fail "luvir.desktop lacks '$line'"
  done
  grep -q '^Comment\[ru\]=.*архив' "$desktop" || fail "luvir.desktop has no Russian comment"
  grep -q '^Categories=.*Science;' "$desktop" || fail "luvir.desktop is not in the Science category"
else
  fail "no usr/share/applications/luvir.desktop"
fi
png_size() { # width and height from the PNG header
  od -An -tu1 -j16 -N8 "$1" | awk '{print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8}'
}
for size in 16 22 24 32 48 64 128 256; do
  png=$root/usr/share/icons/hicolor/${size}x${size}/apps/luvir.png
  if [ -f "$png" ]; then
    [ "$(png_size "$png")" = "${size}x${size}" ] || fail "$png is $(png_size "$png"), not ${size}x${size}"
  else
    fail "no icon ${size}x${size}"
  fi
done
grep -q '<svg' "$root/usr/share/icons/hicolor/scalable/apps/luvir.svg" 2>/dev/null || fail "no scalable icon"
grep -q 'License: GPL-3+' "$root/usr/share/doc/luvir/copyright" 2>/dev/null || fail "no copyright file"

# Control fields.
field() { dpkg-deb -f "$deb" "$1"; }
echo "Depends: $(field Depends)"
[ "$(field Package)" = luvir ] || fail "package name is '$(field Package)'"
[ "$(field Version)" = 1.0.1.0 ] || fail "version is '$(field Version)'"
case "$(field Section)" in science|electronics) ;; *) fail "section is '$(field Section)'" ;; esac
for lib in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libqt6charts6 libhidapi-hidraw0 libxlsxwriter; do
  field Depends | grep -q "\b$lib" || fail "Depends lacks $lib"
done
# What the program needs from other packages beyond the libraries it links: each needed
# alone, not as one choice among others (a recommendation is not installed everywhere).
depends=$(field Depends | tr ',' '\n' | sed 's/([^)]*)//; s/^ *//; s/ *$//')
for need in qt6-qpa-plugins qt6-translations-l10n libc-l10n xchm xdg-utils file desktop-file-utils libqt6sql6-sqlite; do
  grep -qxF "$need" <<<"$depends" || fail "Depends lacks $need (alone): $(field Depends)"
done
# A register on a server: libpq linked, Qt's driver for it recommended.
field Depends | grep -q "\blibpq5" || fail "Depends lacks libpq5"
field Recommends | grep -q "\blibqt6sql6-psql" || fail "Recommends lacks libqt6sql6-psql: $(field Recommends)"
# The files the installed program and luvir-cli read at run time from other packages come
# with the packages it depends on: Qt's Russian texts where this Qt looks for translations,
# the C library's Russian messages, and the viewer Справка > Помощь starts.
translations=$(qtpaths6 --query QT_INSTALL_TRANSLATIONS 2>/dev/null || /usr/lib/qt6/bin/qtpaths --query QT_INSTALL_TRANSLATIONS)
for needed in "$translations/qtbase_ru.qm" /usr/share/locale/ru/LC_MESSAGES/libc.mo /usr/bin/xchm /usr/bin/xdg-open; do
  owner=$(dpkg -S "$needed" 2>/dev/null | head -n 1 | cut -d: -f1) || true
  if [ -z "$owner" ]; then
    fail "no installed package holds $needed (scripts/setup.sh installs them)"
  else
    grep -qxF "$owner" <<<"$depends" || fail "$needed comes with $owner, which the package does not depend on"
  fi
done
dpkg-deb -e "$deb" "$scratch/control"
grep -q 'udevadm control --reload-rules' "$scratch/control/postinst" 2>/dev/null \
  || fail "postinst does not reload the udev rules"
[ -x "$scratch/control/postinst" ] || fail "postinst is not executable"
sh -n "$scratch/control/postinst" || fail "postinst is no valid shell script"

# The change log and the manual pages, compressed, and the pages read without complaint.
[ -f "$root/usr/share/doc/luvir/changelog.gz" ] || fail "no usr/share/doc/luvir/changelog.gz"
# English and Russian (where `man -L ru` looks), each with the name section of its language.
for lang in en ru; do
  folder=man/man1 name_section=NAME locale=C.UTF-8
  [ "$lang" = ru ] && folder=man/ru/man1 name_section=ИМЯ locale=ru_RU.UTF-8
  for page in luvir luvir-cli; do
    man=$root/usr/share/$folder/$page.1.gz
    if [ -f "$man" ]; then
      warnings=$(LC_ALL=$locale MANWIDTH=80 man --warnings -l "$man" 2>&1 >/dev/null)
      [ -z "$warnings" ] || fail "man ($lang) $page: $warnings"
      LC_ALL=$locale MANWIDTH=80 man -l "$man" 2>/dev/null | grep -q "^$name_section" \
        || fail "man ($lang) $page has no $name_section section"
    else
      fail "no manual page $page(1) in usr/share/$folder"
    fi
  done
done
# The Russian pages say in Russian what the English ones say: the same commands and options.
for word in info table export download stats register help --values --no-register --format --out-dir --by-kind --rows --version; do
  zcat "$root/usr/share/man/ru/man1/luvir-cli.1.gz" | grep -q -- "${word//-/\\\\-}" \
    || fail "the Russian luvir-cli(1) does not mention $word"
done

# Debian's own checks: no error and no warning.
if command -v lintian >/dev/null 2>&1; then
  tags=$(lintian --no-tag-display-limit "$deb" 2>&1 | grep -E '^[EW]: ' || true)
  [ -z "$tags" ] || fail "lintian: $tags"
else
  fail "lintian is missing (scripts/setup.sh installs it)"
fi

# Nothing of the build tree leaks into the package.
if dpkg-deb -c "$deb" | grep -Eq 'gtest|_test$|meter-sim|\.a$|/include/'; then
  fail "test or build files in the package:"; dpkg-deb -c "$deb" | grep -E 'gtest|_test$|meter-sim|\.a$|/include/'
fi

if [ "$failures" -gt 0 ]; then exit 1; fi
echo "package checks passed"

#!/usr/bin/env bash
# Installs every Debian package that building, running and testing the program needs.
# Safe to run again: when everything is present it only checks and returns.
set -euo pipefail

PACKAGES=(
  # build
  cmake ninja-build g++ pkg-config clang libclang-rt-14-dev
  # Qt 6: widgets, printing, charts (charts needs the OpenGL dev files to configure)
  qt6-base-dev qt6-base-dev-tools qt6-charts-dev libqt6opengl6-dev qt6-qpa-plugins
  qt6-translations-l10n qt6-image-formats-plugins
  # luvir-cli's translations: lupdate/lrelease and their CMake functions
  qt6-l10n-tools qt6-tools-dev
  # the meter and the spreadsheet export
  libhidapi-dev libxlsxwriter-dev
  # the test protocol's ODT: its page styles added to the package
  libzip-dev
  # the register of measurements: Qt SQL (its CMake files come with qt6-base-dev) and its SQLite driver
  libqt6sql6-sqlite
  # the opening check reads a register file read-only through SQLite's own library
  libsqlite3-dev
  # the register on a PostgreSQL server: Qt SQL's driver, libpq (why a server refused), and a
  # server of our own for the tests and benchmarks (tests/support/pg-cluster.sh)
  libqt6sql6-psql libpq-dev postgresql
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  # running under a virtual display; reading back what we write for other programs:
  # PDF (poppler), XLSX (openpyxl, LibreOffice without a display)
  xvfb xauth poppler-utils python3-openpyxl libreoffice-calc-nogui
  # the test protocol's ODT, opened by LibreOffice Writer without a display
  libreoffice-writer-nogui
  # fonts that draw Cyrillic and the direction arrows; Arial's metric twin
  fonts-dejavu-core fonts-liberation2
  # the Russian locale, and the C library's Russian messages (a file error's reason)
  locales libc-l10n
  # the help file (CHM compiler and lister), the package and its desktop entry
  fp-utils libchm-bin dpkg-dev fakeroot desktop-file-utils librsvg2-bin xdg-utils file
  lintian man-db gzip
  # the help viewer the package depends on, and its HTML engine for the rendering test
  xchm python3-wxgtk4.0
)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if ! locale -a 2>/dev/null | grep -qi '^ru_RU\.utf-\?8$'; then
  echo "setup: generating the ru_RU.UTF-8 locale"
  if [ -f /etc/locale.gen ] && grep -q '^# *ru_RU.UTF-8' /etc/locale.gen; then
    $SUDO sed -i 's/^# *\(ru_RU.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  elif ! grep -q '^ru_RU.UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'ru_RU.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  fi
  $SUDO locale-gen >/dev/null
fi

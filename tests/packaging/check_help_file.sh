#!/usr/bin/env bash
# luvir.chm is a CHM file that a viewer can read: its pages list back, the contents and
# index are readable in the help file's code page, and the messages page explains every
# message the program can show.
#   check_help_file.sh HELP_FILE PAGES_SOURCE_DIR SCRATCH_DIR PAGE...
set -euo pipefail
help=$1 sources=$2 scratch=$3
shift 3

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

listing=$(enum_chmLib "$help") || { echo "FAIL: enum_chmLib cannot read $help"; exit 1; }
for page in "$@" luvir.hhc luvir.hhk; do
  grep -qE "[[:space:]]/$page\$" <<<"$listing" || fail "$page is not in the help file"
done

rm -rf "$scratch" && mkdir -p "$scratch"
extract_chmLib "$help" "$scratch/pages" >/dev/null || fail "extract_chmLib cannot unpack $help"
for page in "$@"; do
  cmp -s "$scratch/pages/$page" "$sources/$page" 2>/dev/null \
    || fail "$page does not come back from the help file as written"
done

# Contents and index in windows-1251, with the Russian titles intact.
for file in luvir.hhc luvir.hhk; do
  text=$(iconv -f CP1251 -t UTF-8 "$scratch/pages/$file" 2>/dev/null) || { fail "$file is not windows-1251"; continue; }
  grep -q 'Сообщения программы\|Устройство не обнаружено' <<<"$text" || fail "$file lost its Russian titles"
done

# Every message the program shows, exactly as the program writes it.
messages=$scratch/pages/messages.html
while IFS= read -r message; do
  [ -n "$message" ] || continue
  grep -qF -- "$message" "$messages" || fail "messages.html does not explain: $message"
done <<'LIST'
Устройство не обнаружено
Подключено слишком много устройств(&gt;16)
Подключенно несколько устройств, данные будут приняты с устройства
Ошибка подключения
Ошибка отправки
Ошибка приема
Не соответствует число байт
Ошибка CRC
Не соответствует версия протокола
Ошибка целостности ячейки
Ошибка чтения версии протокола
Ошибка чтения размера архива
Записей нет
Слишком много записей
Ошибка чтения ячейки
Ошибка файла CRC
Ошибка размера файла стадия 0
Ошибка размера файла стадия 1
Ошибка размера файла: в архиве
Ошибка чтения: файл короче двух байт
файл не найден
это не файл
файл изменился во время чтения
Сначала считайте архив!
Сохранить файл
Не удалось начать печать.
Не удалось напечатать отчёт.
Не удалось сохранить файл
Не удалось сохранить рисунок в файл
Не удалось начать печать: принтер не выбран
Ошибка печати диаграммы
Нет места для диаграммы на странице
Устройство ЛЮВИР-2.07 успешно подключено
Готово
LIST

if [ "$failures" -gt 0 ]; then exit 1; fi
echo "help file checks passed"

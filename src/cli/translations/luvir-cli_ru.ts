<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU" sourcelanguage="en">
<context>
    <name>LuvirCli</name>
    <message>
        <source>Usage: luvir-cli info FILE.db

Checks an archive file as File &gt; Open does. Prints two lines, &quot;version M.m&quot; (the
version in the file&apos;s header) and &quot;cells N&quot;. A refused file: the program&apos;s message
on standard error, exit status 1.
</source>
        <translation>Использование: luvir-cli info FILE.db

Проверяет файл архива, как это делает Файл › «Открыть». Печатает две строки: «version M.m»
(версия из заголовка файла) и «cells N». Отвергнутый файл: сообщение программы
в стандартный поток ошибок, код завершения 1.
</translation>
    </message>
    <message>
        <source>Usage: luvir-cli table [--values] FILE.db

Prints the measurement table as the main window shows it: the column titles, then one
line per measurement, the seven texts separated by tabs (UTF-8). Numbers take the
decimal separator of the regional settings (LC_ALL, LC_NUMERIC, LANG).

  --values   an eighth field: the intermediate values as the status bar shows them
             (empty on the title line)
</source>
        <translation>Использование: luvir-cli table [--values] FILE.db

Печатает таблицу измерений, как её показывает главное окно: заголовки столбцов, затем
по строке на измерение, семь текстов через табуляцию (UTF-8). Числа пишутся с десятичным
разделителем региональных настроек (LC_ALL, LC_NUMERIC, LANG).

  --values   восьмое поле: промежуточные значения, как их показывает строка состояния
             (пустое в строке заголовков)
</translation>
    </message>
    <message>
        <source>Usage: luvir-cli export FILE.db OUT
       luvir-cli export --format FORMAT --out-dir DIR FILE.db...

Writes the measurement report of an archive, as the print preview exports it, dated
now. OUT ends in {.formats}. The second form converts many archives in one
call: DIR/NAME.FORMAT for each FILE NAME.db (DIR is created when missing). Refused
files are skipped and listed at the end with their messages; exit status 1 if any.

  --format FORMAT   {formats}
  --out-dir DIR     the folder the reports go to
</source>
        <translation>Использование: luvir-cli export FILE.db OUT
               luvir-cli export --format FORMAT --out-dir DIR FILE.db...

Записывает отчёт об измерениях архива, как его экспортирует предварительный просмотр,
с текущими датой и временем. OUT оканчивается на {.formats}.
Вторая форма преобразует много архивов за один вызов: DIR/NAME.FORMAT для каждого
файла NAME.db (папка DIR создаётся, если её нет). Отвергнутые файлы пропускаются
и перечисляются в конце с их сообщениями; тогда код завершения 1.

  --format FORMAT   {formats}
  --out-dir DIR     папка, в которую пишутся отчёты
</translation>
    </message>
    <message>
        <source>Usage: luvir-cli download [--no-register | --register FILE] OUT.db

Finds the meter, reads its whole archive as the download dialog does and saves it as
OUT.db. Progress goes to standard error; on success the file&apos;s version and cell count
are printed as by &quot;info&quot;. On any failure the program&apos;s messages go to standard error,
exit status 1, and OUT.db is neither created nor changed.

A completed download also goes into the register of measurements (the one the program
used last, or FILE), as in the program: the line &quot;Журнал: добавлено N, уже были M&quot;
follows. A register that cannot be written costs the download nothing: the reason goes
to standard error and the exit status stays 0.

  --no-register     do not add the download to the register
  --register FILE   add it to the register in FILE
</source>
        <translation>Использование: luvir-cli download [--no-register | --register ФАЙЛ] OUT.db

Находит прибор, считывает весь его архив, как это делает окно скачивания, и сохраняет
его в OUT.db. Ход скачивания выводится в стандартный поток ошибок; при успехе печатаются
версия файла и число ячеек, как у «info». При любой ошибке сообщения программы выводятся
в стандартный поток ошибок, код завершения 1, а OUT.db не создаётся и не меняется.

Законченное скачивание также добавляется в журнал испытаний (последний открытый в
программе или ФАЙЛ), как в программе: следом печатается строка «Журнал: добавлено N,
уже были M». Журнал, в который нельзя записать, скачиванию не мешает: причина выводится
в стандартный поток ошибок, код завершения остаётся 0.

  --no-register     не добавлять скачанное в журнал
  --register ФАЙЛ   добавить его в журнал в ФАЙЛЕ
</translation>
    </message>
    <message>
        <source>Usage: luvir-cli stats [--by-kind] [--rows FROM-TO] FILE.db

Prints the statistics of the measurements as the window &quot;Статистика измерений&quot; shows
them, tab-separated: the line &quot;группа n Rmin Rmax Rm Sm Vm&quot;, then &quot;Все измерения&quot;.
Rm is the mean strength, Sm the sample standard deviation, Vm = Sm / Rm in per cent;
a figure that is undefined (Sm of one measurement, Vm when Rm is 0) prints as &quot;—&quot;.
A group whose measurements mix dependencies or Kc values gets &quot;!&quot; after its name and
one line on standard error saying what it mixes.

  --by-kind        one more line per element kind, in order of first appearance
  --rows FROM-TO   only the measurements numbered FROM to TO (1 to the cell count)
</source>
        <translation>Использование: luvir-cli stats [--by-kind] [--rows FROM-TO] FILE.db

Печатает статистику измерений, как её показывает окно «Статистика измерений», через
табуляцию: строку «группа n Rmin Rmax Rm Sm Vm», затем «Все измерения». Rm — средняя
прочность, Sm — выборочное среднее квадратическое отклонение, Vm = Sm / Rm в процентах;
неопределённая величина (Sm одного измерения, Vm при Rm, равном 0) печатается как «—».
Группа, в которой смешаны зависимости или значения Kc, получает «!» после названия
и одну строку в стандартном потоке ошибок о том, что в ней смешано.

  --by-kind        ещё по строке на каждый вид изделия, в порядке первого появления
  --rows FROM-TO   только измерения с номерами от FROM до TO (от 1 до числа ячеек)
</translation>
    </message>
    <message>
        <source>Usage: luvir-cli help [COMMAND]

Shows the help of the tool or of one command (also: luvir-cli COMMAND --help).
</source>
        <translation>Использование: luvir-cli help [COMMAND]

Показывает справку о программе или об одной команде (также: luvir-cli COMMAND --help).
</translation>
    </message>
    <message>
        <source>%1 or %2</source>
        <translation>%1 или %2</translation>
    </message>
    <message>
        <source>--rows needs FROM-TO, two numbers such as 1-30</source>
        <translation>--rows требует FROM-TO, два числа, например 1-30</translation>
    </message>
    <message>
        <source>--rows %1 runs backwards</source>
        <translation>--rows %1: начало больше конца</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 требует значения</translation>
    </message>
    <message>
        <source>missing %1</source>
        <translation>не хватает %1</translation>
    </message>
    <message>
        <source>unexpected argument &quot;%1&quot;</source>
        <translation>лишний аргумент «%1»</translation>
    </message>
    <message>
        <source>--format needs --out-dir</source>
        <translation>--format требует --out-dir</translation>
    </message>
    <message>
        <source>--out-dir needs --format</source>
        <translation>--out-dir требует --format</translation>
    </message>
    <message>
        <source>unknown format &quot;%1&quot; (%2)</source>
        <translation>неизвестный формат «%1» (%2)</translation>
    </message>
    <message>
        <source>FILE.db and OUT</source>
        <translation>FILE.db и OUT</translation>
    </message>
    <message>
        <source>OUT must end in %1</source>
        <translation>OUT должен оканчиваться на %1</translation>
    </message>
    <message>
        <source>%1: %2 (see &quot;%1 help%3&quot;)</source>
        <translation>%1: %2 (см. «%1 help%3»)</translation>
    </message>
    <message>
        <source>no command given</source>
        <translation>команда не указана</translation>
    </message>
    <message>
        <source>unknown option &quot;%1&quot;</source>
        <translation>неизвестный параметр «%1»</translation>
    </message>
    <message>
        <source>unknown command &quot;%1&quot;</source>
        <translation>неизвестная команда «%1»</translation>
    </message>
    <message>
        <source>unknown option &quot;%1&quot; for %2</source>
        <translation>неизвестный параметр «%1» для %2</translation>
    </message>
    <message>
        <source>no command &quot;%1&quot;</source>
        <translation>нет команды «%1»</translation>
    </message>
    <message>
        <source>luvir-cli: &quot;%1&quot; is a folder</source>
        <translation>luvir-cli: &quot;%1&quot; — это папка</translation>
    </message>
    <message>
        <source>luvir-cli: no folder &quot;%1&quot;</source>
        <translation>luvir-cli: нет папки &quot;%1&quot;</translation>
    </message>
    <message>
        <source>&quot;%1&quot; and &quot;%2&quot; would both be written to &quot;%3&quot;</source>
        <translation>&quot;%1&quot; и &quot;%2&quot; были бы записаны в один файл &quot;%3&quot;</translation>
    </message>
    <message>
        <source>luvir-cli: cannot create the folder &quot;%1&quot;
</source>
        <translation>luvir-cli: не удалось создать папку &quot;%1&quot;
</translation>
    </message>
    <message>
        <source>Not converted:
</source>
        <translation>Не преобразованы:
</translation>
    </message>
    <message>
        <source>no report format &quot;%1&quot;</source>
        <translation>нет формата отчёта «%1»</translation>
    </message>
    <message>
        <source>%1: the archive holds no measurements</source>
        <translation>%1: в архиве нет измерений</translation>
    </message>
    <message>
        <source>%1 lies outside the measurements 1-%2 of the archive</source>
        <translation>%1 выходит за пределы измерений 1-%2 архива</translation>
    </message>
    <message>
        <source>--structure and --unassigned exclude each other</source>
        <translation>--structure и --unassigned исключают друг друга</translation>
    </message>
    <message>
        <source>--object needs --structure</source>
        <translation>--object требует --structure</translation>
    </message>
    <message>
        <source>--from lies after --to</source>
        <translation>--from позже, чем --to</translation>
    </message>
    <message>
        <source>missing ID</source>
        <translation>не хватает ID</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a measurement id</source>
        <translation>«%1» — не номер (id) измерения</translation>
    </message>
    <message>
        <source>%1 needs a date such as 2026-12-10 or 10.12.2026, not &quot;%2&quot;</source>
        <translation>%1 требует дату, например 2026-12-10 или 10.12.2026, а не «%2»</translation>
    </message>
    <message>
        <source>download takes only --no-register or --register FILE</source>
        <translation>download принимает только --no-register или --register ФАЙЛ</translation>
    </message>
    <message>
        <source>--no-register and --register exclude each other</source>
        <translation>--no-register и --register исключают друг друга</translation>
    </message>
    <message>
        <source>unknown register command &quot;%1&quot;</source>
        <translation>неизвестная команда журнала «%1»</translation>
    </message>
    <message>
        <source>--no-register is for download</source>
        <translation>--no-register — параметр download</translation>
    </message>
    <message>
        <source>--by-kind is for register stats</source>
        <translation>--by-kind — параметр register stats</translation>
    </message>
    <message>
        <source>--site is for register assign</source>
        <translation>--site — параметр register assign</translation>
    </message>
    <message>
        <source>register add takes only files</source>
        <translation>register add принимает только файлы</translation>
    </message>
    <message>
        <source>missing FILE.db</source>
        <translation>не хватает FILE.db</translation>
    </message>
    <message>
        <source>register assign needs --structure NAME</source>
        <translation>register assign требует --structure ИМЯ</translation>
    </message>
    <message>
        <source>register assign takes --structure, --object and --site only</source>
        <translation>register assign принимает только --structure, --object и --site</translation>
    </message>
    <message>
        <source>register unassign takes only ids</source>
        <translation>register unassign принимает только номера (id)</translation>
    </message>
    <message>
        <source>register export needs --structure NAME</source>
        <translation>register export требует --structure ИМЯ</translation>
    </message>
    <message>
        <source>register export takes --structure and --object only</source>
        <translation>register export принимает только --structure и --object</translation>
    </message>
    <message>
        <source>missing OUT.db</source>
        <translation>не хватает OUT.db</translation>
    </message>
    <message>
        <source>luvir-cli: no structure &quot;%1&quot; in the register%2</source>
        <translation>luvir-cli: в журнале нет конструкции «%1»%2</translation>
    </message>
    <message>
        <source> (give --object to make it)</source>
        <translation> (укажите --object, чтобы создать её)</translation>
    </message>
    <message>
        <source>luvir-cli: no structure &quot;%1&quot; of the object &quot;%2&quot; in the register</source>
        <translation>luvir-cli: в журнале нет конструкции «%1» объекта «%2»</translation>
    </message>
    <message>
        <source>luvir-cli: several objects are called &quot;%1&quot;</source>
        <translation>luvir-cli: несколько объектов называются «%1»</translation>
    </message>
    <message>
        <source>luvir-cli: the structure holds %1 measurements; an archive file holds at most %2</source>
        <translation>luvir-cli: в конструкции %1 измерений; архивный файл вмещает не более %2</translation>
    </message>
    <message>
        <source>Usage: luvir-cli COMMAND [OPTIONS] ARGUMENTS

Archives of the ЛЮВИР-2.07 meter without the window.

Commands:
  info FILE.db                check an archive file; print its version and cell count
  table [--values] FILE.db    print the measurement table, fields separated by tabs
  export FILE.db OUT          write the report as OUT ({.formats})
  export --format FORMAT --out-dir DIR FILE.db...
                              write one report per archive into DIR
  download [--no-register] OUT.db
                              read the meter&apos;s whole archive into OUT.db (and the register)
  stats [--by-kind] [--rows FROM-TO] FILE.db
                              print Rm, Sm and Vm of the measurements
  register [--register FILE] add|list|assign|unassign|stats|export|protocol ...
                              the register of measurements (objects, structures, sites)
                              and the test protocol of its structures
  help [COMMAND]              show this help or a command&apos;s

Options:
  --help      show the help (after a command: that command&apos;s)
  --version   print the version

Exit status: 0 done, 1 a file was refused or the meter failed, 2 wrong usage.
</source>
        <translation>Использование: luvir-cli КОМАНДА [ПАРАМЕТРЫ] АРГУМЕНТЫ

Архивы прибора ЛЮВИР-2.07 без окна программы.

Команды:
  info FILE.db                проверить файл архива; напечатать его версию и число ячеек
  table [--values] FILE.db    напечатать таблицу измерений, поля через табуляцию
  export FILE.db OUT          записать отчёт в OUT ({.formats})
  export --format FORMAT --out-dir DIR FILE.db...
                              записать по отчёту на каждый архив в папку DIR
  download [--no-register] OUT.db
                              считать весь архив прибора в OUT.db (и в журнал)
  stats [--by-kind] [--rows FROM-TO] FILE.db
                              напечатать Rm, Sm и Vm измерений
  register [--register FILE] add|list|assign|unassign|stats|export|protocol ...
                              журнал испытаний (объекты, конструкции, участки)
                              и протокол испытаний его конструкций
  help [COMMAND]              показать эту справку или справку о команде

Параметры:
  --help      показать справку (после команды: справку о ней)
  --version   напечатать версию

Код завершения: 0 — готово, 1 — файл отвергнут или прибор дал сбой, 2 — неверный вызов.
</translation>
    </message>
    <message>
        <source>register protocol needs --structure NAME</source>
        <translation>register protocol требует --structure ИМЯ</translation>
    </message>
    <message>
        <source>register protocol takes --structure and --object, not --unassigned, --from or --to</source>
        <translation>register protocol принимает --structure и --object, но не --unassigned, --from или --to</translation>
    </message>
    <message>
        <source>register protocol needs --out FILE.pdf or FILE.odt</source>
        <translation>register protocol требует --out FILE.pdf или FILE.odt</translation>
    </message>
    <message>
        <source>--out must end in .pdf or .odt</source>
        <translation>--out должен оканчиваться на .pdf или .odt</translation>
    </message>
        <message>
        <source>%1 is for register protocol</source>
        <translation>%1 — параметр register protocol</translation>
    </message>
    <message>
        <source>--structure is given more than once; only register protocol takes several</source>
        <translation>--structure указан несколько раз; несколько принимает только register protocol</translation>
    </message>
    <message>
        <source>&quot;%1&quot;</source>
        <translation>«%1»</translation>
    </message>
    <message>
        <source>luvir-cli: several structures are called &quot;%1&quot; (objects %2); name the object with --object</source>
        <translation>luvir-cli: несколько конструкций называются «%1» (объекты %2); укажите объект в --object</translation>
    </message>
    <message>
        <source>Protocol saved: %1</source>
        <translation>Протокол сохранён: %1</translation>
    </message>
    <message>
        <source>luvir-cli: the protocol&apos;s fields were not kept in the register: %1</source>
        <translation>luvir-cli: поля протокола не сохранены в журнале: %1</translation>
    </message>
    <message>
        <source>luvir-cli: the structures belong to different objects (%1); a protocol is made for one object</source>
        <translation>luvir-cli: конструкции относятся к разным объектам (%1); протокол составляется для одного объекта</translation>
    </message>
    <message>
        <source>luvir-cli: cannot read &quot;%1&quot;: %2</source>
        <translation>luvir-cli: не удалось прочитать &quot;%1&quot;: %2</translation>
    </message>
        <message>
        <source>missing COMMAND (add, list, assign, unassign, stats, export, protocol or backup)</source>
        <translation>не хватает КОМАНДЫ (add, list, assign, unassign, stats, export, protocol или backup)</translation>
    </message>
    <message>
        <source>register backup takes only OUT.sqlite</source>
        <translation>register backup принимает только OUT.sqlite</translation>
    </message>
    <message>
        <source>missing OUT.sqlite</source>
        <translation>не хватает OUT.sqlite</translation>
    </message>
    <message>
        <source>Usage: luvir-cli register [--register FILE] COMMAND [OPTIONS] [ARGUMENTS]

The register of measurements (&quot;Журнал испытаний&quot;): every measurement ever downloaded
or added, kept once, with the object, structure and site it was taken on. FILE is the
register to use; without it, the one the program used last (at first register.sqlite
in ~/.local/share/luvir/). A register made by a newer program, a damaged one and a
file that is not a register are refused with a message and left as they are.
FILE may also be a register on a PostgreSQL server, given as a libpq connection URI:
postgresql://USER@HOST:PORT/DATABASE, ?sslmode=require and the like after it. The
password is taken where libpq looks for it (PGPASSWORD, ~/.pgpass, a client
certificate) and never remembered.

Commands:
  add FILE.db...      add archive files: every measurement once, every file remembered
                      as a source; prints &quot;Журнал: добавлено N, уже были M&quot; (and
                      &quot;, удалены ранее K&quot;); refused files go to standard error, exit 1
  list [SELECTION]    the measurements in time order, tab-separated, after a line of
                      the eleven column names: id, №, Дата и время, Вид изделия,
                      Направление, Зависимость, Kc, Прочность, МПа, Участок,
                      Конструкция, Объект; № counts the listed lines from 1
  assign --structure NAME [--object NAME] [--site LABEL] ID...
                      put measurements in a structure, with a site label; a structure
                      (and object) not yet in the register is made when --object is given
  unassign ID...      take measurements out of their structure
  stats [--by-kind] [SELECTION]
                      the statistics of the selected measurements, as &quot;luvir-cli stats&quot;
  export --structure NAME [--object NAME] OUT.db
                      a structure&apos;s measurements (at most 999) as an archive file
  protocol --structure NAME [--structure NAME]... [--object NAME] [--values]
           [--fields FILE] [--date DATE] --out OUT.pdf|OUT.odt
                      the test protocol (&quot;Протокол испытаний&quot;) of the structures, all
                      of one object: each site&apos;s row and each structure&apos;s figures (with
                      --values also each site&apos;s intermediate values), as PDF or as an
                      ODT document to finish in a word processor, by the suffix of OUT;
                      prints &quot;Protocol saved: FULL PATH&quot;
  backup OUT.sqlite   a copy of the whole register as of one moment, made while others
                      may write; it opens as a register. Copying the file itself misses
                      the latest changes. A register on a server is copied with pg_dump.
                      Prints &quot;Register copy saved: FULL PATH&quot;

The protocol&apos;s header fields are those kept in the register from the last protocol:
its number counted up, the laboratory, the executor and the normative documents for
every protocol, the customer and address per object, the verification per meter. It
is dated today, or DATE. --fields FILE sets fields from &quot;key=value&quot; lines (UTF-8; in a
value \n is a line break and \\ a backslash; empty lines and lines starting with
# are skipped); --date wins over a date in FILE. The keys (standards separated by ;):
{keys}
Once the protocol is written its fields are kept for the next one, so the number
counts up; a protocol that could not be written keeps nothing. A structure without
measurements gets an empty table. The program computes no strength class and no
verdict: the conclusion is the engineer&apos;s own text.

SELECTION (without it: every measurement):
  --structure NAME [--object NAME]   the measurements of one structure
  --unassigned                       the measurements of no structure
  --from DATE  --to DATE             taken on or after, on or before DATE
                                     (2026-12-10 or 10.12.2026)

Exit status: 0 done, 1 a file or the register refused or failed (nothing changed;
for protocol also: written, but its fields not kept), 2 wrong usage.
</source>
        <translation>Использование: luvir-cli register [--register ФАЙЛ] КОМАНДА [ПАРАМЕТРЫ] [АРГУМЕНТЫ]

Журнал испытаний: каждое когда-либо скачанное или добавленное измерение, хранимое
один раз, с объектом, конструкцией и участком, на которых оно выполнено. ФАЙЛ — журнал,
с которым работать; без него — последний открытый в программе (сначала register.sqlite
в ~/.local/share/luvir/). Журнал более новой версии программы, повреждённый журнал и
файл, который не является журналом, отклоняются с сообщением и остаются как были.
ФАЙЛ может быть и журналом на сервере PostgreSQL, заданным строкой подключения libpq:
postgresql://ПОЛЬЗОВАТЕЛЬ@СЕРВЕР:ПОРТ/БАЗА, после неё ?sslmode=require и подобное.
Пароль берётся там, где его ищет libpq (PGPASSWORD, ~/.pgpass, сертификат клиента),
и никогда не запоминается.

Команды:
  add FILE.db...      добавить архивные файлы: каждое измерение один раз, каждый файл
                      запоминается как источник; печатает «Журнал: добавлено N, уже были M»
                      (и «, удалены ранее K»); отклонённые файлы — в стандартный поток
                      ошибок, код завершения 1
  list [ВЫБОРКА]      измерения в порядке времени через табуляцию, после строки
                      из одиннадцати названий столбцов: id, №, Дата и время, Вид изделия,
                      Направление, Зависимость, Kc, Прочность, МПа, Участок,
                      Конструкция, Объект; № считает выведенные строки от 1
  assign --structure ИМЯ [--object ИМЯ] [--site УЧАСТОК] ID...
                      отнести измерения к конструкции, с меткой участка; конструкция
                      (и объект), которой ещё нет в журнале, создаётся, если дан --object
  unassign ID...      убрать измерения из их конструкции
  stats [--by-kind] [ВЫБОРКА]
                      статистика выбранных измерений, как у «luvir-cli stats»
  export --structure ИМЯ [--object ИМЯ] OUT.db
                      измерения конструкции (не более 999) как архивный файл
  protocol --structure ИМЯ [--structure ИМЯ]... [--object ИМЯ] [--values]
           [--fields ФАЙЛ] [--date ДАТА] --out OUT.pdf|OUT.odt
                      протокол испытаний конструкций одного объекта: строка каждого
                      участка и показатели каждой конструкции (с --values — и единичные
                      значения каждого участка), в PDF или в документе ODT для доработки
                      в текстовом редакторе, по расширению OUT; печатает
                      «Протокол сохранён: ПОЛНЫЙ ПУТЬ»
  backup OUT.sqlite   копия всего журнала на один момент, снятая, даже когда в него
                      пишут другие; открывается как журнал. Копия самого файла теряет
                      последние изменения. Журнал на сервере копируется программой pg_dump.
                      Печатает «Копия журнала сохранена: ПОЛНЫЙ ПУТЬ»

Поля заголовка протокола — сохранённые в журнале с прошлого протокола: его номер,
увеличенный на единицу, лаборатория, исполнитель и нормативные документы — для всех
протоколов, заказчик и адрес — для объекта, поверка — для прибора. Дата — сегодняшняя
или ДАТА. --fields ФАЙЛ задаёт поля строками «ключ=значение» (UTF-8; в значении \n —
перенос строки, \\ — обратная косая черта; пустые строки и строки, начинающиеся с #,
пропускаются); --date важнее даты из ФАЙЛА. Ключи (standards — через ;):
{keys}
Когда протокол записан, его поля сохраняются для следующего, так что номер растёт;
протокол, который не удалось записать, ничего не сохраняет. Конструкция без измерений
получает пустую таблицу. Программа не вычисляет класс прочности и не делает выводов:
заключение — собственный текст инженера.

ВЫБОРКА (без неё — все измерения):
  --structure ИМЯ [--object ИМЯ]     измерения одной конструкции
  --unassigned                       измерения, не отнесённые ни к одной конструкции
  --from ДАТА  --to ДАТА             выполненные не раньше, не позже ДАТЫ
                                     (2026-12-10 или 10.12.2026)

Код завершения: 0 — выполнено, 1 — файл или журнал отклонён либо ошибка (ничего
не изменено; у protocol также: записан, но его поля не сохранены), 2 — неверный вызов.
</translation>
    </message>
    <message>
        <source>Register copy saved: %1</source>
        <translation>Копия журнала сохранена: %1</translation>
    </message>
</context>
</TS>

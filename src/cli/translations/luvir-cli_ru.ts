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
        <source>register backup takes only OUT.sqlite</source>
        <translation>register backup принимает только OUT.sqlite</translation>
    </message>
    <message>
        <source>missing OUT.sqlite</source>
        <translation>не хватает OUT.sqlite</translation>
    </message>
    <message>
        <source>--out is given at most twice: once .pdf and once .odt</source>
        <translation>--out даётся не более двух раз: один раз .pdf и один раз .odt</translation>
    </message>
    <message>
        <source>register properties needs --object NAME (and --structure NAME for a structure)</source>
        <translation>register properties нужен --object ИМЯ (и --structure ИМЯ для конструкции)</translation>
    </message>
    <message>
        <source>register properties takes --structure and --object, not --unassigned, --from or --to</source>
        <translation>register properties принимает --structure и --object, а не --unassigned, --from или --to</translation>
    </message>
    <message>
        <source>--%1 is an object&apos;s: give --object without --structure</source>
        <translation>--%1 относится к объекту: укажите --object без --structure</translation>
    </message>
    <message>
        <source>--%1 is a structure&apos;s: give --structure NAME</source>
        <translation>--%1 относится к конструкции: укажите --structure ИМЯ</translation>
    </message>
    <message>
        <source>--concreted needs a date such as 2026-12-10 or 10.12.2026, or none, not &quot;%1&quot;</source>
        <translation>--concreted нужна дата вида 2026-12-10 или 10.12.2026 либо none, а не «%1»</translation>
    </message>
    <message>
        <source>--kind needs one of: %1; or none</source>
        <translation>--kind нужен один из видов: %1; или none</translation>
    </message>
    <message>
        <source>--%1 is for register properties</source>
        <translation>--%1 — параметр register properties</translation>
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
                      the statistics of the selected measurements, as &quot;luvir-cli stats&quot;;
                      of a structure given a calibration, one more line of its figures
                      by it (&quot;По градуировке&quot;), the calibration and its conditions
  export --structure NAME [--object NAME] OUT.db
                      a structure&apos;s measurements (at most 999) as an archive file
  protocol --structure NAME [--structure NAME]... [--object NAME] [--values]
           [--fields FILE] [--date DATE] [--number N] --out OUT [--out OUT]
                      the test protocol (&quot;Протокол испытаний&quot;) of the structures, all
                      of one object: each site&apos;s row and each structure&apos;s figures (with
                      --values also each site&apos;s intermediate values), as PDF or as an
                      ODT document to finish in a word processor, by the suffix of OUT
                      (.pdf or .odt; --out twice: both files of one protocol, one
                      number); prints &quot;Protocol saved: FULL PATH&quot; for each file
  properties --structure NAME --object NAME [--kind TEXT] [--class TEXT]
             [--concreted DATE|none] [--notes TEXT]
  properties --object NAME [--address TEXT] [--customer TEXT] [--notes TEXT]
                      what the protocol prints about a structure or an object: the
                      options set it (an empty TEXT clears a field; --kind is one of
                      the meter&apos;s element kinds, such as колонна, or none); a date of
                      concreting after the structure&apos;s first test is refused, exit 1,
                      nothing kept. Without options, printed as &quot;key: value&quot; lines
                      (a line break in a value as \n)
  calib export SET OUT.csv
                      the sites of the calibration set called SET as &quot;label;indirect;
                      direct&quot; lines, the file &quot;luvir-cli calib&quot; reads
  calib apply SET --structure NAME [--object NAME] --kind own|kc [--newest]
                      give the structure the set&apos;s own dependency (only an accepted
                      one) or its Kc (only an established one, never over sites of
                      different meter dependencies), computed now (--newest: on the
                      set&apos;s newest 20 sites) and kept with its figures; its statistics
                      and protocol then give the strength by it
  calib remove-from --structure NAME [--object NAME]
                      take the calibration off the structure
  backup OUT.sqlite   a copy of the whole register as of one moment, made while others
                      may write; it opens as a register. Copying the file itself misses
                      the latest changes. A register on a server is copied with pg_dump.
                      Prints &quot;Register copy saved: FULL PATH&quot;

The protocol&apos;s header fields are those kept in the register from the last protocol:
the next number of the series, the laboratory, the executor and the normative
documents for every protocol, the customer and address per object, the verification
per meter. It is dated today, or DATE. --fields FILE sets fields from &quot;key=value&quot;
lines (UTF-8; in a value \n is a line break and \\ a backslash; empty lines and
lines starting with # are skipped); --date and --number N win over FILE. The keys
(standards separated by ;):
{keys}
Each run that writes is one protocol: once a file is written its fields are kept for
the next one; a run that wrote nothing keeps nothing. The series goes on from its own
last number (&quot;17/26&quot; after &quot;16/26&quot;); a number of another form (&quot;1/26-К&quot;) is that
protocol&apos;s alone, and a number N/YY starts again at 1 in a new year (&quot;1/27&quot;). A
structure without measurements gets an empty table. The program computes no strength
class and no verdict: the conclusion is the engineer&apos;s own text.

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
                      статистика выбранных измерений, как у «luvir-cli stats»; для
                      конструкции с градуировкой — ещё строка показателей по ней
                      («По градуировке»), сама градуировка и условия её применения
  export --structure ИМЯ [--object ИМЯ] OUT.db
                      измерения конструкции (не более 999) как архивный файл
  protocol --structure ИМЯ [--structure ИМЯ]... [--object ИМЯ] [--values]
           [--fields ФАЙЛ] [--date ДАТА] [--number N] --out OUT [--out OUT]
                      протокол испытаний конструкций одного объекта: строка каждого
                      участка и показатели каждой конструкции (с --values — и единичные
                      значения каждого участка), в PDF или в документе ODT для доработки
                      в текстовом редакторе, по расширению OUT (.pdf или .odt; --out
                      дважды: оба файла одного протокола, один номер); печатает
                      «Протокол сохранён: ПОЛНЫЙ ПУТЬ» для каждого файла
  properties --structure ИМЯ --object ИМЯ [--kind ТЕКСТ] [--class ТЕКСТ]
             [--concreted ДАТА|none] [--notes ТЕКСТ]
  properties --object ИМЯ [--address ТЕКСТ] [--customer ТЕКСТ] [--notes ТЕКСТ]
                      то, что протокол печатает о конструкции или объекте: параметры
                      задают это (пустой ТЕКСТ очищает поле; --kind — один из видов
                      изделия прибора, например колонна, или none); дата бетонирования
                      позже первого испытания конструкции отклоняется, код 1, ничего не
                      сохраняется. Без параметров печатается строками «ключ: значение»
                      (перенос строки в значении — как \n)
  calib export НАБОР OUT.csv
                      участки градуировочного набора НАБОР строками «метка;косвенное;
                      прямое» — файл, который читает «luvir-cli calib»
  calib apply НАБОР --structure ИМЯ [--object ИМЯ] --kind own|kc [--newest]
                      дать конструкции собственную зависимость набора (только принятую)
                      или его Kc (только установленный и не по участкам разных
                      зависимостей прибора), вычисленные сейчас (--newest — по 20
                      новейшим участкам набора) и сохранённые со своими показателями;
                      статистика и протокол конструкции дают прочность по ним
  calib remove-from --structure ИМЯ [--object ИМЯ]
                      снять градуировку с конструкции
  backup OUT.sqlite   копия всего журнала на один момент, снятая, даже когда в него
                      пишут другие; открывается как журнал. Копия самого файла теряет
                      последние изменения. Журнал на сервере копируется программой pg_dump.
                      Печатает «Копия журнала сохранена: ПОЛНЫЙ ПУТЬ»

Поля заголовка протокола — сохранённые в журнале с прошлого протокола: следующий
номер серии, лаборатория, исполнитель и нормативные документы — для всех
протоколов, заказчик и адрес — для объекта, поверка — для прибора. Дата — сегодняшняя
или ДАТА. --fields ФАЙЛ задаёт поля строками «ключ=значение» (UTF-8; в значении \n —
перенос строки, \\ — обратная косая черта; пустые строки и строки, начинающиеся с #,
пропускаются); --date и --number N важнее ФАЙЛА. Ключи (standards — через ;):
{keys}
Каждый запуск, который что-то записал, — один протокол: когда файл записан, поля
сохраняются для следующего; запуск, не записавший ничего, ничего не сохраняет. Серия
продолжается от своего последнего номера («17/26» после «16/26»); номер другого вида
(«1/26-К») — номер только этого протокола, а номер вида N/ГГ в новом году снова
начинается с 1 («1/27»). Конструкция без измерений получает пустую таблицу. Программа
не вычисляет класс прочности и не делает выводов: заключение — собственный текст
инженера.

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
        <source>luvir-cli: no object &quot;%1&quot; in the register</source>
        <translation>luvir-cli: в журнале нет объекта «%1»</translation>
    </message>
    <message>
        <source>%1, line %2: %3</source>
        <translation>%1, строка %2: %3</translation>
    </message>
    <message>
        <source>calib needs fit or kc</source>
        <translation>calib требует fit или kc</translation>
    </message>
    <message>
        <source>unknown calib command &quot;%1&quot; (fit or kc)</source>
        <translation>неизвестная команда calib «%1» (fit или kc)</translation>
    </message>
    <message>
        <source>Usage: luvir-cli calib fit [--json] FILE.csv
       luvir-cli calib kc [--json] FILE.csv

Calibration against direct tests, from a file of sites: &apos;;&apos;-separated UTF-8 (a byte
order mark allowed), a header line, then one site a line, &quot;label;indirect;direct&quot;: the
meter&apos;s strength before its Kc (H) and the strength the direct method gave, in MPa,
with a decimal comma or point.

  fit   the laboratory&apos;s own dependency R = a*H + b by least squares; every site whose
        deviation from the line exceeds 2*S is culled at once and the line fitted again,
        until none is. Accepted when S is at most 15 % of the mean direct strength,
        r is at least 0.7 and at least 12 sites are kept.
  kc    the coincidence coefficient Kc: the mean of the ratios R / H within 0.7-1.3;
        a ratio more than 15 % from Kc stops counting and Kc is taken again, until none
        leaves. Given when at least 3 ratios count.

The figures are printed as the program shows them, with the decimal separator of the
regional settings. With --json: one JSON object, numbers in full precision. For fit
&quot;a&quot;, &quot;b&quot;, &quot;S&quot;, &quot;r&quot;, &quot;n&quot; (sites kept), &quot;culled&quot; (their labels), &quot;hmin&quot;, &quot;hmax&quot;,
&quot;accepted&quot; and &quot;reasons&quot; (&quot;S/R&gt;15%&quot;, &quot;r&lt;0.7&quot;, &quot;n&lt;12&quot;; empty when accepted); for kc
&quot;kc&quot; (null when none is given), &quot;established&quot; and &quot;sites&quot; (&quot;site&quot;, &quot;ratio&quot;,
&quot;counted&quot;).

Exit status: 0 the figures were computed (accepted or not), 1 the file was refused (the
line at fault named), 2 wrong usage.

  --json   one JSON object instead of the text
</source>
        <translation>Использование: luvir-cli calib fit [--json] FILE.csv
       luvir-cli calib kc [--json] FILE.csv

Градуировка по прямым испытаниям из файла участков: UTF-8 с полями через «;» (метка
порядка байтов допускается), строка заголовка, затем по участку в строке,
«метка;косвенное;прямое»: прочность по прибору до его Kc (H) и прочность, полученная
прямым методом, в МПа, с десятичной запятой или точкой.

  fit   собственная градуировочная зависимость R = a*H + b по методу наименьших
        квадратов; все участки, отклонение которых от линии больше 2*S, отбраковываются
        разом, и линия строится заново, пока отбраковывать нечего. Принимается, если S
        не больше 15 % средней прочности по прямому методу, r не меньше 0,7 и осталось
        не менее 12 участков.
  kc    коэффициент совпадения Kc: среднее отношений R / H в пределах 0,7-1,3; отношение,
        отличающееся от Kc более чем на 15 %, перестаёт учитываться, и Kc вычисляется
        заново, пока ни одно не выбывает. Устанавливается, если учтено не менее 3 отношений.

Результаты печатаются так, как их показывает программа, с десятичным разделителем
региональных настроек. С --json: один объект JSON, числа с полной точностью. Для fit
«a», «b», «S», «r», «n» (оставшиеся участки), «culled» (их метки), «hmin», «hmax»,
«accepted» и «reasons» («S/R&gt;15%», «r&lt;0.7», «n&lt;12»; пуст, если принята); для kc
«kc» (null, если не установлен), «established» и «sites» («site», «ratio», «counted»).

Код завершения: 0 — результаты вычислены (принята зависимость или нет), 1 — файл
отвергнут (с номером ошибочной строки), 2 — неверный вызов.

  --json   один объект JSON вместо текста
</translation>
    </message>
    <message>
        <source>register calib export takes only SET and OUT.csv</source>
        <translation>register calib export принимает только НАБОР и OUT.csv</translation>
    </message>
    <message>
        <source>luvir-cli: no calibration set &quot;%1&quot; in the register</source>
        <translation>luvir-cli: в журнале нет градуировочного набора «%1»</translation>
    </message>
    <message>
        <source>luvir-cli: several calibration sets are called &quot;%1&quot;</source>
        <translation>luvir-cli: несколько градуировочных наборов называются «%1»</translation>
    </message>
    <message>
        <source>luvir-cli: site &quot;%1&quot; of the set cannot be used: %2</source>
        <translation>luvir-cli: участок «%1» набора нельзя использовать: %2</translation>
    </message>
    <message>
        <source>Calibration set saved: %1, sites: %2
</source>
        <translation>Градуировочный набор сохранён: %1, участков: %2
</translation>
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
  download [--no-register | --register FILE] OUT.db
                              read the meter&apos;s whole archive into OUT.db (and the register)
  stats [--by-kind] [--rows FROM-TO] FILE.db
                              print Rm, Sm and Vm of the measurements
  register [--register FILE] add|list|assign|unassign|stats|export|protocol|properties ...
                              the register of measurements (objects, structures, sites,
                              their properties) and the test protocol of its structures
  calib fit|kc [--json] FILE.csv
                              an own calibration dependency or Kc from direct tests
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
  download [--no-register | --register ФАЙЛ] OUT.db
                              считать весь архив прибора в OUT.db (и в журнал)
  stats [--by-kind] [--rows FROM-TO] FILE.db
                              напечатать Rm, Sm и Vm измерений
  register [--register FILE] add|list|assign|unassign|stats|export|protocol|properties ...
                              журнал испытаний (объекты, конструкции, участки, их
                              свойства) и протокол испытаний его конструкций
  calib fit|kc [--json] FILE.csv
                              собственная градуировочная зависимость или Kc по прямым испытаниям
  help [COMMAND]              показать эту справку или справку о команде

Параметры:
  --help      показать справку (после команды: справку о ней)
  --version   напечатать версию

Код завершения: 0 — готово, 1 — файл отвергнут или прибор дал сбой, 2 — неверный вызов.
</translation>
    </message>
    <message>
        <source>Register copy saved: %1</source>
        <translation>Копия журнала сохранена: %1</translation>
    </message>
    <message>
        <source>missing COMMAND (add, list, assign, unassign, stats, export, protocol, properties, calib or backup)</source>
        <translation>не хватает КОМАНДЫ (add, list, assign, unassign, stats, export, protocol, properties, calib или backup)</translation>
    </message>
    <message>
        <source>%1 is for register calib apply</source>
        <translation>%1 — для register calib apply</translation>
    </message>
    <message>
        <source>register calib takes no --unassigned, --from or --to</source>
        <translation>register calib не принимает --unassigned, --from и --to</translation>
    </message>
    <message>
        <source>unknown register calib command &quot;%1&quot; (export, apply or remove-from)</source>
        <translation>неизвестная команда register calib «%1» (export, apply или remove-from)</translation>
    </message>
    <message>
        <source>register calib %1 needs --structure NAME</source>
        <translation>register calib %1 требует --structure ИМЯ</translation>
    </message>
    <message>
        <source>register calib remove-from takes only --structure and --object</source>
        <translation>register calib remove-from принимает только --structure и --object</translation>
    </message>
    <message>
        <source>register calib apply needs --kind own or --kind kc</source>
        <translation>register calib apply требует --kind own или --kind kc</translation>
    </message>
</context>
</TS>

// Every help text of the tool, in English as the code's source texts (Russian in
// translations/luvir-cli_ru.ts): the tool's, each command's, the register's and calib's.
#include "CommandLine.h"

#include "CliText.h"
#include "ProtocolFields.h"

namespace luvir::cli {

namespace {

const CommandEntry kCommands[] = {
    {"info", Command::Info,
        QT_TRANSLATE_NOOP("LuvirCli",
            "Usage: luvir-cli info FILE.db\n"
            "\n"
            "Checks an archive file as File > Open does. Prints two lines, \"version M.m\" (the\n"
            "version in the file's header) and \"cells N\". A refused file: the program's message\n"
            "on standard error, exit status 1.\n")},
    {"table", Command::Table,
        QT_TRANSLATE_NOOP("LuvirCli",
            "Usage: luvir-cli table [--values] FILE.db\n"
            "\n"
            "Prints the measurement table as the main window shows it: the column titles, then one\n"
            "line per measurement, the seven texts separated by tabs (UTF-8). Numbers take the\n"
            "decimal separator of the regional settings (LC_ALL, LC_NUMERIC, LANG).\n"
            "\n"
            "  --values   an eighth field: the intermediate values as the status bar shows them\n"
            "             (empty on the title line)\n")},
    {"export", Command::Export,
        QT_TRANSLATE_NOOP("LuvirCli",
            "Usage: luvir-cli export FILE.db OUT\n"
            "       luvir-cli export --format FORMAT --out-dir DIR FILE.db...\n"
            "\n"
            "Writes the measurement report of an archive, as the print preview exports it, dated\n"
            "now. OUT ends in {.formats}. The second form converts many archives in one\n"
            "call: DIR/NAME.FORMAT for each FILE NAME.db (DIR is created when missing). Refused\n"
            "files are skipped and listed at the end with their messages; exit status 1 if any.\n"
            "\n"
            "  --format FORMAT   {formats}\n"
            "  --out-dir DIR     the folder the reports go to\n")},
    {"download", Command::Download,
        QT_TRANSLATE_NOOP("LuvirCli",
            "Usage: luvir-cli download [--no-register | --register FILE] OUT.db\n"
            "\n"
            "Finds the meter, reads its whole archive as the download dialog does and saves it as\n"
            "OUT.db. Progress goes to standard error; on success the file's version and cell count\n"
            "are printed as by \"info\". On any failure the program's messages go to standard error,\n"
            "exit status 1, and OUT.db is neither created nor changed.\n"
            "\n"
            "A completed download also goes into the register of measurements (the one the program\n"
            "used last, or FILE), as in the program: the line \"Журнал: добавлено N, уже были M\"\n"
            "follows. A register that cannot be written costs the download nothing: the reason goes\n"
            "to standard error and the exit status stays 0.\n"
            "\n"
            "  --no-register     do not add the download to the register\n"
            "  --register FILE   add it to the register in FILE\n")},
    {"stats", Command::Stats,
        QT_TRANSLATE_NOOP("LuvirCli",
            "Usage: luvir-cli stats [--by-kind] [--rows FROM-TO] FILE.db\n"
            "\n"
            "Prints the statistics of the measurements as the window \"Статистика измерений\" shows\n"
            "them, tab-separated: the line \"группа n Rmin Rmax Rm Sm Vm\", then \"Все измерения\".\n"
            "Rm is the mean strength, Sm the sample standard deviation, Vm = Sm / Rm in per cent;\n"
            "a figure that is undefined (Sm of one measurement, Vm when Rm is 0) prints as \"—\".\n"
            "A group whose measurements mix dependencies or Kc values gets \"!\" after its name and\n"
            "one line on standard error saying what it mixes.\n"
            "\n"
            "  --by-kind        one more line per element kind, in order of first appearance\n"
            "  --rows FROM-TO   only the measurements numbered FROM to TO (1 to the cell count)\n")},
    {"register", Command::Register, nullptr}, // its help is registerHelpText(), below
    {"calib", Command::Calib, nullptr}, // its help is calibHelpText(), below
    {"help", Command::Help,
        QT_TRANSLATE_NOOP("LuvirCli",
            "Usage: luvir-cli help [COMMAND]\n"
            "\n"
            "Shows the help of the tool or of one command (also: luvir-cli COMMAND --help).\n")},
};

// The help's lines are at most this wide; the keys of --fields stand indented so.
constexpr qsizetype kHelpWidth = 90;
const QString kKeysIndent = QStringLiteral("  ");

// A help text with its format lists filled in from the exporters.
QString withFormats(QString help)
{
    return help.replace(QStringLiteral("{.formats}"), formatChoices(QStringLiteral(".")))
        .replace(QStringLiteral("{formats}"), formatChoices());
}

} // namespace

const CommandEntry *findCommand(const QString &name)
{
    for (const CommandEntry &entry : kCommands)
        if (name == QLatin1String(entry.name))
            return &entry;
    return nullptr;
}

// The report formats for people: "pdf, xlsx or csv", or ".pdf, .xlsx or .csv".
QString formatChoices(const QString &prefix)
{
    QStringList names;
    for (const QString &format : reportFormats())
        names << prefix + format;
    const QString last = names.isEmpty() ? QString() : names.takeLast();
    return names.isEmpty() ? last : LuvirCli::tr("%1 or %2").arg(names.join(QStringLiteral(", ")), last);
}

QString helpText(const QString &topic)
{
    if (topic.isEmpty())
        return withFormats(LuvirCli::tr(
            "Usage: luvir-cli COMMAND [OPTIONS] ARGUMENTS\n"
            "\n"
            "Archives of the ЛЮВИР-2.07 meter without the window.\n"
            "\n"
            "Commands:\n"
            "  info FILE.db                check an archive file; print its version and cell count\n"
            "  table [--values] FILE.db    print the measurement table, fields separated by tabs\n"
            "  export FILE.db OUT          write the report as OUT ({.formats})\n"
            "  export --format FORMAT --out-dir DIR FILE.db...\n"
            "                              write one report per archive into DIR\n"
            "  download [--no-register | --register FILE] OUT.db\n"
            "                              read the meter's whole archive into OUT.db (and the register)\n"
            "  stats [--by-kind] [--rows FROM-TO] FILE.db\n"
            "                              print Rm, Sm and Vm of the measurements\n"
            "  register [--register FILE] add|list|assign|unassign|stats|export|protocol|properties ...\n"
            "                              the register of measurements (objects, structures, sites,\n"
            "                              their properties) and the test protocol of its structures\n"
            "  calib fit|kc [--json] FILE.csv\n"
            "                              an own calibration dependency or Kc from direct tests\n"
            "  help [COMMAND]              show this help or a command's\n"
            "\n"
            "Options:\n"
            "  --help      show the help (after a command: that command's)\n"
            "  --version   print the version\n"
            "\n"
            "Exit status: 0 done, 1 a file was refused or the meter failed, 2 wrong usage.\n"));
    const CommandEntry *entry = findCommand(topic);
    if (entry && entry->command == Command::Register)
        return registerHelpText();
    if (entry && entry->command == Command::Calib)
        return calibHelpText();
    return entry ? withFormats(LuvirCli::tr(entry->help)) : QString();
}

QString registerHelpText()
{
    // The keys of --fields FILE, wrapped under the help's indentation.
    QStringList lines {QString()};
    for (const QString &key : protocolFieldKeys()) {
        const QString item = key + (key == protocolFieldKeys().last() ? QString() : QStringLiteral(","));
        if (!lines.last().isEmpty()
            && lines.last().size() + 1 + item.size() > kHelpWidth - kKeysIndent.size())
            lines << QString();
        lines.last() += (lines.last().isEmpty() ? QString() : QStringLiteral(" ")) + item;
    }
    return LuvirCli::tr(
        "Usage: luvir-cli register [--register FILE] COMMAND [OPTIONS] [ARGUMENTS]\n"
        "\n"
        "The register of measurements (\"Журнал испытаний\"): every measurement ever downloaded\n"
        "or added, kept once, with the object, structure and site it was taken on. FILE is the\n"
        "register to use; without it, the one the program used last (at first register.sqlite\n"
        "in ~/.local/share/luvir/). A register made by a newer program, a damaged one and a\n"
        "file that is not a register are refused with a message and left as they are.\n"
        "FILE may also be a register on a PostgreSQL server, given as a libpq connection URI:\n"
        "postgresql://USER@HOST:PORT/DATABASE, ?sslmode=require and the like after it. The\n"
        "password is taken where libpq looks for it (PGPASSWORD, ~/.pgpass, a client\n"
        "certificate) and never remembered.\n"
        "\n"
        "Commands:\n"
        "  add FILE.db...      add archive files: every measurement once, every file remembered\n"
        "                      as a source; prints \"Журнал: добавлено N, уже были M\" (and\n"
        "                      \", удалены ранее K\"); refused files go to standard error, exit 1\n"
        "  list [SELECTION]    the measurements in time order, tab-separated, after a line of\n"
        "                      the eleven column names: id, №, Дата и время, Вид изделия,\n"
        "                      Направление, Зависимость, Kc, Прочность, МПа, Участок,\n"
        "                      Конструкция, Объект; № counts the listed lines from 1\n"
        "  assign --structure NAME [--object NAME] [--site LABEL] ID...\n"
        "                      put measurements in a structure, with a site label; a structure\n"
        "                      (and object) not yet in the register is made when --object is given\n"
        "  unassign ID...      take measurements out of their structure\n"
        "  stats [--by-kind] [SELECTION]\n"
        "                      the statistics of the selected measurements, as \"luvir-cli stats\";\n"
        "                      of a structure given a calibration, one more line of its figures\n"
        "                      by it (\"По градуировке\"), the calibration and its conditions\n"
        "  export --structure NAME [--object NAME] OUT.db\n"
        "                      a structure's measurements (at most 999) as an archive file\n"
        "  protocol --structure NAME [--structure NAME]... [--object NAME] [--values]\n"
        "           [--fields FILE] [--date DATE] [--number N] --out OUT [--out OUT]\n"
        "                      the test protocol (\"Протокол испытаний\") of the structures, all\n"
        "                      of one object: each site's row and each structure's figures (with\n"
        "                      --values also each site's intermediate values), as PDF or as an\n"
        "                      ODT document to finish in a word processor, by the suffix of OUT\n"
        "                      (.pdf or .odt; --out twice: both files of one protocol, one\n"
        "                      number); prints \"Protocol saved: FULL PATH\" for each file\n"
        "  properties --structure NAME --object NAME [--kind TEXT] [--class TEXT]\n"
        "             [--concreted DATE|none] [--notes TEXT]\n"
        "  properties --object NAME [--address TEXT] [--customer TEXT] [--notes TEXT]\n"
        "                      what the protocol prints about a structure or an object: the\n"
        "                      options set it (an empty TEXT clears a field; --kind is one of\n"
        "                      the meter's element kinds, such as колонна, or none); a date of\n"
        "                      concreting after the structure's first test is refused, exit 1,\n"
        "                      nothing kept. Without options, printed as \"key: value\" lines\n"
        "                      (a line break in a value as \\n)\n"
        "  calib export SET OUT.csv\n"
        "                      the sites of the calibration set called SET as \"label;indirect;\n"
        "                      direct\" lines, the file \"luvir-cli calib\" reads\n"
        "  calib apply SET --structure NAME [--object NAME] --kind own|kc [--newest]\n"
        "                      give the structure the set's own dependency (only an accepted\n"
        "                      one) or its Kc (only an established one, never over sites of\n"
        "                      different meter dependencies), computed now (--newest: on the\n"
        "                      set's newest 20 sites) and kept with its figures; its statistics\n"
        "                      and protocol then give the strength by it\n"
        "  calib remove-from --structure NAME [--object NAME]\n"
        "                      take the calibration off the structure\n"
        "  backup OUT.sqlite   a copy of the whole register as of one moment, made while others\n"
        "                      may write; it opens as a register. Copying the file itself misses\n"
        "                      the latest changes. A register on a server is copied with pg_dump.\n"
        "                      Prints \"Register copy saved: FULL PATH\"\n"
        "\n"
        "The protocol's header fields are those kept in the register from the last protocol:\n"
        "the next number of the series, the laboratory, the executor and the normative\n"
        "documents for every protocol, the customer and address per object, the verification\n"
        "per meter. It is dated today, or DATE. --fields FILE sets fields from \"key=value\"\n"
        "lines (UTF-8; in a value \\n is a line break and \\\\ a backslash; empty lines and\n"
        "lines starting with # are skipped); --date and --number N win over FILE. The keys\n"
        "(standards separated by ;):\n"
        "{keys}\n"
        "Each run that writes is one protocol: once a file is written its fields are kept for\n"
        "the next one; a run that wrote nothing keeps nothing. The series goes on from its own\n"
        "last number (\"17/26\" after \"16/26\"); a number of another form (\"1/26-К\") is that\n"
        "protocol's alone, and a number N/YY starts again at 1 in a new year (\"1/27\"). A\n"
        "structure without measurements gets an empty table. The program computes no strength\n"
        "class and no verdict: the conclusion is the engineer's own text.\n"
        "\n"
        "SELECTION (without it: every measurement):\n"
        "  --structure NAME [--object NAME]   the measurements of one structure\n"
        "  --unassigned                       the measurements of no structure\n"
        "  --from DATE  --to DATE             taken on or after, on or before DATE\n"
        "                                     (2026-12-10 or 10.12.2026)\n"
        "\n"
        "Exit status: 0 done, 1 a file or the register refused or failed (nothing changed;\n"
        "for protocol also: written, but its fields not kept), 2 wrong usage.\n")
        .replace(QStringLiteral("{keys}"), kKeysIndent + lines.join(u'\n' + kKeysIndent));
}

QString calibHelpText()
{
    return LuvirCli::tr(
        "Usage: luvir-cli calib fit [--json] FILE.csv\n"
        "       luvir-cli calib kc [--json] FILE.csv\n"
        "\n"
        "Calibration against direct tests, from a file of sites: ';'-separated UTF-8 (a byte\n"
        "order mark allowed), a header line, then one site a line, \"label;indirect;direct\": the\n"
        "meter's strength before its Kc (H) and the strength the direct method gave, in MPa,\n"
        "with a decimal comma or point.\n"
        "\n"
        "  fit   the laboratory's own dependency R = a*H + b by least squares; every site whose\n"
        "        deviation from the line exceeds 2*S is culled at once and the line fitted again,\n"
        "        until none is. Accepted when S is at most 15 % of the mean direct strength,\n"
        "        r is at least 0.7 and at least 12 sites are kept.\n"
        "  kc    the coincidence coefficient Kc: the mean of the ratios R / H within 0.7-1.3;\n"
        "        a ratio more than 15 % from Kc stops counting and Kc is taken again, until none\n"
        "        leaves. Given when at least 3 ratios count.\n"
        "\n"
        "The figures are printed as the program shows them, with the decimal separator of the\n"
        "regional settings. With --json: one JSON object, numbers in full precision. For fit\n"
        "\"a\", \"b\", \"S\", \"r\", \"n\" (sites kept), \"culled\" (their labels), \"hmin\", \"hmax\",\n"
        "\"accepted\" and \"reasons\" (\"S/R>15%\", \"r<0.7\", \"n<12\"; empty when accepted); for kc\n"
        "\"kc\" (null when none is given), \"established\" and \"sites\" (\"site\", \"ratio\",\n"
        "\"counted\").\n"
        "\n"
        "Exit status: 0 the figures were computed (accepted or not), 1 the file was refused (the\n"
        "line at fault named), 2 wrong usage.\n"
        "\n"
        "  --json   one JSON object instead of the text\n");
}

} // namespace luvir::cli

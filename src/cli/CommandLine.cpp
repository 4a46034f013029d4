#include "CommandLine.h"

#include "CliText.h"
#include "ReportExporter.h"

#include <QFileInfo>

namespace luvir::cli {

namespace {

const QString kToolName = QStringLiteral("luvir-cli");

struct CommandEntry {
    const char *name;
    Command command;
    const char *help; // in English; translated where it is shown
};

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
    {"register", Command::Register, nullptr}, // its help is registerHelpText()
    {"calib", Command::Calib, nullptr}, // its help is calibHelpText()
    {"help", Command::Help,
        QT_TRANSLATE_NOOP("LuvirCli",
            "Usage: luvir-cli help [COMMAND]\n"
            "\n"
            "Shows the help of the tool or of one command (also: luvir-cli COMMAND --help).\n")},
};

const CommandEntry *findCommand(const QString &name)
{
    for (const CommandEntry &entry : kCommands)
        if (name == QLatin1String(entry.name))
            return &entry;
    return nullptr;
}

// The report formats for people: "pdf, xlsx or csv", or ".pdf, .xlsx or .csv".
QString formatChoices(const QString &prefix = {})
{
    QStringList names;
    for (const QString &format : reportFormats())
        names << prefix + format;
    const QString last = names.isEmpty() ? QString() : names.takeLast();
    return names.isEmpty() ? last : LuvirCli::tr("%1 or %2").arg(names.join(QStringLiteral(", ")), last);
}

// A help text with its format lists filled in from the exporters.
QString withFormats(QString help)
{
    return help.replace(QStringLiteral("{.formats}"), formatChoices(QStringLiteral(".")))
        .replace(QStringLiteral("{formats}"), formatChoices());
}

Invocation usageError(const QString &reason, const QString &topic = {})
{
    Invocation invocation;
    invocation.error = usageMessage(reason, topic);
    return invocation;
}

// "FROM-TO", two whole numbers, FROM not above TO.
QString parseRows(const QString &value, Invocation &invocation)
{
    invocation.rowsGiven = true;
    const QStringList ends = value.split(u'-');
    bool fromOk = false;
    bool toOk = false;
    if (ends.size() == 2) {
        invocation.rowsFrom = ends.at(0).toInt(&fromOk);
        invocation.rowsTo = ends.at(1).toInt(&toOk);
    }
    if (!fromOk || !toOk)
        return LuvirCli::tr("--rows needs FROM-TO, two numbers such as 1-30");
    if (invocation.rowsFrom > invocation.rowsTo)
        return LuvirCli::tr("--rows %1 runs backwards").arg(value);
    return {};
}

QString checkCount(const QStringList &files, qsizetype wanted, const QString &what)
{
    if (files.size() < wanted)
        return LuvirCli::tr("missing %1").arg(what);
    if (files.size() > wanted)
        return LuvirCli::tr("unexpected argument \"%1\"").arg(files.at(wanted));
    return {};
}

QString checkExport(Invocation &invocation)
{
    const bool batch = !invocation.outDir.isEmpty() || !invocation.format.isEmpty();
    if (batch) {
        if (invocation.outDir.isEmpty())
            return LuvirCli::tr("--format needs --out-dir");
        if (invocation.format.isEmpty())
            return LuvirCli::tr("--out-dir needs --format");
        invocation.format = invocation.format.toLower();
        if (!reportFormats().contains(invocation.format))
            return LuvirCli::tr("unknown format \"%1\" (%2)").arg(invocation.format, formatChoices());
        if (invocation.files.isEmpty())
            return LuvirCli::tr("missing %1").arg(QStringLiteral("FILE.db"));
        return {};
    }
    if (const QString error = checkCount(invocation.files, 2, LuvirCli::tr("FILE.db and OUT"));
        !error.isEmpty())
        return error;
    invocation.format = QFileInfo(invocation.files.at(1)).suffix().toLower();
    if (!reportFormats().contains(invocation.format))
        return LuvirCli::tr("OUT must end in %1").arg(formatChoices(QStringLiteral(".")));
    return {};
}

} // namespace

// Splits "--name=value" into its two halves; a bare "--name" gives an empty value.
bool takeValue(const QString &arg, const QString &name, const QStringList &arguments, qsizetype &i,
    QString &value, QString &error)
{
    if (arg.startsWith(name + u'=')) {
        value = arg.mid(name.size() + 1);
    } else if (arg == name) {
        if (i + 1 >= arguments.size()) {
            error = LuvirCli::tr("%1 needs a value").arg(name);
            return true;
        }
        value = arguments.at(++i);
    } else {
        return false;
    }
    if (value.isEmpty())
        error = LuvirCli::tr("%1 needs a value").arg(name);
    return true;
}

QString usageMessage(const QString &reason, const QString &topic)
{
    return LuvirCli::tr("%1: %2 (see \"%1 help%3\")")
        .arg(kToolName, reason, topic.isEmpty() ? QString() : QStringLiteral(" ") + topic);
}

const QStringList &reportFormats()
{
    static const QStringList formats = [] {
        QStringList suffixes;
        for (const auto &exporter : createReportExporters())
            suffixes << exporter->defaultSuffix();
        return suffixes;
    }();
    return formats;
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

Invocation parseCommandLine(const QStringList &arguments)
{
    if (arguments.isEmpty())
        return usageError(LuvirCli::tr("no command given"));
    const QString first = arguments.first();
    if (first == QLatin1String("--help") || first == QLatin1String("-h"))
        return Invocation {};
    if (first == QLatin1String("--version")) {
        Invocation invocation;
        invocation.command = Command::Version;
        return invocation;
    }
    const CommandEntry *entry = findCommand(first);
    if (!entry)
        return usageError(first.startsWith(u'-') ? LuvirCli::tr("unknown option \"%1\"").arg(first)
                                                 : LuvirCli::tr("unknown command \"%1\"").arg(first));

    Invocation invocation;
    invocation.command = entry->command;
    const QString topic = QString::fromUtf8(entry->name);
    QString registerAction; // register (and calib): its COMMAND, null until given
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &arg = arguments.at(i);
        if (optionsEnded || !arg.startsWith(u'-') || arg == QLatin1String("-")) {
            if ((entry->command == Command::Register || entry->command == Command::Calib)
                && registerAction.isNull())
                registerAction = arg;
            else
                invocation.files << arg;
            continue;
        }
        if (arg == QLatin1String("--")) {
            optionsEnded = true;
        } else if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            Invocation help;
            help.helpTopic = entry->command == Command::Help ? QString() : topic;
            return help;
        } else if (QString error; (entry->command == Command::Register || entry->command == Command::Download)
                   && takeRegisterOption(arg, arguments, i, invocation, error)) {
            if (!error.isEmpty())
                return usageError(error, topic);
        } else if ((entry->command == Command::Table || entry->command == Command::Register)
                   && arg == QLatin1String("--values")) {
            invocation.values = true;
        } else if (entry->command == Command::Calib && arg == QLatin1String("--json")) {
            invocation.json = true;
        } else if ((entry->command == Command::Stats || entry->command == Command::Register)
                   && arg == QLatin1String("--by-kind")) {
            invocation.byKind = true;
        } else if (QString rows, error; entry->command == Command::Stats
                   && takeValue(arg, QStringLiteral("--rows"), arguments, i, rows, error)) {
            if (error.isEmpty())
                error = parseRows(rows, invocation);
            if (!error.isEmpty())
                return usageError(error, topic);
        } else if (QString error; entry->command == Command::Export
                   && (takeValue(arg, QStringLiteral("--out-dir"), arguments, i, invocation.outDir, error)
                       || takeValue(
                           arg, QStringLiteral("--format"), arguments, i, invocation.format, error))) {
            if (!error.isEmpty())
                return usageError(error, topic);
        } else {
            return usageError(LuvirCli::tr("unknown option \"%1\" for %2").arg(arg, topic), topic);
        }
    }

    QString error;
    switch (invocation.command) {
    case Command::Info:
    case Command::Table:
    case Command::Stats:
        error = checkCount(invocation.files, 1, QStringLiteral("FILE.db"));
        break;
    case Command::Download:
        error = checkCount(invocation.files, 1, QStringLiteral("OUT.db"));
        if (error.isEmpty())
            error = checkDownloadRegister(invocation);
        break;
    case Command::Register:
        error = checkRegister(invocation, registerAction);
        break;
    case Command::Export:
        error = checkExport(invocation);
        break;
    case Command::Calib:
        error = checkCalib(invocation, registerAction);
        break;
    case Command::Help:
        if (invocation.files.size() > 1)
            error = LuvirCli::tr("unexpected argument \"%1\"").arg(invocation.files.at(1));
        else if (!invocation.files.isEmpty() && !findCommand(invocation.files.first()))
            error = LuvirCli::tr("no command \"%1\"").arg(invocation.files.first());
        else
            invocation.helpTopic = invocation.files.value(0);
        invocation.files.clear();
        break;
    case Command::Version:
        break;
    }
    return error.isEmpty() ? invocation : usageError(error, topic);
}

} // namespace luvir::cli

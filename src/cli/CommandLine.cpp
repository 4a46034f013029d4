// The one parser of the tool's arguments: every option of every command (and of the
// register's commands) in one table, read by one loop; then each command's own checks
// (CommandChecks.cpp). The commands and their help are in CliHelp.cpp.
#include "CommandLine.h"

#include "CliText.h"
#include "ReportExporter.h"

#include <initializer_list>

namespace luvir::cli {

namespace {

const QString kToolName = QStringLiteral("luvir-cli");

// A set of commands (or of the register's commands) as bits.
template <typename E> constexpr unsigned bits(std::initializer_list<E> members)
{
    unsigned set = 0;
    for (const E member : members)
        set |= 1u << static_cast<unsigned>(member);
    return set;
}

template <typename E> constexpr bool has(unsigned set, E member)
{
    return (set & (1u << static_cast<unsigned>(member))) != 0;
}

using C = Command;
using R = RegisterAction;

// Puts an option's value (empty for one without) into the invocation; the reason when it
// is wrong.
using Store = QString (*)(Invocation &invocation, const QString &name, const QString &value);
// The refusal of an option given to a register command that does not take it.
using Misplaced = QString (*)(const QString &name);

struct OptionEntry {
    const char *name;
    bool takesValue;
    unsigned commands; // the commands that take it (bits of Command)
    unsigned registerActions; // register: its commands that take it (bits of RegisterAction)
    Misplaced misplaced; // register: its refusal elsewhere; null: each command's own check says
    Store store;
    bool emptyClears = false; // a value given empty is taken (it clears a field)
};

QString forDownload(const QString &)
{
    return LuvirCli::tr("--no-register is for download");
}
QString forStats(const QString &)
{
    return LuvirCli::tr("--by-kind is for register stats");
}
QString forAssign(const QString &)
{
    return LuvirCli::tr("--site is for register assign");
}
QString forProtocol(const QString &name)
{
    return LuvirCli::tr("%1 is for register protocol").arg(name);
}
QString forCalib(const QString &name)
{
    return LuvirCli::tr("%1 is for register calib apply").arg(name);
}
QString forProperties(const QString &name)
{
    return LuvirCli::tr("--%1 is for register properties").arg(name.mid(2));
}

QString storeDate(QDate &date, const QString &name, const QString &value)
{
    date = parseDate(value);
    return date.isValid()
        ? QString()
        : LuvirCli::tr("%1 needs a date such as 2026-12-10 or 10.12.2026, not \"%2\"").arg(name, value);
}

// "FROM-TO", two whole numbers, FROM not above TO.
QString storeRows(Invocation &invocation, const QString &, const QString &value)
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

QString storeProperty(Invocation &invocation, const QString &name, const QString &value)
{
    invocation.properties.insert(name.mid(2), value);
    return {};
}

constexpr unsigned kRegisterOnly = bits({C::Download, C::Register}); // download takes them to refuse them
constexpr unsigned kSelecting = bits({R::List, R::Stats});
constexpr unsigned kNamingStructure
    = bits({R::List, R::Stats, R::Assign, R::Export, R::Protocol, R::Properties, R::Calib});
constexpr unsigned kAllActions = bits({R::Add, R::List, R::Assign, R::Unassign, R::Stats, R::Export,
    R::Protocol, R::Properties, R::Calib, R::Backup});
constexpr unsigned kProtocol = bits({R::Protocol});
constexpr unsigned kProperties = bits({R::Properties});

// Every option. Those a register command may refuse by the table come in the order the
// refusal looks for them: the first one given is named.
const OptionEntry kOptions[] = {
    {"--no-register", false, kRegisterOnly, 0, forDownload,
        [](Invocation &i, const QString &, const QString &) { return i.noRegister = true, QString(); }},
    {"--by-kind", false, bits({C::Stats, C::Register}), bits({R::Stats}), forStats,
        [](Invocation &i, const QString &, const QString &) { return i.byKind = true, QString(); }},
    {"--site", true, kRegisterOnly, bits({R::Assign}), forAssign,
        [](Invocation &i, const QString &, const QString &v) { return i.site = v, i.siteGiven = true, QString(); }},
    {"--values", false, bits({C::Table, C::Register}), kProtocol, forProtocol,
        [](Invocation &i, const QString &, const QString &) { return i.values = true, QString(); }},
    {"--fields", true, kRegisterOnly, kProtocol, forProtocol,
        [](Invocation &i, const QString &, const QString &v) { return i.fieldsFile = v, QString(); }},
    {"--date", true, kRegisterOnly, kProtocol, forProtocol,
        [](Invocation &i, const QString &n, const QString &v) { return storeDate(i.protocolDate, n, v); }},
    {"--out", true, kRegisterOnly, kProtocol, forProtocol,
        [](Invocation &i, const QString &, const QString &v) { return i.outs << v, QString(); }},
    {"--number", true, kRegisterOnly, kProtocol, forProtocol,
        [](Invocation &i, const QString &, const QString &v) { return i.number = v, QString(); }},
    {"--address", true, kRegisterOnly, kProperties, forProperties, storeProperty, true},
    {"--class", true, kRegisterOnly, kProperties, forProperties, storeProperty, true},
    {"--concreted", true, kRegisterOnly, kProperties, forProperties, storeProperty, true},
    {"--customer", true, kRegisterOnly, kProperties, forProperties, storeProperty, true},
    // register properties: the element kind; register calib apply: own or kc.
    {"--kind", true, kRegisterOnly, kProperties | bits({R::Calib}), forProperties, storeProperty, true},
    {"--notes", true, kRegisterOnly, kProperties, forProperties, storeProperty, true},
    {"--newest", false, kRegisterOnly, bits({R::Calib}), forCalib,
        [](Invocation &i, const QString &, const QString &) { return i.newest = true, QString(); }},
    {"--register", true, kRegisterOnly, kAllActions, nullptr,
        [](Invocation &i, const QString &, const QString &v) { return i.registerFile = v, QString(); }},
    {"--structure", true, kRegisterOnly, kNamingStructure, nullptr,
        [](Invocation &i, const QString &, const QString &v) {
            i.structure = v;
            i.structures << v;
            return QString();
        }},
    {"--object", true, kRegisterOnly, kNamingStructure, nullptr,
        [](Invocation &i, const QString &, const QString &v) { return i.object = v, QString(); }},
    {"--unassigned", false, kRegisterOnly, kSelecting, nullptr,
        [](Invocation &i, const QString &, const QString &) { return i.unassigned = true, QString(); }},
    {"--from", true, kRegisterOnly, kSelecting, nullptr,
        [](Invocation &i, const QString &n, const QString &v) { return storeDate(i.from, n, v); }},
    {"--to", true, kRegisterOnly, kSelecting, nullptr,
        [](Invocation &i, const QString &n, const QString &v) { return storeDate(i.to, n, v); }},
    {"--rows", true, bits({C::Stats}), 0, nullptr, storeRows},
    {"--out-dir", true, bits({C::Export}), 0, nullptr,
        [](Invocation &i, const QString &, const QString &v) { return i.outDir = v, QString(); }},
    {"--format", true, bits({C::Export}), 0, nullptr,
        [](Invocation &i, const QString &, const QString &v) { return i.format = v, QString(); }},
    {"--json", false, bits({C::Calib}), 0, nullptr,
        [](Invocation &i, const QString &, const QString &) { return i.json = true, QString(); }},
};

// The option `arg` names: "--name", or "--name=value" for one that takes a value.
const OptionEntry *findOption(const QString &arg)
{
    for (const OptionEntry &option : kOptions) {
        const QLatin1String name(option.name);
        if (arg == name || (option.takesValue && arg.startsWith(name) && arg.mid(name.size()).startsWith(u'=')))
            return &option;
    }
    return nullptr;
}

// Takes option `arg` (and its value, the next argument when not after "=") into
// `invocation`; the reason when it is wrong.
QString takeOption(const OptionEntry &option, const QString &arg, const QStringList &arguments, qsizetype &i,
    Invocation &invocation)
{
    const QString name = QString::fromLatin1(option.name);
    QString value;
    if (option.takesValue) {
        if (arg.size() > name.size()) {
            value = arg.mid(name.size() + 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments.at(++i);
        } else {
            return LuvirCli::tr("%1 needs a value").arg(name);
        }
        if (value.isEmpty() && !option.emptyClears)
            return LuvirCli::tr("%1 needs a value").arg(name);
    }
    invocation.options << name;
    return option.store(invocation, name, value);
}

Invocation usageError(const QString &reason, const QString &topic = {})
{
    Invocation invocation;
    invocation.error = usageMessage(reason, topic);
    return invocation;
}

} // namespace

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

QDate parseDate(const QString &text)
{
    const QDate iso = QDate::fromString(text, Qt::ISODate);
    return iso.isValid() ? iso : QDate::fromString(text, QStringLiteral("dd.MM.yyyy"));
}

QString misplacedRegisterOption(const Invocation &invocation, RegisterAction action)
{
    for (const OptionEntry &option : kOptions)
        if (option.misplaced && !has(option.registerActions, action)
            && invocation.options.contains(QLatin1String(option.name)))
            return option.misplaced(QString::fromLatin1(option.name));
    return {};
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
    const bool hasSubcommand = entry->command == Command::Register || entry->command == Command::Calib;
    QString subcommand; // register and calib: its COMMAND, null until given
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &arg = arguments.at(i);
        if (optionsEnded || !arg.startsWith(u'-') || arg == QLatin1String("-")) {
            if (hasSubcommand && subcommand.isNull())
                subcommand = arg;
            else
                invocation.files << arg;
            continue;
        }
        if (arg == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            Invocation help;
            help.helpTopic = entry->command == Command::Help ? QString() : topic;
            return help;
        }
        const OptionEntry *option = findOption(arg);
        if (!option || !has(option->commands, entry->command))
            return usageError(LuvirCli::tr("unknown option \"%1\" for %2").arg(arg, topic), topic);
        if (const QString error = takeOption(*option, arg, arguments, i, invocation); !error.isEmpty())
            return usageError(error, topic);
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
        error = checkRegister(invocation, subcommand);
        break;
    case Command::Export:
        error = checkExport(invocation);
        break;
    case Command::Calib:
        error = checkCalib(invocation, subcommand);
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

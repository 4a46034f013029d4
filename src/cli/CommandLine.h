#pragma once
// The tool's arguments: which command, its options and files, or why they make no sense.
// One parser for every command: one table of options (CommandLine.cpp), each command's
// checks (CommandChecks.cpp), the commands and their help (CliHelp.cpp).

#include <QDate>
#include <QMap>
#include <QString>
#include <QStringList>

namespace luvir::cli {

enum class Command { Info, Table, Export, Download, Stats, Register, Calib, Help, Version };

// What `calib` computes from a file of sites.
enum class CalibAction { Fit, Kc };

// What `register` does with the register of measurements.
enum class RegisterAction { Add, List, Assign, Unassign, Stats, Export, Protocol, Properties, Calib, Backup };

struct Invocation {
    Command command = Command::Help;
    QStringList files; // the command's file arguments, in order
    bool values = false; // table --values, register protocol --values
    QString outDir; // export --out-dir
    QString format; // export: "pdf", "xlsx" or "csv" (from --format or the output's suffix)
    bool byKind = false; // stats --by-kind
    bool rowsGiven = false; // stats --rows FROM-TO
    int rowsFrom = 0, rowsTo = 0;
    QString registerFile; // download, register: --register FILE (empty: the register last used)
    bool noRegister = false; // download --no-register
    RegisterAction registerAction = RegisterAction::List; // register COMMAND
    QString structure; // register: --structure NAME (the last one given)
    QStringList structures; // register: every --structure NAME, in order (protocol takes several)
    QString object; // register: --object NAME (null when not given)
    bool siteGiven = false; // register assign --site LABEL
    QString site;
    bool unassigned = false; // register: --unassigned
    QDate from, to; // register: --from DATE, --to DATE (null when not given)
    QString fieldsFile; // register protocol --fields FILE
    QDate protocolDate; // register protocol --date DATE (null when not given)
    QStringList outs; // register protocol: every --out FILE (two: a PDF and an ODT of one protocol)
    QStringList formats; // register protocol: "pdf" or "odt" for each of outs, by its suffix
    QString number; // register protocol --number N (null when not given)
    // register properties: the values given, by option without its dashes ("kind", "class",
    // "concreted", "notes", "address", "customer"); an empty value clears the field
    QMap<QString, QString> properties;
    CalibAction calibAction = CalibAction::Fit; // calib fit|kc
    bool json = false; // calib --json
    bool newest = false; // register calib apply --newest: on the set's newest 20 sites
    QStringList options; // every option given, by its name ("--structure"), in order
    QString helpTopic; // help: a command's name, or empty for the whole tool
    QString error; // a usage error in one line; the rest is then meaningless
};

// `arguments` without the program's name.
Invocation parseCommandLine(const QStringList &arguments);

// A usage error in the one-line form of every other: the reason, then where help is.
QString usageMessage(const QString &reason, const QString &topic);

// The help text of the whole tool (empty topic) or of one command; empty for no such command.
QString helpText(const QString &topic);

// The help text of the register command.
QString registerHelpText();
// The help text of the calib command.
QString calibHelpText();

// What the parser's parts share (CommandLine.cpp: the options and the parse; CliHelp.cpp:
// the commands and their help; CommandChecks.cpp: the checks of each command).
struct CommandEntry {
    const char *name;
    Command command;
    const char *help; // in English; translated where it is shown (null: a function of its own)
};
// The command called `name`, or null.
const CommandEntry *findCommand(const QString &name);
// The report formats for people: "pdf, xlsx or csv", or with prefix "." ".pdf, .xlsx or .csv".
QString formatChoices(const QString &prefix = {});
// "2026-12-10" or "10.12.2026"; invalid when neither.
QDate parseDate(const QString &text);
// The first option given that register `action` does not take and that the option table
// refuses for it (--no-register, --by-kind, --site, the protocol's and the properties'
// options); the refusal, or empty. The other options are each command's own check.
QString misplacedRegisterOption(const Invocation &invocation, RegisterAction action);
// Whether the arguments given fit calib `action` ("fit" or "kc"); sets
// invocation.calibAction; the reason when they do not fit.
QString checkCalib(Invocation &invocation, const QString &action);
// Whether the arguments of `register calib` fit (export SET OUT.csv, apply SET, remove-from);
// the reason when not.
QString checkRegisterCalib(const Invocation &invocation);
// Whether the register options given fit download; the reason when not.
QString checkDownloadRegister(const Invocation &invocation);
// Whether the register options and arguments given fit `action` ("add", "list", …); sets
// invocation.registerAction; the reason when they do not fit.
QString checkRegister(Invocation &invocation, const QString &action);
// The checks of the other commands: the count of file arguments, export's options.
QString checkCount(const QStringList &files, qsizetype wanted, const QString &what);
QString checkExport(Invocation &invocation);

// The report formats, as output suffixes: those of the report exporters, in their order.
const QStringList &reportFormats();

} // namespace luvir::cli

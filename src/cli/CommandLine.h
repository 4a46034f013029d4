#pragma once
// The tool's arguments: which command, its options and files, or why they make no sense.

#include <QString>
#include <QStringList>

namespace luvir::cli {

enum class Command { Info, Table, Export, Download, Stats, Help, Version };

struct Invocation {
    Command command = Command::Help;
    QStringList files; // the command's file arguments, in order
    bool values = false; // table --values
    QString outDir; // export --out-dir
    QString format; // export: "pdf", "xlsx" or "csv" (from --format or the output's suffix)
    bool byKind = false; // stats --by-kind
    bool rowsGiven = false; // stats --rows FROM-TO
    int rowsFrom = 0, rowsTo = 0;
    QString helpTopic; // help: a command's name, or empty for the whole tool
    QString error; // a usage error in one line; the rest is then meaningless
};

// `arguments` without the program's name.
Invocation parseCommandLine(const QStringList &arguments);

// A usage error in the one-line form of every other: the reason, then where help is.
QString usageMessage(const QString &reason, const QString &topic);

// The help text of the whole tool (empty topic) or of one command; empty for no such command.
QString helpText(const QString &topic);

// The report formats, as output suffixes: those of the report exporters, in their order.
const QStringList &reportFormats();

} // namespace luvir::cli

#pragma once
// The tool's commands. Each returns the exit status: 0 done, 1 refused or failed.

#include "CliContext.h"
#include "CommandLine.h"

#include "ArchiveFile.h"

#include <memory>

namespace luvir {
struct Measurement;
}

namespace luvir::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// Runs the whole tool on `arguments` (without the program's name).
int runCli(const QStringList &arguments, CliContext &context);

int runInfo(const Invocation &invocation, CliContext &context);
int runTable(const Invocation &invocation, CliContext &context);
int runExport(const Invocation &invocation, CliContext &context);
int runDownload(const Invocation &invocation, CliContext &context);
int runStats(const Invocation &invocation, CliContext &context);
int runRegister(const Invocation &invocation, CliContext &context);
int runCalib(const Invocation &invocation, CliContext &context);

// Reads and checks an archive file as File > Open does. Null, with the message the window
// shows (a refusal or the file error) in `error`, when the file is refused.
std::unique_ptr<ArchiveImage> readArchiveFile(const QString &fileName, QString &error);

// The same for a command's one file: a refusal goes to standard error, as the command's
// whole answer (it then exits with kExitFailed).
std::unique_ptr<ArchiveImage> readArchiveFileOrTell(const QString &fileName, CliContext &context);

// The statistics lines of `rows` on standard output ("Все измерения", and with `byKind`
// one line per element kind), and one line on standard error per group that mixes
// calibrations: what "stats" and "register stats" print.
void printSeriesStats(const QList<Measurement> &measurements, bool byKind, CliContext &context);

// The two lines "version M.m" and "cells N".
QString archiveSummary(ProtocolVersion version, int cells);

// The table as lines of tab-separated texts; with `values`, the row's intermediate-values
// line as an eighth field (empty on the title line).
QString tableText(const CellArchive &archive, const QString &separator, bool values);

// The report of one archive file into `output` in `format` ("pdf", "xlsx", "csv"), dated
// context.now(). False with the reason in `error` when the file is refused or the report
// cannot be written.
bool exportArchive(
    const QString &input, const QString &output, const QString &format, CliContext &context, QString &error);

} // namespace luvir::cli

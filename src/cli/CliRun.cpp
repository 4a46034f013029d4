#include "Commands.h"

namespace luvir::cli {

int runCli(const QStringList &arguments, CliContext &context)
{
    const Invocation invocation = parseCommandLine(arguments);
    if (!invocation.error.isEmpty()) {
        context.console.err(invocation.error + u'\n');
        return kExitUsage;
    }
    switch (invocation.command) {
    case Command::Info:
        return runInfo(invocation, context);
    case Command::Table:
        return runTable(invocation, context);
    case Command::Export:
        return runExport(invocation, context);
    case Command::Download:
        return runDownload(invocation, context);
    case Command::Stats:
        return runStats(invocation, context);
    case Command::Register:
        return runRegister(invocation, context);
    case Command::Calib:
        return runCalib(invocation, context);
    case Command::Help:
        context.console.out(helpText(invocation.helpTopic));
        return kExitOk;
    case Command::Version:
        context.console.out(QStringLiteral(LUVIR_VERSION "\n"));
        return kExitOk;
    }
    return kExitUsage;
}

} // namespace luvir::cli

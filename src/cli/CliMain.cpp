// luvir-cli: archives of the meter at the command line.
#include "CliText.h"
#include "Commands.h"

#include <QGuiApplication>

namespace {

// Standard error carries the tool's own messages; Qt's notes on its set-up (a missing
// runtime folder and the like) are no business of the user's. Only serious ones pass.
void keepSeriousMessages(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        qt_message_output(type, context, message);
}

} // namespace

int main(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    qInstallMessageHandler(keepSeriousMessages);
    // The report measures fonts, which needs a GUI application, but never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1; // Qt sees no arguments, so it takes none of ours for its own options
    QGuiApplication app(qtArgc, argv);
    // The tool speaks the language of the user's locale where it has a translation; the
    // application object has set the C library to that locale too, so the system's own
    // texts (a file's error reason) follow it.
    luvir::cli::installCliTranslations(app, QLocale::system());

    luvir::cli::StdConsole console;
    luvir::cli::CliContext context = luvir::cli::CliContext::fromSystem(console);
    return luvir::cli::runCli(arguments, context);
}

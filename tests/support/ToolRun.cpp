#include "ToolRun.h"

#include <QProcess>
#include <QProcessEnvironment>

namespace luvir::test {

bool localeInstalled(const QString &name)
{
    QProcess process;
    process.start(QStringLiteral("locale"), {QStringLiteral("-a")});
    process.waitForFinished(10000);
    const QString normalised = name.toLower().remove('-');
    return QString::fromLocal8Bit(process.readAllStandardOutput())
        .toLower()
        .remove('-')
        .split('\n')
        .contains(normalised);
}

ToolRun runTool(const QString &program, const QStringList &arguments, const QString &locale,
    const QString &workingFolder, int timeoutMs)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"LANGUAGE", "LC_NUMERIC", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("LC_ALL"), locale);
    environment.insert(QStringLiteral("LANG"), locale);

    QProcess process;
    process.setProcessEnvironment(environment);
    if (!workingFolder.isEmpty())
        process.setWorkingDirectory(workingFolder);
    process.start(program, arguments);

    ToolRun run;
    const QString command = program + ' ' + arguments.join(' ');
    if (!process.waitForFinished(timeoutMs)) {
        run.problem = command + ": did not finish: " + process.errorString();
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.finished = process.exitStatus() == QProcess::NormalExit;
    run.exitCode = run.finished ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    if (!run.ok())
        run.problem = command + ": " + QString::fromLocal8Bit(run.err);
    return run;
}

} // namespace luvir::test

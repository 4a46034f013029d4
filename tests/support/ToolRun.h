#pragma once
// Runs another program the way a user's shell would under a given locale: LC_ALL and LANG
// set to it, nothing else that picks a locale or a Qt platform left from the test's own
// environment. For the built luvir-cli and for the independent readers (Python, poppler,
// LibreOffice).
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace luvir::test {

struct ToolRun {
    bool finished = false; // ended by itself, within the time allowed, not by a signal
    int exitCode = -1; // -1 unless finished
    QByteArray out;
    QByteArray err;
    QString problem; // why it did not finish, or the command and its standard error

    bool ok() const { return finished && exitCode == 0; }
    QString outText() const { return QString::fromUtf8(out); }
    QString errText() const { return QString::fromUtf8(err); }
};

// Whether `locale -a` lists the locale ("ru_RU.UTF-8" matches "ru_RU.utf8").
bool localeInstalled(const QString &name);

ToolRun runTool(const QString &program, const QStringList &arguments, const QString &locale,
    const QString &workingFolder = {}, int timeoutMs = 300000);

} // namespace luvir::test

#pragma once
// What the command-line tests share: a console that keeps what was written, a context with
// a chosen separator and locale and a fixed moment, and a scratch folder.

#include "CliContext.h"
#include "Commands.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace luvir::cli::test {

class CapturedConsole final : public Console
{
public:
    void out(const QString &text) override { stdoutText += text; }
    void err(const QString &text) override { stderrText += text; }
    bool errIsTerminal() const override { return terminal; }

    QString stdoutText;
    QString stderrText;
    bool terminal = false;
};

// 10 December 2026, 14:05:09: the moment every report of these tests is made at.
inline const QDateTime kReportMoment(QDate(2026, 12, 10), QTime(14, 5, 9));
inline const QLocale kRussianLocale(QLocale::Russian, QLocale::Russia);

inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

class CliTest : public ::testing::Test
{
protected:
    // Runs the tool in-process on `arguments`; its output lands in `console`.
    int run(const QStringList &arguments)
    {
        console = CapturedConsole {};
        console.terminal = terminal;
        CliContext context {console, separator, locale, [] { return kReportMoment; }};
        return runCli(arguments, context);
    }
    QString path(const QString &name) const { return dir.filePath(name); }

    CapturedConsole console;
    bool terminal = false;
    QString separator = QStringLiteral(",");
    QLocale locale = kRussianLocale;
    QTemporaryDir dir;
};

} // namespace luvir::cli::test

#pragma once
// Output compared byte for byte with a reviewed file kept beside the sample it was made
// from (tests/data/NAME.*, tests/errors/NAME.*). With LUVIR_UPDATE_GOLDEN=1 the output
// is written in the file's place instead and the check fails; the diff is then the review.

#include "CliFixture.h"
#include "TestData.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QString>

#include <gtest/gtest.h>

namespace luvir::cli::test {

inline ::testing::AssertionResult matchesGolden(const QByteArray &actual, const QString &goldenPath)
{
    // The update mode never passes: a run that wrote the files has checked nothing.
    if (qEnvironmentVariableIsSet("LUVIR_UPDATE_GOLDEN")) {
        QFile out(goldenPath);
        if (out.open(QIODevice::WriteOnly) && out.write(actual) == actual.size())
            return ::testing::AssertionFailure()
                << "LUVIR_UPDATE_GOLDEN is set: wrote " << goldenPath.toStdString()
                << " instead of comparing; review the diff (git diff), then run again without it";
        return ::testing::AssertionFailure() << "could not write " << goldenPath.toStdString();
    }
    QFile file(goldenPath);
    if (!file.open(QIODevice::ReadOnly))
        return ::testing::AssertionFailure()
            << goldenPath.toStdString() << " is missing (LUVIR_UPDATE_GOLDEN=1 writes it; review it)";
    const QByteArray expected = file.readAll();
    if (actual == expected)
        return ::testing::AssertionSuccess();
    const QList<QByteArray> want = expected.split('\n');
    const QList<QByteArray> got = actual.split('\n');
    qsizetype line = 0;
    while (line < want.size() && line < got.size() && want[line] == got[line])
        ++line;
    return ::testing::AssertionFailure()
        << goldenPath.toStdString() << ": line " << line + 1
        << " differs\n  expected: " << (line < want.size() ? want[line].toStdString() : "(end of file)")
        << "\n  actual:   " << (line < got.size() ? got[line].toStdString() : "(end of output)");
}

// The two settings our output is kept for: the C locale (decimal point) and the users'
// (decimal comma). `name` is the golden file's locale part and the LC_ALL of the tool.
struct GoldenLocale {
    const char *name;
    const char *lcAll;
    QString separator;
    QLocale locale;
};

inline const GoldenLocale kGoldenLocales[] = {
    {"C", "C", QStringLiteral("."), QLocale::c()},
    {"ru_RU", "ru_RU.UTF-8", QStringLiteral(","), kRussianLocale},
};

// The base names (without .db) of the archive files in a sample folder.
inline QStringList archiveNamesIn(const QString &folder)
{
    QStringList names;
    for (const QString &file : QDir(folder).entryList({"*.db"}, QDir::Files, QDir::Name))
        names << file.chopped(3);
    return names;
}

} // namespace luvir::cli::test

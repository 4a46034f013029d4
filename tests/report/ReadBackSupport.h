#pragma once
// What the read-back tests share: the locales users run luvir-cli under, the hand-made
// archive with its table texts and spreadsheet cells worked out by hand, and the rows of
// an exported file as tests/report/read_back.py reads them.
#include "ArchiveFile.h"
#include "ToolRun.h"

#include <QJsonArray>
#include <QJsonValue>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>

#include <string>

#include <gtest/gtest.h>

namespace luvir::test {

struct UserLocale {
    const char *name;
    QString separator; // the decimal separator the table takes under it
};
inline const UserLocale kLocales[] = {{"C", "."}, {"ru_RU.UTF-8", ","}};

inline const QStringList kColumnTitles
    = {"№", "Дата и время", "Вид изделия", "Направление", "Зависимость", "Kc", "Прочность, МПа"};

// The rows of a file as tests/report/read_back.py reads it ("xlsx" or "csv").
QJsonArray readBack(const QString &kind, const QString &file);

QJsonValue textCell(const QString &text);
QJsonValue numberCell(double value, const QString &format);
std::string show(const QJsonValue &value);

// Cells are equal when both are empty, texts are equal, or numbers have the same value
// and number format (openpyxl gives 5 for a stored "5" and 5.0 for "5.0").
bool sameCell(const QJsonValue &a, const QJsonValue &b);

void expectRow(const QJsonArray &actual, const QJsonArray &expected, const QString &where);
QStringList strings(const QJsonValue &row);

CellArchive archiveOf(std::initializer_list<ArchiveCell> cells);

class ReadBack : public ::testing::Test
{
protected:
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QString writeArchive(const QString &name, const CellArchive &archive)
    {
        const QString file = path(name);
        EXPECT_TRUE(ArchiveWriter().write(file, archive, ProtocolVersion {1, 0}));
        return file;
    }

    // luvir-cli export ARCHIVE OUT under `locale`.
    void exportWithCli(const QString &archive, const QString &out, const char *locale)
    {
        const ToolRun run = runTool(LUVIR_CLI_PATH, {"export", archive, out}, locale);
        ASSERT_TRUE(run.ok()) << run.problem.toStdString();
    }

    QTemporaryDir m_dir;
};

// Five measurements whose table texts are worked out by hand (decimal comma).
extern const CellArchive kHandMade;
extern const QList<QStringList> kHandMadeTexts;
extern const QList<QJsonArray> kHandMadeSheetRows;

// The hand-made texts with the decimal separator of `locale`.
QStringList handMadeTexts(int row, const UserLocale &locale);

void expectTitleAndColumnTitles(const QJsonArray &rows);

} // namespace luvir::test

#pragma once
// What the register's tests share: a register in a scratch folder, cells that differ from
// each other for any number, and the file's bytes.

#include "Register.h"
#include "TestData.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace luvir::test {

// A realistic cell that no other number gives: n is written into two impacts (n < 2^30).
inline ArchiveCell distinctCell(int n)
{
    ArchiveCell cell = sampleCell(n);
    cell.setWord(ArchiveCell::ImpactValues + 2 * 13, static_cast<std::uint16_t>(200 + (n & 0x3FFF)));
    cell.setWord(ArchiveCell::ImpactValues + 2 * 14, static_cast<std::uint16_t>(200 + ((n >> 14) & 0x3FFF)));
    return cell;
}

// Cells first .. first + count - 1.
inline QList<ArchiveCell> distinctCells(int first, int count)
{
    QList<ArchiveCell> cells;
    for (int n = first; n < first + count; ++n)
        cells << distinctCell(n);
    return cells;
}

inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline RegisterSource fileSource(const QString &name)
{
    RegisterSource source;
    source.kind = RegisterSource::Kind::File;
    source.addedAt = QDateTime(QDate(2026, 12, 10), QTime(14, 5, 9));
    source.version = {1, 0};
    source.fileName = name;
    return source;
}

class RegisterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(reg.open(registerPath()), Register::OpenStatus::Ok) << qPrintable(reg.errorString());
    }
    QString registerPath() const { return dir.filePath(QStringLiteral("register.sqlite")); }

    // Adds `cells` as from a file called `name`; the counts.
    ImportCounts add(const QList<ArchiveCell> &cells, const QString &name = QStringLiteral("a.db"))
    {
        RegisterSource source = fileSource(name);
        ImportCounts counts;
        EXPECT_TRUE(reg.importCells(cells, source, counts)) << qPrintable(reg.errorString());
        return counts;
    }
    QList<RegisterId> ids(const MeasurementSelection &selection)
    {
        QList<RegisterId> result;
        for (const RegisterMeasurement &m : reg.measurements(selection))
            result << m.id;
        return result;
    }

    QTemporaryDir dir;
    Register reg;
};

} // namespace luvir::test

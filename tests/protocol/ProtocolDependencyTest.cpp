// A structure given a calibration, from the register to the files: 15 measurements with
// direct strengths typed beside them, an own dependency that culls one site, applied; the
// protocol names it, prints the strength by it beside the meter's (in brackets outside its
// range), its statistics are those by it, and the section «Градуировочная зависимость» lists
// the sites. A Kc from the same set carries its mark. Expected texts from
// dependency_reference.py and calib_reference.py, apart from the program; the PDF read back
// by poppler, the ODT by LibreOffice, under C and ru_RU.UTF-8.
#include "AppliedDependencyText.h"
#include "ProtocolFacts.h"
#include "ProtocolReadBack.h"
#include "ProtocolWriter.h"
#include "RegisterProtocol.h"
#include "TestData.h"
#include "ToolRun.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace luvir;
using namespace luvir::test;

namespace {

// Site i (from 0): H = 20.0 + 1.5·i MPa, the direct strength 0.9·H + 3 with a little scatter;
// the last one 6 MPa off the line. Two have a meter's Kc other than 1.00 (H = R / Kc).
struct Sample {
    int tenths; // the meter's R
    int kc; // hundredths
    const char *direct;
};
const Sample kSamples[] = {
    {210, 105, "21.3"},
    {215, 100, "22.2"},
    {253, 110, "23.8"},
    {245, 100, "24.6"},
    {260, 100, "26.6"},
    {275, 100, "27.8"},
    {290, 100, "29.0"},
    {305, 100, "30.8"},
    {320, 100, "31.5"},
    {335, 100, "33.4"},
    {350, 100, "34.3"},
    {365, 100, "36.0"},
    {380, 100, "37.2"},
    {395, 100, "38.4"},
    {410, 100, "45.9"},
};

ArchiveCell cellOf(int n, int tenths, int kc)
{
    ArchiveCell cell = sampleCell(n);
    cell.setWord(ArchiveCell::Strength, static_cast<std::uint16_t>(tenths));
    cell.bytes[ArchiveCell::Kc] = static_cast<std::uint8_t>(kc);
    cell.bytes[ArchiveCell::Dependency] = 0;
    return cell;
}

QString writeText(const QString &path, const QString &text)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
    return path;
}

class ProtocolDependency : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(reg.open(dir.filePath("register.sqlite")), Register::OpenStatus::Ok);
        QList<ArchiveCell> cells;
        for (int i = 0; i < 15; ++i)
            cells << cellOf(i + 1, kSamples[i].tenths, kSamples[i].kc);
        // The slab's three, given the Kc: 30.0 MPa at 1.00, 25.0 and 40.0.
        for (const auto &[n, tenths] : {std::pair(101, 300), std::pair(102, 250), std::pair(103, 400)})
            cells << cellOf(n, tenths, 100);
        RegisterSource source;
        source.addedAt = QDateTime(QDate(2026, 12, 10), QTime(14, 5, 9));
        source.version = {1, 0};
        source.fileName = "a.db";
        ImportCounts counts;
        ASSERT_TRUE(reg.importCells(cells, source, counts)) << qPrintable(reg.errorString());
        const RegisterId house = reg.addObject({0, "Дом 5", "", "", ""});
        column = reg.addStructure({0, house, "Колонна К-3", 1, "B25", {}, ""});
        slab = reg.addStructure({0, house, "Плита П-1", 2, "B25", {}, ""});
        set = reg.addCalibrationSet({0, "Колонны 2026", DirectMethod::PullOff, "", {}, "", 0});
        QList<RegisterMeasurement> all = reg.measurements(MeasurementSelection::all());
        ASSERT_EQ(all.size(), 18);
        // In the order imported: find each by its cell.
        for (int i = 0; i < 18; ++i) {
            const ArchiveCell &cell = cells.at(i);
            const auto m = std::find_if(all.begin(), all.end(),
                [&](const RegisterMeasurement &r) { return r.cell.bytes == cell.bytes; });
            ASSERT_NE(m, all.end());
            ASSERT_TRUE(
                reg.assign({m->id}, i < 15 ? column : slab, QString::number(i < 15 ? i + 1 : i - 14)));
            if (i < 15) {
                ASSERT_NE(reg.addCalibrationSite({0, set, m->id, "", 0,
                              QString(kSamples[i].direct).toDouble(), QDate(2026, 12, 3), {}, {}, {}}),
                    0)
                    << qPrintable(reg.errorString());
            }
        }
    }

    // Applies the set as `kind` to the structure.
    void apply(RegisterId structureId, DependencyKind kind)
    {
        QString error;
        const auto source = dependencySource(reg, set, SiteChoice::All, error);
        ASSERT_TRUE(source) << qPrintable(error);
        const DependencyApplication applied = applyDependency(*source, kind, QDate(2026, 12, 11));
        ASSERT_TRUE(applied.applied()) << qPrintable(applied.refusal);
        EXPECT_TRUE(applied.warning.isEmpty()) << qPrintable(applied.warning);
        ASSERT_TRUE(reg.setStructureDependency(*reg.structure(structureId), *applied.dependency))
            << qPrintable(reg.errorString());
    }

    // dependency_reference.py's lines for the column's 15 measurements.
    QStringList reference(const QString &separator)
    {
        QStringList lines;
        for (const Sample &s : kSamples)
            lines
                << QStringLiteral("%1;%2;%3;%4").arg(lines.size() + 1).arg(s.tenths).arg(s.kc).arg(s.direct);
        const QString csv = writeText(dir.filePath("sites.csv"), lines.join('\n') + '\n');
        QStringList arguments {QStringLiteral(LUVIR_PROTOCOL_TEST_DIR "/dependency_reference.py")};
        if (separator == ",")
            arguments << "--comma";
        const ToolRun run = runTool("python3", arguments << csv, "C.UTF-8");
        EXPECT_TRUE(run.ok()) << run.problem.toStdString();
        return run.outText().split('\n', Qt::SkipEmptyParts);
    }

    // Kc of the same sites by calib_reference.py.
    double referenceKc()
    {
        QStringList lines {"label;indirect;direct"};
        for (const Sample &s : kSamples)
            lines << QStringLiteral("%1;%2;%3")
                         .arg(lines.size())
                         .arg(s.tenths * 10.0 / s.kc, 0, 'g', 17)
                         .arg(s.direct);
        const QString csv = writeText(dir.filePath("kc.csv"), lines.join('\n') + '\n');
        const ToolRun run = runTool("python3",
            {QStringLiteral(LUVIR_PROTOCOL_TEST_DIR "/../calib/calib_reference.py"), "kc", csv}, "C.UTF-8");
        EXPECT_TRUE(run.ok()) << run.problem.toStdString();
        return QJsonDocument::fromJson(run.out).object().value("kc").toDouble();
    }

    QTemporaryDir dir;
    Register reg;
    RegisterId column = 0, slab = 0, set = 0;
};

} // namespace

TEST_F(ProtocolDependency, AnOwnDependencyIsNamedAndItsStrengthsPrinted)
{
    apply(column, DependencyKind::Own);
    QString error;
    const auto content = protocolFromRegister(reg, {column}, QDate(2026, 12, 11), error);
    ASSERT_TRUE(content) << qPrintable(error);
    ASSERT_TRUE(content->structures.first().dependency);

    for (const ReadLocale &locale : kReadLocales) {
        SCOPED_TRACE(locale.name);
        const QString sep = locale.separator;
        const QStringList expected = reference(sep);
        ASSERT_EQ(expected.size(), 5 + 15 + 1);
        ASSERT_EQ(expected.at(0), "culled 15");
        const QString hMin = expected.at(1).mid(5), hMax = expected.at(2).mid(5);
        const QString equation
            = QStringLiteral("R = %1·H + %2").arg(expected.at(3).mid(2), expected.at(4).mid(2));

        // The facts: the column by the dependency, the statistics by it, the lines naming it.
        const ProtocolFacts facts = protocolFacts(*content, sep);
        const StructureFacts &s = facts.structures.first();
        ASSERT_EQ(s.siteRows.size(), 15);
        // The rows go in time order; each is site "1" … "15" by its label.
        for (const QStringList &row : s.siteRows)
            EXPECT_EQ(row.at(ProtocolSiteColumns.size()), expected.at(4 + row.at(1).toInt()))
                << row.at(1).toStdString();
        EXPECT_EQ(s.statisticsLine, QStringLiteral("По градуировке: ") + expected.last());
        EXPECT_TRUE(s.dependencyLines.first().contains(equation)) << qPrintable(s.dependencyLines.first());
        EXPECT_TRUE(s.dependencyLines.join('\n').contains(
            QStringLiteral("Hmin = %1 МПа; Hmax = %2 МПа; N = 14 (до отбраковки 15)").arg(hMin, hMax)));
        EXPECT_TRUE(s.dependencyLines.contains(QStringLiteral("Прямой метод: отрыв со скалыванием")));
        EXPECT_EQ(s.dependencyLines.last(),
            QStringLiteral("Условия применения не выполнены: 1 из 15 значений H вне диапазона %1…%2 МПа "
                           "(прочность по зависимости в скобках)")
                .arg(hMin, hMax));
        // Two of the fifteen have another Kc than the rest; the strengths by the dependency are
        // taken from H, before any Kc, so no note says they were worked out by different ones.
        EXPECT_TRUE(s.mixedNote.isEmpty()) << qPrintable(s.mixedNote);
        ASSERT_EQ(facts.dependencies.size(), 1);
        EXPECT_EQ(facts.dependencies.first().siteRows.last().last(), "отбракован");
        EXPECT_EQ(facts.dependencies.first().siteRows.first().last(), "учтён");

        // The files, as others read them.
        const QString pdf = dir.filePath(QStringLiteral("own-%1.pdf").arg(locale.name));
        const QString odt = dir.filePath(QStringLiteral("own-%1.odt").arg(locale.name));
        ASSERT_TRUE(writeProtocolPdf(*content, pdf, &error, sep)) << qPrintable(error);
        ASSERT_TRUE(writeProtocolOdt(*content, odt, &error, sep)) << qPrintable(error);
        const QString pdfText = pdfPages(pdf, locale.name).join('\n');
        QStringList texts {pdfText};
        const QStringList odtTexts = libreOfficeTexts({odt}, dir.path(), locale.name);
        if (!odtTexts.isEmpty())
            texts << odtTexts.first();
        for (const QString &text : texts) {
            const QString flat = text.simplified();
            EXPECT_TRUE(flat.contains("Градуировочная зависимость")) << qPrintable(text);
            EXPECT_TRUE(flat.contains("R по градуировке, МПа"));
            EXPECT_TRUE(flat.contains(equation));
            EXPECT_TRUE(flat.contains(QStringLiteral("По градуировке: ") + expected.last()));
            EXPECT_TRUE(
                flat.contains(QStringLiteral("1 из 15 значений H вне диапазона %1…%2 МПа").arg(hMin, hMax)));
            EXPECT_TRUE(flat.contains("отбракован"));
            EXPECT_TRUE(flat.contains(expected.at(5 + 14))); // the bracketed one
        }
        // Each site's row on one line of the PDF: the meter's R, then the strength by the
        // dependency.
        const QStringList pdfLines = pdfText.split('\n');
        for (int i = 0; i < 15; ++i) {
            const QString meter
                = QStringLiteral("%1%2%3").arg(kSamples[i].tenths / 10).arg(sep).arg(kSamples[i].tenths % 10);
            const bool found = std::any_of(pdfLines.begin(), pdfLines.end(), [&](const QString &line) {
                const QStringList words = line.simplified().split(' ');
                return words.size() > 3 && words.at(1) == QString::number(i + 1)
                    && words.last() == expected.at(5 + i) && words.at(words.size() - 2) == meter;
            });
            EXPECT_TRUE(found) << "site " << i + 1;
        }
    }
}

TEST_F(ProtocolDependency, AKcCarriesItsMark)
{
    apply(slab, DependencyKind::Kc);
    const double kc = referenceKc();
    ASSERT_GT(kc, 0.7);
    QString error;
    const auto content = protocolFromRegister(reg, {slab}, QDate(2026, 12, 11), error);
    ASSERT_TRUE(content) << qPrintable(error);
    const QString kcText = QString::number(kc, 'f', 2).replace('.', ',');
    // 30.0, 25.0 and 40.0 MPa at Kc 1.00: H is R; the strength is Kc (two decimals) · H, in
    // tenths Kc·100 · H / 10, halves up.
    const int hundredths = QString(kcText).remove(',').toInt();
    QStringList strengths;
    for (const int h : {30, 25, 40}) {
        const int tenths = (hundredths * h + 5) / 10;
        strengths << QStringLiteral("%1,%2").arg(tenths / 10).arg(tenths % 10);
    }

    const ProtocolFacts facts = protocolFacts(*content, ",");
    const StructureFacts &s = facts.structures.first();
    for (const QStringList &row : s.siteRows)
        EXPECT_EQ(row.at(ProtocolSiteColumns.size()), strengths.at(row.at(1).toInt() - 1));
    EXPECT_TRUE(s.dependencyLines.first().startsWith(QStringLiteral("Коэффициент совпадения Kc = ") + kcText))
        << qPrintable(s.dependencyLines.first());
    EXPECT_TRUE(facts.calibrations.contains(QStringLiteral("Kc = %1 (набор «Колонны 2026»)").arg(kcText)));

    const QString pdf = dir.filePath("kc.pdf");
    ASSERT_TRUE(writeProtocolPdf(*content, pdf, &error, ",")) << qPrintable(error);
    const QString flat = pdfPages(pdf, "ru_RU.UTF-8").join('\n').simplified();
    EXPECT_TRUE(flat.contains(kKcDirectMark)) << qPrintable(flat);
    EXPECT_TRUE(flat.contains("Градуировочная зависимость"));
    EXPECT_TRUE(flat.contains(QStringLiteral("Kc = ") + kcText));
}

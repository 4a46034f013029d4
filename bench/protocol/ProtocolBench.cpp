// Time to make a protocol of one structure of 1,000 sites: laid out on its pages, written
// as PDF, written as ODT; and the same made from a register file holding the structure.
#include "CellText.h"
#include "ProtocolPages.h"
#include "ProtocolWriter.h"
#include "RegisterProtocol.h"
#include "TestData.h"

#include <QBuffer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace luvir;

namespace {

ProtocolContent thousandSites()
{
    ProtocolContent content;
    content.header.number = QStringLiteral("17/26");
    content.header.date = QDate(2026, 3, 10);
    content.header.laboratoryName = QStringLiteral("Испытательная лаборатория");
    content.header.customer = QStringLiteral("АО «Жилстрой»");
    content.header.objectName = QStringLiteral("Жилой дом № 3");
    ProtocolStructure structure;
    structure.name = QStringLiteral("Плита перекрытия П-7");
    structure.elementKind = QStringLiteral("плита");
    structure.designClass = QStringLiteral("B25");
    structure.concreted = QDate(2026, 2, 6);
    for (int i = 0; i < 1000; ++i)
        structure.sites.append({test::sampleCell(i), QString::number(i + 1)});
    content.structures << structure;
    return content;
}

const ProtocolContent &content()
{
    static const ProtocolContent made = thousandSites();
    return made;
}

void BM_ProtocolPages(benchmark::State &state)
{
    for (auto _ : state) {
        const ProtocolPages pages(content(), QStringLiteral(","));
        benchmark::DoNotOptimize(pages.pageCount());
    }
}
BENCHMARK(BM_ProtocolPages)->Unit(benchmark::kMillisecond);

// From the content to the PDF's bytes: what writeProtocolPdf() does before the file.
void BM_ProtocolPdf(benchmark::State &state)
{
    for (auto _ : state) {
        const ProtocolPages pages(content(), QStringLiteral(","));
        QBuffer bytes;
        bytes.open(QIODevice::WriteOnly);
        if (!writeProtocolPdf(pages, bytes))
            state.SkipWithError("the PDF was not written");
        state.counters["pages"] = pages.pageCount();
        state.counters["kB"] = static_cast<double>(bytes.size()) / 1024;
    }
}
BENCHMARK(BM_ProtocolPdf)->Unit(benchmark::kMillisecond);

void BM_ProtocolOdt(benchmark::State &state)
{
    for (auto _ : state) {
        QBuffer bytes;
        bytes.open(QIODevice::WriteOnly);
        if (!writeProtocolOdt(content(), QStringLiteral(","), bytes))
            state.SkipWithError("the ODT was not written");
        state.counters["kB"] = static_cast<double>(bytes.size()) / 1024;
    }
}
BENCHMARK(BM_ProtocolOdt)->Unit(benchmark::kMillisecond);

// A register file whose structure holds the 1,000 sites, among 2,000 other measurements.
class ThousandSiteRegister
{
public:
    ThousandSiteRegister()
    {
        reg.open(dir.filePath(QStringLiteral("register.sqlite")));
        QList<ArchiveCell> cells;
        for (int i = 0; i < 3000; ++i)
            cells << test::sampleCell(i);
        RegisterSource source;
        source.kind = RegisterSource::Kind::Download;
        source.serialNumber = QStringLiteral("0815");
        source.addedAt = QDateTime(QDate(2026, 3, 7), QTime(10, 0));
        ImportCounts counts;
        reg.importCells(cells, source, counts);
        const RegisterId object = reg.addObject({0, QStringLiteral("Жилой дом № 3"), {}, {}, {}});
        structure = reg.addStructure({0, object, QStringLiteral("Плита перекрытия П-7"), 5, QStringLiteral("B25"),
            QDate(2026, 2, 6), {}});
        const QList<RegisterMeasurement> all = reg.measurements(MeasurementSelection::all());
        for (int i = 0; i < 1000; ++i)
            reg.assign({all.at(i * 3).id}, structure, QString::number(i + 1));
    }

    ProtocolContent made()
    {
        QString error;
        return protocolFromRegister(reg, {structure}, QDate(2026, 3, 10), error).value_or(ProtocolContent());
    }

    QTemporaryDir dir;
    Register reg;
    RegisterId structure = 0;
};

ThousandSiteRegister &thousandSiteRegister()
{
    static ThousandSiteRegister made;
    return made;
}

// Reading the structure and the kept fields from the register.
void BM_ProtocolFromRegister(benchmark::State &state)
{
    ThousandSiteRegister &source = thousandSiteRegister();
    for (auto _ : state) {
        const ProtocolContent made = source.made();
        if (made.structures.value(0).sites.size() != 1000)
            state.SkipWithError("the structure's sites were not read");
    }
}
BENCHMARK(BM_ProtocolFromRegister)->Unit(benchmark::kMillisecond);

// From the register to the PDF's bytes, and to the ODT's.
void BM_ProtocolFromRegisterPdf(benchmark::State &state)
{
    ThousandSiteRegister &source = thousandSiteRegister();
    for (auto _ : state) {
        const ProtocolPages pages(source.made(), QStringLiteral(","));
        QBuffer bytes;
        bytes.open(QIODevice::WriteOnly);
        if (!writeProtocolPdf(pages, bytes))
            state.SkipWithError("the PDF was not written");
        state.counters["pages"] = pages.pageCount();
    }
}
BENCHMARK(BM_ProtocolFromRegisterPdf)->Unit(benchmark::kMillisecond);

void BM_ProtocolFromRegisterOdt(benchmark::State &state)
{
    ThousandSiteRegister &source = thousandSiteRegister();
    for (auto _ : state) {
        QBuffer bytes;
        bytes.open(QIODevice::WriteOnly);
        if (!writeProtocolOdt(source.made(), QStringLiteral(","), bytes))
            state.SkipWithError("the ODT was not written");
    }
}
BENCHMARK(BM_ProtocolFromRegisterOdt)->Unit(benchmark::kMillisecond);

} // namespace

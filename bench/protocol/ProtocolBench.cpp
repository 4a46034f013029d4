// Time to make a protocol of one structure of 1,000 sites: laid out on its pages, written
// as PDF, written as ODT.
#include "CellText.h"
#include "ProtocolPages.h"
#include "ProtocolWriter.h"
#include "TestData.h"

#include <QBuffer>

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

} // namespace

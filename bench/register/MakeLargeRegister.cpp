// Makes a register of a laboratory's size for the window's timing from outside the program
// (scripts/bench-register-window.sh):
//   make_large_register FILE [MEASUREMENTS [UNASSIGNED]]
// MEASUREMENTS (100,000) added as downloads of 999, in 50 objects of 10 structures each; all
// but the last UNASSIGNED (2,000) spread over the structures, 1,000 in the first.
#include "Register.h"
#include "TestData.h"

#include <QCoreApplication>
#include <QDateTime>

#include <cstdio>

using namespace luvir;

namespace {

constexpr int kObjects = 50;
constexpr int kStructuresEach = 10;
constexpr int kFirstStructure = 1000;

ArchiveCell cellNumber(int n) // a cell no other number gives (n < 2^28)
{
    ArchiveCell cell = test::sampleCell(n);
    cell.setWord(ArchiveCell::ImpactValues + 2 * 13, static_cast<std::uint16_t>(200 + (n & 0x3FFF)));
    cell.setWord(ArchiveCell::ImpactValues + 2 * 14, static_cast<std::uint16_t>(200 + ((n >> 14) & 0x3FFF)));
    return cell;
}

int fail(Register &reg)
{
    std::fprintf(stderr, "%s\n", qPrintable(reg.errorString()));
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: make_large_register FILE [MEASUREMENTS [UNASSIGNED]]\n");
        return 2;
    }
    const int size = args.size() > 2 ? args.at(2).toInt() : 100000;
    const int unassigned = std::min(size, args.size() > 3 ? args.at(3).toInt() : 2000);
    Register reg;
    if (reg.open(args.at(1)) != Register::OpenStatus::Ok)
        return fail(reg);
    for (int first = 0; first < size; first += CellArchive::Capacity) {
        QList<ArchiveCell> cells;
        for (int n = first; n < std::min(size, first + CellArchive::Capacity); ++n)
            cells << cellNumber(n);
        RegisterSource source;
        source.kind = RegisterSource::Kind::Download;
        source.addedAt = QDateTime::currentDateTime();
        source.version = {1, 0};
        ImportCounts counts;
        if (!reg.importCells(cells, source, counts))
            return fail(reg);
    }
    QList<RegisterId> structures;
    for (int o = 0; o < kObjects; ++o) {
        const RegisterId object = reg.addObject({0, QStringLiteral("Объект %1").arg(o + 1), {}, {}, {}});
        for (int s = 0; s < kStructuresEach; ++s)
            structures << reg.addStructure({0, object, QStringLiteral("С-%1").arg(s + 1), -1, {}, {}, {}});
    }
    if (structures.contains(0))
        return fail(reg);
    // Ids in the order added: the first 1,000 to the first structure, the others spread.
    QList<QList<RegisterId>> members(structures.size());
    for (RegisterId id = 1; id <= size - unassigned; ++id)
        members[id <= kFirstStructure ? 0 : 1 + static_cast<int>(id % (structures.size() - 1))] << id;
    for (qsizetype s = 0; s < structures.size(); ++s)
        if (!members.at(s).isEmpty() && !reg.assign(members.at(s), structures.at(s), QStringLiteral("1")))
            return fail(reg);
    return 0;
}

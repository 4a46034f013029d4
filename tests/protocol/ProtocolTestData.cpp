#include "ProtocolTestData.h"

#include "RegisterProtocol.h"
#include "TestData.h"

#include <algorithm>

namespace luvir::test {

ProtocolHeader plainHeader()
{
    ProtocolHeader h;
    h.number = QStringLiteral("17/26");
    h.date = QDate(2026, 3, 10);
    h.laboratoryName = QStringLiteral("Испытательная лаборатория ООО «СтройКонтроль»");
    h.laboratoryAddress = QStringLiteral("г. Самара, ул. Заводская, 5");
    h.accreditation = QStringLiteral("RA.RU.21АБ12");
    h.customer = QStringLiteral("АО «Жилстрой»");
    h.objectName = QStringLiteral("Жилой дом № 3");
    h.objectAddress = QStringLiteral("г. Самара, ул. Садовая, 12");
    h.conditions = QStringLiteral("температура воздуха +12 °C");
    h.serialNumber = QStringLiteral("0815");
    h.verificationNumber = QStringLiteral("С-АБ/01-02-2026/123456");
    h.verificationDate = QDate(2026, 2, 1);
    h.conclusion = QStringLiteral("Прочность бетона конструкций определена.");
    h.executorName = QStringLiteral("Иванов И. И.");
    h.executorPosition = QStringLiteral("инженер");
    return h;
}

ProtocolHeader awkwardHeader()
{
    ProtocolHeader h = plainHeader();
    h.number = QStringLiteral("\"42\"/«Б»");
    h.laboratoryName = QStringLiteral("Лаборатория \"Контроль\" & <Качество>\nотдел № 2");
    h.customer = QString(QStringLiteral("Общество с ограниченной ответственностью ")).repeated(6).trimmed();
    h.objectName = QStringLiteral("Объект 'А'\r\nкорпус 1\rсекция 2");
    h.conditions = QStringLiteral("t = +5 °C\x01\x1f; влажность 80 %");
    h.conclusion = QStringLiteral("Первая строка.\nВторая строка «в кавычках».");
    return h;
}

ProtocolStructure generatedStructure(const QString &name, int sites, int seed)
{
    ProtocolStructure s;
    s.name = name;
    s.elementKind = QStringLiteral("колонна");
    s.designClass = QStringLiteral("B25");
    s.concreted = QDate(2026, 2, 6);
    for (int i = 0; i < sites; ++i) {
        ArchiveCell cell = sampleCell(seed + i);
        cell.bytes[ArchiveCell::Dependency] = 0;
        cell.bytes[ArchiveCell::Kc] = 100;
        cell.bytes[ArchiveCell::Day] = static_cast<std::uint8_t>(5 + i % 2);
        cell.bytes[ArchiveCell::Month] = 3;
        cell.bytes[ArchiveCell::Year] = 26;
        s.sites.append({cell, QString::number(i + 1)});
    }
    return s;
}

ProtocolStructure mixedStructure()
{
    ProtocolStructure s;
    s.name = QStringLiteral("Плита П-1");
    s.elementKind = QStringLiteral("плита");
    s.designClass = QStringLiteral("B30");
    s.concreted = QDate(2026, 1, 15);
    const struct {
        std::uint16_t strength;
        std::uint8_t dependency, kc, day;
        const char *label;
    } sites[] = {{253, 0, 100, 5, "1"}, {301, 1, 100, 5, "2а"}, {287, 0, 105, 7, "2б"}};
    for (const auto &site : sites)
        s.sites.append({makeCell({.impacts = {250, 0x8000 + 251, 255}, .strength = site.strength,
                                  .direction = 2, .elementKind = 5, .dependency = site.dependency,
                                  .kc = site.kc, .second = 7, .minute = 30, .hour = 9,
                                  .day = site.day, .month = 3, .year = 26}),
                        QString::fromUtf8(site.label)});
    return s;
}

FilledRegister fillRegister(Register &reg)
{
    FilledRegister filled;
    const ProtocolHeader header = plainHeader();
    filled.objectId = reg.addObject({0, header.objectName, header.objectAddress, header.customer, {}});
    const RegisterId other = reg.addObject({0, QStringLiteral("Склад"), {}, {}, {}});
    ProtocolStructure column = generatedStructure(QStringLiteral("Колонна К-3, ось 5/Б"), 30, 100);
    column.elementKind = QStringLiteral("колонна");
    ProtocolStructure slab = mixedStructure();
    filled.structures << reg.addStructure({0, filled.objectId, column.name, 2, column.designClass, column.concreted, {}})
                      << reg.addStructure({0, filled.objectId, slab.name, -1, slab.designClass, slab.concreted, {}});
    filled.elsewhere = reg.addStructure({0, other, QStringLiteral("Колонна К-3, ось 5/Б"), 2, {}, {}, {}});

    // The register lists a structure's sites in time order.
    for (ProtocolStructure *structure : {&column, &slab})
        std::stable_sort(structure->sites.begin(), structure->sites.end(), [](const auto &a, const auto &b) {
            return std::tuple(a.cell.byte(ArchiveCell::Year), a.cell.byte(ArchiveCell::Month),
                       a.cell.byte(ArchiveCell::Day), a.cell.byte(ArchiveCell::Hour),
                       a.cell.byte(ArchiveCell::Minute), a.cell.byte(ArchiveCell::Second))
                < std::tuple(b.cell.byte(ArchiveCell::Year), b.cell.byte(ArchiveCell::Month),
                    b.cell.byte(ArchiveCell::Day), b.cell.byte(ArchiveCell::Hour),
                    b.cell.byte(ArchiveCell::Minute), b.cell.byte(ArchiveCell::Second));
        });
    QList<ArchiveCell> cells;
    for (const ProtocolStructure *structure : {&column, &slab})
        for (const ProtocolSite &site : structure->sites)
            cells << site.cell;
    cells << sampleCell(900) << sampleCell(901);
    RegisterSource download;
    download.kind = RegisterSource::Kind::Download;
    download.addedAt = QDateTime(QDate(2026, 3, 7), QTime(10, 0));
    download.serialNumber = header.serialNumber;
    ImportCounts counts;
    reg.importCells(cells, download, counts);

    // Each cell's register id by its bytes.
    const QList<RegisterMeasurement> listed = reg.measurements(MeasurementSelection::all());
    const auto idOf = [&](const ArchiveCell &cell) {
        for (const RegisterMeasurement &m : listed)
            if (m.cell.bytes == cell.bytes)
                return m.id;
        return RegisterId(0);
    };
    for (int s = 0; s < 2; ++s)
        for (const ProtocolSite &site : (s == 0 ? column : slab).sites)
            reg.assign({idOf(site.cell)}, filled.structures.at(s), site.label);
    reg.assign({idOf(sampleCell(901))}, filled.elsewhere, QStringLiteral("1"));

    ProtocolHeader kept = header;
    kept.number = QStringLiteral("16/26");
    QString error;
    keepProtocolFields(reg, 0, kept, error);
    filled.expected << column << slab;
    return filled;
}

} // namespace luvir::test

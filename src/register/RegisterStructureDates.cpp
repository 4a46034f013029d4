#include "RegisterStructureDates.h"

#include "Register.h"

namespace luvir {

std::optional<QDate> cellDay(const ArchiveCell &cell)
{
    const QDate day(
        2000 + cell.byte(ArchiveCell::Year), cell.byte(ArchiveCell::Month), cell.byte(ArchiveCell::Day));
    if (!day.isValid())
        return std::nullopt;
    return day;
}

std::optional<QDate> firstTestDay(Register &reg, RegisterId structureId)
{
    std::optional<QDate> first;
    for (const RegisterMeasurement &m : reg.measurements(MeasurementSelection::ofStructure(structureId)))
        if (const auto day = cellDay(m.cell); day && (!first || *day < *first))
            first = day;
    return first;
}

QString concretingDateRefusal(Register &reg, RegisterId structureId, const QDate &concreted)
{
    if (!concreted.isValid() || structureId == 0)
        return {};
    const auto first = firstTestDay(reg, structureId);
    if (!reg.errorString().isEmpty())
        return reg.errorString();
    if (!first || concreted <= *first)
        return {};
    const QString format = QStringLiteral("dd.MM.yyyy");
    return QStringLiteral("Дата бетонирования %1 позже первого испытания конструкции %2.")
        .arg(concreted.toString(format), first->toString(format));
}

} // namespace luvir

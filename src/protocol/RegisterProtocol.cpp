#include "RegisterProtocol.h"

#include "CellText.h"
#include "ProtocolFields.h"

#include <QHash>

namespace luvir {

namespace {

// Kept for every protocol.
const QStringList kCommonKeys = {QStringLiteral("number"), QStringLiteral("laboratory"),
    QStringLiteral("laboratory_address"), QStringLiteral("accreditation"), QStringLiteral("standards"),
    QStringLiteral("serial_number"), QStringLiteral("executor"), QStringLiteral("executor_position")};
// Kept per meter.
const QStringList kInstrumentKeys = {QStringLiteral("verification_number"), QStringLiteral("verification_date")};

void fillFrom(ProtocolHeader &header, const QMap<QString, QString> &kept, const QStringList &keys)
{
    for (const QString &key : keys) {
        QString ignored;
        if (kept.contains(key))
            setProtocolField(header, key, kept.value(key), ignored);
    }
}

// The element kind of a structure: its own, else the kinds its measurements were taken as.
QString elementKindOf(const RegisterStructure &structure, const QList<RegisterMeasurement> &measurements)
{
    if (structure.elementKind >= 0 && structure.elementKind < ElementKindNames.size())
        return ElementKindNames.at(structure.elementKind);
    QStringList kinds;
    for (const RegisterMeasurement &m : measurements) {
        const QString kind = elementKindText(m.cell);
        if (!kind.isEmpty() && !kinds.contains(kind))
            kinds << kind;
    }
    return kinds.join(QStringLiteral(", "));
}

} // namespace

RegisterId objectOfStructures(Register &reg, const QList<RegisterId> &structureIds)
{
    RegisterId objectId = 0;
    for (RegisterId id : structureIds) {
        const auto structure = reg.structure(id);
        if (!structure || (objectId != 0 && structure->objectId != objectId))
            return 0;
        objectId = structure->objectId;
    }
    return objectId;
}

std::optional<ProtocolContent> protocolFromRegister(
    Register &reg, const QList<RegisterId> &structureIds, const QDate &today, QString &error)
{
    if (structureIds.isEmpty()) {
        error = QStringLiteral("не выбрано ни одной конструкции");
        return std::nullopt;
    }
    ProtocolContent content;
    RegisterId objectId = 0;
    QList<RegisterMeasurement> all;
    for (RegisterId id : structureIds) {
        const auto structure = reg.structure(id);
        if (!structure) {
            error = reg.errorString().isEmpty() ? QStringLiteral("нет такой конструкции") : reg.errorString();
            return std::nullopt;
        }
        if (objectId != 0 && structure->objectId != objectId) {
            error = QStringLiteral("конструкции относятся к разным объектам");
            return std::nullopt;
        }
        objectId = structure->objectId;
        const QList<RegisterMeasurement> measurements = reg.measurements(MeasurementSelection::ofStructure(id));
        if (!reg.errorString().isEmpty()) {
            error = reg.errorString();
            return std::nullopt;
        }
        ProtocolStructure part {structure->name, elementKindOf(*structure, measurements), structure->designClass,
            structure->concretedOn, {}, reg.structureDependency(id)};
        if (!reg.errorString().isEmpty()) {
            error = reg.errorString();
            return std::nullopt;
        }
        for (const RegisterMeasurement &m : measurements)
            part.sites << ProtocolSite {m.cell, m.site};
        content.structures << part;
        all << measurements;
    }

    ProtocolHeader &header = content.header;
    const QMap<QString, QString> common = reg.protocolFields();
    fillFrom(header, common, kCommonKeys);
    content.withValues = common.value(QStringLiteral("values")) == QLatin1String("1");
    header.number = nextProtocolNumber(header.number, today);
    header.date = today;
    if (const auto object = reg.object(objectId)) {
        header.objectName = object->name;
        header.objectAddress = object->address;
        header.customer = object->customer;
    }
    // The meters the measurements came from, in the order of first use.
    QHash<RegisterId, QString> serialOfSource;
    for (const RegisterSource &source : reg.sources())
        serialOfSource.insert(source.id, source.serialNumber);
    QStringList serials;
    for (const RegisterMeasurement &m : all) {
        const QString serial = serialOfSource.value(m.firstSourceId);
        if (!serial.isEmpty() && !serials.contains(serial))
            serials << serial;
    }
    if (!serials.isEmpty())
        header.serialNumber = serials.join(QStringLiteral(", "));
    if (serials.size() <= 1 && !header.serialNumber.isEmpty())
        fillFrom(header, reg.protocolFields(Register::instrumentScope(header.serialNumber)), kInstrumentKeys);
    return content;
}

namespace {

// "с единичными значениями", kept with the fields of every protocol.
const QString kValuesKey = QStringLiteral("values");

bool keepFields(Register &reg, RegisterId objectId, const ProtocolHeader &header,
                const QMap<QString, QString> &more, QString &error)
{
    QMap<QString, QMap<QString, QString>> byScope;
    QMap<QString, QString> &common = byScope[QString()];
    common = more;
    for (const QString &key : kCommonKeys)
        common.insert(key, protocolField(header, key));
    // The series goes on from its own last number; one typed in another form is not its.
    if (!continuesSeries(reg.protocolFields().value(QStringLiteral("number")), header.number))
        common.remove(QStringLiteral("number"));
    // A verification belongs to one meter: not kept for a protocol of several.
    if (!header.serialNumber.isEmpty() && !header.serialNumber.contains(u',')) {
        QMap<QString, QString> &instrument = byScope[Register::instrumentScope(header.serialNumber)];
        for (const QString &key : kInstrumentKeys)
            instrument.insert(key, protocolField(header, key));
    }
    // All in one change: a failure keeps none of them.
    const bool kept = reg.keepProtocolTexts(byScope, {objectId, header.customer, header.objectAddress});
    if (!kept)
        error = reg.errorString();
    return kept;
}

} // namespace

bool keepProtocolFields(Register &reg, RegisterId objectId, const ProtocolHeader &header, QString &error)
{
    return keepFields(reg, objectId, header, {}, error);
}

bool keepProtocolFields(Register &reg, RegisterId objectId, const ProtocolContent &content, QString &error)
{
    return keepFields(reg, objectId, content.header,
                      {{kValuesKey, content.withValues ? QStringLiteral("1") : QStringLiteral("0")}}, error);
}

} // namespace luvir

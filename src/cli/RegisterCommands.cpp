// The register command: the register of measurements at the command line. Every change is
// the library's; this file only turns arguments into its calls and its answers into lines.
#include "Commands.h"
#include "RegisterCommand.h"

#include "CliText.h"

#include "MeasurementTable.h"
#include "Register.h"
#include "RegisterFiles.h"
#include "RegisterLocation.h"

#include <QDir>
#include <QFileInfo>

namespace luvir::cli {

namespace {

// The header line of "register list".
const QStringList kListTitles = {
    QStringLiteral("id"),
    QStringLiteral("№"),
    QStringLiteral("Дата и время"),
    QStringLiteral("Вид изделия"),
    QStringLiteral("Направление"),
    QStringLiteral("Зависимость"),
    QStringLiteral("Kc"),
    QStringLiteral("Прочность, МПа"),
    QStringLiteral("Участок"),
    QStringLiteral("Конструкция"),
    QStringLiteral("Объект"),
};

class RegisterRun
{
public:
    RegisterRun(const Invocation &invocation, CliContext &context)
        : m_invocation(invocation)
        , m_context(context)
    {
    }

    int run()
    {
        const QString fileName
            = m_invocation.registerFile.isEmpty() ? rememberedRegisterPath() : m_invocation.registerFile;
        // Only adding makes a register; every other action needs one that is there.
        const auto opening = m_invocation.registerAction == RegisterAction::Add ? Register::Opening::CreateIfMissing
                                                                                : Register::Opening::ExistingOnly;
        if (m_register.open(fileName, opening) != Register::OpenStatus::Ok)
            return failed(m_register.errorString());
        tellRenamedOnUpgrade(m_register, m_context);
        switch (m_invocation.registerAction) {
        case RegisterAction::Add:
            return add();
        case RegisterAction::List:
            return list();
        case RegisterAction::Assign:
            return assign();
        case RegisterAction::Unassign:
            return unassign();
        case RegisterAction::Stats:
            return stats();
        case RegisterAction::Export:
            return exportStructure();
        case RegisterAction::Protocol:
            return runRegisterProtocol(m_register, m_invocation, m_context);
        case RegisterAction::Properties:
            return runRegisterProperties(m_register, m_invocation, m_context);
        case RegisterAction::Calib:
            return runRegisterCalib(m_register, m_invocation, m_context);
        case RegisterAction::Backup:
            return backup();
        }
        return kExitUsage;
    }

private:
    int failed(const QString &text)
    {
        m_context.console.err(text + u'\n');
        return kExitFailed;
    }
    int registerFailed() { return failed(registerFailure(m_register)); }

    int add()
    {
        QList<FileRefusal> refused;
        const ImportCounts total = addArchiveFiles(m_register, m_invocation.files, m_context.now(), refused);
        for (const FileRefusal &refusal : refused)
            m_context.console.err(QStringLiteral("%1: %2\n").arg(refusal.fileName, refusal.reason));
        // A summary only of what was added: none when every file was refused.
        if (refused.size() < m_invocation.files.size())
            m_context.console.out(additionSummary(total) + u'\n');
        return refused.isEmpty() ? kExitOk : kExitFailed;
    }

    // The structure --structure (and --object) names; null with the reason told when there
    // is not exactly one. `toAssign`: the reason says that --object would make it.
    std::optional<RegisterStructure> namedStructure(bool toAssign = false)
    {
        QString error;
        const auto found
            = findNamedStructure(m_register, m_invocation.structure, m_invocation.object, toAssign, error);
        if (!found)
            failed(error);
        return found;
    }

    // The measurements of the selection options; null with the reason told on failure.
    std::optional<QList<RegisterMeasurement>> selected()
    {
        MeasurementSelection selection;
        if (m_invocation.unassigned) {
            selection.scope = MeasurementSelection::Scope::Unassigned;
        } else if (!m_invocation.structure.isNull()) {
            const auto structure = namedStructure();
            if (!structure)
                return std::nullopt;
            selection = MeasurementSelection::ofStructure(structure->id);
        }
        selection.from = m_invocation.from;
        selection.to = m_invocation.to;
        QList<RegisterMeasurement> measurements = m_register.measurements(selection);
        if (!m_register.errorString().isEmpty()) {
            registerFailed();
            return std::nullopt;
        }
        return measurements;
    }

    int list()
    {
        const auto measurements = selected();
        if (!measurements)
            return kExitFailed;
        QString text = kListTitles.join(u'\t') + u'\n';
        int number = 0;
        for (const RegisterMeasurement &measurement : *measurements) {
            QStringList fields {QString::number(measurement.id)};
            fields << measurementRow(measurement.cell, ++number, m_context.decimalSeparator)
                   << measurement.site << measurement.structureName << measurement.objectName;
            text += fields.join(u'\t') + u'\n';
        }
        m_context.console.out(text);
        return kExitOk;
    }

    QList<RegisterId> ids() const
    {
        QList<RegisterId> result;
        for (const QString &id : m_invocation.files)
            result << id.toLongLong();
        return result;
    }

    int assign()
    {
        const std::optional<QString> site
            = m_invocation.siteGiven ? std::optional<QString>(m_invocation.site) : std::nullopt;
        // Named with its object, the structure is found or made in the same change as the
        // assignment: several programs doing this at once make it once.
        if (!m_invocation.object.isNull())
            return m_register.assignNamed(ids(), m_invocation.object, m_invocation.structure, site)
                ? kExitOk
                : registerFailed();
        const auto structure = namedStructure(true);
        if (!structure)
            return kExitFailed;
        return m_register.assign(ids(), structure->id, site) ? kExitOk : registerFailed();
    }

    int unassign() { return m_register.unassign(ids()) ? kExitOk : registerFailed(); }

    int stats()
    {
        const auto measurements = selected();
        if (!measurements)
            return kExitFailed;
        printSeriesStats(measurementsOf(*measurements), m_invocation.byKind, m_context);
        if (!m_invocation.structure.isNull() && !measurements->isEmpty())
            printDependencyStats(m_register, *measurements, measurements->first().structureId, m_context);
        return kExitOk;
    }

    int backup()
    {
        const QString out = m_invocation.files.first();
        if (!m_register.backup(out))
            return registerFailed();
        m_context.console.out(
            LuvirCli::tr("Register copy saved: %1").arg(QDir::toNativeSeparators(QFileInfo(out).absoluteFilePath()))
            + u'\n');
        return kExitOk;
    }

    int exportStructure()
    {
        const auto structure = namedStructure();
        if (!structure)
            return kExitFailed;
        const QList<RegisterMeasurement> measurements
            = m_register.measurements(MeasurementSelection::ofStructure(structure->id));
        if (!m_register.errorString().isEmpty())
            return registerFailed();
        if (measurements.size() > CellArchive::Capacity)
            return failed(LuvirCli::tr(
                "luvir-cli: the structure holds %1 measurements; an archive file holds at most %2")
                              .arg(measurements.size())
                              .arg(CellArchive::Capacity));
        auto archive = std::make_unique<CellArchive>();
        for (const RegisterMeasurement &measurement : measurements)
            archive->Cells[archive->Count++] = measurement.cell;
        ArchiveWriter writer;
        if (!writer.write(m_invocation.files.first(), *archive, kRegisterExportVersion))
            return failed(writer.errorString());
        m_context.console.out(archiveSummary(kRegisterExportVersion, archive->Count));
        return kExitOk;
    }

    // Archives the program writes from the register carry the protocol its meters speak.
    static constexpr ProtocolVersion kRegisterExportVersion {1, 0};

    const Invocation &m_invocation;
    CliContext &m_context;
    Register m_register;
};

} // namespace

QString objectNames(Register &reg, const QList<RegisterStructure> &structures)
{
    QStringList names;
    for (const RegisterObject &object : reg.objects())
        for (const RegisterStructure &structure : structures)
            if (structure.objectId == object.id && !names.contains(object.name))
                names << object.name;
    for (QString &name : names)
        name = LuvirCli::tr("\"%1\"").arg(name);
    return names.join(QStringLiteral(", "));
}

void tellRenamedOnUpgrade(const Register &reg, CliContext &context)
{
    if (const QString notice = upgradeNotice(reg); !notice.isEmpty())
        context.console.err(notice + u'\n');
}

QString registerFailure(const Register &reg)
{
    return QStringLiteral("Журнал: %1.").arg(reg.errorString());
}

std::optional<RegisterStructure> findNamedStructure(
    Register &reg, const QString &name, const QString &object, bool mayCreate, QString &error)
{
    const QList<RegisterStructure> found = reg.findStructures(name, object);
    if (found.size() == 1)
        return found.first();
    if (!reg.errorString().isEmpty())
        error = registerFailure(reg);
    else if (found.size() > 1)
        error = LuvirCli::tr("luvir-cli: several structures are called \"%1\" (objects %2); name the object "
                             "with --object")
                    .arg(name, objectNames(reg, found));
    else if (object.isNull())
        error = LuvirCli::tr("luvir-cli: no structure \"%1\" in the register%2")
                    .arg(name, mayCreate ? LuvirCli::tr(" (give --object to make it)") : QString());
    else
        error = LuvirCli::tr("luvir-cli: no structure \"%1\" of the object \"%2\" in the register")
                    .arg(name, object);
    return std::nullopt;
}

int runRegister(const Invocation &invocation, CliContext &context)
{
    return RegisterRun(invocation, context).run();
}

} // namespace luvir::cli

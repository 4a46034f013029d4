// Each command's own checks of the arguments the parser took (CommandLine.cpp): what a
// command needs, what its options and arguments allow together. calib's and register
// calib's are beside their commands (CalibCommand.cpp, RegisterCalibCommand.cpp).
#include "CommandLine.h"

#include "CellText.h"
#include "CliText.h"

#include <QFileInfo>

namespace luvir::cli {

namespace {

struct ActionEntry {
    const char *name;
    RegisterAction action;
};

const ActionEntry kActions[] = {
    {"add", RegisterAction::Add},
    {"list", RegisterAction::List},
    {"assign", RegisterAction::Assign},
    {"unassign", RegisterAction::Unassign},
    {"stats", RegisterAction::Stats},
    {"export", RegisterAction::Export},
    {"protocol", RegisterAction::Protocol},
    {"properties", RegisterAction::Properties},
    {"calib", RegisterAction::Calib},
    {"backup", RegisterAction::Backup},
};

// The options of register properties: a structure's, then an object's ("notes" is both's).
const QStringList kStructureProperties
    = {QStringLiteral("kind"), QStringLiteral("class"), QStringLiteral("concreted"), QStringLiteral("notes")};
const QStringList kObjectProperties = {QStringLiteral("address"), QStringLiteral("customer"), QStringLiteral("notes")};

// What the protocol command accepts; sets invocation.formats from the suffixes of --out.
QString checkProtocol(Invocation &invocation)
{
    if (invocation.structures.isEmpty())
        return LuvirCli::tr("register protocol needs --structure NAME");
    if (invocation.unassigned || invocation.from.isValid() || invocation.to.isValid())
        return LuvirCli::tr(
            "register protocol takes --structure and --object, not --unassigned, --from or --to");
    if (!invocation.files.isEmpty())
        return LuvirCli::tr("unexpected argument \"%1\"").arg(invocation.files.first());
    if (invocation.outs.isEmpty())
        return LuvirCli::tr("register protocol needs --out FILE.pdf or FILE.odt");
    for (const QString &out : std::as_const(invocation.outs)) {
        invocation.formats << QFileInfo(out).suffix().toLower();
        if (invocation.formats.last() != QLatin1String("pdf") && invocation.formats.last() != QLatin1String("odt"))
            return LuvirCli::tr("--out must end in .pdf or .odt");
    }
    // One protocol, one number: at most its PDF and its ODT.
    if (invocation.outs.size() > 2 || invocation.formats.removeDuplicates() > 0)
        return LuvirCli::tr("--out is given at most twice: once .pdf and once .odt");
    return {};
}

// What the properties command accepts: a structure of a named object, or an object, and
// only the options of the one named.
QString checkProperties(const Invocation &invocation)
{
    if (invocation.object.isNull())
        return LuvirCli::tr("register properties needs --object NAME (and --structure NAME for a structure)");
    if (invocation.unassigned || invocation.from.isValid() || invocation.to.isValid())
        return LuvirCli::tr("register properties takes --structure and --object, not --unassigned, --from or --to");
    if (!invocation.files.isEmpty())
        return LuvirCli::tr("unexpected argument \"%1\"").arg(invocation.files.first());
    const bool structure = !invocation.structure.isNull();
    for (auto it = invocation.properties.cbegin(); it != invocation.properties.cend(); ++it) {
        if (structure && !kStructureProperties.contains(it.key()))
            return LuvirCli::tr("--%1 is an object's: give --object without --structure").arg(it.key());
        if (!structure && !kObjectProperties.contains(it.key()))
            return LuvirCli::tr("--%1 is a structure's: give --structure NAME").arg(it.key());
    }
    if (const QString concreted = invocation.properties.value(QStringLiteral("concreted"));
        !concreted.isEmpty() && concreted != QLatin1String("none") && !parseDate(concreted).isValid())
        return LuvirCli::tr("--concreted needs a date such as 2026-12-10 or 10.12.2026, or none, not \"%1\"")
            .arg(concreted);
    if (const QString kind = invocation.properties.value(QStringLiteral("kind"));
        !kind.isEmpty() && kind != QLatin1String("none") && !ElementKindNames.contains(kind, Qt::CaseInsensitive))
        return LuvirCli::tr("--kind needs one of: %1; or none").arg(ElementKindNames.join(QStringLiteral(", ")));
    return {};
}

bool selectionGiven(const Invocation &invocation)
{
    return !invocation.structure.isNull() || invocation.unassigned || invocation.from.isValid()
        || invocation.to.isValid();
}

// What the list and stats commands accept.
QString checkSelection(const Invocation &invocation)
{
    if (!invocation.structure.isNull() && invocation.unassigned)
        return LuvirCli::tr("--structure and --unassigned exclude each other");
    if (!invocation.object.isNull() && invocation.structure.isNull())
        return LuvirCli::tr("--object needs --structure");
    if (invocation.from.isValid() && invocation.to.isValid() && invocation.from > invocation.to)
        return LuvirCli::tr("--from lies after --to");
    return {};
}

// Every argument a whole number above 0: the ids list prints.
QString checkIds(const QStringList &ids)
{
    if (ids.isEmpty())
        return LuvirCli::tr("missing ID");
    for (const QString &id : ids) {
        bool ok = false;
        if (id.toLongLong(&ok) <= 0 || !ok)
            return LuvirCli::tr("\"%1\" is not a measurement id").arg(id);
    }
    return {};
}

} // namespace

QString checkCount(const QStringList &files, qsizetype wanted, const QString &what)
{
    if (files.size() < wanted)
        return LuvirCli::tr("missing %1").arg(what);
    if (files.size() > wanted)
        return LuvirCli::tr("unexpected argument \"%1\"").arg(files.at(wanted));
    return {};
}

QString checkExport(Invocation &invocation)
{
    const bool batch = !invocation.outDir.isEmpty() || !invocation.format.isEmpty();
    if (batch) {
        if (invocation.outDir.isEmpty())
            return LuvirCli::tr("--format needs --out-dir");
        if (invocation.format.isEmpty())
            return LuvirCli::tr("--out-dir needs --format");
        invocation.format = invocation.format.toLower();
        if (!reportFormats().contains(invocation.format))
            return LuvirCli::tr("unknown format \"%1\" (%2)").arg(invocation.format, formatChoices());
        if (invocation.files.isEmpty())
            return LuvirCli::tr("missing %1").arg(QStringLiteral("FILE.db"));
        return {};
    }
    if (const QString error = checkCount(invocation.files, 2, LuvirCli::tr("FILE.db and OUT"));
        !error.isEmpty())
        return error;
    invocation.format = QFileInfo(invocation.files.at(1)).suffix().toLower();
    if (!reportFormats().contains(invocation.format))
        return LuvirCli::tr("OUT must end in %1").arg(formatChoices(QStringLiteral(".")));
    return {};
}

QString checkDownloadRegister(const Invocation &invocation)
{
    for (const QString &option : invocation.options)
        if (option != QLatin1String("--no-register") && option != QLatin1String("--register"))
            return LuvirCli::tr("download takes only --no-register or --register FILE");
    if (invocation.noRegister && !invocation.registerFile.isEmpty())
        return LuvirCli::tr("--no-register and --register exclude each other");
    return {};
}

QString checkRegister(Invocation &invocation, const QString &action)
{
    if (action.isNull())
        return LuvirCli::tr("missing COMMAND (add, list, assign, unassign, stats, export, protocol, properties, calib or backup)");
    const ActionEntry *entry = nullptr;
    for (const ActionEntry &candidate : kActions)
        if (action == QLatin1String(candidate.name))
            entry = &candidate;
    if (!entry)
        return LuvirCli::tr("unknown register command \"%1\"").arg(action);
    invocation.registerAction = entry->action;
    if (const QString error = misplacedRegisterOption(invocation, entry->action); !error.isEmpty())
        return error;
    if (invocation.structures.size() > 1 && entry->action != RegisterAction::Protocol)
        return LuvirCli::tr("--structure is given more than once; only register protocol takes several");

    switch (entry->action) {
    case RegisterAction::Add:
        if (selectionGiven(invocation) || !invocation.object.isNull())
            return LuvirCli::tr("register add takes only files");
        return invocation.files.isEmpty() ? LuvirCli::tr("missing FILE.db") : QString();
    case RegisterAction::List:
    case RegisterAction::Stats:
        if (!invocation.files.isEmpty())
            return LuvirCli::tr("unexpected argument \"%1\"").arg(invocation.files.first());
        return checkSelection(invocation);
    case RegisterAction::Assign:
        if (invocation.structure.isNull())
            return LuvirCli::tr("register assign needs --structure NAME");
        if (invocation.unassigned || invocation.from.isValid() || invocation.to.isValid())
            return LuvirCli::tr("register assign takes --structure, --object and --site only");
        return checkIds(invocation.files);
    case RegisterAction::Unassign:
        if (selectionGiven(invocation) || !invocation.object.isNull())
            return LuvirCli::tr("register unassign takes only ids");
        return checkIds(invocation.files);
    case RegisterAction::Export:
        if (invocation.structure.isNull())
            return LuvirCli::tr("register export needs --structure NAME");
        if (invocation.unassigned || invocation.from.isValid() || invocation.to.isValid())
            return LuvirCli::tr("register export takes --structure and --object only");
        if (invocation.files.size() != 1)
            return invocation.files.isEmpty()
                ? LuvirCli::tr("missing OUT.db")
                : LuvirCli::tr("unexpected argument \"%1\"").arg(invocation.files.at(1));
        return {};
    case RegisterAction::Protocol:
        return checkProtocol(invocation);
    case RegisterAction::Properties:
        return checkProperties(invocation);
    case RegisterAction::Calib:
        return checkRegisterCalib(invocation);
    case RegisterAction::Backup:
        if (selectionGiven(invocation) || !invocation.object.isNull())
            return LuvirCli::tr("register backup takes only OUT.sqlite");
        if (invocation.files.size() != 1)
            return invocation.files.isEmpty()
                ? LuvirCli::tr("missing OUT.sqlite")
                : LuvirCli::tr("unexpected argument \"%1\"").arg(invocation.files.at(1));
        return {};
    }
    return {};
}

} // namespace luvir::cli

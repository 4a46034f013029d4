// The arguments of the register command, and the register options of download.
#include "CommandLine.h"

#include "CellText.h"
#include "CliText.h"
#include "ProtocolFields.h"

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

// "2026-12-10" or "10.12.2026".
QDate parseDate(const QString &text)
{
    const QDate iso = QDate::fromString(text, Qt::ISODate);
    return iso.isValid() ? iso : QDate::fromString(text, QStringLiteral("dd.MM.yyyy"));
}

// The protocol's own options, with the first of them given; empty when none is.
QString protocolOptionGiven(const Invocation &invocation)
{
    if (invocation.values)
        return QStringLiteral("--values");
    if (!invocation.fieldsFile.isNull())
        return QStringLiteral("--fields");
    if (invocation.protocolDate.isValid())
        return QStringLiteral("--date");
    if (!invocation.outs.isEmpty())
        return QStringLiteral("--out");
    if (!invocation.number.isNull())
        return QStringLiteral("--number");
    return {};
}

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

// The help's lines are at most this wide; the keys of --fields stand indented so.
constexpr qsizetype kHelpWidth = 90;
const QString kKeysIndent = QStringLiteral("  ");

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

bool takeRegisterOption(
    const QString &arg, const QStringList &arguments, qsizetype &i, Invocation &invocation, QString &error)
{
    if (arg == QLatin1String("--no-register")) {
        invocation.noRegister = true;
        return true;
    }
    if (arg == QLatin1String("--unassigned")) {
        invocation.unassigned = true;
        return true;
    }
    if (takeValue(arg, QStringLiteral("--structure"), arguments, i, invocation.structure, error)) {
        invocation.structures << invocation.structure;
        return true;
    }
    if (takeValue(arg, QStringLiteral("--register"), arguments, i, invocation.registerFile, error)
        || takeValue(arg, QStringLiteral("--object"), arguments, i, invocation.object, error)
        || takeValue(arg, QStringLiteral("--fields"), arguments, i, invocation.fieldsFile, error)
        || takeValue(arg, QStringLiteral("--number"), arguments, i, invocation.number, error))
        return true;
    if (QString out; takeValue(arg, QStringLiteral("--out"), arguments, i, out, error)) {
        invocation.outs << out;
        return true;
    }
    if (takeValue(arg, QStringLiteral("--site"), arguments, i, invocation.site, error)) {
        invocation.siteGiven = true;
        return true;
    }
    for (const QString &property : kStructureProperties + kObjectProperties) {
        const qsizetype before = i;
        QString value;
        if (takeValue(arg, QStringLiteral("--") + property, arguments, i, value, error)) {
            if (value.isEmpty() && (i > before || arg.contains(u'=')))
                error.clear(); // given empty: the field is cleared
            invocation.properties.insert(property, value);
            return true;
        }
    }
    for (const auto &[name, date] : {std::pair {QStringLiteral("--from"), &invocation.from},
             std::pair {QStringLiteral("--to"), &invocation.to},
             std::pair {QStringLiteral("--date"), &invocation.protocolDate}}) {
        QString value;
        if (takeValue(arg, name, arguments, i, value, error)) {
            if (error.isEmpty()) {
                *date = parseDate(value);
                if (!date->isValid())
                    error = LuvirCli::tr("%1 needs a date such as 2026-12-10 or 10.12.2026, not \"%2\"")
                                .arg(name, value);
            }
            return true;
        }
    }
    return false;
}

QString checkDownloadRegister(const Invocation &invocation)
{
    if (selectionGiven(invocation) || !invocation.object.isNull() || invocation.siteGiven
        || !protocolOptionGiven(invocation).isEmpty() || !invocation.properties.isEmpty())
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
    if (invocation.noRegister)
        return LuvirCli::tr("--no-register is for download");
    if (invocation.byKind && entry->action != RegisterAction::Stats)
        return LuvirCli::tr("--by-kind is for register stats");
    if (invocation.siteGiven && entry->action != RegisterAction::Assign)
        return LuvirCli::tr("--site is for register assign");
    if (const QString option = protocolOptionGiven(invocation);
        !option.isEmpty() && entry->action != RegisterAction::Protocol)
        return LuvirCli::tr("%1 is for register protocol").arg(option);
    if (!invocation.properties.isEmpty() && entry->action != RegisterAction::Properties)
        return LuvirCli::tr("--%1 is for register properties").arg(invocation.properties.firstKey());
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

QString registerHelpText()
{
    // The keys of --fields FILE, wrapped under the help's indentation.
    QStringList lines {QString()};
    for (const QString &key : protocolFieldKeys()) {
        const QString item = key + (key == protocolFieldKeys().last() ? QString() : QStringLiteral(","));
        if (!lines.last().isEmpty()
            && lines.last().size() + 1 + item.size() > kHelpWidth - kKeysIndent.size())
            lines << QString();
        lines.last() += (lines.last().isEmpty() ? QString() : QStringLiteral(" ")) + item;
    }
    return LuvirCli::tr(
        "Usage: luvir-cli register [--register FILE] COMMAND [OPTIONS] [ARGUMENTS]\n"
        "\n"
        "The register of measurements (\"Журнал испытаний\"): every measurement ever downloaded\n"
        "or added, kept once, with the object, structure and site it was taken on. FILE is the\n"
        "register to use; without it, the one the program used last (at first register.sqlite\n"
        "in ~/.local/share/luvir/). A register made by a newer program, a damaged one and a\n"
        "file that is not a register are refused with a message and left as they are.\n"
        "FILE may also be a register on a PostgreSQL server, given as a libpq connection URI:\n"
        "postgresql://USER@HOST:PORT/DATABASE, ?sslmode=require and the like after it. The\n"
        "password is taken where libpq looks for it (PGPASSWORD, ~/.pgpass, a client\n"
        "certificate) and never remembered.\n"
        "\n"
        "Commands:\n"
        "  add FILE.db...      add archive files: every measurement once, every file remembered\n"
        "                      as a source; prints \"Журнал: добавлено N, уже были M\" (and\n"
        "                      \", удалены ранее K\"); refused files go to standard error, exit 1\n"
        "  list [SELECTION]    the measurements in time order, tab-separated, after a line of\n"
        "                      the eleven column names: id, №, Дата и время, Вид изделия,\n"
        "                      Направление, Зависимость, Kc, Прочность, МПа, Участок,\n"
        "                      Конструкция, Объект; № counts the listed lines from 1\n"
        "  assign --structure NAME [--object NAME] [--site LABEL] ID...\n"
        "                      put measurements in a structure, with a site label; a structure\n"
        "                      (and object) not yet in the register is made when --object is given\n"
        "  unassign ID...      take measurements out of their structure\n"
        "  stats [--by-kind] [SELECTION]\n"
        "                      the statistics of the selected measurements, as \"luvir-cli stats\"\n"
        "  export --structure NAME [--object NAME] OUT.db\n"
        "                      a structure's measurements (at most 999) as an archive file\n"
        "  protocol --structure NAME [--structure NAME]... [--object NAME] [--values]\n"
        "           [--fields FILE] [--date DATE] [--number N] --out OUT [--out OUT]\n"
        "                      the test protocol (\"Протокол испытаний\") of the structures, all\n"
        "                      of one object: each site's row and each structure's figures (with\n"
        "                      --values also each site's intermediate values), as PDF or as an\n"
        "                      ODT document to finish in a word processor, by the suffix of OUT\n"
        "                      (.pdf or .odt; --out twice: both files of one protocol, one\n"
        "                      number); prints \"Protocol saved: FULL PATH\" for each file\n"
        "  properties --structure NAME --object NAME [--kind TEXT] [--class TEXT]\n"
        "             [--concreted DATE|none] [--notes TEXT]\n"
        "  properties --object NAME [--address TEXT] [--customer TEXT] [--notes TEXT]\n"
        "                      what the protocol prints about a structure or an object: the\n"
        "                      options set it (an empty TEXT clears a field; --kind is one of\n"
        "                      the meter's element kinds, such as колонна, or none); a date of\n"
        "                      concreting after the structure's first test is refused, exit 1,\n"
        "                      nothing kept. Without options, printed as \"key: value\" lines\n"
        "                      (a line break in a value as \\n)\n"
        "  calib export SET OUT.csv\n"
        "                      the sites of the calibration set called SET as \"label;indirect;\n"
        "                      direct\" lines, the file \"luvir-cli calib\" reads\n"
        "  backup OUT.sqlite   a copy of the whole register as of one moment, made while others\n"
        "                      may write; it opens as a register. Copying the file itself misses\n"
        "                      the latest changes. A register on a server is copied with pg_dump.\n"
        "                      Prints \"Register copy saved: FULL PATH\"\n"
        "\n"
        "The protocol's header fields are those kept in the register from the last protocol:\n"
        "the next number of the series, the laboratory, the executor and the normative\n"
        "documents for every protocol, the customer and address per object, the verification\n"
        "per meter. It is dated today, or DATE. --fields FILE sets fields from \"key=value\"\n"
        "lines (UTF-8; in a value \\n is a line break and \\\\ a backslash; empty lines and\n"
        "lines starting with # are skipped); --date and --number N win over FILE. The keys\n"
        "(standards separated by ;):\n"
        "{keys}\n"
        "Each run that writes is one protocol: once a file is written its fields are kept for\n"
        "the next one; a run that wrote nothing keeps nothing. The series goes on from its own\n"
        "last number (\"17/26\" after \"16/26\"); a number of another form (\"1/26-К\") is that\n"
        "protocol's alone, and a number N/YY starts again at 1 in a new year (\"1/27\"). A\n"
        "structure without measurements gets an empty table. The program computes no strength\n"
        "class and no verdict: the conclusion is the engineer's own text.\n"
        "\n"
        "SELECTION (without it: every measurement):\n"
        "  --structure NAME [--object NAME]   the measurements of one structure\n"
        "  --unassigned                       the measurements of no structure\n"
        "  --from DATE  --to DATE             taken on or after, on or before DATE\n"
        "                                     (2026-12-10 or 10.12.2026)\n"
        "\n"
        "Exit status: 0 done, 1 a file or the register refused or failed (nothing changed;\n"
        "for protocol also: written, but its fields not kept), 2 wrong usage.\n")
        .replace(QStringLiteral("{keys}"), kKeysIndent + lines.join(u'\n' + kKeysIndent));
}

} // namespace luvir::cli

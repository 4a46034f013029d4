// register properties: what the protocol prints about a structure or an object, set from a
// script or printed for one. The register checks and keeps it; this file turns the options
// into the record and the record into "key: value" lines.
#include "Commands.h"
#include "RegisterCommand.h"

#include "CliText.h"

#include "CellText.h"
#include "RegisterStructureDates.h"

namespace luvir::cli {

namespace {

const QString kDateFormat = QStringLiteral("dd.MM.yyyy");
const QString kNone = QStringLiteral("none");

// "2026-12-10" or "10.12.2026"; the parser has checked it.
QDate givenDate(const QString &text)
{
    const QDate iso = QDate::fromString(text, Qt::ISODate);
    return iso.isValid() ? iso : QDate::fromString(text, kDateFormat);
}

// A text on one line: a line break as "\n", a backslash as "\\", as --fields files write them.
QString oneLine(const QString &text)
{
    QString line = text;
    line.replace(u'\\', QStringLiteral("\\\\"));
    line.replace(QStringLiteral("\r\n"), QStringLiteral("\\n"));
    line.replace(u'\n', QStringLiteral("\\n"));
    line.replace(u'\r', QStringLiteral("\\n"));
    return line;
}

QString keyLines(const QList<std::pair<QString, QString>> &fields)
{
    QString text;
    for (const auto &[key, value] : fields)
        text += key + u':' + (value.isEmpty() ? QString() : u' ' + oneLine(value)) + u'\n';
    return text;
}

class PropertiesRun
{
public:
    PropertiesRun(Register &reg, const Invocation &invocation, CliContext &context)
        : m_register(reg)
        , m_invocation(invocation)
        , m_context(context)
    {
    }

    int run() { return m_invocation.structure.isNull() ? object() : structure(); }

private:
    int failed(const QString &text)
    {
        m_context.console.err(text + u'\n');
        return kExitFailed;
    }

    QString given(const QString &key) const { return m_invocation.properties.value(key); }
    bool has(const QString &key) const { return m_invocation.properties.contains(key); }

    int object()
    {
        const QList<RegisterObject> found = m_register.findObjects(m_invocation.object);
        if (!m_register.errorString().isEmpty())
            return failed(registerFailure(m_register));
        if (found.size() != 1)
            return failed(found.isEmpty()
                    ? LuvirCli::tr("luvir-cli: no object \"%1\" in the register").arg(m_invocation.object)
                    : LuvirCli::tr("luvir-cli: several objects are called \"%1\"").arg(m_invocation.object));
        RegisterObject object = found.first();
        if (m_invocation.properties.isEmpty()) {
            m_context.console.out(keyLines(
                {{QStringLiteral("object"), object.name}, {QStringLiteral("address"), object.address},
                    {QStringLiteral("customer"), object.customer}, {QStringLiteral("notes"), object.notes}}));
            return kExitOk;
        }
        if (has(QStringLiteral("address")))
            object.address = given(QStringLiteral("address"));
        if (has(QStringLiteral("customer")))
            object.customer = given(QStringLiteral("customer"));
        if (has(QStringLiteral("notes")))
            object.notes = given(QStringLiteral("notes"));
        return m_register.updateObject(object) ? kExitOk : failed(registerFailure(m_register));
    }

    int structure()
    {
        QString error;
        auto found
            = findNamedStructure(m_register, m_invocation.structure, m_invocation.object, false, error);
        if (!found)
            return failed(error);
        RegisterStructure &structure = *found;
        if (m_invocation.properties.isEmpty()) {
            const int kind = structure.elementKind;
            m_context.console.out(keyLines({{QStringLiteral("object"), m_invocation.object},
                {QStringLiteral("structure"), structure.name},
                {QStringLiteral("kind"),
                    kind >= 0 && kind < ElementKindNames.size() ? ElementKindNames.at(kind) : kNone},
                {QStringLiteral("class"), structure.designClass},
                {QStringLiteral("concreted"),
                    structure.concretedOn.isValid() ? structure.concretedOn.toString(kDateFormat) : kNone},
                {QStringLiteral("notes"), structure.notes}}));
            return kExitOk;
        }
        if (has(QStringLiteral("kind"))) {
            const QString kind = given(QStringLiteral("kind"));
            structure.elementKind = -1;
            for (int code = 0; code < ElementKindNames.size(); ++code)
                if (ElementKindNames.at(code).compare(kind, Qt::CaseInsensitive) == 0)
                    structure.elementKind = code;
        }
        if (has(QStringLiteral("class")))
            structure.designClass = given(QStringLiteral("class")).trimmed();
        if (has(QStringLiteral("notes")))
            structure.notes = given(QStringLiteral("notes"));
        if (has(QStringLiteral("concreted"))) {
            const QString date = given(QStringLiteral("concreted"));
            structure.concretedOn = date.isEmpty() || date == kNone ? QDate() : givenDate(date);
            // The window's check: a date after the first test is refused, nothing kept.
            if (const QString refusal
                = concretingDateRefusal(m_register, structure.id, structure.concretedOn);
                !refusal.isEmpty())
                return failed(refusal);
        }
        return m_register.updateStructure(structure) ? kExitOk : failed(registerFailure(m_register));
    }

    Register &m_register;
    const Invocation &m_invocation;
    CliContext &m_context;
};

} // namespace

int runRegisterProperties(Register &reg, const Invocation &invocation, CliContext &context)
{
    return PropertiesRun(reg, invocation, context).run();
}

} // namespace luvir::cli

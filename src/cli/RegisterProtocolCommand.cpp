// register protocol: the test protocol of the structures named at the command line. The
// protocol library makes and writes it; this file finds the structures, applies the
// options and keeps the header fields for the next protocol once the file is written.
#include "Commands.h"
#include "RegisterCommand.h"

#include "CliText.h"

#include "ProtocolFields.h"
#include "ProtocolWriter.h"
#include "RegisterProtocol.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace luvir::cli {

namespace {

class ProtocolRun
{
public:
    ProtocolRun(Register &reg, const Invocation &invocation, CliContext &context)
        : m_register(reg)
        , m_invocation(invocation)
        , m_context(context)
    {
    }

    int run()
    {
        QList<RegisterStructure> structures;
        if (!findStructures(structures))
            return kExitFailed;
        QList<RegisterId> ids;
        for (const RegisterStructure &structure : structures)
            ids << structure.id;
        const QDate today
            = m_invocation.protocolDate.isValid() ? m_invocation.protocolDate : m_context.now().date();
        QString error;
        std::optional<ProtocolContent> content = protocolFromRegister(m_register, ids, today, error);
        if (!content)
            return failed(QStringLiteral("Журнал: %1.").arg(error));
        if (!m_invocation.fieldsFile.isNull() && !readFields(content->header))
            return kExitFailed;
        if (m_invocation.protocolDate.isValid())
            content->header.date = m_invocation.protocolDate; // the option wins over the file
        if (!m_invocation.number.isNull())
            content->header.number = m_invocation.number;
        content->withValues = m_invocation.values;

        // One protocol in each file asked for, with one number. Once one is written the
        // number is used: the fields are kept even when the other file fails.
        bool allWritten = true;
        bool anyWritten = false;
        for (qsizetype i = 0; i < m_invocation.outs.size(); ++i) {
            const QString &out = m_invocation.outs.at(i);
            const bool written = m_invocation.formats.at(i) == QLatin1String("odt")
                ? writeProtocolOdt(*content, out, &error, m_context.decimalSeparator)
                : writeProtocolPdf(*content, out, &error, m_context.decimalSeparator);
            if (!written) {
                failed(error);
                allWritten = false;
                continue;
            }
            anyWritten = true;
            m_context.console.out(
                LuvirCli::tr("Protocol saved: %1").arg(QDir::toNativeSeparators(QFileInfo(out).absoluteFilePath()))
                + u'\n');
        }
        if (!anyWritten)
            return kExitFailed; // nothing kept: the next protocol takes this number
        if (!keepProtocolFields(m_register, structures.first().objectId, content->header, error))
            return failed(LuvirCli::tr("luvir-cli: the protocol's fields were not kept in the register: %1")
                              .arg(error));
        return allWritten ? kExitOk : kExitFailed;
    }

private:
    int failed(const QString &text)
    {
        m_context.console.err(text + u'\n');
        return kExitFailed;
    }

    // Each structure named, once, all of one object; false with the reason told.
    bool findStructures(QList<RegisterStructure> &structures)
    {
        for (const QString &name : m_invocation.structures) {
            QString error;
            const auto found = findNamedStructure(m_register, name, m_invocation.object, false, error);
            if (!found) {
                failed(error);
                return false;
            }
            if (std::none_of(structures.cbegin(), structures.cend(),
                    [&](const RegisterStructure &s) { return s.id == found->id; }))
                structures << *found;
        }
        for (const RegisterStructure &structure : structures) {
            if (structure.objectId != structures.first().objectId) {
                failed(LuvirCli::tr("luvir-cli: the structures belong to different objects (%1); a "
                                    "protocol is made for one object")
                           .arg(objectNames(m_register, structures)));
                return false;
            }
        }
        return true;
    }

    // The header fields of --fields FILE over those from the register; false with the
    // reason told.
    bool readFields(ProtocolHeader &header)
    {
        const QString name = QDir::toNativeSeparators(m_invocation.fieldsFile);
        QFile file(m_invocation.fieldsFile);
        if (!file.open(QIODevice::ReadOnly)) {
            failed(LuvirCli::tr("luvir-cli: cannot read \"%1\": %2").arg(name, file.errorString()));
            return false;
        }
        QString error;
        QString text = QString::fromUtf8(file.readAll());
        if (text.startsWith(QChar(0xFEFF))) // a byte order mark, as Windows editors write
            text.remove(0, 1);
        if (!readProtocolFields(header, text, error)) {
            failed(QStringLiteral("%1: %2").arg(name, error));
            return false;
        }
        return true;
    }

    Register &m_register;
    const Invocation &m_invocation;
    CliContext &m_context;
};

} // namespace

int runRegisterProtocol(Register &reg, const Invocation &invocation, CliContext &context)
{
    return ProtocolRun(reg, invocation, context).run();
}

} // namespace luvir::cli

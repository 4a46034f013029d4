#include "AtomicFile.h"

#include <QFileInfo>
#include <QSaveFile>

namespace luvir {

bool writeFileAtomically(const QString &fileName, const std::function<bool(QIODevice &)> &write, QString *reason)
{
    auto fail = [reason](const QString &text) {
        if (reason)
            *reason = text;
        return false;
    };
    if (QFileInfo(fileName).isDir())
        return fail(QStringLiteral("это папка"));

    QSaveFile file(fileName);
    // Unbuffered, and flushed before the commit: a buffered QSaveFile flushes inside
    // commit() without noticing a failed flush, and would replace the earlier file with a
    // truncated one on a full disk.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(file.errorString());
    if (!write(file) || !file.flush()) {
        const QString text = file.errorString();
        file.cancelWriting();
        return fail(text);
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

bool writeFileAtomically(const QString &fileName, const QByteArray &bytes, QString *reason)
{
    return writeFileAtomically(
        fileName, [&bytes](QIODevice &device) { return device.write(bytes) == bytes.size(); }, reason);
}

} // namespace luvir

#include "AtomicFile.h"

#include <QFileInfo>
#include <QSaveFile>

namespace luvir {

bool writeWhole(QIODevice &device, QByteArrayView bytes)
{
    while (!bytes.isEmpty()) {
        const qint64 written = device.write(bytes.data(), bytes.size());
        if (written <= 0)
            return false;
        bytes = bytes.sliced(written);
    }
    return true;
}

bool writeFileAtomically(const QString &fileName, const QByteArray &bytes, QString *reason)
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
    if (!writeWhole(file, bytes) || !file.flush()) {
        const QString text = file.errorString();
        file.cancelWriting();
        return fail(text);
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

} // namespace luvir

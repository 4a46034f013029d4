#pragma once
// Writing a file so that it appears complete under its name or not at all: the content
// goes to a temporary file beside the target, which replaces the target only once every
// byte is on disk. On any failure an earlier file of that name stays as it was and no
// temporary file remains.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class QIODevice;

namespace luvir {

// Writes `bytes` to a file or a file-like device. A write that stores only part of the
// data is no error to the system (a disk that fills part-way takes what fits); the rest
// is written again until every byte is stored or the system refuses and says why (no
// space, quota, I/O error): the device's errorString() then holds that reason.
bool writeWhole(QIODevice &device, QByteArrayView bytes);

// On failure `reason` (when given) receives the system's reason, without the file name.
bool writeFileAtomically(const QString &fileName, const QByteArray &bytes, QString *reason = nullptr);

} // namespace luvir

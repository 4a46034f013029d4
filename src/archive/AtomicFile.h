#pragma once
// Writing a file so that it appears complete under its name or not at all: the content
// goes to a temporary file beside the target, which replaces the target only once every
// byte is on disk. On any failure an earlier file of that name stays as it was and no
// temporary file remains.

#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;

namespace luvir {

// `write` puts the content on the device and returns false on failure. On failure
// `reason` (when given) receives the system's reason, without the file name.
bool writeFileAtomically(const QString &fileName, const std::function<bool(QIODevice &)> &write,
                         QString *reason = nullptr);
bool writeFileAtomically(const QString &fileName, const QByteArray &bytes, QString *reason = nullptr);

} // namespace luvir

#pragma once
// The protocol written to a file: PDF (the pages as printed) or ODT (the document, for
// LibreOffice Writer and Word to finish). The file is written beside its target and moved
// into place once complete, so a failure leaves an earlier file of that name as it was.

#include "ProtocolContent.h"

#include <QString>

class QIODevice;

namespace luvir {

class ProtocolPages;

// On failure `error` (when given) receives "Не удалось сохранить файл "PATH": REASON",
// with the file's full path. Numbers take `separator`, the regional settings' when empty.
bool writeProtocolPdf(const ProtocolContent &content, const QString &fileName, QString *error = nullptr,
    const QString &separator = {});
bool writeProtocolOdt(const ProtocolContent &content, const QString &fileName, QString *error = nullptr,
    const QString &separator = {});

// The same onto a device; false when the device refuses the bytes.
bool writeProtocolPdf(const ProtocolPages &pages, QIODevice &device);
bool writeProtocolOdt(const ProtocolContent &content, const QString &separator, QIODevice &device);

} // namespace luvir

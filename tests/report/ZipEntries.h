#pragma once
// Reads the files out of a zip archive (stored or deflated), enough to look into the
// spreadsheets the report writes.

#include <QByteArray>
#include <QMap>
#include <QString>

namespace luvir::test {

// Every file of the archive by its name; empty when the archive cannot be read.
QMap<QString, QByteArray> readZipEntries(const QByteArray &zip);

} // namespace luvir::test

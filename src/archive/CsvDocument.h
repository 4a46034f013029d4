#pragma once
// Tables of texts as other programs read them: CSV with fields separated by ";", UTF-8
// with a byte-order mark, lines ended by CR LF. Control characters are removed; a field
// holding ";" or '"' is put in double quotes with its quotes doubled, so that every
// reader splits the line as printed. The report and the statistics save their tables so.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace luvir {

// Any table of texts as such a CSV file, one line per entry of `lines`.
QByteArray csvDocument(const QList<QStringList> &lines);

// `text` without the characters no cell of a file for another program may hold.
QString withoutControlCharacters(const QString &text);

} // namespace luvir

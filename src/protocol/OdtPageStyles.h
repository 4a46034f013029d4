#pragma once
// Qt's ODF writer saves a document's body only (content.xml): no page styles, so no page
// size, no running header and no page numbers. This adds them to the package: A4 with the
// PDF's margins, the running header from the second page on, and "Страница N из M" at the
// foot of every page as fields that LibreOffice and Word fill in as the text flows; and
// the text's font.

#include <QByteArray>
#include <QString>

namespace luvir {

// Adds styles.xml (and its line in the manifest) to the ODT package `odt`, with `title`
// as the running header, and names `fontFamily` as the text's font (Qt names the default
// font's family whatever the text's). False, leaving `odt` as it was, when the package
// cannot be read or written.
bool addOdtPageStyles(QByteArray &odt, const QString &title, const QString &fontFamily);

// The styles.xml of the protocol's pages.
QByteArray odtPageStyles(const QString &title, const QString &fontFamily);

} // namespace luvir

#pragma once
// The protocol as a rich-text document: headings, the header fields, one table of sites
// per structure with its statistics, the conclusion and the signature lines. The ODT is
// this document as Qt's ODF writer saves it; the PDF, the preview and the printout are
// its pages (ProtocolPages).

#include "ProtocolContent.h"
#include "ProtocolFacts.h"

#include <QFont>
#include <QTextDocument>

#include <memory>

namespace luvir {

// The typeface of the protocol: Times New Roman, else its metric twin Liberation Serif,
// else DejaVu Serif, at `points`.
QFont protocolFont(qreal points);

// "Протокол испытаний № 12/3 от 05.03.2026": the running header of pages after the first.
QString protocolTitleLine(const ProtocolHeader &header);

// A typed text as the document holds it: line breaks (CR LF, CR or LF) become line
// separators, so that a text stays one paragraph (Qt's ODF writer makes each paragraph of a
// table cell a cell of its own); other control characters, which an ODF file cannot carry,
// are left out.
QString documentText(const QString &typed);

std::unique_ptr<QTextDocument> protocolDocument(
    const ProtocolContent &content, const ProtocolFacts &facts);

} // namespace luvir

#pragma once
// The protocol laid out on A4 pages: the document cut into pages between lines and table
// rows (a row never breaks across pages; a table's title row is repeated), the running
// header "Протокол испытаний № …" on every page after the first, and "Страница N из M" at
// the foot of every page. The PDF, the preview and the printer paint the same pages.

#include "ProtocolContent.h"

#include <QImage>
#include <QPageLayout>
#include <QString>
#include <QTextDocument>

#include <memory>

class QPainter;

namespace luvir {

class ProtocolPages
{
public:
    // Page coordinates: dots of 1/1200 inch from the page's top left corner.
    static constexpr int kDotsPerInch = 1200;

    // Numbers take `separator`.
    ProtocolPages(const ProtocolContent &content, const QString &separator);
    ~ProtocolPages();
    ProtocolPages(const ProtocolPages &) = delete;
    ProtocolPages &operator=(const ProtocolPages &) = delete;

    int pageCount() const { return m_pageCount; }
    // A4 portrait without margins: the pages are painted whole.
    static QPageLayout pageLayout();
    // The page's size in dots.
    static QSizeF pageSize();

    // Paints page `index` (0 .. pageCount() - 1) with the painter in dots.
    void paintPage(QPainter &painter, int index) const;

    // The laid-out document, for readers that want its text.
    const QTextDocument &document() const { return *m_document; }

private:
    QImage m_metrics {1, 1, QImage::Format_RGB32}; // measures the document in dots
    std::unique_ptr<QTextDocument> m_document;
    QString m_title; // the running header
    int m_pageCount = 0;
};

// "Страница 2 из 7".
QString pageNumberText(int number, int count);

} // namespace luvir

#include "ProtocolPages.h"

#include "ProtocolDocument.h"
#include "ProtocolFacts.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextFrame>

namespace luvir {

namespace {

// Page geometry in millimetres: A4, the margins, and the bands of the running header and
// of the page number between the margins and the text.
constexpr qreal kPageWidthMm = 210;
constexpr qreal kPageHeightMm = 297;
constexpr qreal kLeftMm = 20;
constexpr qreal kRightMm = 10;
constexpr qreal kTopMm = 10;
constexpr qreal kBottomMm = 10;
constexpr qreal kBandMm = 9;
constexpr qreal kBandPoints = 9;

constexpr qreal dots(qreal mm)
{
    return mm / 25.4 * ProtocolPages::kDotsPerInch;
}

// The rectangle of the document's text on every page.
QRectF bodyRect()
{
    return QRectF(QPointF(dots(kLeftMm), dots(kTopMm + kBandMm)),
                  QPointF(dots(kPageWidthMm - kRightMm), dots(kPageHeightMm - kBottomMm - kBandMm)));
}

// The band fonts in dots, so that the painter's scale alone decides their size.
QFont bandFont()
{
    QFont font = protocolFont(kBandPoints);
    font.setPixelSize(qRound(kBandPoints / 72.0 * ProtocolPages::kDotsPerInch));
    return font;
}

} // namespace

QString pageNumberText(int number, int count)
{
    return QStringLiteral("Страница %1 из %2").arg(number).arg(count);
}

ProtocolPages::ProtocolPages(const ProtocolContent &content, const QString &separator)
    : m_title(protocolTitleLine(content.header))
{
    // The document is measured in the pages' own dots, as on the PDF. Qt rounds a table's
    // rules to whole dots of the device the document is measured on: here they are
    // 0.08 mm; without a device (the screen's 96 dots per inch) 0.26 mm or nothing.
    const int dotsPerMetre = qRound(kDotsPerInch / 0.0254);
    m_metrics.setDotsPerMeterX(dotsPerMetre);
    m_metrics.setDotsPerMeterY(dotsPerMetre);
    m_document = protocolDocument(content, protocolFacts(content, separator));
    // Laid out once, on the pages' own dots. Qt lays a document out whenever its layout is
    // made, its frames' formats change or its page size does, unless the page size is null:
    // so the margin first, while there is no layout, then a null page size while the layout is
    // made and given its device, and the page size last. Made the other way, a protocol of
    // 1,000 sites was laid out three times (its PDF took twice as long), with the same pages
    // in the end.
    QTextFrameFormat root = m_document->rootFrame()->frameFormat();
    root.setMargin(0);
    m_document->rootFrame()->setFrameFormat(root);
    m_document->setPageSize(QSizeF(0, 0));
    m_document->documentLayout()->setPaintDevice(&m_metrics);
    m_document->setPageSize(bodyRect().size());
    m_pageCount = m_document->pageCount();
}

ProtocolPages::~ProtocolPages() = default;

QPageLayout ProtocolPages::pageLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF());
}

QSizeF ProtocolPages::pageSize()
{
    return QSizeF(dots(kPageWidthMm), dots(kPageHeightMm));
}

void ProtocolPages::paintPage(QPainter &painter, int index) const
{
    const QRectF body = bodyRect();
    painter.save();
    painter.translate(body.left(), body.top() - index * body.height());
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = QRectF(QPointF(0, index * body.height()), body.size());
    context.palette.setColor(QPalette::Text, Qt::black);
    painter.setClipRect(context.clip);
    m_document->documentLayout()->draw(&painter, context);
    painter.restore();

    painter.save();
    painter.setPen(Qt::black);
    const QFont font = bandFont();
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    if (index > 0) {
        const QRectF band(body.left(), dots(kTopMm), body.width(), metrics.height());
        painter.drawText(band, Qt::AlignLeft | Qt::AlignVCenter,
                         metrics.elidedText(m_title, Qt::ElideRight, band.width()));
        painter.drawLine(QLineF(band.bottomLeft(), band.bottomRight()));
    }
    const QRectF foot(body.left(), dots(kPageHeightMm - kBottomMm) - metrics.height(), body.width(),
                      metrics.height());
    painter.drawText(foot, Qt::AlignRight | Qt::AlignVCenter, pageNumberText(index + 1, m_pageCount));
    painter.restore();
}

} // namespace luvir

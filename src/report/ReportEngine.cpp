#include "ReportEngine.h"

#include <QFontMetricsF>

#include <algorithm>

namespace luvir {

namespace {

// Bands that reach this little beyond the footer's top still fit: the lengths are
// decimal millimetres converted to units, so exact sums come out a hair too large.
constexpr double kFitTolerance = 1e-6;

bool holdsArrows(const QString &text)
{
    return std::any_of(
        text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x2190 && c.unicode() <= 0x21FF; });
}

// The font a text is drawn in. Arrows come from the list's last family, the one named for
// them, for the whole text: a first family that holds only some arrows would otherwise
// draw ↑ → ↓ in one style and ↗ ↘ in another.
QFont fontForText(const QFont &font, const QString &text)
{
    const QStringList families = font.families();
    if (families.size() < 2 || !holdsArrows(text))
        return font;
    QFont arrows = font;
    arrows.setFamilies(QStringList {families.constLast()} + families.mid(0, families.size() - 1));
    return arrows;
}

PreparedText layOutText(
    const ReportText &object, const QPointF &bandOrigin, const ReportValueFunction &getValue)
{
    PreparedText text;
    text.name = object.name;
    text.text = expandReportText(object.text, getValue);
    text.font = fontForText(object.font, text.text);
    text.alignment = object.alignment;
    text.framed = object.framed;
    text.numeric = object.numeric;
    text.rect = object.rect.translated(bandOrigin);
    if (object.widthFollowsText) {
        const double width = QFontMetricsF(text.font).horizontalAdvance(text.text) + 2 * kTextGapX;
        text.rect.setLeft(text.rect.right() - width);
    }
    return text;
}

PreparedBand layOutBand(
    const ReportBand &band, const QRectF &area, double top, const ReportValueFunction &getValue)
{
    PreparedBand prepared;
    prepared.name = band.name;
    prepared.kind = band.kind;
    prepared.rect = QRectF(area.left(), top, area.width(), band.height);
    prepared.texts.reserve(band.texts.size());
    for (const ReportText &object : band.texts)
        prepared.texts.append(layOutText(object, prepared.rect.topLeft(), getValue));
    return prepared;
}

class Paginator
{
public:
    Paginator(const ReportTemplate &reportTemplate, const ReportValueFunction &getValue)
        : m_template(reportTemplate)
        , m_getValue(getValue)
        , m_area(reportTemplate.printableRect())
    {
        for (const ReportBand &band : m_template.bands)
            if (band.kind == ReportBand::PageFooter)
                m_footerHeight += band.height;
        m_report.pageSize = m_template.pageSizeUnits();
        m_report.margins = m_template.margins;
    }

    PreparedReport run(UserDataSet &dataSet)
    {
        startPage();
        for (const ReportBand &band : m_template.bands)
            if (band.kind == ReportBand::ReportTitle)
                place(band);
        for (const ReportBand &band : m_template.bands) {
            if (band.kind != ReportBand::MasterData || band.dataSetName != dataSet.userName())
                continue;
            for (dataSet.first(); !dataSet.eof(); dataSet.next())
                place(band);
        }
        finishPage();
        return std::move(m_report);
    }

private:
    void startPage()
    {
        m_report.pages.append(PreparedPage {});
        m_top = m_area.top();
        m_bandsOnPage = 0;
    }

    void finishPage()
    {
        double top = m_area.bottom() - m_footerHeight;
        for (const ReportBand &band : m_template.bands) {
            if (band.kind != ReportBand::PageFooter)
                continue;
            m_report.pages.last().bands.append(layOutBand(band, m_area, top, m_getValue));
            top += band.height;
        }
    }

    void place(const ReportBand &band)
    {
        const double limit = m_area.bottom() - m_footerHeight + kFitTolerance;
        // A band taller than a whole page goes on a page of its own rather than nowhere.
        if (m_top + band.height > limit && m_bandsOnPage > 0) {
            finishPage();
            startPage();
        }
        m_report.pages.last().bands.append(layOutBand(band, m_area, m_top, m_getValue));
        m_top += band.height;
        ++m_bandsOnPage;
    }

    const ReportTemplate &m_template;
    const ReportValueFunction &m_getValue;
    const QRectF m_area;
    double m_footerHeight = 0;
    PreparedReport m_report;
    double m_top = 0;
    int m_bandsOnPage = 0;
};

} // namespace

QString expandReportText(const QString &text, const ReportValueFunction &getValue)
{
    QString result;
    result.reserve(text.size());
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype open = text.indexOf(u'[', pos);
        const qsizetype close = open < 0 ? -1 : text.indexOf(u']', open + 1);
        if (close < 0) {
            result += QStringView(text).mid(pos);
            break;
        }
        result += QStringView(text).mid(pos, open - pos);
        QVariant value;
        if (getValue)
            getValue(text.mid(open + 1, close - open - 1).trimmed(), value);
        result += value.toString();
        pos = close + 1;
    }
    return result;
}

PreparedReport prepareReport(
    const ReportTemplate &reportTemplate, UserDataSet &dataSet, const ReportValueFunction &getValue)
{
    return Paginator(reportTemplate, getValue).run(dataSet);
}

} // namespace luvir

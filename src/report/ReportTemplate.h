#pragma once
// A report template: one page with its bands, each band with its text objects.
// Every length is in report units of 1/96 inch, measured from the page's printable area
// (page objects) or from the band's top-left corner (text objects).

#include <QFont>
#include <QList>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QRectF>
#include <QString>

namespace luvir {

inline constexpr double kReportUnitsPerInch = 96.0;
inline constexpr double kReportUnitsPerMm = kReportUnitsPerInch / 25.4;

constexpr double reportUnitsFromMm(double mm)
{
    return mm * kReportUnitsPerMm;
}

// The space between a text object's edges and its text, left/right and top/bottom.
inline constexpr double kTextGapX = 2.0;
inline constexpr double kTextGapY = 1.0;

// A text object ("memo"): its text may name variables as "[Name]".
struct ReportText {
    QString name;
    QRectF rect; // in the band
    QString text;
    QFont font; // sized in pixels (report units); a text holding arrows
                // (U+2190..U+21FF) is drawn in the last of its families
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop;
    bool framed = false; // a line on all four sides
    bool widthFollowsText = false; // the width becomes the text's width, the right edge stays
    bool numeric = false; // a value written as a decimal number is a number, not only text
};

struct ReportBand {
    enum Kind { ReportTitle, MasterData, PageFooter };
    QString name;
    Kind kind = MasterData;
    double height = 0;
    QString dataSetName; // master data bands: the data set they repeat over
    QList<ReportText> texts;
};

struct ReportTemplate {
    QString pageName;
    QPageSize pageSize {QPageSize::A4};
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF margins; // report units
    QList<ReportBand> bands;

    // The page's size in report units, orientation applied.
    QSizeF pageSizeUnits() const;
    // The printable area of the page in report units.
    QRectF printableRect() const;

    // The page as a printer sees it: paper, orientation and margins (in millimetres).
    QPageLayout pageLayout() const;
    // Takes the paper, orientation and margins of `layout`.
    void setPageLayout(const QPageLayout &layout);

    // The text object with this name in any band, or nullptr.
    ReportText *findText(const QString &name);
    const ReportText *findText(const QString &name) const;
};

} // namespace luvir

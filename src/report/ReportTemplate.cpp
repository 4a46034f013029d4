#include "ReportTemplate.h"

namespace luvir {

QSizeF ReportTemplate::pageSizeUnits() const
{
    const QSizeF mm = pageSize.size(QPageSize::Millimeter);
    const QSizeF units(reportUnitsFromMm(mm.width()), reportUnitsFromMm(mm.height()));
    return orientation == QPageLayout::Landscape ? units.transposed() : units;
}

QRectF ReportTemplate::printableRect() const
{
    return QRectF(QPointF(0, 0), pageSizeUnits()).marginsRemoved(margins);
}

QPageLayout ReportTemplate::pageLayout() const
{
    const QMarginsF mm(margins.left() / kReportUnitsPerMm, margins.top() / kReportUnitsPerMm,
        margins.right() / kReportUnitsPerMm, margins.bottom() / kReportUnitsPerMm);
    return QPageLayout(pageSize, orientation, mm, QPageLayout::Millimeter);
}

void ReportTemplate::setPageLayout(const QPageLayout &layout)
{
    pageSize = layout.pageSize();
    orientation = layout.orientation();
    const QMarginsF mm = layout.margins(QPageLayout::Millimeter);
    margins = QMarginsF(reportUnitsFromMm(mm.left()), reportUnitsFromMm(mm.top()),
        reportUnitsFromMm(mm.right()), reportUnitsFromMm(mm.bottom()));
}

ReportText *ReportTemplate::findText(const QString &name)
{
    for (ReportBand &band : bands)
        for (ReportText &text : band.texts)
            if (text.name == name)
                return &text;
    return nullptr;
}

const ReportText *ReportTemplate::findText(const QString &name) const
{
    return const_cast<ReportTemplate *>(this)->findText(name);
}

} // namespace luvir

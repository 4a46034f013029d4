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

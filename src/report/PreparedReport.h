#pragma once
// A report laid out into pages: what the preview, the printer and every export read.
// Positions are in report units (1/96 inch) from the page's top-left corner.

#include "ReportTemplate.h"

#include <QList>

namespace luvir {

struct PreparedText {
    QString name;
    QRectF rect;
    QString text; // expressions already replaced by their values
    QFont font;
    Qt::Alignment alignment;
    bool framed = false;
    bool numeric = false; // see ReportText::numeric
};

struct PreparedBand {
    QString name;
    ReportBand::Kind kind = ReportBand::MasterData;
    QRectF rect;
    QList<PreparedText> texts; // in template order
};

struct PreparedPage {
    QList<PreparedBand> bands; // top to bottom
};

struct PreparedReport {
    QSizeF pageSize; // report units
    QMarginsF margins; // of the template's page, report units
    QList<PreparedPage> pages;

    int pageCount() const { return static_cast<int>(pages.size()); }
};

} // namespace luvir

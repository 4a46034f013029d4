#pragma once
// Lays a template out over a data set: the title band once at the top of the first page,
// one master data band per record, the page footer at the bottom of every page, and a new
// page whenever the next band would reach into the footer.

#include "PreparedReport.h"
#include "ReportTemplate.h"
#include "UserDataSet.h"

#include <QVariant>

#include <QPageLayout>

#include <functional>

namespace luvir {

// Asked for the value of every "[Name]" in a text, while the band of the data set's
// current record is laid out. A value left invalid prints as an empty text.
using ReportValueFunction = std::function<void(const QString &name, QVariant &value)>;

// A report laid out for a page (paper, orientation, margins): how a preview lays its
// report out again when the page set-up changes.
using ReportLayout = std::function<PreparedReport(const QPageLayout &page)>;

// Replaces each "[Name]" in `text` by the value `getValue` gives for Name. Values are not
// searched for further expressions; a "[" without its "]" stays as it is.
QString expandReportText(const QString &text, const ReportValueFunction &getValue);

// Prepares the report. Needs a QGuiApplication (texts whose width follows the text are
// measured with the font). Walks `dataSet` from record 0 to its end.
PreparedReport prepareReport(
    const ReportTemplate &reportTemplate, UserDataSet &dataSet, const ReportValueFunction &getValue);

} // namespace luvir

#include "MeasurementReport.h"

#include "ReportEngine.h"

#include <memory>

namespace luvir {

namespace {

constexpr double kTitleHeight = 37.7953; // 10 mm
constexpr double kBandWidth = 718.1107; // 190 mm
constexpr double kTitleMemoWidth = 234.33086; // 62 mm
constexpr double kDataHeight = 18.89765; // 5 mm
constexpr double kFooterHeight = 22.67718; // 6 mm
constexpr int kTitlePixels = 19; // 14 pt
constexpr int kTextPixels = 13; // 10 pt

// The seven cells of a table row: left edge and width, as laid out (the small gaps and
// the last cell's overhang on the right are part of the layout).
struct CellColumn {
    double left, width;
};
constexpr CellColumn kCellColumns[kTableColumns] = {
    {0, 75.5906},
    {76.37013, 139.84261},
    {216.322975, 94.48825},
    {310.811225, 94.48825},
    {405.299475, 94.48825},
    {499.787725, 94.48825},
    {594.275975, 124.72449},
};

// The columns whose texts are numbers: №, Kc and strength.
constexpr bool kNumberColumns[kTableColumns] = {true, false, false, false, false, true, true};

char asciiLower(char16_t c)
{
    return static_cast<char>(c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : c);
}

// Equal but for the case of the letters A to Z; every other character must match exactly.
bool equalsIgnoringAsciiCase(const QString &text, QLatin1StringView name)
{
    if (text.size() != name.size())
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c > 0x7F || asciiLower(c) != asciiLower(static_cast<char16_t>(name.at(i).unicode())))
            return false;
    }
    return true;
}

// The time format without its time-zone name ("t" outside quotes) and the blanks around it.
QString withoutTimeZone(const QString &format)
{
    QString result;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        if (!quoted && c == u't')
            continue;
        result += c;
    }
    return result.trimmed();
}

} // namespace

QFont reportFont(int pixelSize, bool bold)
{
    QFont font;
    font.setFamilies(
        {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

ReportTemplate measurementReportTemplate()
{
    ReportTemplate report;
    report.pageName = QStringLiteral("Page1");
    report.pageSize = QPageSize(QPageSize::A4);
    report.orientation = QPageLayout::Portrait;
    const double margin = reportUnitsFromMm(10);
    report.margins = QMarginsF(margin, margin, margin, margin);

    ReportBand title {QStringLiteral("ReportTitle1"), ReportBand::ReportTitle, kTitleHeight, {}, {}};
    ReportText memo1;
    memo1.name = QStringLiteral("Memo1");
    memo1.rect = QRectF(0, 0, kTitleMemoWidth, kTitleHeight);
    memo1.font = reportFont(kTitlePixels, true);
    memo1.alignment = Qt::AlignLeft | Qt::AlignTop;
    ReportText memo9;
    memo9.name = QStringLiteral("Memo9");
    memo9.rect = QRectF(kBandWidth - kTitleMemoWidth, 0, kTitleMemoWidth, kTitleHeight);
    memo9.font = reportFont(kTextPixels);
    memo9.alignment = Qt::AlignRight | Qt::AlignTop;
    memo9.widthFollowsText = true;
    title.texts = {memo1, memo9};

    ReportBand data {
        QStringLiteral("MasterData1"), ReportBand::MasterData, kDataHeight, QStringLiteral("StringDS"), {}};
    for (int k = 0; k < kTableColumns; ++k) {
        ReportText cell;
        cell.name = QStringLiteral("Memo%1").arg(k + 2);
        cell.rect = QRectF(kCellColumns[k].left, 0, kCellColumns[k].width, kDataHeight);
        cell.text = QStringLiteral("[Cell%1]").arg(k + 1);
        cell.font = reportFont(kTextPixels);
        cell.alignment = Qt::AlignHCenter | Qt::AlignTop;
        cell.framed = true;
        cell.numeric = kNumberColumns[k];
        data.texts.append(cell);
    }

    const ReportBand footer {QStringLiteral("PageFooter1"), ReportBand::PageFooter, kFooterHeight, {}, {}};
    report.bands = {title, data, footer};
    return report;
}

QString reportDateTimeText(const QDateTime &moment, const QLocale &locale)
{
    const QString date = locale.toString(moment.date(), locale.dateFormat(QLocale::ShortFormat));
    if (moment.time() == QTime(0, 0))
        return date;
    return date + u' '
        + locale.toString(moment.time(), withoutTimeZone(locale.timeFormat(QLocale::LongFormat)));
}

MeasurementReport::MeasurementReport()
    : frxReport1(measurementReportTemplate())
{
}

void MeasurementReport::setUp(const MeasurementTable &table, const QDateTime &now, const QLocale &locale)
{
    m_table = &table;
    frxReport1.findText(QStringLiteral("Memo1"))->text = kReportModelName;
    frxReport1.findText(QStringLiteral("Memo9"))->text = reportDateTimeText(now, locale);
    StringDS.setRecordCount(table.rowCount());
}

PreparedReport MeasurementReport::prepare()
{
    return prepareReport(frxReport1, StringDS,
        [this](const QString &name, QVariant &value) { frxReport1GetValue(name, value); });
}

void MeasurementReport::frxReport1GetValue(const QString &VarName, QVariant &Value) const
{
    static const QLatin1StringView names[kTableColumns] = {
        QLatin1StringView("Cell1"),
        QLatin1StringView("Cell2"),
        QLatin1StringView("Cell3"),
        QLatin1StringView("Cell4"),
        QLatin1StringView("Cell5"),
        QLatin1StringView("Cell6"),
        QLatin1StringView("Cell7"),
    };
    for (int k = 0; k < kTableColumns; ++k) {
        if (equalsIgnoringAsciiCase(VarName, names[k])) {
            Value = m_table ? m_table->text(k, StringDS.recNo()) : QString();
            return;
        }
    }
}

PreparedReport prepareMeasurementReport(
    const MeasurementTable &table, const QDateTime &now, const QLocale &locale)
{
    MeasurementReport report;
    report.setUp(table, now, locale);
    return report.prepare();
}

ReportLayout measurementReportLayout(
    const MeasurementTable &table, const QDateTime &now, const QLocale &locale)
{
    auto report = std::make_shared<MeasurementReport>();
    report->setUp(table, now, locale);
    return [report](const QPageLayout &page) {
        report->frxReport1.setPageLayout(page);
        return report->prepare();
    };
}

} // namespace luvir

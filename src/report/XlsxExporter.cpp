#include "XlsxExporter.h"

#include "CsvDocument.h"

#include "AtomicFile.h"

#include "CNumericLocale.h"
#include "MeasurementReport.h"
#include "SpreadsheetNumber.h"

#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <vector>

namespace luvir {

namespace {

constexpr qsizetype kMaxCellText = 32767; // the longest text a spreadsheet cell holds
constexpr double kPointsPerUnit = 72.0 / kReportUnitsPerInch;
constexpr double kInchesPerUnit = 1.0 / kReportUnitsPerInch;
constexpr std::uint8_t kPaperA4 = 9;
constexpr qsizetype kMaxPageBreaks = 1023; // the most a sheet may hold

struct Column {
    double left, right;
};

// The sheet's columns: the cells of the report line with the most cells, left to right.
QList<Column> sheetColumns(const PreparedReport &report)
{
    const PreparedBand *widest = nullptr;
    for (const PreparedPage &page : report.pages)
        for (const PreparedBand &band : page.bands)
            if (!widest || band.texts.size() > widest->texts.size())
                widest = &band;
    QList<Column> columns;
    if (!widest)
        return columns;
    for (const PreparedText &text : widest->texts)
        columns.append({text.rect.left() - widest->rect.left(), text.rect.right() - widest->rect.left()});
    std::sort(
        columns.begin(), columns.end(), [](const Column &a, const Column &b) { return a.left < b.left; });
    return columns;
}

// The column a text goes to: the one holding its right edge when right-aligned, else
// the one holding its left edge.
int columnOf(const QList<Column> &columns, const PreparedText &text, double bandLeft)
{
    const bool right = text.alignment & Qt::AlignRight;
    const double x = right ? text.rect.right() - bandLeft - 0.5 : text.rect.left() - bandLeft + 0.5;
    int column = 0;
    for (int i = 0; i < columns.size(); ++i)
        if (columns.at(i).left <= x)
            column = i;
    return column;
}

QByteArray cellText(const QString &text)
{
    QString clean;
    clean.reserve(text.size());
    for (const QChar c : withoutControlCharacters(text))
        if (!c.isNonCharacter())
            clean += c;
    if (clean.size() > kMaxCellText) {
        clean.truncate(kMaxCellText);
        if (clean.back().isHighSurrogate())
            clean.chop(1);
    }
    return clean.toUtf8();
}

QString workbookError(lxw_error error)
{
    return QString::fromUtf8(lxw_strerror(error));
}

class Workbook
{
public:
    // The library keeps its own temporary files in `scratchDir`, beside the workbook.
    Workbook(const QString &path, const QString &scratchDir)
        : m_scratchDir(QFile::encodeName(scratchDir))
    {
        lxw_workbook_options options {};
        options.tmpdir = m_scratchDir.data();
        m_book = workbook_new_opt(QFile::encodeName(path).constData(), &options);
    }
    ~Workbook()
    {
        if (m_book)
            workbook_close(m_book);
    }
    Workbook(const Workbook &) = delete;
    Workbook &operator=(const Workbook &) = delete;

    lxw_workbook *get() const { return m_book; }
    // Assembles and writes the file; returns an empty text or the reason of the failure:
    // the system's, where the library could not create or write a file.
    QString close()
    {
        errno = 0;
        const lxw_error result = workbook_close(m_book);
        const int systemError = errno;
        m_book = nullptr;
        if (result == LXW_NO_ERROR)
            return {};
        const bool fileError = result == LXW_ERROR_CREATING_XLSX_FILE || result == LXW_ERROR_CREATING_TMPFILE
            || result == LXW_ERROR_READING_TMPFILE || result == LXW_ERROR_ZIP_FILE_OPERATION
            || result == LXW_ERROR_ZIP_CLOSE;
        return fileError && systemError != 0 ? qt_error_string(systemError)
                                             : workbookError(result);
    }

    // The cell format of a text, with `numberFormat` for a number cell (else empty).
    lxw_format *format(const PreparedText &text, const QByteArray &numberFormat = {})
    {
        const QString key = QStringLiteral("%1|%2|%3|%4|%5")
                                .arg(text.font.pixelSize())
                                .arg(text.font.bold())
                                .arg(text.framed)
                                .arg(int(text.alignment & Qt::AlignHorizontal_Mask))
                                .arg(QString::fromLatin1(numberFormat));
        if (lxw_format *known = m_formats.value(key))
            return known;
        lxw_format *format = workbook_add_format(m_book);
        if (!numberFormat.isEmpty())
            format_set_num_format(format, numberFormat.constData());
        format_set_font_name(format, "Arial");
        format_set_font_size(format, qRound(text.font.pixelSize() * kPointsPerUnit));
        if (text.font.bold())
            format_set_bold(format);
        if (text.framed)
            format_set_border(format, LXW_BORDER_THIN);
        if (text.alignment & Qt::AlignRight)
            format_set_align(format, LXW_ALIGN_RIGHT);
        else if (text.alignment & Qt::AlignHCenter)
            format_set_align(format, LXW_ALIGN_CENTER);
        else
            format_set_align(format, LXW_ALIGN_LEFT);
        format_set_align(format, LXW_ALIGN_VERTICAL_TOP);
        m_formats.insert(key, format);
        return format;
    }

private:
    QByteArray m_scratchDir;
    lxw_workbook *m_book = nullptr;
    QMap<QString, lxw_format *> m_formats;
};

// A number where the report's text is one in a number column, else the text; an empty
// text leaves the cell blank but framed like its neighbours.
lxw_error writeCell(
    Workbook &book, lxw_worksheet *sheet, lxw_row_t row, lxw_col_t column, const PreparedText &text)
{
    if (text.numeric) {
        if (const std::optional<SpreadsheetNumber> number = spreadsheetNumber(text.text))
            return worksheet_write_number(
                sheet, row, column, number->value, book.format(text, number->numberFormat));
    }
    return worksheet_write_string(sheet, row, column, cellText(text.text).constData(), book.format(text));
}

// Writes the workbook to `path`; returns an empty text or the reason of the failure.
QString writeWorkbook(
    const PreparedReport &report, const QString &path, const QString &scratchDir, const QDateTime &creationTime)
{
    // The library writes every number of the file with the C library's printf.
    const CNumericLocale pointDecimals;
    std::vector<lxw_row_t> pageBreaks; // rows that start a page, then 0; kept until the book is closed
    Workbook book(path, scratchDir);
    if (!book.get())
        return QStringLiteral("не удалось создать книгу");

    QByteArray title = kReportModelName.toUtf8();
    lxw_doc_properties properties {};
    properties.title = title.data();
    properties.created = creationTime.isValid() ? static_cast<time_t>(creationTime.toSecsSinceEpoch()) : 0;
    workbook_set_properties(book.get(), &properties);

    lxw_worksheet *sheet = workbook_add_worksheet(book.get(), "Отчёт");
    if (!sheet)
        return QStringLiteral("не удалось создать лист");

    const QList<Column> columns = sheetColumns(report);
    for (int i = 0; i < columns.size(); ++i) {
        const double pixels = columns.at(i).right - columns.at(i).left;
        worksheet_set_column(sheet, static_cast<lxw_col_t>(i), static_cast<lxw_col_t>(i),
            std::max(1.0, (pixels - 5) / 7), nullptr);
    }

    // Printed like the report: A4 with its margins, each report page on a sheet page.
    worksheet_set_paper(sheet, kPaperA4);
    const QMarginsF margins = report.margins * kInchesPerUnit;
    worksheet_set_margins(sheet, margins.left(), margins.right(), margins.top(), margins.bottom());
    lxw_row_t row = 0;
    for (const PreparedPage &page : report.pages) {
        if (row > 0 && static_cast<qsizetype>(pageBreaks.size()) < kMaxPageBreaks)
            pageBreaks.push_back(row);
        for (const PreparedBand &band : page.bands) {
            if (band.texts.isEmpty())
                continue;
            worksheet_set_row(sheet, row, band.rect.height() * kPointsPerUnit, nullptr);
            QList<bool> taken(std::max<qsizetype>(columns.size(), band.texts.size()), false);
            for (const PreparedText &text : band.texts) {
                int column = columnOf(columns, text, band.rect.left());
                while (column < taken.size() - 1 && taken.at(column))
                    ++column;
                taken[column] = true;
                const lxw_error error = writeCell(book, sheet, row, static_cast<lxw_col_t>(column), text);
                if (error != LXW_NO_ERROR)
                    return workbookError(error);
            }
            ++row;
        }
    }
    if (!pageBreaks.empty()) {
        pageBreaks.push_back(0);
        worksheet_set_h_pagebreaks(sheet, pageBreaks.data());
    }
    return book.close();
}

} // namespace

QString XlsxExporter::name() const
{
    return QStringLiteral("Электронная таблица");
}

QString XlsxExporter::fileFilter() const
{
    return QStringLiteral("Электронная таблица (*.xlsx)");
}

QString XlsxExporter::defaultSuffix() const
{
    return QStringLiteral("xlsx");
}

bool XlsxExporter::save(
    const PreparedReport &report, const QString &fileName, const ExportOptions &options)
{
    clearError();
    // The library writes to a file name of its own; the result is copied over the target
    // only once it is complete.
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return fail(scratch.errorString());
    const QString scratchFile = scratch.filePath(QStringLiteral("report.xlsx"));
    const QString problem = writeWorkbook(report, scratchFile, scratch.path(), options.created);
    if (!problem.isEmpty())
        return fail(problem);

    QFile built(scratchFile);
    if (!built.open(QIODevice::ReadOnly))
        return fail(built.errorString());
    const QByteArray bytes = built.readAll();
    QString reason;
    if (!writeFileAtomically(fileName, bytes, &reason))
        return fail(reason);
    return true;
}

} // namespace luvir

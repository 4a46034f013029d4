#include "ProtocolDocument.h"

#include <QTextCursor>
#include <QTextTable>

namespace luvir {

namespace {

constexpr qreal kBodyPoints = 11;
constexpr qreal kTablePoints = 9;
constexpr qreal kTitlePoints = 14;
constexpr qreal kHeadingPoints = 12;
const QString kDateFormat = QStringLiteral("dd.MM.yyyy");

QString dateText(const QDate &date)
{
    return date.isValid() ? date.toString(kDateFormat) : QString();
}

QTextCharFormat charFormat(qreal points, bool bold = false)
{
    // The family, size and weight only: every property more is copied and compared for
    // each fragment while the document is laid out.
    QTextCharFormat format;
    format.setFontFamilies(protocolFont(points).families());
    format.setFontPointSize(points);
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    return format;
}

// Appends paragraphs and tables to a document, in order.
class DocumentBuilder
{
public:
    explicit DocumentBuilder(QTextDocument &document)
        : m_cursor(&document)
    {
    }

    void paragraph(const QString &text, const QTextCharFormat &format,
                   Qt::Alignment alignment = Qt::AlignLeft, qreal spaceBefore = 0)
    {
        QTextBlockFormat block;
        block.setAlignment(alignment);
        block.setTopMargin(spaceBefore);
        startBlock(block, format);
        m_cursor.insertText(documentText(text), format);
    }

    void heading(const QString &text, qreal points, int level, Qt::Alignment alignment = Qt::AlignLeft)
    {
        QTextBlockFormat block;
        block.setAlignment(alignment);
        block.setHeadingLevel(level);
        block.setTopMargin(points * 0.8);
        block.setBottomMargin(points * 0.4);
        block.setPageBreakPolicy(QTextFormat::PageBreak_Auto);
        const QTextCharFormat format = charFormat(points, true);
        startBlock(block, format);
        m_cursor.insertText(documentText(text), format);
    }

    // A table of `rows` × widths.size() cells whose columns take the given per cents of
    // the width; with `headerRows`, those rows are repeated at the top of every page.
    QTextTable *table(int rows, const QList<qreal> &widths, bool ruled, int headerRows = 0)
    {
        QTextTableFormat format;
        QList<QTextLength> constraints;
        for (qreal w : widths)
            constraints << QTextLength(QTextLength::PercentageLength, w);
        format.setColumnWidthConstraints(constraints);
        format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
        format.setCellSpacing(0);
        format.setCellPadding(ruled ? 2 : 1);
        // Collapsed borders cost three times as long to lay out and paint; touching cells
        // with half-width borders draw the same grid.
        format.setBorderCollapse(false);
        format.setBorder(ruled ? 0.3 : 0);
        format.setBorderStyle(ruled ? QTextFrameFormat::BorderStyle_Solid : QTextFrameFormat::BorderStyle_None);
        format.setBorderBrush(Qt::black);
        format.setHeaderRowCount(headerRows);
        format.setTopMargin(4);
        format.setBottomMargin(4);
        QTextTable *table = m_cursor.insertTable(rows, static_cast<int>(widths.size()), format);
        m_cursor.movePosition(QTextCursor::End);
        m_afterTable = true;
        return table;
    }

    static void cell(QTextTable *table, int row, int column, const QString &text,
                     const QTextCharFormat &format, Qt::Alignment alignment = Qt::AlignLeft)
    {
        QTextCursor cursor = table->cellAt(row, column).firstCursorPosition();
        if (alignment != Qt::AlignLeft) {
            QTextBlockFormat block = cursor.blockFormat();
            block.setAlignment(alignment);
            cursor.setBlockFormat(block);
        }
        cursor.setBlockCharFormat(format);
        cursor.insertText(documentText(text), format);
    }

private:
    // The document's first block, and the block Qt leaves after a table, are used as they
    // are; any other paragraph is a new block.
    void startBlock(const QTextBlockFormat &block, const QTextCharFormat &format)
    {
        if (m_first || m_afterTable) {
            m_cursor.setBlockFormat(block);
            m_cursor.setBlockCharFormat(format);
        } else {
            m_cursor.insertBlock(block, format);
        }
        m_first = m_afterTable = false;
    }

    QTextCursor m_cursor;
    bool m_first = true;
    bool m_afterTable = false;
};

// A field the protocol must hold but that was left empty is printed as a line to fill in by
// hand; one it need not hold is left out (see the help's page on the protocol).
const QString kFillIn = QStringLiteral("____________________");
const QString kShortFillIn = QStringLiteral("________");

QString orFillIn(const QString &text, const QString &line = kFillIn)
{
    return text.trimmed().isEmpty() ? line : text;
}

struct Field {
    QString label;
    QString value;
    bool required = true; // printed as a line to fill in when empty; else left out
};

// Label and value lines without rules.
void fieldTable(DocumentBuilder &builder, const QList<Field> &fields)
{
    QList<std::pair<QString, QString>> shown;
    for (const Field &field : fields)
        if (field.required || !field.value.trimmed().isEmpty())
            shown.append({field.label, orFillIn(field.value)});
    QTextTable *table = builder.table(static_cast<int>(shown.size()), {38, 62}, false);
    const QTextCharFormat label = charFormat(kBodyPoints, true);
    const QTextCharFormat value = charFormat(kBodyPoints);
    for (int r = 0; r < shown.size(); ++r) {
        DocumentBuilder::cell(table, r, 0, shown.at(r).first, label);
        DocumentBuilder::cell(table, r, 1, shown.at(r).second, value);
    }
}

void headerPart(DocumentBuilder &builder, const ProtocolHeader &header, const ProtocolFacts &facts)
{
    const QTextCharFormat body = charFormat(kBodyPoints);
    builder.paragraph(orFillIn(header.laboratoryName), charFormat(kBodyPoints, true), Qt::AlignHCenter);
    if (!header.laboratoryAddress.trimmed().isEmpty())
        builder.paragraph(header.laboratoryAddress, body, Qt::AlignHCenter);
    if (!header.accreditation.trimmed().isEmpty())
        builder.paragraph(QStringLiteral("Аттестат аккредитации: ") + header.accreditation, body, Qt::AlignHCenter);
    builder.heading(QStringLiteral("ПРОТОКОЛ ИСПЫТАНИЙ № ") + orFillIn(header.number, kShortFillIn), kTitlePoints, 1,
                    Qt::AlignHCenter);
    builder.paragraph(QStringLiteral("от ") + orFillIn(dateText(header.date), kShortFillIn), body, Qt::AlignHCenter);
    builder.paragraph(QStringLiteral("определения прочности бетона неразрушающим методом"), body,
                      Qt::AlignHCenter);

    QString instrument = orFillIn(header.instrument);
    instrument += QStringLiteral(", заводской № ") + orFillIn(header.serialNumber, kShortFillIn);
    QString verification = QStringLiteral("№ ") + orFillIn(header.verificationNumber, kShortFillIn)
        + QStringLiteral(" от ") + orFillIn(dateText(header.verificationDate), kShortFillIn);
    fieldTable(builder, {
        {QStringLiteral("Заказчик"), header.customer},
        {QStringLiteral("Объект"), header.objectName},
        {QStringLiteral("Адрес объекта"), header.objectAddress, false},
        {QStringLiteral("Даты проведения испытаний"), facts.days.text()},
        {QStringLiteral("Условия проведения испытаний"), header.conditions, false},
        {QStringLiteral("Нормативные документы"), header.standards.join(u'\n')},
        {QStringLiteral("Средство измерений"), instrument},
        {QStringLiteral("Свидетельство о поверке"), verification},
        {QStringLiteral("Градуировочные зависимости и Kc"), facts.calibrations.join(u'\n'), false},
    });
}

// The sites' table. "С единичными значениями", each site's values take a row of their own
// under it, spanning the table: one line, where a cell of their own would wrap into a row of
// several lines, which the pages would cut.
void siteTable(DocumentBuilder &builder, const StructureFacts &facts, bool withValues)
{
    // A structure with a calibration: the meter's R stays, its strength by the calibration beside it.
    const QList<qreal> widths = facts.byDependency ? QList<qreal> {7, 11, 20, 12, 18, 8, 11, 13}
                                                   : QList<qreal> {8, 12, 23, 14, 21, 10, 12};
    QStringList titles = ProtocolSiteColumns;
    if (facts.byDependency)
        titles << ProtocolDependencyColumn;
    const int columns = static_cast<int>(titles.size());
    const int rowsPerSite = withValues ? 2 : 1;
    QTextTable *table = builder.table(static_cast<int>(facts.siteRows.size()) * rowsPerSite + 1, widths, true, 1);
    const QTextCharFormat title = charFormat(kTablePoints, true);
    const QTextCharFormat text = charFormat(kTablePoints);
    for (int c = 0; c < columns; ++c)
        DocumentBuilder::cell(table, 0, c, titles.at(c), title, Qt::AlignHCenter);
    for (int r = 0; r < facts.siteRows.size(); ++r) {
        const QStringList &row = facts.siteRows.at(r);
        const int at = 1 + r * rowsPerSite;
        for (int c = 0; c < columns; ++c)
            DocumentBuilder::cell(table, at, c, row.at(c), text, c == 1 ? Qt::AlignLeft : Qt::AlignHCenter);
        if (withValues) {
            DocumentBuilder::cell(table, at + 1, 0, valuesLine(row.at(0), row.value(columns)), text);
            table->mergeCells(at + 1, 0, 1, columns);
        }
    }
}

void structurePart(DocumentBuilder &builder, int index, const ProtocolStructure &structure,
                   const StructureFacts &facts, bool withValues)
{
    builder.heading(QStringLiteral("%1. %2").arg(index + 1).arg(structure.name), kHeadingPoints, 2);
    // The age is worked out from the dates: left to fill in with the date of concreting.
    fieldTable(builder, {
        {QStringLiteral("Вид изделия"), structure.elementKind},
        {QStringLiteral("Проектный класс бетона"), structure.designClass},
        {QStringLiteral("Дата бетонирования"), dateText(structure.concreted)},
        {QStringLiteral("Даты испытаний"), facts.days.text()},
        {QStringLiteral("Возраст бетона на дату испытаний, сут"), facts.ageText},
    });
    siteTable(builder, facts, withValues);
    builder.paragraph(facts.statisticsLine, charFormat(kBodyPoints));
    for (const QString &line : facts.dependencyLines)
        builder.paragraph(line, charFormat(kBodyPoints));
    if (!facts.mixedNote.isEmpty())
        builder.paragraph(facts.mixedNote, charFormat(kBodyPoints));
    if (!facts.ageNote.isEmpty())
        builder.paragraph(facts.ageNote, charFormat(kBodyPoints));
}

// «Градуировочная зависимость»: each calibration applied, its figures and its sites.
void dependencyPart(DocumentBuilder &builder, const ProtocolFacts &facts)
{
    if (facts.dependencies.isEmpty())
        return;
    builder.heading(QStringLiteral("Градуировочная зависимость"), kHeadingPoints, 1);
    const QTextCharFormat body = charFormat(kBodyPoints);
    const QTextCharFormat title = charFormat(kTablePoints, true);
    const QTextCharFormat text = charFormat(kTablePoints);
    for (const DependencyFacts &dependency : facts.dependencies) {
        for (const QString &line : dependency.lines)
            builder.paragraph(line, body);
        builder.paragraph(QStringLiteral("Применена к конструкциям: ") + dependency.structures.join(QStringLiteral(", ")),
                          body);
        const int columns = static_cast<int>(ProtocolDependencySiteColumns.size());
        QTextTable *table
            = builder.table(static_cast<int>(dependency.siteRows.size()) + 1, {8, 32, 18, 20, 22}, true, 1);
        for (int c = 0; c < columns; ++c)
            DocumentBuilder::cell(table, 0, c, ProtocolDependencySiteColumns.at(c), title, Qt::AlignHCenter);
        for (int r = 0; r < dependency.siteRows.size(); ++r)
            for (int c = 0; c < columns; ++c)
                DocumentBuilder::cell(table, r + 1, c, dependency.siteRows.at(r).at(c), text,
                                      c == 1 ? Qt::AlignLeft : Qt::AlignHCenter);
    }
}

void closingPart(DocumentBuilder &builder, const ProtocolHeader &header)
{
    builder.heading(QStringLiteral("Заключение"), kHeadingPoints, 2);
    // An empty conclusion leaves lines to write it in by hand.
    builder.paragraph(header.conclusion.trimmed().isEmpty() ? QString(kFillIn).repeated(3) + u'\n'
                              + QString(kFillIn).repeated(3)
                                                             : header.conclusion,
                      charFormat(kBodyPoints));
    builder.paragraph(QString(), charFormat(kBodyPoints)); // room above the signatures

    QTextTable *table = builder.table(2, {45, 25, 30}, false);
    const QTextCharFormat body = charFormat(kBodyPoints);
    const QString line = QStringLiteral("____________________");
    QString executor = QStringLiteral("Исполнитель");
    if (!header.executorPosition.isEmpty())
        executor += QStringLiteral(": ") + header.executorPosition;
    DocumentBuilder::cell(table, 0, 0, executor, body);
    DocumentBuilder::cell(table, 0, 1, line, body, Qt::AlignHCenter);
    DocumentBuilder::cell(table, 0, 2, orFillIn(header.executorName), body);
    DocumentBuilder::cell(table, 1, 0, QStringLiteral("Руководитель лаборатории"), body);
    DocumentBuilder::cell(table, 1, 1, line, body, Qt::AlignHCenter);
    DocumentBuilder::cell(table, 1, 2, line, body);
}

} // namespace

QFont protocolFont(qreal points)
{
    QFont font;
    font.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
                      QStringLiteral("DejaVu Serif")});
    font.setPointSizeF(points);
    return font;
}

QString protocolTitleLine(const ProtocolHeader &header)
{
    QString line = QStringLiteral("Протокол испытаний № ") + header.number;
    if (header.date.isValid())
        line += QStringLiteral(" от ") + dateText(header.date);
    return line.simplified();
}

QString documentText(const QString &typed)
{
    QString text = typed;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    text.replace(u'\n', QChar::LineSeparator);
    text.removeIf([](QChar c) {
        return (c.category() == QChar::Other_Control && c != u'\t') || c.unicode() == 0xFFFE
            || c.unicode() == 0xFFFF || c == QChar::ParagraphSeparator;
    });
    return text;
}

std::unique_ptr<QTextDocument> protocolDocument(const ProtocolContent &content, const ProtocolFacts &facts)
{
    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(protocolFont(kBodyPoints));
    document->setUseDesignMetrics(true);
    document->setUndoRedoEnabled(false);
    document->setMetaInformation(QTextDocument::DocumentTitle, protocolTitleLine(content.header));
    DocumentBuilder builder(*document);
    headerPart(builder, content.header, facts);
    builder.heading(QStringLiteral("Результаты испытаний"), kHeadingPoints, 1);
    for (int i = 0; i < content.structures.size() && i < facts.structures.size(); ++i)
        structurePart(builder, i, content.structures.at(i), facts.structures.at(i), content.withValues);
    dependencyPart(builder, facts);
    closingPart(builder, content.header);
    return document;
}

} // namespace luvir

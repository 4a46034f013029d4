#include "OdtPageStyles.h"

#include <QRegularExpression>
#include <QXmlStreamWriter>

#include <zip.h>

#include <algorithm>
#include <memory>

namespace luvir {

namespace {

const QString kOffice = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString kStyle = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:style:1.0");
const QString kText = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
const QString kFo = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0");

const QByteArray kManifest = R"(<?xml version="1.0" encoding="UTF-8"?>
<manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0" manifest:version="1.2">
 <manifest:file-entry manifest:media-type="application/vnd.oasis.opendocument.text" manifest:full-path="/"/>
 <manifest:file-entry manifest:media-type="text/xml" manifest:full-path="content.xml"/>
 <manifest:file-entry manifest:media-type="text/xml" manifest:full-path="styles.xml"/>
</manifest:manifest>
)";

// The running header and the page number: 9 points, the header with a rule below.
void bandParagraphStyle(QXmlStreamWriter &xml, const QString &name, const QString &align, bool rule,
                        const QString &fontFamily)
{
    xml.writeStartElement(kStyle, "style");
    xml.writeAttribute(kStyle, "name", name);
    xml.writeAttribute(kStyle, "family", "paragraph");
    xml.writeEmptyElement(kStyle, "paragraph-properties");
    xml.writeAttribute(kFo, "text-align", align);
    if (rule) {
        xml.writeAttribute(kFo, "border-bottom", "0.5pt solid #000000");
        xml.writeAttribute(kFo, "padding-bottom", "0.05cm");
    }
    xml.writeEmptyElement(kStyle, "text-properties");
    xml.writeAttribute(kStyle, "font-name", fontFamily);
    xml.writeAttribute(kFo, "font-family", QStringLiteral("'%1'").arg(fontFamily));
    xml.writeAttribute(kFo, "font-size", "9pt");
    xml.writeEndElement();
}

void pageLayout(QXmlStreamWriter &xml, const QString &name, bool header)
{
    xml.writeStartElement(kStyle, "page-layout");
    xml.writeAttribute(kStyle, "name", name);
    xml.writeEmptyElement(kStyle, "page-layout-properties");
    xml.writeAttribute(kFo, "page-width", "21cm");
    xml.writeAttribute(kFo, "page-height", "29.7cm");
    xml.writeAttribute(kStyle, "print-orientation", "portrait");
    xml.writeAttribute(kFo, "margin-top", "1cm");
    xml.writeAttribute(kFo, "margin-bottom", "1cm");
    xml.writeAttribute(kFo, "margin-left", "2cm");
    xml.writeAttribute(kFo, "margin-right", "1cm");
    if (header) {
        xml.writeStartElement(kStyle, "header-style");
        xml.writeEmptyElement(kStyle, "header-footer-properties");
        xml.writeAttribute(kFo, "min-height", "0.5cm");
        xml.writeAttribute(kFo, "margin-bottom", "0.4cm");
        xml.writeEndElement();
    }
    xml.writeStartElement(kStyle, "footer-style");
    xml.writeEmptyElement(kStyle, "header-footer-properties");
    xml.writeAttribute(kFo, "min-height", "0.5cm");
    xml.writeAttribute(kFo, "margin-top", "0.4cm");
    xml.writeEndElement();
    xml.writeEndElement();
}

void pageNumberFooter(QXmlStreamWriter &xml)
{
    xml.writeStartElement(kStyle, "footer");
    xml.writeStartElement(kText, "p");
    xml.writeAttribute(kText, "style-name", "ProtocolPageNumber");
    xml.writeCharacters(QStringLiteral("Страница "));
    xml.writeStartElement(kText, "page-number");
    xml.writeAttribute(kText, "select-page", "current");
    xml.writeCharacters("1");
    xml.writeEndElement();
    xml.writeCharacters(QStringLiteral(" из "));
    xml.writeStartElement(kText, "page-count");
    xml.writeCharacters("1");
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndElement();
}

// The width of the text between the page's margins (21 cm less 2 cm and 1 cm).
constexpr double kTextWidthCm = 18;

// The body with the text's font, and the tables' widths as ODF has them: Qt writes a
// table's per cent width as points ("100pt") and column per cents as "31%", which
// LibreOffice ignores. Each table gets the text's width and each column its share of it,
// both as a length and as a relative width in hundredths of a per cent ("3100*"): with
// relative widths of whole per cents LibreOffice gave a table of seven columns equal ones.
// The cells of ruled tables name styles "TB<table>.<cell>" that Qt never writes; they are
// added, with a thin rule round the cell.
QString withSitesKeptWhole(const QString &content);

QByteArray withFontWidthsAndRules(const QByteArray &content, const QString &fontFamily)
{
    static const QRegularExpression family(QStringLiteral("fo:font-family=\"[^\"]*\""));
    static const QRegularExpression tableWidth(QStringLiteral("style:width=\"100pt\""));
    static const QRegularExpression columnWidth(QStringLiteral("style:column-width=\"([0-9.]+)%\""));
    static const QRegularExpression ruledCell(QStringLiteral("table:style-name=\"(TB[0-9]+\\.[0-9]+)\""));
    QString text = QString::fromUtf8(content)
                       .replace(family, QStringLiteral("fo:font-family=\"'%1'\"").arg(fontFamily))
                       .replace(tableWidth, QStringLiteral("style:width=\"%1cm\" style:rel-width=\"100%\" "
                                                           "table:align=\"margins\"")
                                                .arg(kTextWidthCm));
    QString widened;
    qsizetype from = 0;
    for (const auto &m : columnWidth.globalMatch(text)) {
        const double share = m.captured(1).toDouble();
        widened += QStringView(text).mid(from, m.capturedStart() - from);
        widened += QStringLiteral("style:column-width=\"%1cm\" style:rel-column-width=\"%2*\"")
                       .arg(QString::number(kTextWidthCm * share / 100, 'f', 3))
                       .arg(qRound(share * 100));
        from = m.capturedEnd();
    }
    widened += QStringView(text).mid(from);
    text = widened;
    // A cell spanning N columns is followed by N - 1 covered cells in ODF; Qt writes none,
    // and LibreOffice then lays the whole table out in equal columns.
    static const QRegularExpression spanned(
        QStringLiteral("<table:table-cell table:number-columns-spanned=\"([0-9]+)\"[^>]*>.*?</table:table-cell>"),
        QRegularExpression::DotMatchesEverythingOption);
    QString covered;
    from = 0;
    for (const auto &m : spanned.globalMatch(text)) {
        covered += QStringView(text).mid(from, m.capturedEnd() - from);
        covered += QStringLiteral("<table:covered-table-cell/>").repeated(std::max(0, m.captured(1).toInt() - 1));
        from = m.capturedEnd();
    }
    covered += QStringView(text).mid(from);
    text = covered;
    QStringList ruled;
    for (const auto &m : ruledCell.globalMatch(text))
        if (const QString name = m.captured(1); !ruled.contains(name)
            && !text.contains(QStringLiteral("style:name=\"%1\"").arg(name)))
            ruled << name;
    QString styles;
    for (const QString &name : ruled)
        styles += QStringLiteral("<style:style style:name=\"%1\" style:family=\"table-cell\">"
                                 "<style:table-cell-properties fo:border=\"0.5pt solid #000000\" "
                                 "fo:padding=\"0.05cm\"/></style:style>")
                      .arg(name);
    text.replace(QStringLiteral("</office:automatic-styles>"), styles + QStringLiteral("</office:automatic-styles>"));
    return withSitesKeptWhole(text).toUtf8();
}

// A site's row and the row of its values under it stay on one page: LibreOffice keeps no
// row with the next (neither a paragraph's keep-with-next nor a cell spanning both rows
// holds them), but it never breaks a row it is told to keep whole. So each such pair
// becomes one row of the table whose one cell, spanning every column, holds the two rows
// as a table of the same columns. Runs on Qt's output with its covered cells added, where
// no table holds another.
QString withSitesKeptWhole(const QString &content)
{
    static const QRegularExpression table(QStringLiteral("(<table:table table:style-name=\"[^\"]*\">)(.*?)</table:table>"),
                                          QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression columns(QStringLiteral("^(\\s*<table:table-column [^>]*/>)+"));
    static const QRegularExpression row(QStringLiteral("<table:table-row>.*?</table:table-row>"),
                                        QRegularExpression::DotMatchesEverythingOption);
    QString text;
    qsizetype from = 0;
    bool kept = false;
    for (const auto &t : table.globalMatch(content)) {
        const QString body = t.captured(2);
        const QString columnList = columns.match(body).captured(0);
        const int count = static_cast<int>(columnList.count(QStringLiteral("<table:table-column ")));
        const QString spansAll = QStringLiteral("table:number-columns-spanned=\"%1\"").arg(count);
        QList<QRegularExpressionMatch> rows;
        for (const auto &r : row.globalMatch(body))
            rows << r;
        text += QStringView(content).mid(from, t.capturedStart() - from);
        from = t.capturedEnd();
        QString newBody;
        qsizetype at = 0;
        for (qsizetype i = 0; i + 1 < rows.size(); ++i) {
            const QString site = rows.at(i).captured(0);
            const QString values = rows.at(i + 1).captured(0);
            if (count < 2 || site.contains(QStringLiteral("number-columns-spanned")) || !values.contains(spansAll))
                continue;
            newBody += QStringView(body).mid(at, rows.at(i).capturedStart() - at);
            newBody += QStringLiteral("<table:table-row table:style-name=\"ProtocolKeptRow\">"
                                      "<table:table-cell table:style-name=\"ProtocolKeptCell\" %1>"
                                      "<table:table table:style-name=\"ProtocolKeptRows\">%2%3%4</table:table>"
                                      "</table:table-cell>%5</table:table-row>")
                           .arg(spansAll, columnList, site, values,
                                QStringLiteral("<table:covered-table-cell/>").repeated(count - 1));
            at = rows.at(i + 1).capturedEnd();
            kept = true;
            ++i;
        }
        newBody += QStringView(body).mid(at);
        text += t.captured(1) + newBody + QStringLiteral("</table:table>");
    }
    text += QStringView(content).mid(from);
    if (kept)
        text.replace(QStringLiteral("</office:automatic-styles>"),
                     QStringLiteral("<style:style style:name=\"ProtocolKeptRow\" style:family=\"table-row\">"
                                    "<style:table-row-properties fo:keep-together=\"always\"/></style:style>"
                                    "<style:style style:name=\"ProtocolKeptCell\" style:family=\"table-cell\">"
                                    "<style:table-cell-properties fo:padding=\"0cm\" fo:border=\"none\"/></style:style>"
                                    "<style:style style:name=\"ProtocolKeptRows\" style:family=\"table\">"
                                    "<style:table-properties style:width=\"%1cm\" style:rel-width=\"100%\" "
                                    "table:align=\"margins\"/></style:style></office:automatic-styles>")
                         .arg(kTextWidthCm));
    return text;
}

struct ZipCloser {
    void operator()(zip_t *zip) const { zip_discard(zip); }
};
struct SourceFreer {
    void operator()(zip_source_t *source) const { zip_source_free(source); }
};

} // namespace

QByteArray odtPageStyles(const QString &title, const QString &fontFamily)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.writeStartDocument();
    xml.writeNamespace(kOffice, "office");
    xml.writeNamespace(kStyle, "style");
    xml.writeNamespace(kText, "text");
    xml.writeNamespace(kFo, "fo");
    xml.writeStartElement(kOffice, "document-styles");
    xml.writeAttribute(kOffice, "version", "1.2");

    xml.writeStartElement(kOffice, "font-face-decls");
    xml.writeEmptyElement(kStyle, "font-face");
    xml.writeAttribute(kStyle, "name", fontFamily);
    xml.writeAttribute(QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"),
                       "font-family", QStringLiteral("'%1'").arg(fontFamily));
    xml.writeEndElement();

    xml.writeStartElement(kOffice, "styles");
    bandParagraphStyle(xml, "ProtocolRunningHeader", "start", true, fontFamily);
    bandParagraphStyle(xml, "ProtocolPageNumber", "end", false, fontFamily);
    xml.writeEndElement();

    xml.writeStartElement(kOffice, "automatic-styles");
    pageLayout(xml, "ProtocolFirstPageLayout", false);
    pageLayout(xml, "ProtocolPageLayout", true);
    xml.writeEndElement();

    // The body starts on the first page's style, whose next page is the ordinary one: the
    // running header appears from page 2 on.
    xml.writeStartElement(kOffice, "master-styles");
    xml.writeStartElement(kStyle, "master-page");
    xml.writeAttribute(kStyle, "name", "Standard");
    xml.writeAttribute(kStyle, "page-layout-name", "ProtocolFirstPageLayout");
    xml.writeAttribute(kStyle, "next-style-name", "ProtocolPage");
    pageNumberFooter(xml);
    xml.writeEndElement();
    xml.writeStartElement(kStyle, "master-page");
    xml.writeAttribute(kStyle, "name", "ProtocolPage");
    xml.writeAttribute(kStyle, "page-layout-name", "ProtocolPageLayout");
    xml.writeStartElement(kStyle, "header");
    xml.writeStartElement(kText, "p");
    xml.writeAttribute(kText, "style-name", "ProtocolRunningHeader");
    xml.writeCharacters(title);
    xml.writeEndElement();
    xml.writeEndElement();
    pageNumberFooter(xml);
    xml.writeEndElement();
    xml.writeEndElement();

    xml.writeEndElement();
    xml.writeEndDocument();
    return bytes;
}

bool addOdtPageStyles(QByteArray &odt, const QString &title, const QString &fontFamily)
{
    const QByteArray styles = odtPageStyles(title, fontFamily);
    zip_error_t error;
    zip_error_init(&error);
    std::unique_ptr<zip_source_t, SourceFreer> package(
        zip_source_buffer_create(odt.constData(), static_cast<zip_uint64_t>(odt.size()), 0, &error));
    zip_error_fini(&error);
    if (!package)
        return false;
    zip_source_keep(package.get()); // kept past zip_close, to read the new package from
    std::unique_ptr<zip_t, ZipCloser> zip(zip_open_from_source(package.get(), 0, &error));
    if (!zip)
        return false;

    // The body's font, table widths and rules, which Qt writes wrong or not at all.
    const zip_int64_t contentIndex = zip_name_locate(zip.get(), "content.xml", 0);
    QByteArray content;
    zip_stat_t contentStat;
    if (contentIndex < 0 || zip_stat_index(zip.get(), static_cast<zip_uint64_t>(contentIndex), 0, &contentStat) < 0)
        return false;
    if (zip_file_t *file = zip_fopen_index(zip.get(), static_cast<zip_uint64_t>(contentIndex), 0)) {
        content.resize(static_cast<qsizetype>(contentStat.size));
        const zip_int64_t read = zip_fread(file, content.data(), contentStat.size);
        zip_fclose(file);
        if (read != static_cast<zip_int64_t>(contentStat.size))
            return false;
    } else {
        return false;
    }
    content = withFontWidthsAndRules(content, fontFamily);
    zip_source_t *contentSource = zip_source_buffer(zip.get(), content.constData(), content.size(), 0);
    if (!contentSource || zip_file_replace(zip.get(), static_cast<zip_uint64_t>(contentIndex), contentSource, 0) < 0) {
        zip_source_free(contentSource);
        return false;
    }

    const zip_int64_t manifest = zip_name_locate(zip.get(), "META-INF/manifest.xml", 0);
    zip_source_t *stylesSource = zip_source_buffer(zip.get(), styles.constData(), styles.size(), 0);
    if (!stylesSource || zip_file_add(zip.get(), "styles.xml", stylesSource, ZIP_FL_ENC_UTF_8) < 0) {
        zip_source_free(stylesSource);
        return false;
    }
    zip_source_t *manifestSource = zip_source_buffer(zip.get(), kManifest.constData(), kManifest.size(), 0);
    if (manifest < 0 || !manifestSource
        || zip_file_replace(zip.get(), static_cast<zip_uint64_t>(manifest), manifestSource, 0) < 0) {
        zip_source_free(manifestSource);
        return false;
    }
    if (zip_close(zip.get()) < 0)
        return false;
    zip.release();

    QByteArray written;
    zip_stat_t stat;
    if (zip_source_stat(package.get(), &stat) < 0 || !(stat.valid & ZIP_STAT_SIZE)
        || zip_source_open(package.get()) < 0)
        return false;
    written.resize(static_cast<qsizetype>(stat.size));
    const zip_int64_t read = zip_source_read(package.get(), written.data(), stat.size);
    zip_source_close(package.get());
    if (read != static_cast<zip_int64_t>(stat.size))
        return false;
    odt = written;
    return true;
}

} // namespace luvir

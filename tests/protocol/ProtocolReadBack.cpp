#include "ProtocolReadBack.h"

#include "ToolRun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace luvir::test {

ExpectedStructure expectedStructure(const ProtocolStructure &structure, const QString &separator,
                                    const QString &folder)
{
    const QString cells = QDir(folder).filePath(QStringLiteral("cells-%1.bin").arg(structure.sites.size()));
    QFile file(cells);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    for (const ProtocolSite &site : structure.sites)
        file.write(reinterpret_cast<const char *>(site.cell.bytes.data()), kCellSize);
    file.close();

    QStringList arguments {QStringLiteral(LUVIR_PROTOCOL_TEST_DIR "/protocol_reference.py")};
    if (separator == ",")
        arguments << "--comma";
    arguments << cells;
    const ToolRun run = runTool("python3", arguments, "C.UTF-8");
    EXPECT_TRUE(run.ok()) << run.problem.toStdString();
    QStringList lines = run.outText().split('\n', Qt::SkipEmptyParts);
    ExpectedStructure expected;
    if (lines.isEmpty())
        return expected;
    const QStringList f = lines.takeLast().split('\t');
    auto figure = [](const QString &name, const QString &value, const QString &unit) {
        return value == QStringLiteral("\u2014") || unit.isEmpty() ? name + " = " + value
                                                                    : name + " = " + value + " " + unit;
    };
    expected.statisticsLine = QStringList {figure("n", f.value(0), ""), figure("Rmin", f.value(1), "МПа"),
                                           figure("Rmax", f.value(2), "МПа"), figure("Rm", f.value(3), "МПа"),
                                           figure("Sm", f.value(4), "МПа"), figure("Vm", f.value(5), "%")}
                                  .join("; ");
    for (int i = 0; i < lines.size(); ++i) {
        QStringList row = lines.at(i).split('\t');
        row.insert(1, structure.sites.at(i).label);
        expected.rows.append(row);
    }
    return expected;
}

QStringList pdfPages(const QString &pdf, const char *locale)
{
    const ToolRun run = runTool("pdftotext", {"-layout", "-enc", "UTF-8", pdf, "-"}, locale);
    EXPECT_TRUE(run.ok()) << run.problem.toStdString();
    QStringList pages = run.outText().split('\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

QList<PdfWord> pdfWords(const QString &pdf, const char *locale)
{
    const ToolRun run = runTool("pdftotext", {"-bbox", "-enc", "UTF-8", pdf, "-"}, locale);
    EXPECT_TRUE(run.ok()) << run.problem.toStdString();
    static const QRegularExpression pattern(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    QList<PdfWord> words;
    int page = 0;
    for (const auto &m : pattern.globalMatch(run.outText())) {
        if (m.captured(0) == "<page ") {
            ++page;
            continue;
        }
        QString text = m.captured(5);
        text.replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"").replace("&apos;", "'").replace("&amp;", "&");
        words.append({page, m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                      m.captured(4).toDouble(), text});
    }
    return words;
}

namespace {

// soffice --convert-to FILTER for every file at once; the converted files' names.
QStringList convertedByLibreOffice(const QStringList &odts, const QString &folder, const char *locale,
                                   const QString &filter, const QString &suffix)
{
    const QString soffice = QStandardPaths::findExecutable("soffice");
    if (soffice.isEmpty())
        return {};
    const QString out = QDir(folder).filePath(QStringLiteral("shown-%1-%2").arg(locale, suffix));
    const ToolRun run = runTool(soffice,
                                QStringList {"-env:UserInstallation=file://" + QDir(folder).filePath("lo-profile"),
                                             "--headless", "--convert-to", filter, "--outdir", out}
                                    + odts,
                                locale);
    EXPECT_TRUE(run.ok()) << run.problem.toStdString();
    QStringList files;
    for (const QString &odt : odts)
        files << QDir(out).filePath(QFileInfo(odt).completeBaseName() + '.' + suffix);
    return files;
}

} // namespace

QStringList libreOfficeTexts(const QStringList &odts, const QString &folder, const char *locale)
{
    QStringList texts;
    for (const QString &name : convertedByLibreOffice(odts, folder, locale, "txt:Text (encoded):UTF8", "txt")) {
        QFile file(name);
        texts << (file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString());
    }
    return texts;
}

QStringList libreOfficePdfs(const QStringList &odts, const QString &folder, const char *locale)
{
    return convertedByLibreOffice(odts, folder, locale, "pdf", "pdf");
}

} // namespace luvir::test

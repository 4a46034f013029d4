// The report's PDF read back by poppler (pdftotext -bbox), written by luvir-cli under the
// C locale and under ru_RU.UTF-8.
#include "MeasurementTable.h"
#include "ReadBackSupport.h"

#include <QRegularExpression>

#include <algorithm>

using namespace luvir;
using namespace luvir::test;

namespace {

// A word of pdftotext's XHTML as text.
QString unescaped(QString word)
{
    return word.replace("&lt;", "<")
        .replace("&gt;", ">")
        .replace("&quot;", "\"")
        .replace("&apos;", "'")
        .replace("&amp;", "&");
}

// Where poppler finds the words of the first measurement line: each inside its cell of
// the printed table (10 mm margin, cells at 0, 20.21, ... 157.24 mm, 190.24 mm the end).
TEST_F(ReadBack, PdfWordsStandInTheirCells)
{
    const QString archive = writeArchive("hand.db", kHandMade);
    const double cellEdgesMm[]
        = {0, 20, 20.21, 57.21, 57.24, 82.24, 82.24, 107.24, 107.24, 132.24, 132.24, 157.24, 157.24, 190.24};
    for (const UserLocale &locale : kLocales) {
        SCOPED_TRACE(locale.name);
        const QString pdf = path(QStringLiteral("hand-%1.pdf").arg(locale.name));
        exportWithCli(archive, pdf, locale.name);
        const ToolRun run = runTool("pdftotext", {"-bbox", "-f", "1", "-l", "1", pdf, "-"}, "C.UTF-8");
        ASSERT_TRUE(run.ok()) << run.problem.toStdString();
        struct Word {
            double left, top, right;
            QString text;
        };
        QList<Word> words;
        static const QRegularExpression wordPattern(
            R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)</word>)re");
        for (const auto &m : wordPattern.globalMatch(QString::fromUtf8(run.out)))
            words.append({m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                unescaped(m.captured(4))});
        // The first measurement line: the line of the word "1" in the first cell.
        const QStringList texts = handMadeTexts(0, locale);
        const double pointsPerMm = 72 / 25.4;
        const auto first = std::find_if(words.begin(), words.end(),
            [&](const Word &w) { return w.text == "1" && w.left < (10 + 20) * pointsPerMm; });
        ASSERT_NE(first, words.end());
        for (int c = 0; c < kTableColumns; ++c) {
            const double left = (10 + cellEdgesMm[2 * c]) * pointsPerMm;
            const double right = (10 + cellEdgesMm[2 * c + 1]) * pointsPerMm;
            QStringList found;
            for (const Word &w : words)
                if (qAbs(w.top - first->top) < 2 && w.left >= left && w.right <= right)
                    found << w.text;
            EXPECT_EQ(found.join(' '), texts.at(c)) << "column " << c;
        }
    }
}

} // namespace

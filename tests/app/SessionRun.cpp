// One whole working session, scripted as a user would click through it: start, open,
// select, both charts, the report preview with all three exports, a download from the
// simulated meter, delete, save, close, exit. Run under LeakSanitizer it shows that the
// program leaks nothing of its own. Exits non-zero when a step did not do its work.
#include "Forms.h"
#include "LuvirApplication.h"
#include "PrivateHome.h"
#include "MeterSim.h"
#include "ReportPreview.h"
#include "ScriptedDialogs.h"
#include "Startup.h"
#include "TestData.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit5.h"

#include <QAction>
#include <QFile>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <cstdio>

using namespace luvir;

namespace {

QStringList g_failures;
int g_checked = 0;

void check(bool ok, const char *what)
{
    ++g_checked;
    if (!ok)
        g_failures << QString::fromUtf8(what);
}

// Answers the next modal window with `answer` once it is up.
template<typename Window>
void whenModal(std::function<void(Window *)> answer)
{
    QTimer::singleShot(0, [answer] {
        if (auto *window = qobject_cast<Window *>(QApplication::activeModalWidget()))
            answer(window);
        else
            g_failures << QStringLiteral("an expected window did not open");
    });
}

void session(test::ScriptedDialogs &dialogs, const QTemporaryDir &dir)
{
    TForm1 &w = *Form1;

    dialogs.fileAnswers << test::testDataPath("sample-300.db");
    w.N2->trigger();
    check(w.session().archive.Count == 300, "open");

    w.selectRow(5);
    check(w.statusText(1).startsWith(QStringLiteral("Промежуточные значения: ")), "select");

    whenModal<TForm5>([](TForm5 *chart) { chart->close(); });
    w.StringGrid1DblClick();
    whenModal<TForm5>([](TForm5 *chart) { chart->close(); });
    w.N14->trigger();

    const QStringList exports{dir.filePath("r.pdf"), dir.filePath("r.xlsx"), dir.filePath("r.csv")};
    whenModal<ReportPreview>([&dialogs, exports](ReportPreview *preview) {
        for (int i = 0; i < exports.size(); ++i) {
            dialogs.fileAnswers << exports[i];
            preview->exportReport(i);
        }
        preview->close();
    });
    w.ToolButton6->click();
    for (const QString &file : exports)
        check(QFile(file).size() > 0, "export");

    sim::meter().reset();
    sim::meter().generateCells(300);
    whenModal<TForm2>([](TForm2 *download) { download->Button1->click(); });
    w.N13->trigger();
    check(w.session().DownloadCompleted && w.session().archive.Count == 300, "download");

    w.selectRow(2);
    w.ToolButton8->click();
    check(w.session().archive.Count == 299, "delete");

    dialogs.fileAnswers << dir.filePath("kept.db");
    w.N3->trigger();
    check(QFile(dir.filePath("kept.db")).size() == 42 * 299 + 6, "save");

    dialogs.questionAnswers << false;
    w.N4->trigger();
    check(w.StringGrid1->isHidden(), "close");

    dialogs.questionAnswers << false; // 299 cells: Exit asks, the answer is not to save
    w.N8->trigger();
    check(dialogs.errors().isEmpty(), "no error box");
}

} // namespace

int main(int argc, char **argv)
{
    luvir::test::usePrivateHome();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    LuvirApplication app(argc, argv);
    app.installRussianTranslations();
    test::ScriptedDialogs dialogs;
    QTemporaryDir dir;

    const int code = runProgram(app, [&] { session(dialogs, dir); });
    check(Form1 == nullptr, "the windows are gone at the end");
    std::printf("session: %d steps checked, %d failed\n", g_checked, static_cast<int>(g_failures.size()));
    for (const QString &failure : g_failures)
        std::fprintf(stderr, "session step failed: %s\n", qPrintable(failure));
    return code != 0 || !g_failures.isEmpty() ? 1 : 0;
}

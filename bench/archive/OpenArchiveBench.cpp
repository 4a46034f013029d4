// What it costs to open an archive file: the check and read alone, and the whole
// File > Open up to the table painted in the main window.
#include "ArchiveFile.h"
#include "ScriptedDialogs.h"
#include "TestData.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit5.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QString sampleFile(QTemporaryDir &dir, int cells)
{
    const QString path = dir.filePath(QStringLiteral("bench%1.db").arg(cells));
    luvir::ArchiveWriter().write(path, luvir::test::sampleArchive(cells), {1, 0});
    return path;
}

void BM_ReadAndCheckFile(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = sampleFile(dir, static_cast<int>(state.range(0)));
    auto image = std::make_unique<luvir::ArchiveImage>();
    for (auto _ : state) {
        luvir::ArchiveReader reader;
        benchmark::DoNotOptimize(reader.read(path, *image));
    }
}
BENCHMARK(BM_ReadAndCheckFile)->Arg(300)->Arg(999)->Unit(benchmark::kMicrosecond);

void BM_OpenAndDisplay(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = sampleFile(dir, static_cast<int>(state.range(0)));
    luvir::test::ScriptedDialogs dialogs;
    TForm1 window;
    TForm2 download(window.deviceLink(), window, &window);
    QDialog about(&window);
    TForm5 chart(&window);
    window.setLastingWindows(download, about, chart);
    window.resize(1280, 900);
    window.show();
    for (auto _ : state) {
        dialogs.fileAnswers << path;
        window.N2->trigger();
        window.repaint(); // on screen, not only in memory
    }
    if (window.session().archive.Count != state.range(0))
        state.SkipWithError("the archive was not opened");
}
BENCHMARK(BM_OpenAndDisplay)->Arg(300)->Arg(999)->Unit(benchmark::kMillisecond);

} // namespace

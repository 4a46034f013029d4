// A full 999-cell download from the simulated meter: the size query and 999 cell
// exchanges, through the commands alone and through the download dialog.
// Without latency the figure is the program's own cost; with 2 ms per exchange the
// total should stay within 1% of the exchanges' latency.
#include "ArchiveView.h"
#include "ConnectDevice.h"
#include "DeviceCommands.h"
#include "MeterSim.h"
#include "Unit2.h"
#include "UserDialogs.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

using namespace luvir;

namespace {

constexpr int kCells = 999;
constexpr int kExchanges = kCells + 1; // the size query first

// Nothing may go wrong during a measured download.
[[noreturn]] void unexpected(const QString &text)
{
    std::fprintf(stderr, "unexpected message: %s\n", qPrintable(text));
    std::abort();
}

class SilentReporter : public CommandReporter
{
public:
    void reportFailure(const QString &text) override { unexpected(text); }
    void showMessage(const QString &text) override { unexpected(text); }
    void showStatus(const QString &) override { }
    void showProtocolVersion(const QString &) override { }
    void showArchiveSize(const QString &) override { }
};

class FailingDialogs : public UserDialogs
{
public:
    void message(QWidget *, const QString &text) override { unexpected(text); }
    void error(QWidget *, const QString &text) override { unexpected(text); }
    bool question(QWidget *, const QString &text, const QString &) override { unexpected(text); }
    QString openFileName(QWidget *, FileDialogRequest &) override { unexpected({}); }
    QString saveFileName(QWidget *, FileDialogRequest &) override { unexpected({}); }
    bool printerSetup(QWidget *, QPrinter &) override { unexpected({}); }
    bool print(QWidget *, QPrinter &) override { unexpected({}); }
};

class BenchView : public ArchiveView
{
public:
    ArchiveSession &session() override { return m_session; }
    void blankTableRows() override { }
    void DisplayArchive() override { }
    void setStatus(const QString &) override { }

private:
    ArchiveSession m_session;
};

void setUpMeter(benchmark::State &state)
{
    sim::Meter &meter = sim::meter();
    meter.reset();
    meter.generateCells(kCells);
    const auto latency = std::chrono::microseconds(state.range(0));
    meter.setLatency(latency);
    meter.setClock(latency.count() ? sim::Clock::Real : sim::Clock::Virtual);
}

void reportCounters(benchmark::State &state)
{
    state.counters["per_cell"] = benchmark::Counter(static_cast<double>(state.iterations()) * kCells,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["latency_total_ms"] = kExchanges * static_cast<double>(state.range(0)) / 1000.0;
}

void BM_CommandsDownload(benchmark::State &state)
{
    setUpMeter(state);
    DeviceLink link;
    SilentReporter reporter;
    if (!ConnectDevice(link, nullptr, nullptr))
        unexpected(QStringLiteral("no meter"));
    DeviceCommands commands(link, reporter);
    static CellArchive archive;
    for (auto _ : state) {
        std::uint16_t size = 0;
        commands.ReadArchiveSize(archive, size);
        for (std::uint16_t i = 0; i < archive.Count; ++i)
            if (!commands.ReadCell(i, archive))
                unexpected(QStringLiteral("cell"));
        state.PauseTiming();
        sim::meter().clearRecords();
        state.ResumeTiming();
    }
    reportCounters(state);
}

void BM_DialogDownload(benchmark::State &state)
{
    setUpMeter(state);
    FailingDialogs dialogs;
    setDialogs(&dialogs);
    DeviceLink link;
    BenchView view;
    TForm2 form(link, view);
    if (!ConnectDevice(link, nullptr, &view))
        unexpected(QStringLiteral("no meter"));
    form.show(); // the progress bar is drawn at every cell
    for (auto _ : state) {
        form.Button1Click();
        state.PauseTiming();
        if (view.session().archive.Count != kCells)
            unexpected(QStringLiteral("incomplete"));
        sim::meter().clearRecords();
        state.ResumeTiming();
    }
    form.hide();
    setDialogs(nullptr);
    reportCounters(state);
}

} // namespace

BENCHMARK(BM_CommandsDownload)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CommandsDownload)->Arg(2000)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DialogDownload)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DialogDownload)->Arg(2000)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

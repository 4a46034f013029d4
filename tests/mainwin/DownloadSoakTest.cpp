// Many full downloads of a 999-cell archive, each with a random fault of the meter at a
// random exchange, or a meter that keeps sending reports of its own (chattering, its
// answers ready at once or late), or nothing wrong; some after an archive was opened. After each
// one the archive in memory is exactly the meter's (the download completed) or exactly
// what it was before (it did not): never a mixture, never a cell at a wrong index.
//   LUVIR_SOAK_DOWNLOADS (default 40) and LUVIR_SOAK_SEED (default 2026) set the run;
//   scripts/soak.sh runs the long form.
#include "MainWindowFixture.h"

#include "LinkFaults.h"
#include "MeterSim.h"
#include "Unit2.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include <iostream>
#include <random>

using namespace luvir;
using luvir::test::MainWindowTest;

namespace {

int environmentNumber(const char *name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

// A fault of the meter's table (LinkFaults.h), none, or a chattering meter.
const int kFaultKinds = static_cast<int>(test::linkFaults().size());
const int kNoFault = kFaultKinds, kChattering = kFaultKinds + 1;

// The meter's archive for one download: 999 cells, different every time.
std::vector<ArchiveCell> meterCells(int download)
{
    std::vector<ArchiveCell> cells = sim::generatedCells(999);
    for (std::size_t i = 0; i < cells.size(); ++i)
        cells[i].setWord(ArchiveCell::Strength, static_cast<std::uint16_t>(download * 1000 + i));
    return cells;
}

bool sameAsMeter(const CellArchive &archive, const std::vector<ArchiveCell> &cells)
{
    if (archive.Count != cells.size())
        return false;
    return std::equal(cells.begin(), cells.end(), archive.Cells.begin());
}

} // namespace

TEST_F(MainWindowTest, DownloadSoakNeverMixesArchives)
{
    const int downloads = environmentNumber("LUVIR_SOAK_DOWNLOADS", 40);
    const int seed = environmentNumber("LUVIR_SOAK_SEED", 2026);
    std::mt19937 random(static_cast<std::mt19937::result_type>(seed));
    sim::Meter &meter = sim::meter();
    meter.reset();

    int completed = 0, refused = 0, mixed = 0, faultsInjected = 0;
    for (int d = 0; d < downloads; ++d) {
        if (d % 4 == 1)
            openSample(1 + d % 50); // some downloads start from an opened file
        const CellArchive before = window->session().archive;
        const ProtocolVersion versionBefore = window->session().version;

        meter.plugIn();
        meter.clearFaults();
        meter.setChattering(false);
        meter.setLatency(std::chrono::microseconds(0));
        const std::vector<ArchiveCell> cells = meterCells(d);
        meter.setCells(cells);
        const int kind = std::uniform_int_distribution<int>(0, kChattering)(random);
        if (kind == kChattering) {
            meter.setChattering(true);
            if (random() % 2)
                meter.setLatency(std::chrono::milliseconds(2)); // strays come before every answer
            ++faultsInjected;
        } else if (kind != kNoFault) {
            // Exchanges from here on: version, size on showing; size, 999 cells on "Скачать".
            const int at = meter.exchanges() + std::uniform_int_distribution<int>(0, 1002)(random);
            meter.addFault(sim::atExchange(test::linkFaults()[static_cast<std::size_t>(kind)].fault, at));
            ++faultsInjected;
        }

        window->setStatus(QString());
        QTimer::singleShot(0, [] {
            if (auto *dialog = qobject_cast<TForm2 *>(QApplication::activeModalWidget())) {
                dialog->Button1->click();
                if (dialog->isVisible())
                    dialog->Button2->click(); // it failed: the user gives up
            }
        });
        window->N13->trigger();
        QCoreApplication::processEvents();

        const CellArchive &now = window->session().archive;
        const bool isMeters = sameAsMeter(now, cells) && window->session().version == ProtocolVersion{1, 0};
        const bool isBefore = now.sameContents(before) && window->session().version == versionBefore;
        const bool saysDone = window->statusText(0) == "Готово";
        if (isMeters && saysDone)
            ++completed;
        else if (isBefore && !saysDone)
            ++refused;
        else
            ++mixed;
        EXPECT_TRUE((isMeters && saysDone) || (isBefore && !saysDone))
            << "download " << d << ", fault kind " << kind << ", status "
            << window->statusText(0).toStdString();
        if (isMeters) {
            EXPECT_EQ(window->table().rowCount(), 1000) << "download " << d;
        }
    }

    std::cout << "soak: " << downloads << " downloads of 999 cells (seed " << seed << "), " << faultsInjected
              << " with a fault: " << completed << " completed, " << refused << " left the archive as it was, "
              << mixed << " mixed" << std::endl;
    RecordProperty("completed", completed);
    RecordProperty("mixed", mixed);
    EXPECT_EQ(mixed, 0);
    EXPECT_GT(completed, 0);
    EXPECT_GT(refused, 0);
}

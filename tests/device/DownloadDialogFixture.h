#pragma once
// The download dialog with a stand-in main window over the simulated meter: what the
// dialog's test files share.

#include "ConnectDevice.h"
#include "SimFixture.h"
#include "TestData.h"
#include "Unit2.h"

#include <memory>

namespace luvir::test {

// The main window as the dialog sees it; everything it is asked to do goes to the log.
class FakeArchiveView : public ArchiveView
{
public:
    explicit FakeArchiveView(EventLog &log)
        : m_log(log)
    {
    }
    ArchiveSession &session() override { return archiveSession; }
    void blankTableRows() override { m_log.events << QStringLiteral("blank"); }
    void DisplayArchive() override
    {
        m_log.events << QStringLiteral("display");
        shownCount = archiveSession.archive.Count;
    }
    void setStatus(const QString &text) override
    {
        current = text;
        m_log.events << QStringLiteral("status:") + text;
    }

    ArchiveSession archiveSession;
    QString current;
    int shownCount = -1;

private:
    EventLog &m_log;
};

// The dialog, its main window and its log, made afresh for each case of a table.
struct CaseDialog {
    EventLog log;
    FakeArchiveView view {log};
    DeviceLink link;
    TForm2 form {link, view};
};

class DownloadDialogTest : public SimTest
{
protected:
    DownloadDialogTest()
    {
        // An archive opened earlier, of another meter.
        view.archiveSession.archive = sampleArchive(7);
        view.archiveSession.version = {2, 3};
    }

    void connectAndShow()
    {
        ASSERT_TRUE(ConnectDevice(link, nullptr, &view));
        log.events.clear();
        form.FormShow();
    }

    // The archive and version are what they were before the dialog came up.
    void expectSessionUntouched() const
    {
        EXPECT_TRUE(view.archiveSession.archive.sameContents(sampleArchive(7)));
        EXPECT_EQ(view.archiveSession.version, (ProtocolVersion {2, 3}));
        EXPECT_FALSE(view.archiveSession.DownloadCompleted);
        EXPECT_FALSE(log.events.contains(QStringLiteral("display")));
    }

    std::vector<int> requestedCells() const
    {
        std::vector<int> cells;
        for (const sim::Frame &f : requestsFor(0x31))
            cells.push_back(f[3] | (f[4] << 8));
        return cells;
    }

    // A dialog of its own over a copy of the open archive, connected and shown: one case
    // of a table of cases. Null when the meter was not connected.
    std::unique_ptr<CaseDialog> showCaseDialog()
    {
        auto dialog = std::make_unique<CaseDialog>();
        dialog->view.archiveSession = view.archiveSession;
        if (!ConnectDevice(dialog->link, nullptr, &dialog->view))
            return nullptr;
        dialog->form.FormShow();
        return dialog;
    }

    FakeArchiveView view {log};
    DeviceLink link;
    TForm2 form {link, view};
};

} // namespace luvir::test

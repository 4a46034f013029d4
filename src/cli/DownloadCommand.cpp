// The download command: the meter's whole archive into a file, as the download dialog
// reads it and File > Save writes it.
#include "Commands.h"

#include "CliText.h"
#include "ArchiveDownload.h"
#include "DownloadProgress.h"
#include "MeterDiscovery.h"
#include "RegisterRecorder.h"

#include <QDir>
#include <QFileInfo>

namespace luvir::cli {

namespace {

// Every message on standard error, each on its own line; the cells' progress in between.
class ConsoleDownloadReporter final : public DownloadReporter
{
public:
    explicit ConsoleDownloadReporter(Console &console)
        : m_console(console)
        , m_progress(console)
    {
    }

    void reportFailure(const QString &text) override { tell(text); }
    void showMessage(const QString &text) override { tell(text); }
    void showStatus(const QString &text) override { m_status = text; }
    void showProtocolVersion(const QString &) override { }
    void showArchiveSize(const QString &) override { }
    void meterAnswered() override { }
    void cellsToRead(int cells) override { m_progress.start(m_status, cells); }
    // Cell `number` is being asked for: the ones before it are in.
    void readingCell(int number) override { m_progress.update(number - 1); }

    void finish() { m_progress.finish(); }

private:
    void tell(const QString &text)
    {
        m_progress.interrupt();
        m_console.err(text + u'\n');
    }

    Console &m_console;
    DownloadProgress m_progress;
    QString m_status; // the latest status text, the progress line's label
};

// Whether a file can be put at `fileName` at all; checked before the meter is asked, so
// that a whole download is not read for nothing.
QString unusableTarget(const QString &fileName)
{
    const QFileInfo target(fileName);
    if (target.isDir())
        return LuvirCli::tr("luvir-cli: \"%1\" is a folder").arg(fileName);
    if (!target.absoluteDir().exists())
        return LuvirCli::tr("luvir-cli: no folder \"%1\"").arg(target.absolutePath());
    return {};
}

} // namespace

int runDownload(const Invocation &invocation, CliContext &context)
{
    const QString fileName = invocation.files.first();
    if (const QString problem = unusableTarget(fileName); !problem.isEmpty()) {
        context.console.err(problem + u'\n');
        return kExitFailed;
    }

    ConsoleDownloadReporter reporter(context.console);
    DeviceLink link;
    if (!ConnectDevice(link, reporter))
        return kExitFailed;
    auto download = std::make_unique<ArchiveDownload>(link, reporter);
    if (!download->queryMeter(ProtocolVersion {}) || !download->readArchive())
        return kExitFailed;
    reporter.finish();

    auto session = std::make_unique<ArchiveSession>();
    download->commitTo(*session);
    ArchiveWriter writer;
    if (!writer.write(fileName, session->archive, session->version)) {
        context.console.err(writer.errorString() + u'\n');
        return kExitFailed;
    }
    context.console.out(archiveSummary(session->version, session->archive.Count));

    // The register after the file, as in the program: its failure costs the download nothing.
    if (!invocation.noRegister) {
        RegisterRecorder recorder(invocation.registerFile);
        recorder.setSavedFile(QFileInfo(fileName).absoluteFilePath());
        const DownloadRecord record = download->recordTo(recorder);
        if (record.complete)
            context.console.out(record.text + u'\n');
        else
            context.console.err(record.text + u'\n');
    }
    return kExitOk;
}

} // namespace luvir::cli

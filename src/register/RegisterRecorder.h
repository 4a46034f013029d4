#pragma once
// The register as the recorder of downloads: every completed download's cells go into it
// as one addition. A register that cannot be opened or written costs the download nothing;
// the record says what was not added and why.

#include "DownloadRecorder.h"

#include <functional>

namespace luvir {

class Register;

class RegisterRecorder final : public DownloadRecorder
{
public:
    // Asks the user to connect to the server register at `location` that wants a password
    // (the connect dialog); true once `target` is open. Cancelled: false.
    using ServerConnector = std::function<bool(Register &target, const QString &location)>;

    // `fileName` empty: the register last used (rememberedRegisterPath()), looked up at
    // each download. Without `connector` a server that wants a password is only reported.
    explicit RegisterRecorder(QString fileName = {}, ServerConnector connector = {})
        : m_fileName(std::move(fileName))
        , m_connector(std::move(connector))
    {
    }

    void setBusyTimeout(int milliseconds) { m_busyMs = milliseconds; }
    // The file the download was already saved in (luvir-cli download): a record of what was
    // not added names it instead of advising to save the archive.
    void setSavedFile(const QString &fileName) { m_savedFile = fileName; }

    DownloadRecord recordDownload(const CompletedDownload &download) override;

private:
    QString m_fileName;
    ServerConnector m_connector;
    int m_busyMs = -1; // the register's default
    QString m_savedFile;
};

} // namespace luvir

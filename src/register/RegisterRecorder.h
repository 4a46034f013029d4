#pragma once
// The register as the recorder of downloads: every completed download's cells go into it
// as one addition. A register that cannot be opened or written costs the download nothing;
// the record says what was not added and why.

#include "DownloadRecorder.h"

namespace luvir {

class RegisterRecorder final : public DownloadRecorder
{
public:
    // `fileName` empty: the register last used (rememberedRegisterPath()), looked up at
    // each download.
    explicit RegisterRecorder(QString fileName = {})
        : m_fileName(std::move(fileName))
    {
    }

    void setBusyTimeout(int milliseconds) { m_busyMs = milliseconds; }

    DownloadRecord recordDownload(const CompletedDownload &download) override;

private:
    QString m_fileName;
    int m_busyMs = -1; // the register's default
};

} // namespace luvir

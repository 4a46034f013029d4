#pragma once
// A disk that fills part-way, for a test: a small tmpfs of its own, mounted on a temporary
// folder, filled until only a few bytes are left. A write of more than is left then stores
// part of its data without an error, and only the next write fails, with "no space left
// on device": what a real disk does as it fills. Mounting takes root (CI runs as root);
// elsewhere the tests that need it are skipped.

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <unistd.h>

namespace luvir::test {

class SmallFilesystem
{
public:
    SmallFilesystem();
    ~SmallFilesystem();
    SmallFilesystem(const SmallFilesystem &) = delete;
    SmallFilesystem &operator=(const SmallFilesystem &) = delete;

    // Empty once mounted; else why it could not be.
    QString unavailable() const { return m_unavailable; }

    QString path() const { return m_folder.path(); }
    QString filePath(const QString &name) const { return m_folder.filePath(name); }

    // Fills the filesystem until only `bytes` (whole pages) are left free.
    bool leaveFree(qint64 bytes);
    // Mounts it again read-only, as an archived share is: nothing can be made or changed in it.
    bool makeReadOnly();
    // The files in the folder, hidden ones included, without the one that fills it.
    QStringList files() const;

private:
    QTemporaryDir m_folder;
    QString m_unavailable;
};

// Whether `message` ends in the system's reason for `errorNumber` (its text in the
// current locale or in the C locale).
bool endsInSystemReason(const QString &message, int errorNumber);

} // namespace luvir::test

// Skips the test where no small filesystem can be mounted (not root); as root a mount
// that fails is a failure.
#define LUVIR_NEED_SMALL_FILESYSTEM(fs)                                                         \
    do {                                                                                       \
        if (!(fs).unavailable().isEmpty()) {                                                   \
            if (::geteuid() == 0)                                                              \
                FAIL() << "cannot mount a small filesystem: " << (fs).unavailable().toStdString(); \
            GTEST_SKIP() << "a small filesystem needs root: " << (fs).unavailable().toStdString(); \
        }                                                                                      \
    } while (false)

#include "SmallFilesystem.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <clocale>
#include <cstring>
#include <locale.h>
#include <sys/mount.h>
#include <sys/statvfs.h>

namespace luvir::test {

namespace {

const QString kFiller = QStringLiteral(".filler");

} // namespace

SmallFilesystem::SmallFilesystem()
{
    if (!m_folder.isValid()) {
        m_unavailable = m_folder.errorString();
        return;
    }
    const QByteArray where = QFile::encodeName(m_folder.path());
    if (::mount("tmpfs", where.constData(), "tmpfs", MS_NOSUID | MS_NODEV, "size=1m,mode=0700") != 0)
        m_unavailable = QString::fromLocal8Bit(std::strerror(errno));
}

SmallFilesystem::~SmallFilesystem()
{
    if (m_unavailable.isEmpty())
        ::umount2(QFile::encodeName(m_folder.path()).constData(), MNT_DETACH);
}

bool SmallFilesystem::leaveFree(qint64 bytes)
{
    struct statvfs status {
    };
    if (::statvfs(QFile::encodeName(path()).constData(), &status) != 0)
        return false;
    const qint64 available = qint64(status.f_bavail) * qint64(status.f_frsize);
    if (available < bytes)
        return false;
    QFile filler(filePath(kFiller));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    return filler.write(QByteArray(available - bytes, '\0')) == available - bytes && filler.flush();
}

bool SmallFilesystem::makeReadOnly()
{
    return ::mount("tmpfs", QFile::encodeName(path()).constData(), "tmpfs", MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV,
               nullptr)
        == 0;
}

QStringList SmallFilesystem::files() const
{
    QStringList names = QDir(path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    names.removeAll(kFiller);
    return names;
}

bool endsInSystemReason(const QString &message, int errorNumber)
{
    const locale_t c = ::newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    const QString inC = QString::fromLocal8Bit(::strerror_l(errorNumber, c));
    ::freelocale(c);
    const QString here = QString::fromLocal8Bit(std::strerror(errorNumber));
    return message.endsWith(inC) || message.endsWith(here);
}

} // namespace luvir::test

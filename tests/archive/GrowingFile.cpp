#include "GrowingFile.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>

namespace {

struct Armed {
    dev_t device = 0;
    ino_t inode = 0;
    std::string path;
    QByteArray tail;
    luvir::test::GrowthMoment moment = luvir::test::GrowthMoment::BeforeTheFirstRead;
    bool grown = false;
};

std::atomic<Armed *> g_armed {nullptr};

using ReadFunction = ssize_t (*)(int, void *, size_t);

ReadFunction libraryRead()
{
    static const auto function = reinterpret_cast<ReadFunction>(dlsym(RTLD_NEXT, "read"));
    return function;
}

bool isArmedFile(int fd, const Armed &armed)
{
    struct stat status {
    };
    return ::fstat(fd, &status) == 0 && status.st_dev == armed.device && status.st_ino == armed.inode;
}

void grow(Armed &armed)
{
    const int fd = ::open(armed.path.c_str(), O_WRONLY | O_APPEND);
    if (fd >= 0) {
        armed.grown = ::write(fd, armed.tail.constData(), static_cast<size_t>(armed.tail.size()))
            == armed.tail.size();
        ::close(fd);
    }
}

} // namespace

extern "C" ssize_t read(int fd, void *buffer, size_t count)
{
    Armed *armed = g_armed.load();
    if (!armed || armed->grown || !isArmedFile(fd, *armed))
        return libraryRead()(fd, buffer, count);
    if (armed->moment == luvir::test::GrowthMoment::BeforeTheFirstRead)
        grow(*armed);
    const ssize_t result = libraryRead()(fd, buffer, count);
    if (armed->moment == luvir::test::GrowthMoment::AfterTheEnd && result == 0)
        grow(*armed);
    return result;
}

namespace luvir::test {

GrowingFile::GrowingFile(const QString &path, const QByteArray &tail, GrowthMoment moment)
{
    auto *armed = new Armed;
    armed->path = path.toStdString();
    armed->tail = tail;
    armed->moment = moment;
    struct stat status {
    };
    if (::stat(armed->path.c_str(), &status) == 0) {
        armed->device = status.st_dev;
        armed->inode = status.st_ino;
    }
    g_armed.store(armed);
}

GrowingFile::~GrowingFile()
{
    delete g_armed.exchange(nullptr);
}

bool GrowingFile::grown() const
{
    const Armed *armed = g_armed.load();
    return armed && armed->grown;
}

} // namespace luvir::test

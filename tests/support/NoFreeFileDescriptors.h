#pragma once
// While it lives, this process can open no further file: every open fails as when the
// process has used up its file descriptors. The limit binds root as well, so a file that
// cannot be created is a case the tests can make whoever runs them.

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace luvir::test {

class NoFreeFileDescriptors
{
public:
    NoFreeFileDescriptors()
    {
        getrlimit(RLIMIT_NOFILE, &m_previous);
        // The lowest free descriptor: with the limit there, none is left below it.
        const int lowest = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (lowest < 0)
            return;
        ::close(lowest);
        rlimit limit = m_previous;
        limit.rlim_cur = static_cast<rlim_t>(lowest);
        m_active = setrlimit(RLIMIT_NOFILE, &limit) == 0;
    }
    ~NoFreeFileDescriptors() { setrlimit(RLIMIT_NOFILE, &m_previous); }
    NoFreeFileDescriptors(const NoFreeFileDescriptors &) = delete;
    NoFreeFileDescriptors &operator=(const NoFreeFileDescriptors &) = delete;

    // Whether the limit was put in place.
    bool active() const { return m_active; }

private:
    rlimit m_previous {};
    bool m_active = false;
};

} // namespace luvir::test

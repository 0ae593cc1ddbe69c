#pragma once
// Makes writes fail past a file size for as long as it lives (RLIMIT_FSIZE,
// with SIGXFSZ ignored so that the write fails instead of the process), for
// tests of what a write failing half-way leaves behind. Plain C++ and POSIX.

#include <csignal>
#include <sys/resource.h>

namespace bwtest {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : m_handler(std::signal(SIGXFSZ, SIG_IGN))
    {
        if (::getrlimit(RLIMIT_FSIZE, &m_saved) != 0)
            return;
        rlimit limited = m_saved;
        limited.rlim_cur = bytes;
        m_set = ::setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit()
    {
        if (m_set)
            ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    // The limit is in force.
    bool set() const { return m_set; }

private:
    void (*m_handler)(int);
    rlimit m_saved{};
    bool m_set = false;
};

}  // namespace bwtest

#pragma once
// A named pipe for tests of code that must refuse it, with a watch that keeps
// a regression from hanging the test run: when the code under test is still
// blocked on the pipe after the time limit, the watch opens the pipe for
// writing and closes it again (which lets a blocked reader see the end), and
// released() tells the test that it had to. Plain C++ and POSIX, so the
// 32-bit kernel tests use it too.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace bwtest {

inline bool makeFifo(const std::string& path)
{
    return ::mkfifo(path.c_str(), 0600) == 0;
}

class FifoWatch {
public:
    explicit FifoWatch(std::string fifo,
                       std::chrono::milliseconds limit = std::chrono::seconds(10))
        : m_fifo(std::move(fifo)), m_thread([this, limit] { watch(limit); })
    {
    }
    ~FifoWatch()
    {
        {
            std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }
    FifoWatch(const FifoWatch&) = delete;
    FifoWatch& operator=(const FifoWatch&) = delete;

    // The code under test blocked on the pipe until the limit.
    bool released()
    {
        std::lock_guard lock(m_mutex);
        return m_released;
    }

private:
    void watch(std::chrono::milliseconds limit)
    {
        std::unique_lock lock(m_mutex);
        if (m_wake.wait_for(lock, limit, [this] { return m_stop; }))
            return;
        // Keep releasing until the test is done: the code may open it again.
        while (!m_stop) {
            const int fd = ::open(m_fifo.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                m_released = true;
                ::close(fd);
            }
            m_wake.wait_for(lock, std::chrono::milliseconds(10), [this] { return m_stop; });
        }
    }

    std::string m_fifo;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
    bool m_released = false;
    std::thread m_thread;   // last: starts once the rest is set up
};

}  // namespace bwtest

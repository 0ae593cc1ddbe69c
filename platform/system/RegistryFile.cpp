#include "platform/system/RegistryFile.h"

#include <QFile>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sys {

namespace {

// Another program's save takes milliseconds; this only ends a wait on one
// that hangs while holding the lock.
constexpr auto kLockWait = std::chrono::seconds(10);

QString errnoText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

StoreFile failure(StoreFileState state, const QString& reason)
{
    StoreFile f;
    f.state = state;
    f.reason = reason;
    return f;
}

// Why a file is not what a store can be; empty when it can be read.
std::optional<StoreFile> refusal(const struct stat& st)
{
    if (S_ISDIR(st.st_mode))
        return failure(StoreFileState::NotRegular, QStringLiteral("it is a folder"));
    if (S_ISFIFO(st.st_mode))
        return failure(StoreFileState::NotRegular, QStringLiteral("it is a named pipe"));
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
        return failure(StoreFileState::NotRegular, QStringLiteral("it is a device"));
    if (!S_ISREG(st.st_mode))
        return failure(StoreFileState::NotRegular, QStringLiteral("it is a special file"));
    if (st.st_size > kMaxRegistryStoreBytes)
        return failure(StoreFileState::TooLarge,
                       QStringLiteral("it holds %1 bytes, more than the %2 a store can hold")
                           .arg(qint64(st.st_size))
                           .arg(kMaxRegistryStoreBytes));
    return std::nullopt;
}

bool missing(int error)
{
    return error == ENOENT || error == ENOTDIR;
}

}  // namespace

StoreFile readStoreFile(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    // Looked at before it is opened: opening a device may already do something.
    if (::stat(name.constData(), &st) != 0)
        return missing(errno) ? StoreFile{}
                              : failure(StoreFileState::Unreadable, errnoText(errno));
    if (auto refused = refusal(st))
        return *refused;
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return missing(errno) ? StoreFile{}
                              : failure(StoreFileState::Unreadable, errnoText(errno));
    // What was opened may not be what was looked at.
    if (::fstat(fd, &st) != 0) {
        const int error = errno;
        ::close(fd);
        return failure(StoreFileState::Unreadable, errnoText(error));
    }
    if (auto refused = refusal(st)) {
        ::close(fd);
        return *refused;
    }
    StoreFile f;
    f.state = StoreFileState::Read;
    // One byte more than the limit tells a file that grew past it.
    f.bytes.resize(qsizetype(st.st_size) + 1);
    qsizetype got = 0;
    while (got < f.bytes.size()) {
        const ssize_t n = ::read(fd, f.bytes.data() + got, size_t(f.bytes.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            return failure(StoreFileState::Unreadable, errnoText(error));
        }
        if (n == 0)
            break;
        got += n;
        if (got == f.bytes.size() && got <= kMaxRegistryStoreBytes)
            f.bytes.resize(qMin(f.bytes.size() * 2, kMaxRegistryStoreBytes + 1));
    }
    ::close(fd);
    if (got > kMaxRegistryStoreBytes)
        return failure(StoreFileState::TooLarge,
                       QStringLiteral("it holds more than the %1 bytes a store can hold")
                           .arg(kMaxRegistryStoreBytes));
    f.bytes.resize(got);
    return f;
}

StoreLock::StoreLock(const QString& storePath)
{
    const QByteArray name = QFile::encodeName(storePath + QStringLiteral(".lock"));
    m_fd = ::open(name.constData(), O_RDWR | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0644);
    if (m_fd < 0)
        m_fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0)
        return;
    const auto deadline = std::chrono::steady_clock::now() + kLockWait;
    auto pause = std::chrono::milliseconds(1);
    while (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK)
            return;   // a file system without locks: go ahead as before
        if (std::chrono::steady_clock::now() >= deadline) {
            m_locked = false;
            return;
        }
        std::this_thread::sleep_for(pause);
        pause = qMin(pause * 2, std::chrono::milliseconds(16));
    }
}

StoreLock::~StoreLock()
{
    if (m_fd >= 0)
        ::close(m_fd);   // releases the lock
}

}  // namespace sys

// Kernel file access over POSIX descriptors. Only descriptors the kernel
// opened are accepted, so a stale or foreign handle cannot close someone
// else's file, and the open ones are counted for leak checks.

#include "platform/imaging/PelmcoreInternal.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <mutex>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace imaging::core::impl {
namespace {

std::mutex g_mutex;
std::set<int32_t> g_open;

bool known(int32_t handle)
{
    std::lock_guard lock(g_mutex);
    return g_open.count(handle) != 0;
}

int posixFlags(int32_t flags)
{
    int f = O_CLOEXEC;
    if (flags & kReadWrite)
        f |= O_RDWR;
    else if (flags & kWriteOnly)
        f |= O_WRONLY;
    else
        f |= O_RDONLY;
    if (flags & kAppend)
        f |= O_APPEND;
    if (flags & kCreate)
        f |= O_CREAT;
    if (flags & kTruncate)
        f |= O_TRUNC;
    if (flags & kExclusive)
        f |= O_EXCL;
    return f;
}

mode_t posixMode(int32_t mode)
{
    // A writable file is readable as well; read-only mode makes it read-only.
    return (mode & kModeWrite) ? 0666 : 0444;
}

}  // namespace

int32_t BW_STDCALL open(const char* name, int32_t flags, int32_t mode)
{
    constexpr int32_t known = kWriteOnly | kReadWrite | kAppend | kCreate | kTruncate |
                              kExclusive | kText | kBinary;
    if (!name || !*name || (flags & ~known) || (flags & kWriteOnly && flags & kReadWrite))
        return -1;
    int fd = ::open(name, posixFlags(flags), posixMode(mode));
    if (fd < 0)
        return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    std::lock_guard lock(g_mutex);
    g_open.insert(fd);
    return fd;
}

int32_t BW_STDCALL close(int32_t handle)
{
    {
        std::lock_guard lock(g_mutex);
        if (g_open.erase(handle) == 0)
            return -1;
    }
    ::close(handle);
    return 0;
}

int32_t BW_STDCALL read(int32_t handle, void* buffer, int32_t count)
{
    if (!known(handle) || count < 0 || (!buffer && count > 0))
        return -1;
    auto* p = static_cast<char*>(buffer);
    int32_t done = 0;
    while (done < count) {
        ssize_t n = ::read(handle, p + done, size_t(count - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return done > 0 ? done : -1;
        if (n == 0)
            break;
        done += int32_t(n);
    }
    return done;
}

int32_t BW_STDCALL write(int32_t handle, const void* buffer, int32_t count)
{
    if (!known(handle) || count < 0 || (!buffer && count > 0))
        return -1;
    auto* p = static_cast<const char*>(buffer);
    int32_t done = 0;
    while (done < count) {
        ssize_t n = ::write(handle, p + done, size_t(count - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return -1;
        done += int32_t(n);
    }
    return done;
}

int32_t BW_STDCALL seek(int32_t handle, int32_t offset, int32_t whence)
{
    if (!known(handle) || whence < 0 || whence > 2)
        return -1;
    off_t pos = ::lseek(handle, off_t(offset), whence == 0 ? SEEK_SET
                                                : whence == 1 ? SEEK_CUR : SEEK_END);
    if (pos < 0 || pos > INT32_MAX)
        return -1;
    return int32_t(pos);
}

int32_t BW_STDCALL fileSize(int32_t handle)
{
    struct stat st {};
    if (!known(handle) || ::fstat(handle, &st) != 0 || st.st_size > INT32_MAX)
        return -1;
    return int32_t(st.st_size);
}

int32_t BW_STDCALL openFiles()
{
    std::lock_guard lock(g_mutex);
    return int32_t(g_open.size());
}

}  // namespace imaging::core::impl

// Kernel file access over POSIX descriptors. Only descriptors the kernel
// opened are accepted, so a stale or foreign handle cannot close someone
// else's file, and the open ones are counted for leak checks. Only regular
// files are opened: a pipe would block the caller for ever. A file opened for
// writing with truncation is written beside its target and replaces it only
// when closed after a complete write, so a failed save keeps the old file.

#include "platform/imaging/PelmcoreInternal.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace imaging::core::impl {
namespace {

// A file being written whole: the descriptor is a temporary file beside the
// target, renamed over it on a close that follows a complete write.
struct Replacement {
    std::string target;
    std::string temp;
    bool failed = false;   // a write failed or the writer gave up
};

std::mutex g_mutex;
std::set<int32_t> g_open;
std::map<int32_t, Replacement> g_replacing;

bool known(int32_t handle)
{
    std::lock_guard lock(g_mutex);
    return g_open.count(handle) != 0;
}

int posixFlags(int32_t flags)
{
    // Non-blocking only while opening, so that a pipe cannot hold the caller.
    int f = O_CLOEXEC | O_NONBLOCK;
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

// Keeps `fd` when it is a regular file, in blocking mode; else closes it.
int keepRegular(int fd)
{
    struct stat st {};
    if (fd < 0)
        return -1;
    const int flags = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || flags == -1 ||
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

int32_t track(int fd)
{
    std::lock_guard lock(g_mutex);
    g_open.insert(fd);
    return fd;
}

// The file a path names, through symbolic links, so that the link survives
// the replacement; the path itself when it does not exist yet.
std::string resolved(const char* name)
{
    char* real = ::realpath(name, nullptr);
    if (!real)
        return name;
    std::string path(real);
    std::free(real);
    return path;
}

// Opens a temporary file beside the target for a write with truncation. The
// target's own checks come first: it must be a writable regular file, or be
// missing and allowed to be created.
int32_t openReplacement(const char* name, int32_t flags, int32_t mode)
{
    const std::string target = resolved(name);
    mode_t keep = 0;
    const bool exists = ::access(target.c_str(), F_OK) == 0;
    if (exists) {
        if ((flags & kCreate) && (flags & kExclusive))
            return -1;
        const int probe = keepRegular(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
        if (probe < 0)
            return -1;
        struct stat st {};
        const bool statted = ::fstat(probe, &st) == 0;
        ::close(probe);
        if (!statted)
            return -1;
        keep = st.st_mode & 07777;
    } else if (!(flags & kCreate)) {
        return -1;
    }
    const std::string::size_type slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash);
    static std::atomic<uint32_t> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        char leaf[64];
        std::snprintf(leaf, sizeof leaf, "/.pelm-%d-%u.tmp", int(::getpid()),
                      unsigned(counter++));
        const std::string temp = folder + leaf;
        // A new file gets the mode asked for (less the umask), an old one keeps its own.
        const int fd = ::open(temp.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC,
                              exists ? 0600 : posixMode(mode));
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0)
            return -1;
        if (exists && ::fchmod(fd, keep) != 0) {
            ::close(fd);
            ::unlink(temp.c_str());
            return -1;
        }
        std::lock_guard lock(g_mutex);
        g_open.insert(fd);
        g_replacing[fd] = Replacement{target, temp};
        return fd;
    }
    return -1;
}

}  // namespace

int32_t BW_STDCALL open(const char* name, int32_t flags, int32_t mode)
{
    constexpr int32_t known = kWriteOnly | kReadWrite | kAppend | kCreate | kTruncate |
                              kExclusive | kText | kBinary;
    if (!name || !*name || (flags & ~known) || (flags & kWriteOnly && flags & kReadWrite))
        return -1;
    if ((flags & (kWriteOnly | kReadWrite)) && (flags & kTruncate))
        return openReplacement(name, flags, mode);
    const int fd = keepRegular(::open(name, posixFlags(flags), posixMode(mode)));
    return fd < 0 ? -1 : track(fd);
}

int32_t BW_STDCALL close(int32_t handle)
{
    Replacement replacing;
    bool replaces = false;
    {
        std::lock_guard lock(g_mutex);
        if (g_open.erase(handle) == 0)
            return -1;
        auto it = g_replacing.find(handle);
        if (it != g_replacing.end()) {
            replacing = std::move(it->second);
            replaces = true;
            g_replacing.erase(it);
        }
    }
    if (!replaces) {
        ::close(handle);
        return 0;
    }
    bool ok = !replacing.failed && ::fsync(handle) == 0;
    ok = ::close(handle) == 0 && ok;
    ok = ok && ::rename(replacing.temp.c_str(), replacing.target.c_str()) == 0;
    if (!ok) {
        ::unlink(replacing.temp.c_str());
        return -1;
    }
    return 0;
}

int32_t BW_STDCALL discard(int32_t handle)
{
    std::lock_guard lock(g_mutex);
    auto it = g_replacing.find(handle);
    if (it == g_replacing.end())
        return kBadArgument;
    it->second.failed = true;
    return kOk;
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
    if (!known(handle))
        return -1;
    if (count < 0 || (!buffer && count > 0)) {
        discard(handle);
        return -1;
    }
    auto* p = static_cast<const char*>(buffer);
    int32_t done = 0;
    while (done < count) {
        ssize_t n = ::write(handle, p + done, size_t(count - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            discard(handle);
            return -1;
        }
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

// Kernel file access over POSIX descriptors. Only descriptors the kernel
// opened are accepted, so a stale or foreign handle cannot close someone
// else's file, and the open ones are counted for leak checks. Only regular
// files are opened: a pipe would block the caller for ever. A file opened for
// writing with truncation is written beside its target and replaces it only
// when closed after a complete write, so a failed save keeps the old file.
// That file has no name until the complete close links it in and renames it
// over the target, so a writer killed while writing leaves nothing behind.
// Where the file system cannot make unnamed files it is named from the start;
// either way a named one is locked by its writer, and the next save into the
// folder removes those whose writer no longer runs.

#include "platform/imaging/PelmcoreInternal.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <set>
#include <signal.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace imaging::core::impl {
namespace {

// A file being written whole: the descriptor is a temporary file beside the
// target, renamed over it on a close that follows a complete write.
struct Replacement {
    std::string target;
    std::string folder;
    std::string temp;      // empty while the file has no name
    bool failed = false;   // a write failed or the writer gave up
};

constexpr char kTempPrefix[] = ".pelm-";
constexpr char kTempSuffix[] = ".tmp";

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

// A temporary name in the folder: the writer's process number, so that a
// later save can tell whether the writer still runs, and a counter.
std::string tempName(const std::string& folder)
{
    static std::atomic<uint32_t> counter{0};
    char leaf[64];
    std::snprintf(leaf, sizeof leaf, "/%s%d-%u%s", kTempPrefix, int(::getpid()),
                  unsigned(counter++), kTempSuffix);
    return folder + leaf;
}

// The writer's process number in a temporary name of ours, or 0.
pid_t writerOf(const char* leaf)
{
    const size_t prefix = sizeof kTempPrefix - 1, suffix = sizeof kTempSuffix - 1;
    const size_t length = std::strlen(leaf);
    if (length <= prefix + suffix || std::strncmp(leaf, kTempPrefix, prefix) != 0 ||
        std::strcmp(leaf + length - suffix, kTempSuffix) != 0)
        return 0;
    char* end = nullptr;
    const long pid = std::strtol(leaf + prefix, &end, 10);
    return pid > 0 && pid <= INT32_MAX && *end == '-' ? pid_t(pid) : 0;
}

// Removes the temporary files that writers killed while saving left in the
// folder: a writer that runs holds a lock on its file, and the process number
// guards the moment between creating a named file and locking it.
void removeAbandoned(const std::string& folder)
{
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    while (const dirent* e = ::readdir(dir)) {
        const pid_t pid = writerOf(e->d_name);
        if (pid == 0 || pid == ::getpid() || ::kill(pid, 0) == 0 || errno != ESRCH)
            continue;
        const std::string temp = folder + "/" + e->d_name;
        const int fd = ::open(temp.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(temp.c_str());
        ::close(fd);
    }
    ::closedir(dir);
}

// Opens the temporary file: unnamed where the file system allows, else named.
int openTemp(const std::string& folder, mode_t mode, std::string& temp)
{
    temp.clear();
    int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, mode);
    if (fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
            temp = tempName(folder);
            fd = ::open(temp.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode);
            if (fd < 0 && errno != EEXIST)
                break;
        }
    }
    if (fd < 0) {
        temp.clear();   // the last name tried may be another writer's file
        return -1;
    }
    if (::flock(fd, LOCK_EX) != 0) {
        ::close(fd);
        if (!temp.empty())
            ::unlink(temp.c_str());
        temp.clear();
        return -1;
    }
    return fd;
}

// Names an unnamed temporary file beside its target (under the lock that
// marks its writer as running).
bool linkTemp(int fd, Replacement& r)
{
    char self[32];
    std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        r.temp = tempName(r.folder);
        if (::linkat(AT_FDCWD, self, AT_FDCWD, r.temp.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return true;
        if (errno != EEXIST)
            break;
    }
    r.temp.clear();
    return false;
}

// Opens a temporary file beside the target for a write with truncation. The
// target's own checks come first: it must be a writable regular file (looked
// at before it is opened, so that a pipe is never opened for writing), or be
// missing and allowed to be created.
int32_t openReplacement(const char* name, int32_t flags, int32_t mode)
{
    const std::string target = resolved(name);
    mode_t keep = 0;
    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists) {
        if (((flags & kCreate) && (flags & kExclusive)) || !S_ISREG(st.st_mode))
            return -1;
        const int probe = keepRegular(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
        if (probe < 0)
            return -1;
        ::close(probe);
        keep = st.st_mode & 07777;
    } else if (errno != ENOENT || !(flags & kCreate)) {
        return -1;
    }
    const std::string::size_type slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash);
    removeAbandoned(folder);
    // A new file gets the mode asked for (less the umask), an old one keeps its own.
    std::string temp;
    const int fd = openTemp(folder, exists ? 0600 : posixMode(mode), temp);
    if (fd < 0)
        return -1;
    if (exists && ::fchmod(fd, keep) != 0) {
        ::close(fd);
        if (!temp.empty())
            ::unlink(temp.c_str());
        return -1;
    }
    std::lock_guard lock(g_mutex);
    g_open.insert(fd);
    g_replacing[fd] = Replacement{target, folder, temp};
    return fd;
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
    ok = ok && (!replacing.temp.empty() || linkTemp(handle, replacing));
    ok = ok && ::rename(replacing.temp.c_str(), replacing.target.c_str()) == 0;
    if (!ok && !replacing.temp.empty())
        ::unlink(replacing.temp.c_str());
    // Closed last: the lock marks the named file as its writer's until then.
    return ::close(handle) == 0 && ok ? 0 : -1;
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

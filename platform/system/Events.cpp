#include "platform/system/Events.h"

#include "platform/system/ErrorCodes.h"
#include "platform/system/Process.h"

#include <QCryptographicHash>
#include <QLoggingCategory>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iterator>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>

#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcEvents, "bw.system.events")

namespace sys {

namespace {

constexpr uint32_t kMagic = 0x32455742;   // "BWE2": the layout with holders
constexpr char kShmPrefix[] = "bw-event-";
constexpr char kShmFolder[] = "/dev/shm";
// A creator has this long to size and initialise a new event.
constexpr time_t kInitSeconds = 10;

// A process holding handles to the event. Its number with its start time
// names one process: numbers are reused, start times are not.
struct Holder {
    int32_t pid;
    int32_t handles;    // 0: the slot is free
    uint64_t started;   // clock ticks after boot; 0 when unknown
};
constexpr int kHolderSlots = 32;

// The event as every process that opened it sees it. The system closes a
// dead process's handles on the original platform; here an event whose
// holders have all died counts as gone, so that a later process that gets
// the same number does not open the old (perhaps signalled) event.
struct SharedEvent {
    std::atomic<uint32_t> magic;   // set once the creator has initialised the rest
    pthread_mutex_t mutex;
    pthread_cond_t cond;
    int32_t signaled;
    int32_t manualReset;
    int32_t unlinked;    // the name is gone; openers must create a new one
    int32_t untracked;   // handles of holders beyond the slots, never counted dead
    Holder holders[kHolderSlots];
};
static_assert(std::atomic<uint32_t>::is_always_lock_free);

// The start time of a living process, 0 when it is gone (or a zombie) or
// /proc cannot tell.
uint64_t startOf(int32_t pid)
{
    char path[32];
    std::snprintf(path, sizeof path, "/proc/%d/stat", int(pid));
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    char buf[1024];
    const ssize_t n = ::read(fd, buf, sizeof buf - 1);
    ::close(fd);
    if (n <= 0)
        return 0;
    buf[n] = 0;
    // "pid (name) state ... starttime ...": the name may hold anything, so
    // count the fields from its closing parenthesis; the state is field 3,
    // the start time field 22.
    const char* p = std::strrchr(buf, ')');
    if (!p || p[1] != ' ')
        return 0;
    p += 2;
    if (*p == 'Z' || *p == 'X' || *p == 'x')
        return 0;
    for (int field = 3; field < 22 && *p; ++p) {
        if (*p == ' ')
            ++field;
    }
    return std::strtoull(p, nullptr, 10);
}

// This process's start time, read again after a fork.
uint64_t ownStart()
{
    static std::mutex mutex;
    static int32_t pid = 0;
    static uint64_t started = 0;
    std::lock_guard lock(mutex);
    if (pid != int32_t(::getpid())) {
        pid = int32_t(::getpid());
        started = startOf(pid);
    }
    return started;
}

bool isSelf(const Holder& h)
{
    return h.handles > 0 && h.pid == int32_t(::getpid()) && h.started == ownStart();
}

bool isAlive(const Holder& h)
{
    if (isSelf(h))
        return true;
    if (h.started != 0)
        return startOf(h.pid) == h.started;
    return ::kill(h.pid, 0) == 0 || errno == EPERM;   // without /proc: the number alone
}

// Counts a handle of this process (the event's lock held).
void addHolder(SharedEvent* e)
{
    Holder* free = nullptr;
    for (Holder& h : e->holders) {
        if (isSelf(h)) {
            ++h.handles;
            return;
        }
        if (h.handles == 0 && !free)
            free = &h;
    }
    if (free)
        *free = Holder{int32_t(::getpid()), 1, ownStart()};
    else
        ++e->untracked;
}

void removeHolder(SharedEvent* e)
{
    for (Holder& h : e->holders) {
        if (isSelf(h)) {
            --h.handles;
            return;
        }
    }
    if (e->untracked > 0)
        --e->untracked;
}

// The handles of living processes; frees the slots of dead ones.
int32_t liveHandles(SharedEvent* e)
{
    int32_t count = e->untracked;
    for (Holder& h : e->holders) {
        if (h.handles > 0 && !isAlive(h))
            h = Holder{};
        count += h.handles;
    }
    return count;
}

// Locks the event's mutex, recovering it when its owner died holding it.
class EventLock {
public:
    explicit EventLock(SharedEvent* e) : m_e(e)
    {
        if (pthread_mutex_lock(&m_e->mutex) == EOWNERDEAD)
            pthread_mutex_consistent(&m_e->mutex);
    }
    ~EventLock() { pthread_mutex_unlock(&m_e->mutex); }
    EventLock(const EventLock&) = delete;
    EventLock& operator=(const EventLock&) = delete;

private:
    SharedEvent* m_e;
};

// With the event's lock held: removes the name once no living process holds
// the event.
void unlinkIfUnheld(SharedEvent* e, const QByteArray& shmName)
{
    if (!e->unlinked && liveHandles(e) <= 0) {
        e->unlinked = 1;
        shm_unlink(shmName.constData());
    }
}

// One handle's mapping of the event; closing the last handle anywhere
// removes the name.
struct Mapping {
    SharedEvent* event = nullptr;
    QByteArray shmName;   // empty for an unnamed event

    ~Mapping()
    {
        if (!event)
            return;
        if (!shmName.isEmpty()) {
            EventLock lock(event);
            removeHolder(event);
            unlinkIfUnheld(event, shmName);
        }
        munmap(event, sizeof(SharedEvent));
    }
};

std::mutex g_tableMutex;
std::unordered_map<HANDLE, std::shared_ptr<Mapping>> g_table;
HANDLE g_nextHandle = 0x1000;

HANDLE addHandle(std::shared_ptr<Mapping> m)
{
    std::lock_guard lock(g_tableMutex);
    const HANDLE h = g_nextHandle;
    g_nextHandle += 4;
    if (g_nextHandle <= 0)
        g_nextHandle = 0x1000;
    g_table[h] = std::move(m);
    return h;
}

std::shared_ptr<Mapping> lookup(HANDLE h)
{
    std::lock_guard lock(g_tableMutex);
    auto it = g_table.find(h);
    return it == g_table.end() ? nullptr : it->second;
}

// A shared-memory name for any event name (blanks and all): safe characters
// stay, others are escaped; long names are hashed.
QByteArray shmNameFor(const QString& name)
{
    QByteArray out = '/' + QByteArray(kShmPrefix);
    for (const char c : name.toUtf8()) {
        const auto u = static_cast<unsigned char>(c);
        if ((u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z')
            || u == '-' || u == '.')
            out += c;
        else
            out += '_' + QByteArray::number(u, 16).rightJustified(2, '0');
    }
    if (out.size() > 200)
        out = '/' + QByteArray(kShmPrefix) + 'h' + QCryptographicHash::hash(name.toUtf8(),
                                                       QCryptographicHash::Sha256).toHex();
    return out;
}

void initEvent(SharedEvent* e, bool manualReset, bool initialState)
{
    pthread_mutexattr_t ma;
    pthread_mutexattr_init(&ma);
    pthread_mutexattr_setpshared(&ma, PTHREAD_PROCESS_SHARED);
    pthread_mutexattr_setrobust(&ma, PTHREAD_MUTEX_ROBUST);
    pthread_mutex_init(&e->mutex, &ma);
    pthread_mutexattr_destroy(&ma);
    pthread_condattr_t ca;
    pthread_condattr_init(&ca);
    pthread_condattr_setpshared(&ca, PTHREAD_PROCESS_SHARED);
    pthread_condattr_setclock(&ca, CLOCK_MONOTONIC);
    pthread_cond_init(&e->cond, &ca);
    pthread_condattr_destroy(&ca);
    e->signaled = initialState ? 1 : 0;
    e->manualReset = manualReset ? 1 : 0;
    e->unlinked = 0;
    e->untracked = 0;
    std::fill(std::begin(e->holders), std::end(e->holders), Holder{});
    e->holders[0] = Holder{int32_t(::getpid()), 1, ownStart()};
    e->magic.store(kMagic, std::memory_order_release);
}

SharedEvent* mapFd(int fd)
{
    void* p = mmap(nullptr, sizeof(SharedEvent), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    return p == MAP_FAILED ? nullptr : static_cast<SharedEvent*>(p);
}

// Removes the name when it still names the shared memory open as fd (and
// not a new event made under the same name meanwhile).
void unlinkIfStillNamed(const QByteArray& shmName, int fd)
{
    struct stat ours {};
    struct stat named {};
    const int again = shm_open(shmName.constData(), O_RDONLY, 0);
    if (again >= 0 && fstat(fd, &ours) == 0 && fstat(again, &named) == 0 &&
        ours.st_ino == named.st_ino && ours.st_dev == named.st_dev)
        shm_unlink(shmName.constData());
    if (again >= 0)
        ::close(again);
}

// Maps an existing named event and counts the new handle. Null when it does
// not exist (errno ENOENT) or is going away (then the caller may retry); an
// event that only dead processes held goes away here.
std::shared_ptr<Mapping> openExisting(const QByteArray& shmName, bool& goingAway)
{
    goingAway = false;
    const int fd = shm_open(shmName.constData(), O_RDWR, 0);
    if (fd < 0)
        return nullptr;
    // The creator may still be sizing and initialising it.
    SharedEvent* e = nullptr;
    for (int i = 0; i < 1000 && !e; ++i) {
        struct stat st {};
        if (fstat(fd, &st) == 0 && st.st_size >= off_t(sizeof(SharedEvent))) {
            e = mapFd(fd);
            if (e && e->magic.load(std::memory_order_acquire) != kMagic) {
                munmap(e, sizeof(SharedEvent));
                e = nullptr;
            }
        }
        if (!e)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (!e) {
        // Its creator died before initialising it (or it has another layout):
        // no living process holds it, so its name goes, unless that name
        // already belongs to a new event.
        qCWarning(lcEvents) << "The named event" << shmName
                            << "was never initialised; it is replaced.";
        unlinkIfStillNamed(shmName, fd);
        ::close(fd);
        goingAway = true;
        return nullptr;
    }
    ::close(fd);
    {
        EventLock lock(e);
        unlinkIfUnheld(e, shmName);
        if (e->unlinked)
            goingAway = true;
        else
            addHolder(e);
    }
    if (goingAway) {
        munmap(e, sizeof(SharedEvent));
        return nullptr;
    }
    auto m = std::make_shared<Mapping>();
    m->event = e;
    m->shmName = shmName;
    return m;
}

// Removes the name of one event that no living process holds, or that its
// creator left uninitialised long ago. Never waits: an event whose lock is
// taken is in use.
void removeIfAbandoned(const QByteArray& shmName)
{
    const int fd = shm_open(shmName.constData(), O_RDWR, 0);
    if (fd < 0)
        return;
    struct stat st {};
    SharedEvent* e = nullptr;
    if (fstat(fd, &st) == 0 && st.st_size >= off_t(sizeof(SharedEvent)))
        e = mapFd(fd);
    const bool old = st.st_ctime + kInitSeconds < ::time(nullptr);
    const uint32_t magic = e ? e->magic.load(std::memory_order_acquire) : 0;
    if (magic != kMagic) {
        if (old && magic == 0)   // another layout is left to the programs that use it
            unlinkIfStillNamed(shmName, fd);
    } else {
        const int rc = pthread_mutex_trylock(&e->mutex);
        if (rc == EOWNERDEAD)
            pthread_mutex_consistent(&e->mutex);
        if (rc == 0 || rc == EOWNERDEAD) {
            unlinkIfUnheld(e, shmName);
            pthread_mutex_unlock(&e->mutex);
        }
    }
    if (e)
        munmap(e, sizeof(SharedEvent));
    ::close(fd);
}

// The system closes a dead process's handles on the original platform; here
// the events that only dead processes held are removed whenever any event is
// opened, so that killed programs leave nothing behind for long.
void removeAbandonedEvents()
{
    DIR* dir = ::opendir(kShmFolder);
    if (!dir)
        return;
    const size_t prefix = sizeof kShmPrefix - 1;
    while (const dirent* entry = ::readdir(dir)) {
        if (std::strncmp(entry->d_name, kShmPrefix, prefix) == 0)
            removeIfAbandoned('/' + QByteArray(entry->d_name));
    }
    ::closedir(dir);
}

}  // namespace

HANDLE CreateEventA(const void*, bool bManualReset, bool bInitialState, const QString& lpName)
{
    if (lpName.isEmpty()) {
        void* p = mmap(nullptr, sizeof(SharedEvent), PROT_READ | PROT_WRITE,
                       MAP_SHARED | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED) {
            SetLastError(ERROR_ACCESS_DENIED);
            return 0;
        }
        auto m = std::make_shared<Mapping>();
        m->event = static_cast<SharedEvent*>(p);
        initEvent(m->event, bManualReset, bInitialState);
        SetLastError(ERROR_SUCCESS);
        return addHandle(std::move(m));
    }
    removeAbandonedEvents();
    const QByteArray shmName = shmNameFor(lpName);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const int fd = shm_open(shmName.constData(), O_RDWR | O_CREAT | O_EXCL, 0600);
        if (fd >= 0) {
            SharedEvent* e = nullptr;
            if (ftruncate(fd, off_t(sizeof(SharedEvent))) == 0)
                e = mapFd(fd);
            ::close(fd);
            if (!e) {
                shm_unlink(shmName.constData());
                SetLastError(ERROR_ACCESS_DENIED);
                return 0;
            }
            initEvent(e, bManualReset, bInitialState);
            auto m = std::make_shared<Mapping>();
            m->event = e;
            m->shmName = shmName;
            SetLastError(ERROR_SUCCESS);
            return addHandle(std::move(m));
        }
        if (errno != EEXIST) {
            SetLastError(ERROR_ACCESS_DENIED);
            return 0;
        }
        bool goingAway = false;
        if (auto m = openExisting(shmName, goingAway)) {
            SetLastError(ERROR_ALREADY_EXISTS);
            return addHandle(std::move(m));
        }
        if (!goingAway && errno != ENOENT) {
            SetLastError(ERROR_ACCESS_DENIED);
            return 0;
        }
        // It vanished between the two calls; try creating it again.
    }
    SetLastError(ERROR_ACCESS_DENIED);
    return 0;
}

HANDLE OpenEventA(uint32_t, bool, const QString& lpName)
{
    if (lpName.isEmpty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    removeAbandonedEvents();
    bool goingAway = false;
    auto m = openExisting(shmNameFor(lpName), goingAway);
    if (!m) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return 0;
    }
    SetLastError(ERROR_SUCCESS);
    return addHandle(std::move(m));
}

bool SetEvent(HANDLE hEvent)
{
    const auto m = lookup(hEvent);
    if (!m) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    EventLock lock(m->event);
    m->event->signaled = 1;
    pthread_cond_broadcast(&m->event->cond);
    return true;
}

bool ResetEvent(HANDLE hEvent)
{
    const auto m = lookup(hEvent);
    if (!m) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    EventLock lock(m->event);
    m->event->signaled = 0;
    return true;
}

uint32_t WaitForSingleObject(HANDLE hHandle, uint32_t dwMilliseconds)
{
    const auto m = lookup(hHandle);
    if (!m) {
        SetLastError(ERROR_INVALID_HANDLE);
        return WAIT_FAILED;
    }
    SharedEvent* e = m->event;
    timespec deadline{};
    clock_gettime(CLOCK_MONOTONIC, &deadline);
    deadline.tv_sec += time_t(dwMilliseconds / 1000);
    deadline.tv_nsec += long(dwMilliseconds % 1000) * 1000000L;
    if (deadline.tv_nsec >= 1000000000L) {
        deadline.tv_sec += 1;
        deadline.tv_nsec -= 1000000000L;
    }
    EventLock lock(e);
    while (!e->signaled) {
        int rc = 0;
        if (dwMilliseconds == INFINITE)
            rc = pthread_cond_wait(&e->cond, &e->mutex);
        else
            rc = pthread_cond_timedwait(&e->cond, &e->mutex, &deadline);
        if (rc == EOWNERDEAD)
            pthread_mutex_consistent(&e->mutex);
        else if (rc == ETIMEDOUT && !e->signaled)
            return WAIT_TIMEOUT;
    }
    if (!e->manualReset)
        e->signaled = 0;
    return WAIT_OBJECT_0;
}

bool CloseHandle(HANDLE hObject)
{
    std::shared_ptr<Mapping> m;
    {
        std::lock_guard lock(g_tableMutex);
        auto it = g_table.find(hObject);
        if (it == g_table.end()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return false;
        }
        m = std::move(it->second);
        g_table.erase(it);
    }
    return true;   // the mapping goes when the last user lets it go
}

}  // namespace sys

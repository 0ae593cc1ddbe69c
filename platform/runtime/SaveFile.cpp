#include "platform/runtime/SaveFile.h"

#include "platform/runtime/Files.h"

#include <QFile>
#include <QRandomGenerator>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rt {

namespace {

std::atomic<int> gFailError{0};
std::atomic<qint64> gFailAfter{0};
std::atomic<bool> gNamedOnly{false};

// A save's temporary file is named ".~save." and eight letters or digits; its
// writer holds an exclusive flock on it until the save ends, so one that can
// be locked belongs to a save that was killed.
const QByteArray kTempPrefix = QByteArrayLiteral(".~save.");
constexpr int kTempRandom = 8;

QByteArray tempName()
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray name = kTempPrefix;
    for (int i = 0; i < kTempRandom; ++i)
        name += letters[QRandomGenerator::global()->bounded(int(sizeof letters) - 1)];
    return name;
}

bool isTempName(const char* name)
{
    const size_t length = std::strlen(name);
    if (length != size_t(kTempPrefix.size() + kTempRandom)
        || std::strncmp(name, kTempPrefix.constData(), size_t(kTempPrefix.size())) != 0)
        return false;
    for (size_t i = size_t(kTempPrefix.size()); i < length; ++i) {
        const char c = name[i];
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Removes the temporary files of killed saves from the folder.
void removeDeadTempFiles(int dirFd)
{
    for (const QByteArray& name : entryNames(dirFd)) {
        if (!isTempName(name.constData()))
            continue;
        const int fd = ::openat(dirFd, name.constData(),
                                O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat opened {}, named {};
        // Locked means a save is still writing it. The name is checked to be
        // the file just locked, so that nothing but a dead save's file goes.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &opened) == 0
            && ::fstatat(dirFd, name.constData(), &named, AT_SYMLINK_NOFOLLOW) == 0
            && sameFile(opened, named))
            ::unlinkat(dirFd, name.constData(), 0);
        ::close(fd);
    }
}

QString systemCause(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

bool folderRefuses(int error)
{
    return error == EACCES || error == EPERM || error == EROFS;
}

mode_t modeOf(QFileDevice::Permissions p)
{
    mode_t mode = 0;
    const std::pair<QFileDevice::Permission, mode_t> bits[] = {
        {QFileDevice::ReadOwner, S_IRUSR}, {QFileDevice::WriteOwner, S_IWUSR},
        {QFileDevice::ExeOwner, S_IXUSR},  {QFileDevice::ReadGroup, S_IRGRP},
        {QFileDevice::WriteGroup, S_IWGRP}, {QFileDevice::ExeGroup, S_IXGRP},
        {QFileDevice::ReadOther, S_IROTH}, {QFileDevice::WriteOther, S_IWOTH},
        {QFileDevice::ExeOther, S_IXOTH}};
    for (const auto& [flag, bit] : bits)
        if (p.testFlag(flag))
            mode |= bit;
    return mode;
}

}  // namespace

SaveFile::SaveFile(const QString& fileName) : m_fileName(fileName) {}

SaveFile::~SaveFile()
{
    discard();
}

bool SaveFile::open(OpenMode mode)
{
    if (isOpen() || !(mode & WriteOnly) || (mode & (ReadOnly | Append))) {
        setErrorString(QStringLiteral("a file being saved is opened for writing only"));
        return false;
    }
    m_failed = false;
    m_written = 0;
    if (m_fileName.isEmpty())
        return fail(systemCause(ENOENT));

    // Through a link the file it names is saved; the link stays a link.
    const QString path = realFilePath(m_fileName);
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QString folder = slash < 0 ? QStringLiteral(".")
                           : slash == 0 ? QStringLiteral("/")
                                        : path.left(slash);
    m_target = path.mid(slash + 1);
    const QByteArray target = QFile::encodeName(m_target);

    m_dirFd = ::open(QFile::encodeName(folder).constData(),
                     O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_dirFd < 0 && errno == EACCES)   // may be entered without being listed
        m_dirFd = ::open(QFile::encodeName(folder).constData(),
                         O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (m_dirFd < 0)
        return fail(QStringLiteral("the folder %1 cannot be used (%2)")
                        .arg(folder, systemCause(errno)));

    struct stat existing {};
    const bool exists = ::fstatat(m_dirFd, target.constData(), &existing, 0) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        return fail(systemCause(EISDIR));
    if (exists && ::faccessat(m_dirFd, target.constData(), W_OK, AT_EACCESS) != 0)
        return fail(systemCause(errno));

    removeDeadTempFiles(m_dirFd);

    const auto folderCannotTake = [&](int error) {
        return fail(folderRefuses(error)
                        ? QStringLiteral("the folder %1 does not let a new file be made in it "
                                         "(%2)")
                              .arg(folder, systemCause(error))
                        : systemCause(error));
    };
    // An unnamed file is given its name through /proc; without it, named.
    static const bool canName = ::access("/proc/self/fd", X_OK) == 0;
    const bool unnamed = canName && !gNamedOnly.load();
    m_fd = unnamed ? ::openat(m_dirFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666) : -1;
    if (!unnamed)
        errno = EOPNOTSUPP;
    if (m_fd >= 0) {
        ::flock(m_fd, LOCK_EX | LOCK_NB);   // before it has a name, so always taken
    } else if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL) {
        // No unnamed files here: a named one, locked, and checked to be still
        // ours once locked (a sweep may have taken it in between).
        for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
            const QByteArray name = tempName();
            const int fd = ::openat(m_dirFd, name.constData(),
                                    O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
            if (fd < 0) {
                if (errno == EEXIST)
                    continue;
                return folderCannotTake(errno);
            }
            // Where files cannot be locked, no sweep can lock (and remove) it.
            const bool sweeping = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
            struct stat opened {}, named {};
            if (!sweeping && ::fstat(fd, &opened) == 0
                && ::fstatat(m_dirFd, name.constData(), &named, AT_SYMLINK_NOFOLLOW) == 0
                && sameFile(opened, named)) {
                m_fd = fd;
                m_tempName = QString::fromLatin1(name);
            } else {
                ::close(fd);
            }
        }
        if (m_fd < 0)
            return fail(systemCause(EEXIST));
    } else {
        return folderCannotTake(errno);
    }
    if (exists)
        ::fchmod(m_fd, existing.st_mode & 07777);
    return QIODevice::open(mode | Unbuffered);
}

qint64 SaveFile::writeData(const char* data, qint64 length)
{
    if (m_failed || m_fd < 0)
        return -1;
    qint64 allowed = length;
    const int injected = gFailError.load();
    if (injected != 0)
        allowed = qBound<qint64>(0, gFailAfter.load() - m_written, length);
    qint64 done = 0;
    while (done < allowed) {
        const ssize_t n = ::pwrite(m_fd, data + done, size_t(allowed - done), pos() + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            fail(systemCause(n < 0 ? errno : ENOSPC));
            return -1;
        }
        done += n;
    }
    m_written += done;
    if (done < length) {
        fail(systemCause(injected));
        return -1;
    }
    return done;
}

qint64 SaveFile::size() const
{
    struct stat st {};
    return m_fd >= 0 && ::fstat(m_fd, &st) == 0 ? qint64(st.st_size) : 0;
}

bool SaveFile::setPermissions(QFileDevice::Permissions permissions)
{
    return m_fd >= 0 && ::fchmod(m_fd, modeOf(permissions)) == 0;
}

bool SaveFile::commit()
{
    if (!isOpen() || m_fd < 0) {
        if (!m_failed)
            setErrorString(QStringLiteral("the file was not opened for saving"));
        discard();
        return false;
    }
    QIODevice::close();
    // The data must be on the disk before its name replaces the old file's.
    while (!m_failed && ::fsync(m_fd) != 0) {
        if (errno != EINTR)
            fail(systemCause(errno));
    }
    if (m_failed) {
        discard();
        return false;
    }

    if (m_tempName.isEmpty()) {
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_fd);
        int error = EEXIST;
        for (int attempt = 0; attempt < 100 && m_tempName.isEmpty(); ++attempt) {
            const QByteArray name = tempName();
            const int rc = ::linkat(AT_FDCWD, self.constData(), m_dirFd, name.constData(),
                                    AT_SYMLINK_FOLLOW);
            error = rc == 0 ? 0 : errno;
            if (rc == 0)
                m_tempName = QString::fromLatin1(name);
            else if (error != EEXIST)
                break;
        }
        if (m_tempName.isEmpty())
            return fail(systemCause(error));
    }
    if (::renameat(m_dirFd, QFile::encodeName(m_tempName).constData(), m_dirFd,
                   QFile::encodeName(m_target).constData())
        != 0)
        return fail(systemCause(errno));
    m_tempName.clear();
    ::fsync(m_dirFd);   // best effort: the rename is already made
    discard();
    return true;
}

void SaveFile::cancelWriting()
{
    if (isOpen())
        QIODevice::close();
    discard();
}

bool SaveFile::fail(const QString& why)
{
    if (!m_failed)
        setErrorString(why);
    m_failed = true;
    if (!isOpen())
        discard();   // failed while opening: nothing stays
    return false;
}

void SaveFile::discard()
{
    if (isOpen())
        QIODevice::close();
    if (!m_tempName.isEmpty() && m_dirFd >= 0)
        ::unlinkat(m_dirFd, QFile::encodeName(m_tempName).constData(), 0);
    m_tempName.clear();
    if (m_fd >= 0)
        ::close(m_fd);
    if (m_dirFd >= 0)
        ::close(m_dirFd);
    m_fd = m_dirFd = -1;
}

bool saveWholeFile(const QString& fileName, const QByteArray& bytes, QString* error)
{
    SaveFile file(fileName);
    const bool saved = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()
                       && file.commit();
    if (!saved) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
    }
    return saved;
}

namespace testing {

void failSaveWrites(int error, qint64 afterBytes)
{
    gFailAfter.store(afterBytes);
    gFailError.store(error);
}

void useNamedTempFiles(bool on)
{
    gNamedOnly.store(on);
}

}  // namespace testing

}  // namespace rt

#include "platform/system/TempFiles.h"

#include "platform/runtime/Files.h"
#include "platform/system/Clock.h"
#include "platform/system/ErrorCodes.h"
#include "platform/system/Process.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QMutex>
#include <QRegularExpression>
#include <QSet>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sys {

namespace {

// The text, a NUL, and NUL padding to the buffer's length (at least `minimum`).
void fillBuffer(QString& buffer, const QString& text, qsizetype minimum)
{
    const qsizetype length = std::max({buffer.size(), minimum, text.size() + 1});
    buffer = text;
    buffer.append(QString(length - text.size(), QChar(0)));
}

struct flock byteLock(short type, uint32_t n)
{
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = off_t(n);
    lock.l_len = 1;
    return lock;
}

// A created file's number is claimed by a shared lock on that byte of its
// folder, held on one descriptor per folder for the life of the process: the
// kernel lets go when the process ends, however it ends.
class Claims {
public:
    void take(const QString& folder, uint32_t n)
    {
        const QMutexLocker locker(&m_mutex);
        lock(folder, n, F_RDLCK);
    }
    void created(const QString& folder, uint32_t n)
    {
        const QMutexLocker locker(&m_mutex);
        m_created[folder].insert(n);
    }
    // A claim that did not end in a created file is let go, unless an
    // earlier file of this process holds the number.
    void drop(const QString& folder, uint32_t n)
    {
        const QMutexLocker locker(&m_mutex);
        if (!m_created.value(folder).contains(n))
            lock(folder, n, F_UNLCK);
    }

private:
    void lock(const QString& folder, uint32_t n, short type)
    {
        auto it = m_fds.find(folder);
        if (it == m_fds.end())
            it = m_fds.insert(folder, ::open(QFile::encodeName(folder).constData(),
                                             O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        struct flock l = byteLock(type, n);
        if (*it >= 0)
            ::fcntl(*it, F_OFD_SETLK, &l);
    }

    QMutex m_mutex;
    QHash<QString, int> m_fds;
    QHash<QString, QSet<uint32_t>> m_created;
};

Claims& claims()
{
    static Claims c;
    return c;
}

bool claimed(int dirFd, uint32_t n)
{
    struct flock lock = byteLock(F_WRLCK, n);
    // Where locks cannot be asked about, every file counts as claimed.
    return ::fcntl(dirFd, F_OFD_GETLK, &lock) != 0 || lock.l_type != F_UNLCK;
}

}  // namespace

uint32_t GetTempPathA(uint32_t nBufferLength, QString& lpBuffer)
{
    QString path = QDir::tempPath();
    // Qt gives "" for a TMPDIR that does not exist: fail rather than hand out "/".
    if (path.isEmpty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return 0;
    }
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    if (uint32_t(path.size()) + 1 > nBufferLength)
        return uint32_t(path.size()) + 1;
    fillBuffer(lpBuffer, path, qsizetype(nBufferLength));
    return uint32_t(path.size());
}

uint32_t GetTempFileNameA(const QString& lpPathName, const QString& lpPrefixString,
                          uint32_t uUnique, QString& lpTempFileName)
{
    // Callers pass buffers; the folder ends at the first NUL.
    QString folder = lpPathName.left(lpPathName.indexOf(QChar(0)));
    if (folder.isEmpty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    const QString prefix = lpPrefixString.left(lpPrefixString.indexOf(QChar(0))).left(3);
    auto nameFor = [&](uint32_t n) {
        return folder + prefix
            + QString::number(n & 0xFFFFu, 16).toUpper().rightJustified(4, QLatin1Char('0'))
            + QStringLiteral(".TMP");
    };
    if (uUnique != 0) {
        fillBuffer(lpTempFileName, nameFor(uUnique), MAX_PATH);
        return uUnique & 0xFFFFu;
    }
    const uint32_t start = (GetTickCount() ^ uint32_t(CoGetCurrentProcess())) & 0xFFFFu;
    for (uint32_t i = 0; i < 0x10000u; ++i) {
        const uint32_t n = (start + i) & 0xFFFFu;
        if (n == 0)
            continue;
        const QString name = nameFor(n);
        claims().take(folder, n);   // before the file exists, so no sweep can take it
        const int fd = ::open(QFile::encodeName(name).constData(),
                              O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
        const int error = errno;
        if (fd < 0)
            claims().drop(folder, n);
        if (fd >= 0) {
            claims().created(folder, n);
            ::close(fd);
            fillBuffer(lpTempFileName, name, MAX_PATH);
            SetLastError(ERROR_SUCCESS);
            return n;
        }
        if (error != EEXIST) {
            SetLastError(error == ENOENT ? ERROR_FILE_NOT_FOUND : ERROR_ACCESS_DENIED);
            return 0;
        }
    }
    SetLastError(ERROR_FILE_EXISTS);
    return 0;
}

void RemoveDeadTempFiles(const QString& lpPrefixString)
{
    const QString folder = QDir::tempPath();
    const QString prefix = lpPrefixString.left(3);
    if (folder.isEmpty() || prefix.isEmpty())
        return;
    const QRegularExpression pattern(QStringLiteral("^%1([0-9A-F]{4})\\.TMP$")
                                         .arg(QRegularExpression::escape(prefix)));
    const int dirFd = ::open(QFile::encodeName(folder).constData(),
                             O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0)
        return;
    for (const QByteArray& name : rt::entryNames(dirFd)) {
        const QRegularExpressionMatch m = pattern.match(QFile::decodeName(name));
        struct stat st {};
        if (!m.hasMatch() || ::fstatat(dirFd, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0
            || !S_ISREG(st.st_mode))
            continue;
        if (!claimed(dirFd, m.captured(1).toUInt(nullptr, 16)))
            ::unlinkat(dirFd, name.constData(), 0);
    }
    ::close(dirFd);
}

}  // namespace sys

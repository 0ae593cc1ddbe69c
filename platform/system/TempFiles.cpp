#include "platform/system/TempFiles.h"

#include "platform/system/Clock.h"
#include "platform/system/ErrorCodes.h"
#include "platform/system/Process.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
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
        const int fd = ::open(QFile::encodeName(name).constData(),
                              O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::close(fd);
            fillBuffer(lpTempFileName, name, MAX_PATH);
            SetLastError(ERROR_SUCCESS);
            return n;
        }
        if (errno != EEXIST) {
            SetLastError(errno == ENOENT ? ERROR_FILE_NOT_FOUND : ERROR_ACCESS_DENIED);
            return 0;
        }
    }
    SetLastError(ERROR_FILE_EXISTS);
    return 0;
}

}  // namespace sys

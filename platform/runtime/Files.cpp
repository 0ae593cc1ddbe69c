#include "platform/runtime/Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rt {

bool openRegularFile(QFile& file, QString& error)
{
    // Non-blocking, so that opening a pipe returns at once; cleared below.
    const int fd = ::open(QFile::encodeName(file.fileName()).constData(),
                          O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        error = S_ISDIR(st.st_mode) ? QStringLiteral("it is a folder")
                                    : QStringLiteral("it is not a regular file");
        ::close(fd);
        return false;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags != -1)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        error = file.errorString();
        ::close(fd);
        return false;
    }
    return true;
}

QString realFilePath(const QString& path)
{
    QFileInfo info(path);
    if (info.exists())
        return info.canonicalFilePath();
    // A link to nothing (yet): follow it to the name it will be made under.
    for (int hop = 0; info.isSymLink(); ++hop) {
        if (hop == 40)
            return path;
        info.setFile(info.symLinkTarget());
    }
    const QString folder = info.absoluteDir().canonicalPath();
    return folder.isEmpty() ? info.absoluteFilePath()
                            : QDir(folder).filePath(info.fileName());
}

std::vector<QByteArray> entryNames(int dirFd)
{
    std::vector<QByteArray> names;
    const int listFd = ::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = listFd >= 0 ? ::fdopendir(listFd) : nullptr;
    if (!dir) {
        if (listFd >= 0)
            ::close(listFd);
        return names;
    }
    while (const dirent* entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    return names;
}

bool keepDamagedFile(const QString& path, QString& keptAs)
{
    keptAs = path + QStringLiteral(".damaged");
    for (int n = 2; QFile::exists(keptAs); ++n)
        keptAs = path + QStringLiteral(".damaged.%1").arg(n);
    return QFile::rename(path, keptAs);
}

}  // namespace rt

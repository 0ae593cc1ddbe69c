#pragma once
// Opening files for reading. Only regular files are opened: a named pipe
// would block the reader until a writer comes (for ever, before any window),
// and a device may never end. Where a path really leads; keeping a damaged
// file before it is replaced.

#include <QByteArray>
#include <QString>

#include <vector>

class QFile;

namespace rt {

// Opens `file` (named already) read-only when it is a regular file. False,
// with the reason in `error`, for a missing, unreadable or non-regular one;
// the test and the opening are one step, so nothing can be swapped between.
bool openRegularFile(QFile& file, QString& error);

// The file `path` names once every symbolic link on the way is followed,
// also when it does not exist yet (then its folder is resolved); `path`
// itself when a link loops.
QString realFilePath(const QString& path);

// The names in the folder open as dirFd, without "." and ".."; empty when it
// cannot be listed.
std::vector<QByteArray> entryNames(int dirFd);

// Renames `path` to the first free name of "PATH.damaged", "PATH.damaged.2",
// "PATH.damaged.3", ..., named in `keptAs` whether the rename worked or not.
bool keepDamagedFile(const QString& path, QString& keptAs);

}  // namespace rt

#pragma once
// Internal to the folder and file lists: the Path they accept.

#include "platform/runtime/Error.h"

#include <QDir>
#include <QFileInfo>
#include <QString>

namespace forms::detail {

// The clean absolute form of an existing folder; anything else raises
// "Path not found" from source.
inline QString existingFolder(const QString& path, const QString& source)
{
    const QFileInfo info(QDir::fromNativeSeparators(path));
    if (path.isEmpty() || !info.isDir())
        rt::raise(rt::errc::PathNotFound, source, QStringLiteral("Path not found"));
    return QDir::cleanPath(info.absoluteFilePath());
}

}  // namespace forms::detail

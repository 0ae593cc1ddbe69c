#pragma once
// A file's whole content in tests, or a mark that it could not be read, so
// that a comparison with the expected bytes fails with something to read.

#include <QByteArray>
#include <QFile>
#include <QString>

namespace bwtest {

inline QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

}  // namespace bwtest

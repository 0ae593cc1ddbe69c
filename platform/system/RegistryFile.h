#pragma once
// The registry store's file on disk: read only when it is a regular file of a
// size a store can have, and locked against other programs while a save
// merges into it.

#include <QByteArray>
#include <QString>

namespace sys {

// A real store holds kilobytes. Anything larger than this is not one and is
// refused before it is read, so that a huge file costs neither time nor memory.
inline constexpr qint64 kMaxRegistryStoreBytes = 8 * 1024 * 1024;

enum class StoreFileState {
    Missing,      // nothing there yet
    Read,         // the bytes were read
    TooLarge,     // a regular file larger than any store
    Unreadable,   // there, but it cannot be read (no permission, I/O error)
    NotRegular,   // a folder, a named pipe, a device: never read or replaced
};

struct StoreFile {
    StoreFileState state = StoreFileState::Missing;
    QByteArray bytes;
    QString reason;   // what is wrong, in words, for all but Missing and Read
};

// Never opens anything but a regular file, so a named pipe or a device in
// place of the store cannot block or be disturbed.
StoreFile readStoreFile(const QString& path);

// An exclusive lock on "<store>.lock" for as long as it lives; the store is
// named by its real path, so that every program locks the same file. Waits a few
// seconds at most for another program's save; locked() is false when it gave
// up. Without a lock file (no folder, a read-only one) it holds nothing and
// the save goes ahead, to succeed or fail on its own.
class StoreLock final {
public:
    explicit StoreLock(const QString& storePath);
    ~StoreLock();
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;

    bool locked() const { return m_locked; }

private:
    int m_fd = -1;
    bool m_locked = true;
};

}  // namespace sys

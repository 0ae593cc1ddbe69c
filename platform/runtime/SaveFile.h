#pragma once
// Writing a file whole or not at all. Every write and the final flush to disk
// is checked before the old file is replaced; on any failure the old file stays
// as it was, nothing is left behind, and errorString() gives the system's own
// cause ("No space left on device"). Names are handled relative to the folder,
// so any file whose path is valid can be saved, however long that path is.

#include <QFileDevice>
#include <QIODevice>
#include <QString>

namespace rt {

class SaveFile final : public QIODevice {
public:
    explicit SaveFile(const QString& fileName);
    ~SaveFile() override;   // an uncommitted save is cancelled
    SaveFile(const SaveFile&) = delete;
    SaveFile& operator=(const SaveFile&) = delete;

    // WriteOnly only. A symbolic link is followed: the file it names is
    // replaced and the link stays. Dead temporary files of earlier saves in
    // the folder are removed here.
    bool open(OpenMode mode) override;
    // Flushes to disk and replaces the file; false (and nothing replaced)
    // when any write failed or the flush or the replacement fails.
    bool commit();
    void cancelWriting();

    bool setPermissions(QFileDevice::Permissions permissions);
    QString fileName() const { return m_fileName; }
    qint64 size() const override;
    bool isSequential() const override { return false; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 length) override;

private:
    bool fail(const QString& why);
    void discard();

    QString m_fileName;
    QString m_target;    // the name in the folder that is replaced
    int m_dirFd = -1;
    int m_fd = -1;
    QString m_tempName;  // set once the file has a name in the folder
    qint64 m_written = 0;
    bool m_failed = false;
};

// Writes `bytes` as the whole of `fileName`; false with the cause in `error`.
bool saveWholeFile(const QString& fileName, const QByteArray& bytes, QString* error = nullptr);

namespace testing {
// From now on every save's writes fail with `error` (an errno value) once
// `afterBytes` bytes of that save were written; error 0 ends it.
void failSaveWrites(int error, qint64 afterBytes = 0);
// Saves use named temporary files from the start, as on a file system that
// has no unnamed ones.
void useNamedTempFiles(bool on);
}  // namespace testing

}  // namespace rt

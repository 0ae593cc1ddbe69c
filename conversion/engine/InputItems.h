#pragma once
// The free-format item reader of the file runtime ("Input #" of a text): items
// end at a comma or a line end, leading blanks are skipped and surrounding
// double quotes removed. Bytes are read as Latin-1, as the project files are.

#include <QByteArray>
#include <QIODevice>
#include <QString>

namespace conv {

class InputItems final {
public:
    // Reads at most `limit` bytes of the device (-1: all of it).
    explicit InputItems(QIODevice& device, qint64 limit = -1)
        : m_device(device), m_left(limit)
    {
    }

    // The next item; false at the end of the input or on a read error
    // (readError() tells them apart).
    bool next(QString& item);
    bool readError() const { return m_readError; }

private:
    int peek();     // -1 at the end
    int take();

    QIODevice& m_device;
    qint64 m_left;   // bytes still to read; negative: no limit
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    bool m_atEnd = false;
    bool m_readError = false;
};

}  // namespace conv

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
    explicit InputItems(QIODevice& device) : m_device(device) {}

    // The next item; false at the end of the input or on a read error
    // (readError() tells them apart).
    bool next(QString& item);
    bool readError() const { return m_readError; }

private:
    int peek();     // -1 at the end
    int take();

    QIODevice& m_device;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    bool m_atEnd = false;
    bool m_readError = false;
};

}  // namespace conv

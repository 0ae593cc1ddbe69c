#include "conversion/engine/InputItems.h"

#include <algorithm>

namespace conv {
namespace {
constexpr qint64 kChunk = 64 * 1024;
// Items longer than this are only ever compared, never kept whole: a binary
// file without line ends must not be read into one huge string.
constexpr qsizetype kMaxItem = 64 * 1024;

bool isLineEnd(int c) { return c == '\r' || c == '\n'; }
bool isBlank(int c) { return c == ' ' || c == '\t'; }
}  // namespace

int InputItems::peek()
{
    if (m_pos >= m_buffer.size()) {
        if (m_atEnd)
            return -1;
        const qint64 want = m_left < 0 ? kChunk : std::min(kChunk, m_left);
        m_buffer.resize(want);
        const qint64 got = want > 0 ? m_device.read(m_buffer.data(), want) : 0;
        if (got <= 0) {
            m_readError = got < 0;
            m_atEnd = true;
            m_buffer.clear();
            m_pos = 0;
            return -1;
        }
        m_buffer.resize(got);
        m_pos = 0;
        if (m_left > 0)
            m_left -= got;
    }
    return uchar(m_buffer[m_pos]);
}

int InputItems::take()
{
    const int c = peek();
    if (c >= 0)
        ++m_pos;
    return c;
}

bool InputItems::next(QString& item)
{
    item.clear();
    int c = peek();
    if (c < 0)
        return false;
    while (isBlank(c)) {
        take();
        c = peek();
    }
    QByteArray bytes;
    if (c == '"') {
        take();
        // An unclosed quote ends with its line, so one stray quote cannot
        // swallow the rest of the file.
        while ((c = peek()) >= 0 && c != '"' && !isLineEnd(c)) {
            take();
            if (bytes.size() < kMaxItem)
                bytes.append(char(c));
        }
        if (c == '"')
            take();
        // What follows the closing quote up to the separator is dropped.
        while ((c = peek()) >= 0 && c != ',' && !isLineEnd(c))
            take();
    } else {
        while ((c = peek()) >= 0 && c != ',' && !isLineEnd(c)) {
            take();
            if (bytes.size() < kMaxItem)
                bytes.append(char(c));
        }
        while (!bytes.isEmpty() && isBlank(bytes.back()))
            bytes.chop(1);
    }
    // Consume the separator: a comma, CR, LF or CR LF.
    c = take();
    if (c == '\r' && peek() == '\n')
        take();
    item = QString::fromLatin1(bytes);
    return true;
}

}  // namespace conv

#pragma once
// Internal to the picture file readers: the little-endian fields of a file's
// bytes. has() says whether a field lies within them; the readers ask it (or
// know the size) before they read.

#include <QByteArray>
#include <QtEndian>

#include <cstdint>

namespace forms::detail {

struct LittleEndian {
    const QByteArray& b;
    bool has(qint64 at, qint64 n) const { return at >= 0 && n >= 0 && at + n <= b.size(); }
    uint8_t u8(qint64 at) const { return uint8_t(b[qsizetype(at)]); }
    uint16_t u16(qint64 at) const { return qFromLittleEndian<uint16_t>(b.constData() + at); }
    int16_t i16(qint64 at) const { return qFromLittleEndian<int16_t>(b.constData() + at); }
    uint32_t u32(qint64 at) const { return qFromLittleEndian<uint32_t>(b.constData() + at); }
    int32_t i32(qint64 at) const { return qFromLittleEndian<int32_t>(b.constData() + at); }
};

}  // namespace forms::detail

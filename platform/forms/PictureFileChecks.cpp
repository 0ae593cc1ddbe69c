#include "platform/forms/PictureFileChecks.h"

#include "platform/forms/LittleEndian.h"

#include <cstdlib>

namespace forms {

namespace {

const QString kTruncated = QStringLiteral("The file ends before its pixels do");

using Bytes = detail::LittleEndian;

// Walks run-length coded rows up to the end of the bitmap; false when the
// data stops before.
bool rleComplete(const Bytes& f, qint64 at, int64_t rows, bool fourBit)
{
    int64_t y = 0;
    while (y < rows) {
        if (!f.has(at, 2))
            return false;
        const uint8_t count = f.u8(at);
        const uint8_t code = f.u8(at + 1);
        at += 2;
        if (count != 0)
            continue;
        if (code == 0) {          // end of line
            ++y;
        } else if (code == 1) {   // end of bitmap
            return true;
        } else if (code == 2) {   // move
            if (!f.has(at, 2))
                return false;
            y += f.u8(at + 1);
            at += 2;
        } else {                  // literal pixels, padded to a word
            qint64 n = fourBit ? (code + 1) / 2 : code;
            n += n & 1;
            if (!f.has(at, n))
                return false;
            at += n;
        }
    }
    return true;
}

QString bitmapProblem(const Bytes& f)
{
    if (!f.has(0, 26))
        return kTruncated;
    const uint32_t headerSize = f.u32(14);
    int64_t width = 0, height = 0;
    uint32_t bits = 0, compression = 0;
    if (headerSize == 12) {
        width = f.u16(18);
        height = int16_t(f.u16(20));
        bits = f.u16(24);
    } else {
        if (!f.has(0, 34))
            return kTruncated;
        width = f.i32(18);
        height = f.i32(22);
        bits = f.u16(28);
        compression = f.u32(30);
    }
    if (width <= 0 || height == 0 || bits == 0)
        return {};   // not a picture the reader takes
    const int64_t rows = std::llabs(height);
    const qint64 offset = f.u32(10) ? qint64(f.u32(10)) : qint64(14) + headerSize;
    switch (compression) {
    case 0:   // plain rows
    case 3:   // bit fields
    case 6: {
        const int64_t rowBytes = (width * bits + 31) / 32 * 4;
        return f.has(offset, rowBytes * rows) ? QString() : kTruncated;
    }
    case 1:
    case 2:
        return rleComplete(f, offset, rows, compression == 2) ? QString() : kTruncated;
    default:
        return {};
    }
}

// The first image's data ends with an empty sub-block.
QString gifProblem(const Bytes& f)
{
    if (!f.has(0, 13))
        return kTruncated;
    auto table = [&](uint8_t flags) { return (flags & 0x80) ? qint64(3) << ((flags & 7) + 1) : 0; };
    auto skipBlocks = [&](qint64& at) {
        for (;;) {
            if (!f.has(at, 1))
                return false;
            const uint8_t n = f.u8(at++);
            if (n == 0)
                return true;
            if (!f.has(at, n))
                return false;
            at += n;
        }
    };
    qint64 at = 13 + table(f.u8(10));
    for (;;) {
        if (!f.has(at, 1))
            return kTruncated;
        const uint8_t kind = f.u8(at);
        if (kind == 0x21) {   // extension
            at += 2;
            if (!skipBlocks(at))
                return kTruncated;
        } else if (kind == 0x2C) {   // image
            if (!f.has(at, 10))
                return kTruncated;
            at += 10 + table(f.u8(at + 9)) + 1;
            return skipBlocks(at) ? QString() : kTruncated;
        } else {
            return {};
        }
    }
}

// After the last scan comes the end marker; coded data never holds one.
QString jpegProblem(const QByteArray& b)
{
    const qsizetype scan = b.lastIndexOf(QByteArrayView("\xFF\xDA", 2));
    if (scan < 0)
        return {};
    return b.indexOf(QByteArrayView("\xFF\xD9", 2), scan) < 0 ? kTruncated : QString();
}

}  // namespace

QString truncationProblem(const QByteArray& bytes)
{
    const Bytes f{bytes};
    if (bytes.startsWith("BM"))
        return bitmapProblem(f);
    if (bytes.startsWith("GIF8"))
        return gifProblem(f);
    if (bytes.startsWith(QByteArrayView("\xFF\xD8\xFF", 3)))
        return jpegProblem(bytes);
    return {};
}

}  // namespace forms

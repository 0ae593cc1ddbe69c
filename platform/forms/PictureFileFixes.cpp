#include "platform/forms/PictureFileFixes.h"

#include "platform/forms/LittleEndian.h"


#include <array>
#include <bit>

namespace forms {

namespace {

using detail::LittleEndian;

// Qt gives a channel of n bits as value << (8 - n); this maps that back to
// value * 255 / (2^n - 1), rounded.
std::array<uint8_t, 256> widening(uint32_t mask)
{
    std::array<uint8_t, 256> table{};
    const int n = std::popcount(mask);
    for (int v = 0; v < 256; ++v) {
        if (n <= 0 || n >= 8) {
            table[size_t(v)] = uint8_t(v);
            continue;
        }
        const int max = (1 << n) - 1;
        const int value = v >> (8 - n);
        table[size_t(v)] = uint8_t((value * 255 + max / 2) / max);
    }
    return table;
}

}  // namespace

void widenBitmapChannels(const QByteArray& bytes, QImage& image)
{
    const LittleEndian f{bytes};
    if (!bytes.startsWith("BM") || bytes.size() < 66 || image.isNull())
        return;
    const uint32_t headerSize = f.u32(14);
    if (headerSize < 40)
        return;
    const uint16_t bits = f.u16(28);
    const uint32_t compression = f.u32(30);
    std::array<uint32_t, 3> masks{};
    if (bits == 16 && compression == 0)
        masks = {0x7C00, 0x03E0, 0x001F};
    else if ((bits == 16 || bits == 32) && (compression == 3 || compression == 6))
        masks = {f.u32(54), f.u32(58), f.u32(62)};
    else
        return;
    const auto red = widening(masks[0]);
    const auto green = widening(masks[1]);
    const auto blue = widening(masks[2]);
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
        image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                              : QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = line[x];
            line[x] = qRgba(red[size_t(qRed(c))], green[size_t(qGreen(c))],
                            blue[size_t(qBlue(c))], qAlpha(c));
        }
    }
}

QString applyIconMask(const QByteArray& bytes, QImage& image)
{
    const LittleEndian f{bytes};
    // Header: reserved 0, type 1 (icon) or 2 (cursor), count; then 16-byte entries.
    if (bytes.size() < 22 || f.u16(0) != 0 || (f.u16(2) != 1 && f.u16(2) != 2)
        || f.u16(4) == 0 || image.isNull())
        return {};
    const qint64 at = f.u32(18);
    if (at + 40 > bytes.size() || f.u32(at) < 40)
        return {};   // an embedded PNG, or nothing Qt could have read
    const qint64 headerSize = f.u32(at);
    const auto width = int32_t(f.u32(at + 4));
    const auto height = int32_t(f.u32(at + 8)) / 2;
    // Qt reads the mask itself below 24 bits and takes alpha at 32.
    if (f.u16(at + 14) != 24 || width != image.width() || height != image.height())
        return {};
    const qint64 colourRow = (qint64(width) * 24 + 31) / 32 * 4;
    const qint64 maskRow = (qint64(width) + 31) / 32 * 4;
    const qint64 mask = at + headerSize + colourRow * height;
    if (mask + maskRow * height > bytes.size())
        return QStringLiteral("The file ends before its pixels do");
    image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        const char* row = bytes.constData() + mask + maskRow * (height - 1 - y);
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            if (uint8_t(row[x / 8]) & (0x80 >> (x % 8)))
                line[x] &= 0x00FFFFFF;
    }
    return {};
}

}  // namespace forms

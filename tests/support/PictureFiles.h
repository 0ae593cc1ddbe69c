#pragma once
// Small picture files in formats Qt cannot write, put together byte by byte
// so that a test shows exactly what the file holds: a GIF with a transparent
// index, a 24-bit icon with its AND mask, a 16-bit 5-6-5 bitmap, and a
// placeable WMF and an EMF that fill one rectangle.

#include <QByteArray>
#include <QRect>
#include <QRgb>
#include <QtEndian>

#include <vector>

namespace bwtest {

inline void put16(QByteArray& b, int v)
{
    b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF));
}

inline void put32(QByteArray& b, int64_t v)
{
    put16(b, int(v & 0xFFFF));
    put16(b, int((v >> 16) & 0xFFFF));
}

// A GIF89a of w x h pixels: indices into a palette of four colours, with
// transparentIndex (or -1) marked transparent. The codes are 3 bits wide
// throughout: a clear code before every second pixel keeps the table small.
inline QByteArray gifFile(int w, int h, const std::vector<QRgb>& palette,
                          const std::vector<int>& indices, int transparentIndex)
{
    QByteArray b("GIF89a");
    put16(b, w);
    put16(b, h);
    b.append(char(0x81)).append(char(0)).append(char(0));   // global table of 4
    for (int i = 0; i < 4; ++i) {
        const QRgb c = i < int(palette.size()) ? palette[size_t(i)] : 0;
        b.append(char(qRed(c))).append(char(qGreen(c))).append(char(qBlue(c)));
    }
    if (transparentIndex >= 0) {
        b.append("\x21\xF9\x04\x01", 4);
        put16(b, 0);
        b.append(char(transparentIndex)).append(char(0));
    }
    b.append(char(0x2C));
    put16(b, 0);
    put16(b, 0);
    put16(b, w);
    put16(b, h);
    b.append(char(0));
    b.append(char(2));   // minimum code size: clear 4, end 5
    std::vector<int> codes;
    for (size_t i = 0; i < indices.size(); ++i) {
        if (i % 2 == 0)
            codes.push_back(4);
        codes.push_back(indices[i]);
    }
    codes.push_back(5);
    QByteArray data;
    uint32_t bits = 0;
    int count = 0;
    for (int code : codes) {
        bits |= uint32_t(code) << count;
        count += 3;
        while (count >= 8) {
            data.append(char(bits & 0xFF));
            bits >>= 8;
            count -= 8;
        }
    }
    if (count > 0)
        data.append(char(bits & 0xFF));
    for (qsizetype at = 0; at < data.size(); at += 255) {
        const QByteArray block = data.mid(at, 255);
        b.append(char(block.size())).append(block);
    }
    b.append(char(0)).append(char(0x3B));
    return b;
}

// A 24-bit icon of w x h pixels (rows top-down in colors) whose AND mask
// marks the pixels for which transparent(x, y) holds.
template <typename Colour, typename Transparent>
QByteArray iconFile24(int w, int h, Colour colors, Transparent transparent)
{
    const int xorRow = (w * 3 + 3) / 4 * 4;
    const int andRow = (w + 31) / 32 * 4;
    QByteArray image;
    put32(image, 40);
    put32(image, w);
    put32(image, 2 * h);
    put16(image, 1);
    put16(image, 24);
    for (int i = 0; i < 6; ++i)
        put32(image, 0);
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(xorRow, '\0');
        for (int x = 0; x < w; ++x) {
            const QRgb c = colors(x, y);
            row[3 * x] = char(qBlue(c));
            row[3 * x + 1] = char(qGreen(c));
            row[3 * x + 2] = char(qRed(c));
        }
        image.append(row);
    }
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(andRow, '\0');
        for (int x = 0; x < w; ++x)
            if (transparent(x, y))
                row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
        image.append(row);
    }
    QByteArray b;
    put16(b, 0);
    put16(b, 1);
    put16(b, 1);
    b.append(char(w)).append(char(h)).append(char(0)).append(char(0));
    put16(b, 1);
    put16(b, 24);
    put32(b, image.size());
    put32(b, 6 + 16);
    return b + image;
}

// A 16-bit bitmap with 5-6-5 bit fields, every pixel the same raw value.
inline QByteArray bmp565File(int w, int h, uint16_t pixel)
{
    const int row = (w * 2 + 3) / 4 * 4;
    QByteArray b("BM");
    put32(b, 14 + 40 + 12 + int64_t(row) * h);
    put32(b, 0);
    put32(b, 14 + 40 + 12);
    put32(b, 40);
    put32(b, w);
    put32(b, h);
    put16(b, 1);
    put16(b, 16);
    put32(b, 3);   // bit fields
    put32(b, int64_t(row) * h);
    put32(b, 2835);
    put32(b, 2835);
    put32(b, 0);
    put32(b, 0);
    put32(b, 0xF800);
    put32(b, 0x07E0);
    put32(b, 0x001F);
    for (int y = 0; y < h; ++y) {
        QByteArray line(row, '\0');
        for (int x = 0; x < w; ++x) {
            line[2 * x] = char(pixel & 0xFF);
            line[2 * x + 1] = char(pixel >> 8);
        }
        b.append(line);
    }
    return b;
}

// A 32-bit bitmap with an alpha channel (a version 4 header with its masks);
// rows top-down in colors, as the image's ARGB values.
template <typename Colour>
QByteArray bmpAlphaFile(int w, int h, Colour colors)
{
    QByteArray b("BM");
    put32(b, 14 + 108 + int64_t(w) * h * 4);
    put32(b, 0);
    put32(b, 14 + 108);
    put32(b, 108);
    put32(b, w);
    put32(b, h);
    put16(b, 1);
    put16(b, 32);
    put32(b, 3);   // bit fields
    put32(b, int64_t(w) * h * 4);
    put32(b, 2835);
    put32(b, 2835);
    put32(b, 0);
    put32(b, 0);
    put32(b, 0x00FF0000);
    put32(b, 0x0000FF00);
    put32(b, 0x000000FF);
    put32(b, 0xFF000000);
    put32(b, 0x73524742);   // sRGB
    b.append(QByteArray(36 + 12, '\0'));
    for (int y = h - 1; y >= 0; --y)
        for (int x = 0; x < w; ++x)
            put32(b, colors(x, y));
    return b;
}

// A placeable WMF of w x h pixels (96 units per inch) that fills rect in red,
// without an outline.
inline QByteArray placeableWmf(int w, int h, QRect rect)
{
    QByteArray records;
    auto record = [&](int function, std::initializer_list<int> words) {
        put32(records, 3 + int(words.size()));
        put16(records, function);
        for (int v : words)
            put16(records, v);
    };
    record(0x020B, {0, 0});                       // SetWindowOrg y, x
    record(0x020C, {h, w});                       // SetWindowExt y, x
    record(0x02FC, {0, 0x00FF, 0x0000, 0});       // CreateBrushIndirect solid red
    record(0x012D, {0});                          // SelectObject brush
    record(0x02FA, {5, 0, 0, 0, 0});              // CreatePenIndirect null pen
    record(0x012D, {1});                          // SelectObject pen
    record(0x041B, {rect.bottom() + 1, rect.right() + 1, rect.top(), rect.left()});
    record(0x0000, {});                           // EOF
    QByteArray header;
    put16(header, 1);
    put16(header, 9);
    put16(header, 0x0300);
    put32(header, (18 + records.size()) / 2);
    put16(header, 2);
    put32(header, 8);
    put16(header, 0);
    QByteArray placeable;
    put32(placeable, 0x9AC6CDD7);
    put16(placeable, 0);
    put16(placeable, 0);
    put16(placeable, 0);
    put16(placeable, w);
    put16(placeable, h);
    put16(placeable, 96);
    put32(placeable, 0);
    uint16_t sum = 0;
    for (int i = 0; i < 20; i += 2)
        sum ^= qFromLittleEndian<uint16_t>(placeable.constData() + i);
    put16(placeable, sum);
    return placeable + header + records;
}

// An EMF whose frame is w x h pixels of a 96 dpi reference device and which
// fills rect in red without an outline.
inline QByteArray emfFile(int w, int h, QRect rect)
{
    QByteArray records;
    auto record = [&](int type, std::initializer_list<int64_t> values) {
        put32(records, type);
        put32(records, 8 + 4 * int64_t(values.size()));
        for (int64_t v : values)
            put32(records, v);
    };
    record(39, {1, 0, 0x000000FF, 0});   // CreateBrushIndirect 1: solid red
    record(37, {1});                      // SelectObject brush
    record(37, {0x80000008});             // SelectObject stock NULL_PEN
    record(43, {rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1});
    record(14, {0, 16, 20});              // EOF
    const int64_t mmW = 254, mmH = 254;   // a 960 x 960 pixel reference device
    QByteArray header;
    put32(header, 1);
    put32(header, 88);
    for (int v : {0, 0, w - 1, h - 1})
        put32(header, v);
    // The frame in 0.01 mm: w pixels at 96 dpi.
    put32(header, 0);
    put32(header, 0);
    put32(header, (int64_t(w) * 2540 + 48) / 96);
    put32(header, (int64_t(h) * 2540 + 48) / 96);
    put32(header, 0x464D4520);
    put32(header, 0x10000);
    put32(header, 88 + records.size());
    put32(header, 6);
    put16(header, 2);
    put16(header, 0);
    put32(header, 0);
    put32(header, 0);
    put32(header, 0);
    put32(header, 960);
    put32(header, 960);
    put32(header, mmW);
    put32(header, mmH);
    return header + records;
}

}  // namespace bwtest

// LoadPicture on damaged files: every file cut short, and metafiles with
// random bytes changed, are either refused (Invalid picture) or read as the
// whole file reads, never made up from memory the file did not fill.
#include "platform/forms/LoadPicture.h"
#include "platform/forms/Metafile.h"
#include "platform/runtime/Error.h"
#include "tests/support/PictureFiles.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using forms::LoadPicture;

QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format)) << format;
    return bytes;
}

class LoadPictureTest : public ::testing::Test {
protected:
    void SetUp() override { QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio*=false")); }
    void TearDown() override { QLoggingCategory::setFilterRules({}); }
    QString write(const QByteArray& bytes) const
    {
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        return file;
    }
    // The picture's colours and transparency; null when the load was refused
    // as an invalid picture (any other error fails the test).
    QImage load(const QByteArray& bytes) const
    {
        try {
            const forms::Picture p = LoadPicture(write(bytes));
            QImage image = p->toImage().convertToFormat(QImage::Format_ARGB32);
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (p->isTransparent(x, y))
                        image.setPixel(x, y, 0);
            return image;
        } catch (const rt::Error& e) {
            EXPECT_EQ(e.number(), 481) << e.description().toStdString();
            return {};
        }
    }

    QTemporaryDir dir;
    QString file = dir.filePath(QStringLiteral("picture"));
};

// An 8 x 6 bitmap of two colours coded in runs, the last row as literals.
QByteArray rle8File()
{
    QByteArray data;
    for (int y = 0; y < 5; ++y)
        data.append("\x04\x01\x04\x00\x00\x00", 6);
    data.append("\x00\x08\x01\x00\x01\x00\x01\x00\x01\x00\x00\x01", 12);
    QByteArray b("BM");
    const int offset = 14 + 40 + 8;
    bwtest::put32(b, offset + data.size());
    bwtest::put32(b, 0);
    bwtest::put32(b, offset);
    for (int64_t v : {40, 8, 6})
        bwtest::put32(b, v);
    bwtest::put16(b, 1);
    bwtest::put16(b, 8);
    for (int64_t v : {1, int(data.size()), 2835, 2835, 2, 0})
        bwtest::put32(b, v);
    bwtest::put32(b, 0x00FFFFFF);
    bwtest::put32(b, 0x000000FF);
    return b + data;
}

}  // namespace

TEST_F(LoadPictureTest, AFileCutShortAnywhereIsRefusedOrReadWhole)
{
    QImage argb(7, 5, QImage::Format_ARGB32);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            argb.setPixel(x, y, qRgba(30 * x, 40 * y, 200, x == 0 ? 0 : 255));
    const QImage rgb = argb.convertToFormat(QImage::Format_RGB32);
    std::vector<int> indices(35, 1);
    indices[0] = 3;
    const std::pair<const char*, QByteArray> files[] = {
        {"bmp", encoded(rgb, "BMP")},
        {"bmp rle8", rle8File()},
        {"bmp alpha", bwtest::bmpAlphaFile(7, 5, [](int x, int) { return x ? 0xFF102030u : 0u; })},
        {"bmp 16", bwtest::bmp565File(7, 5, 0x1234)},
        {"gif", bwtest::gifFile(7, 5, {0, qRgb(9, 9, 9), 0, 0}, indices, 3)},
        {"png", encoded(argb, "PNG")},
        {"jpeg", encoded(rgb, "JPEG")},
        {"ico", encoded(argb, "ICO")},
        {"ico 24", bwtest::iconFile24(7, 5, [](int x, int) { return qRgb(x, 1, 2); },
                                      [](int x, int y) { return x == y; })},
        {"xpm", encoded(argb, "XPM")},
    };
    for (const auto& [name, bytes] : files) {
        const QImage whole = load(bytes);
        ASSERT_FALSE(whole.isNull()) << name;
        int refused = 0;
        // Every length at both ends, where headers and the last row lie.
        for (qsizetype n = 0; n < bytes.size(); n += (n < 96 || n + 32 > bytes.size()) ? 1 : 5) {
            const QImage part = load(bytes.left(n));
            if (part.isNull())
                ++refused;
            else
                EXPECT_EQ(part, whole) << name << " cut to " << n << " of " << bytes.size();
        }
        EXPECT_GT(refused, 0) << name;
    }
}

// Metafiles are read by libraries that were not written for hostile files:
// cut short or with bytes changed, a file is refused or read, quickly.
TEST_F(LoadPictureTest, DamagedMetafilesAreRefusedOrReadQuickly)
{
    const QRect rect(QPoint(1, 2), QPoint(6, 4));
    const std::pair<const char*, QByteArray> files[] = {
        {"wmf", bwtest::placeableWmf(8, 6, rect)},
        {"emf", bwtest::emfFile(8, 6, rect)},
    };
    QRandomGenerator random(24);
    QElapsedTimer timer;
    timer.start();
    for (const auto& [name, bytes] : files) {
        const QImage whole = load(bytes);
        ASSERT_EQ(whole.size(), QSize(8, 6)) << name;
        EXPECT_EQ(whole.pixel(1, 2), qRgb(255, 0, 0)) << name;
        EXPECT_EQ(whole.pixel(6, 4), qRgb(255, 0, 0)) << name;
        EXPECT_EQ(qAlpha(whole.pixel(0, 0)), 0) << name;
        for (qsizetype n = 0; n < bytes.size(); ++n)
            load(bytes.left(n));
        for (int round = 0; round < 300; ++round) {
            QByteArray damaged = bytes;
            const int changes = 1 + int(random.bounded(4));
            for (int c = 0; c < changes; ++c) {
                const auto at = qsizetype(random.bounded(int(damaged.size())));
                // Mostly extremes, the values that break sizes and counts.
                const char values[] = {'\0', '\x7F', '\x80', '\xFF'};
                damaged[at] = random.bounded(2) ? values[random.bounded(4)]
                                                : char(random.bounded(256));
            }
            const QImage image = load(damaged);
            if (!image.isNull()) {
                EXPECT_LE(image.width(), forms::kMaxMetafileSide) << name;
                EXPECT_LE(image.height(), forms::kMaxMetafileSide) << name;
            }
        }
    }
    EXPECT_LT(timer.elapsed(), 60000);
}

TEST_F(LoadPictureTest, AMetafileLargerThanAnyPictureIsRefusedUnread)
{
    QByteArray wmf = bwtest::placeableWmf(8, 6, QRect(0, 0, 2, 2));
    wmf.append(QByteArray(forms::kMaxMetafileBytes, '\0'));
    EXPECT_TRUE(load(wmf).isNull());
    // 4097 pixels wide at 96 units per inch: one pixel over the bound.
    const QByteArray wide = bwtest::placeableWmf(4097, 6, QRect(0, 0, 2, 2));
    EXPECT_TRUE(load(wide).isNull());
    EXPECT_FALSE(load(bwtest::placeableWmf(4096, 6, QRect(0, 0, 2, 2))).isNull());
}

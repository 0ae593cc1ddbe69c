// Tool pictures in an image list: one image per tool ID, the mask row's
// colour transparent per picture, removal of a picture that went away.
#include "barwright/panel/CImagelist.h"
#include "platform/forms/Form.h"
#include "platform/forms/ImageList.h"
#include "platform/forms/PictureBox.h"
#include "platform/forms/Testing.h"
#include "platform/toolbar/MqZentribar.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QImage>

namespace {

class ImagelistHost final : public forms::Form {
public:
    forms::ImageList target{this, "target"};
    forms::ImageList work{this, "work"};
    forms::PictureBox box{this, "box"};
    QString className() const override { return QStringLiteral("ImagelistHost"); }
};

constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kGreen = 0xFF00FF00;
constexpr QRgb kBlue = 0xFF0000FF;

// A w x (h + 1) tool picture: body colour with a 2x2 block of `ink` at the
// top left, the rest of the body the mask colour, and the mask row below.
forms::Picture toolPicture(int w, int h, QRgb mask, QRgb ink)
{
    QImage image(w, h + 1, QImage::Format_RGB32);
    image.fill(mask);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            image.setPixel(x, y, ink);
    return forms::StdPicture::fromImage(image);
}

class ImagelistTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        forms::testing::enable();
        host().target.MaskColor = 0xFF00FF;   // magenta: the list's transparent colour
    }
    void TearDown() override
    {
        list.Cleanup();
        host().Unload();
        EXPECT_THAT(forms::testing::takeFailures(), ::testing::IsEmpty());
    }
    static ImagelistHost& host() { return forms::instance<ImagelistHost>(); }
    void bind() { list.SetControls(host().target, host().work, host().box); }
    std::shared_ptr<toolbar::Tool> addTool(const QString& id, const forms::Picture& picture)
    {
        auto tool = control->tools()->Add(id);
        tool->setPicture(toolbar::PictureState::Normal, picture);
        return tool;
    }
    // The image as the list's views show it (mask colour transparent).
    QImage shown(const QString& key) const
    {
        const forms::ListImage& image = host().target.Item(key);
        const QSize size(image.picture->widthPixels(), image.picture->heightPixels());
        return host().target.icon(image).pixmap(size).toImage().convertToFormat(
            QImage::Format_ARGB32);
    }

    std::shared_ptr<toolbar::MqZentribar> control = std::make_shared<toolbar::MqZentribar>();
    CImagelist list;
};

TEST_F(ImagelistTest, UnboundListAddsNothing)
{
    auto tool = addTool(QStringLiteral("Open"), toolPicture(16, 16, kRed, kBlue));
    EXPECT_FALSE(list.AddToolPicture(com::Object(tool)));
    EXPECT_EQ(host().target.Count(), 0);
    bind();
    list.Cleanup();
    EXPECT_FALSE(list.AddToolPicture(com::Object(tool)));
    EXPECT_EQ(host().target.Count(), 0);
}

TEST_F(ImagelistTest, AddingTwiceLeavesOneImageWithTheNewPicture)
{
    bind();
    auto tool = addTool(QStringLiteral("Open"), toolPicture(16, 16, kRed, kBlue));
    ASSERT_TRUE(list.AddToolPicture(com::Object(tool)));
    tool->setPicture(toolbar::PictureState::Normal, toolPicture(16, 16, kRed, kGreen));
    ASSERT_TRUE(list.AddToolPicture(com::Object(tool)));
    ASSERT_EQ(host().target.Count(), 1);
    EXPECT_EQ(shown(QStringLiteral("Open")).pixel(0, 0), kGreen);
}

TEST_F(ImagelistTest, ClearedPictureRemovesTheImage)
{
    bind();
    auto keep = addTool(QStringLiteral("Keep"), toolPicture(16, 16, kRed, kBlue));
    auto tool = addTool(QStringLiteral("Open"), toolPicture(16, 16, kRed, kBlue));
    ASSERT_TRUE(list.AddToolPicture(com::Object(keep)));
    ASSERT_TRUE(list.AddToolPicture(com::Object(tool)));
    tool->setPicture(toolbar::PictureState::Normal, nullptr);
    EXPECT_FALSE(list.AddToolPicture(com::Object(tool)));
    EXPECT_FALSE(host().target.exists(QStringLiteral("Open")));
    EXPECT_TRUE(host().target.exists(QStringLiteral("Keep")));
    // A tool that never had an image: nothing to remove, no error.
    auto bare = addTool(QStringLiteral("Bare"), nullptr);
    EXPECT_FALSE(list.AddToolPicture(com::Object(bare)));
    EXPECT_EQ(host().target.Count(), 1);
}

// Each picture's own mask colour comes out transparent, whatever it is, and
// the drawn pixels stay opaque in their colour.
TEST_F(ImagelistTest, EachPictureMaskColourIsTransparent)
{
    bind();
    struct Case {
        const char* id;
        QRgb mask;
        QRgb ink;
        int size;
    };
    const Case cases[] = {{"Red", kRed, kBlue, 16},
                          {"Green", kGreen, kRed, 24},
                          {"Silver", 0xFFC0C0C0, kGreen, 32}};
    for (const Case& c : cases)
        ASSERT_TRUE(list.AddToolPicture(
            com::Object(addTool(QString::fromLatin1(c.id), toolPicture(c.size, c.size, c.mask,
                                                                        c.ink)))));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const QImage image = shown(QString::fromLatin1(c.id));
        ASSERT_EQ(image.height(), c.size + 1);
        EXPECT_EQ(image.pixel(1, 1), c.ink);
        EXPECT_EQ(qAlpha(image.pixel(5, 5)), 0);                 // body in the mask colour
        EXPECT_EQ(qAlpha(image.pixel(c.size - 1, c.size)), 0);   // the mask row
    }
}

// A drawn pixel that happens to be the list's own transparent colour is not
// lost: it stays visible, also when the picture's mask colour is the shade
// right next to it.
TEST_F(ImagelistTest, PixelOfTheListsMaskColourStaysOpaque)
{
    bind();
    for (const QRgb mask : {kRed, QRgb(0xFFFF00FE), QRgb(0xFFFF00FD)}) {
        SCOPED_TRACE(mask);
        const QString id = QString::number(mask, 16);
        ASSERT_TRUE(list.AddToolPicture(
            com::Object(addTool(id, toolPicture(16, 16, mask, 0xFFFF00FF)))));
        const QImage image = shown(id);
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 255);
        EXPECT_EQ(qAlpha(image.pixel(8, 8)), 0);
    }
}

// Pictures taller than the work box's design size are read at their own
// bottom-left pixel.
TEST_F(ImagelistTest, LargePictureMaskIsReadFromItsOwnLastRow)
{
    host().box.Move(0, 0, 10 * 15, 10 * 15);
    bind();
    ASSERT_TRUE(list.AddToolPicture(
        com::Object(addTool(QStringLiteral("Big"), toolPicture(64, 64, kGreen, kBlue)))));
    const QImage image = shown(QStringLiteral("Big"));
    EXPECT_EQ(qAlpha(image.pixel(40, 40)), 0);
    EXPECT_EQ(image.pixel(0, 0), kBlue);
}

}  // namespace

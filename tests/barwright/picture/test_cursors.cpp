// The cursor resources: one per drawing tool and the finder, each with its
// hot spot on a black pixel of its own drawing, inside a white halo.
#include "barwright/picture/CursorResources.h"
#include "barwright/picture/mDrawParams.h"

#include <QDir>
#include <QPainter>

#include <gmock/gmock.h>

using namespace CursorResources;

namespace {

TEST(CursorResourcesTest, EveryToolAndTheFinderHasItsOwnCursor)
{
    QList<QImage> seen;
    QImage sheet(13 * 40, 40, QImage::Format_ARGB32);
    sheet.fill(QColor(0, 128, 128));
    for (int32_t id = FirstDrawCursor; id <= FinderCursor; ++id) {
        const forms::Picture p = LoadResCursor(id);
        ASSERT_TRUE(p && p->isCursor()) << id;
        EXPECT_EQ(p->Type(), 3);
        EXPECT_EQ(LoadResCursor(id), p) << "loaded once";
        const QImage image = p->cursorImage();
        ASSERT_EQ(image.size(), QSize(32, 32));
        EXPECT_FALSE(seen.contains(image)) << id << " looks like another cursor";
        seen << image;
        // The hot spot is a black pixel of the drawing; around it the halo
        // keeps it visible on dark pictures.
        const QPoint hot = p->hotSpot();
        EXPECT_EQ(image.pixelColor(hot), QColor(Qt::black)) << id;
        int halo = 0;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                halo += image.rect().contains(hot + QPoint(dx, dy))
                        && image.pixelColor(hot + QPoint(dx, dy)) == QColor(Qt::white);
        EXPECT_GT(halo, 0) << id;
        QPainter(&sheet).drawImage((id - FirstDrawCursor) * 40 + 4, 4, image);
    }
    // The cross-hair tools act at the centre, the pencil, pipette and
    // bucket at their tips (bottom left).
    EXPECT_EQ(LoadResCursor(mDrawParams::ToolLine)->hotSpot(), QPoint(15, 15));
    EXPECT_EQ(LoadResCursor(FinderCursor)->hotSpot(), QPoint(15, 15));
    for (int32_t id : {mDrawParams::ToolPencil, mDrawParams::ToolPickup, mDrawParams::ToolFill}) {
        EXPECT_LT(LoadResCursor(id)->hotSpot().x(), 8) << id;
        EXPECT_GT(LoadResCursor(id)->hotSpot().y(), 24) << id;
    }
    if (qEnvironmentVariableIsSet("BW_PICTURE_SHOT_DIR")) {
        EXPECT_TRUE(sheet.scaled(sheet.size() * 3).save(
            QDir(qEnvironmentVariable("BW_PICTURE_SHOT_DIR")).filePath("cursors.png")));
    }
}

TEST(CursorResourcesTest, OtherNumbersAreNoCursor)
{
    for (int32_t id : {0, 999, 1013, 100}) {
        const forms::Picture p = LoadResCursor(id);
        ASSERT_TRUE(p);
        EXPECT_FALSE(p->isCursor()) << id;
        EXPECT_EQ(p->Type(), 0);
    }
}

}  // namespace

// Both windows on the sample configuration, grabbed offscreen. With
// BW_WRITE_SCREENSHOT=1 the picture is written to docs/barwright.png.
#include "PanelFixture.h"
#include "tests/support/FormTexts.h"

#include <QPainter>

TEST_F(PanelTest, BothWindowsRenderTheSample)
{
    start(sampleCopy());
    QWidget* preview = frmPreview::get().window()->window();
    QWidget* panelWindow = panel().window()->window();
    preview->resize(640, 300);
    for (int16_t tab : {0, 1, 2}) {
        panel().tabMain.setTab(tab);
        // The Options tab's own captions share "I" and "S".
        QStringList own;
        if (tab == 2)
            own = {QStringLiteral("i: lbImageImportOption cmdImport"),
                   QStringLiteral("s: tabMain lbStyle")};
        expectWholeAndDistinct(panel(), QStringLiteral("panel tab %1").arg(tab), own);
    }
    panel().tabMain.setTab(2);
    forms::testing::processEvents(50);

    const QImage shotPreview = preview->grab().toImage();
    const QImage shotPanel = panelWindow->grab().toImage();
    ASSERT_FALSE(shotPreview.isNull());
    ASSERT_FALSE(shotPanel.isNull());
    EXPECT_FALSE(frmPreview::get().picDummyToolbar.Visible());

    if (!qEnvironmentVariableIsSet("BW_WRITE_SCREENSHOT"))
        return;
    // Preview above, panel below it and to the right, on a desktop-like ground.
    constexpr int kTitle = 22;
    constexpr int kGap = 16;
    const QSize size(std::max(shotPreview.width(), shotPanel.width() + 120) + 2 * kGap,
                     shotPreview.height() + shotPanel.height() + 2 * kTitle + 3 * kGap);
    QImage out(size, QImage::Format_RGB32);
    out.fill(QColor(0x5a, 0x6e, 0x86));
    QPainter p(&out);
    auto frame = [&](const QImage& img, QPoint at, const QString& title) {
        p.fillRect(QRect(at.x() - 1, at.y() - kTitle, img.width() + 2, kTitle + img.height() + 1),
                   QColor(0x2b, 0x3a, 0x55));
        p.setPen(Qt::white);
        p.drawText(QRect(at.x() + 8, at.y() - kTitle, img.width(), kTitle),
                   Qt::AlignVCenter | Qt::AlignLeft, title);
        p.drawImage(at, img);
    };
    frame(shotPreview, QPoint(kGap, kGap + kTitle), frmPreview::get().Caption());
    frame(shotPanel, QPoint(size.width() - kGap - shotPanel.width(),
                            2 * kGap + 2 * kTitle + shotPreview.height()),
          panel().Caption());
    p.end();
    EXPECT_TRUE(out.save(QStringLiteral(BW_SOURCE_DIR "/docs/barwright.png")));
}

// The panel's window: its load, the Options tab, the minimum size, the
// placeholder of the preview window and the settings they keep.
#include "PanelFixture.h"

#include "barwright/connection/mRegistry.h"
#include "barwright/panel/mSubclassCtlPanel.h"
#include "platform/forms/Screen.h"
#include "platform/forms/Window.h"

TEST_F(PanelTest, OptionsShowTheWorkingCopyAndWriteIt)
{
    start(sampleCopy());
    frmCtlPanel& p = panel();
    EXPECT_EQ(p.coStyle.ListIndex(), 2);   // the sample uses style 2
    EXPECT_EQ(p.chShowTooltips.Value(), forms::vbChecked);
    EXPECT_EQ(p.coImageImportOption.ListIndex(), 0);
    EXPECT_EQ(p.coMenuAnimations.ListCount(), 6);
    EXPECT_EQ(p.liTBars.ListCount(), workingCopy().toolbars()->Count());
    EXPECT_EQ(p.liTBars.ListIndex(), 0);

    p.coMenuAnimations.choose(5);
    EXPECT_EQ(workingCopy().MenuAnimations(), 5);
    p.chShowTooltips.click();
    EXPECT_FALSE(workingCopy().ShowTooltips());
    EXPECT_TRUE(p.IsDirty());
    EXPECT_TRUE(p.cmdApply.Enabled());
}

TEST_F(PanelTest, EmptyFadeDelayBecomesZero)
{
    start(sampleCopy());
    frmCtlPanel& p = panel();
    p.txtFloatingTBFadeDelay.setText(QStringLiteral("250"));
    EXPECT_EQ(workingCopy().FloatingTBFadeDelay(), 250);
    p.txtFloatingTBFadeDelay.setText(QString());
    EXPECT_EQ(p.txtFloatingTBFadeDelay.Text(), QStringLiteral("0"));
    EXPECT_EQ(workingCopy().FloatingTBFadeDelay(), 0);
    p.txtFloatingTBFadeDelay.setText(QStringLiteral("12"));
    p.txtFloatingTBFadeDelay.type(QStringLiteral("-x3"));   // digits only
    EXPECT_EQ(p.txtFloatingTBFadeDelay.Text(), QStringLiteral("123"));
}

TEST_F(PanelTest, FadeDelayPastItsRangeIsRefusedQuietly)
{
    const QString file = sampleCopy();
    start(file);
    frmCtlPanel& p = panel();
    p.txtFloatingTBFadeDelay.setText(QStringLiteral("3999"));
    p.MakeDirty(false);
    p.txtFloatingTBFadeDelay.setSelStart(1);
    p.txtFloatingTBFadeDelay.type(QStringLiteral("9"));   // 39999 does not fit
    EXPECT_EQ(p.txtFloatingTBFadeDelay.Text(), QStringLiteral("3999"));
    EXPECT_EQ(p.txtFloatingTBFadeDelay.SelStart(), 1);   // the caret stays put
    EXPECT_EQ(workingCopy().FloatingTBFadeDelay(), 3999);
    EXPECT_FALSE(p.IsDirty());   // nothing changed
    EXPECT_TRUE(forms::testing::shownMsgBoxes().empty());

    for (const char* refused : {"32768", "99999999999", "1e3", "-5"}) {
        SCOPED_TRACE(refused);
        p.txtFloatingTBFadeDelay.setText(QString::fromLatin1(refused));   // pasted, say
        EXPECT_EQ(p.txtFloatingTBFadeDelay.Text(), QStringLiteral("3999"));
    }
    p.txtFloatingTBFadeDelay.setText(QStringLiteral("32767"));
    EXPECT_EQ(workingCopy().FloatingTBFadeDelay(), 32767);
    EXPECT_TRUE(forms::testing::shownMsgBoxes().empty());

    // Apply writes what the box shows.
    p.cmdApply.click();
    EXPECT_EQ(host().client().control()->FloatingTBFadeDelay(), 32767);
}

TEST_F(PanelTest, PanelCannotBeMadeSmallerThanDesigned)
{
    start(sampleCopy());
    QWidget* w = panel().window()->window();   // the top-level window
    const QSize designed(mSubclassCtlPanel::gMinTrackWidth, mSubclassCtlPanel::gMinTrackHeight);
    ASSERT_GT(designed.width(), 200);
    EXPECT_EQ(forms::detail::queryMinTrackSize(panel().hWnd()).x, designed.width());
    w->resize(designed.width() / 2, designed.height() / 2);
    forms::testing::processEvents(20);
    EXPECT_GE(w->frameGeometry().width(), designed.width());
    EXPECT_GE(w->frameGeometry().height(), designed.height());

    // Larger is laid out by the rules: the command column follows the edge.
    const float cmdsLeft = panel().frCmdsMain.Left();
    const float tabWidth = panel().tabMain.Width();
    w->resize(w->width() + 40, w->height() + 30);
    forms::testing::processEvents(20);
    EXPECT_FLOAT_EQ(panel().frCmdsMain.Left(), cmdsLeft + 40);
    EXPECT_FLOAT_EQ(panel().tabMain.Width(), tabWidth + 40);
}

TEST_F(PanelTest, UnloadKeepsPlaceAndChoices)
{
    start(sampleCopy());
    panel().chDisplayByCategory.setValue(forms::vbChecked);
    panel().Move(600, 450, panel().Width() + 300, panel().Height());
    const float width = panel().Width();
    panel().cmdCxl.click();
    const QString app = QStringLiteral("ConfigUtility");
    EXPECT_EQ(mRegistry::GetRegSetting(app, QStringLiteral("ControlPanel"),
                                       QStringLiteral("DisplayByCategory")),
              QStringLiteral("1"));
    EXPECT_EQ(mRegistry::GetRegSetting(app, QStringLiteral("ControlPanel"),
                                       QStringLiteral("Width"))
                  .toFloat(),
              width);
    EXPECT_FALSE(mRegistry::GetRegSetting(app, QStringLiteral("Preview"),
                                          QStringLiteral("Left"))
                     .isEmpty());
}

TEST_F(PanelTest, PlaceholderShowsExactlyWithoutToolbars)
{
    start(QString());   // an empty configuration
    frmPreview& v = frmPreview::get();
    EXPECT_TRUE(v.picDummyToolbar.Visible());
    // The banner is centred in the area below the placeholder.
    const float below = v.ScaleHeight() - v.picDummyToolbar.Height();
    EXPECT_NEAR(v.imgBanner.Top() - v.picDummyToolbar.Height(),
                (below - v.imgBanner.Height()) / 2, 15);
    workingCopy().toolbars()->Add(QStringLiteral("Main"));
    EXPECT_FALSE(v.picDummyToolbar.Visible());
    // Then in what the docked toolbar leaves.
    const QRectF free = v.tbarPreview.FreeArea();
    EXPECT_GT(free.top(), 0);
    EXPECT_EQ(free.bottom(), v.ScaleHeight());
    EXPECT_NEAR(v.imgBanner.Top(), free.top() + (free.height() - v.imgBanner.Height()) / 2, 15);
    EXPECT_EQ(panel().liTBars.ListCount(), 0);   // lists follow in the toolbar commands
}

TEST_F(PanelTest, SavedLargerSizeIsRestoredAndLaidOutByTheMove)
{
    start(sampleCopy());
    const float width = panel().Width();
    const float height = panel().Height();
    const float innerWidth = panel().ScaleWidth();
    const float innerHeight = panel().ScaleHeight();
    const float listWidth = panel().liTBars.Width();
    const float treeHeight = panel().tvTools.Height();
    const float tabHeight = panel().tabMain.Height();
    const float cmdsTop = panel().frCmdsTools.Top();
    panel().cmdCxl.click();

    const QString app = QStringLiteral("ConfigUtility");
    const QString section = QStringLiteral("ControlPanel");
    mRegistry::SaveRegSetting(app, section, QStringLiteral("Width"),
                              QString::number(width + 600));   // 40 pixels
    mRegistry::SaveRegSetting(app, section, QStringLiteral("Height"),
                              QString::number(height + 450));   // 30 pixels
    start(sampleCopy());
    const float dx = panel().ScaleWidth() - innerWidth;   // pixels
    const float dy = panel().ScaleHeight() - innerHeight;
    EXPECT_GE(dx, 40);
    EXPECT_GE(dy, 30);
    EXPECT_FLOAT_EQ(panel().liTBars.Width(), listWidth + dx * 15);
    EXPECT_FLOAT_EQ(panel().tvTools.Height(), treeHeight + dy * 15);
    EXPECT_FLOAT_EQ(panel().tabMain.Height(), tabHeight + dy);
    EXPECT_FLOAT_EQ(panel().frCmdsTools.Top(), cmdsTop + dy * 15);
    // The minimum stays the designed size, not the restored one.
    EXPECT_LT(mSubclassCtlPanel::gMinTrackWidth,
              int32_t(panel().Width() / forms::Screen::TwipsPerPixelX()));
}

TEST_F(PanelTest, EditAndDeleteFollowTheCurrentTabsSelection)
{
    start(sampleCopy());
    frmCtlPanel& p = panel();
    p.chDisplayByCategory.setValue(forms::vbChecked);
    p.ToolBarModified(toolbar::change::ToolSelected, {},
                      com::Object(workingCopy().tools()->Item(QStringLiteral("ID_Bold"))));
    ASSERT_EQ(p.tabMain.Tab(), 1);
    ASSERT_NE(p.tvTools.SelectedItem(), nullptr);
    EXPECT_EQ(p.tvTools.SelectedItem()->Key(), QStringLiteral("ID_Bold"));
    EXPECT_TRUE(p.cmdEditTool.Enabled());
    EXPECT_TRUE(p.mnu_deleteTool.Enabled());

    p.tvTools.setSelectedItem(&p.tvTools.Nodes.Item(QStringLiteral("@CATEGORY@FORMAT")));
    p.SetCmdBtnsEnabledStatus();
    EXPECT_FALSE(p.cmdEditTool.Enabled());
    EXPECT_FALSE(p.cmdDeleteTool.Enabled());

    // The Toolbars tab refreshes only its own commands.
    p.tvTools.setSelectedItem(&p.tvTools.Nodes.Item(QStringLiteral("ID_Bold")));
    p.SetCmdBtnsEnabledStatus();
    p.tabMain.setTab(0);
    p.tvTools.setSelectedItem(&p.tvTools.Nodes.Item(QStringLiteral("@CATEGORY@FORMAT")));
    p.liTBars.setListIndex(-1);
    p.SetCmdBtnsEnabledStatus();
    EXPECT_FALSE(p.cmdEditTBar.Enabled());
    EXPECT_FALSE(p.mnu_deleteTbar.Enabled());
    EXPECT_TRUE(p.cmdEditTool.Enabled());
    p.liTBars.setListIndex(1);
    p.SetCmdBtnsEnabledStatus();
    EXPECT_TRUE(p.cmdDeleteTBar.Enabled());
}

TEST_F(PanelTest, DamagedGroupingSettingDoesNotStopTheLoad)
{
    mRegistry::SaveRegSetting(QStringLiteral("ConfigUtility"), QStringLiteral("ControlPanel"),
                              QStringLiteral("DisplayByCategory"), QStringLiteral("99999"));
    start(sampleCopy());
    EXPECT_TRUE(forms::testing::shownMsgBoxes().empty());
    EXPECT_EQ(panel().chDisplayByCategory.Value(), forms::vbChecked);
    EXPECT_EQ(panel().liTBars.ListCount(), workingCopy().toolbars()->Count());
    EXPECT_GT(panel().liTBars.ListCount(), 0);
}

TEST_F(PanelTest, SessionsSaveTheSameWindowSizes)
{
    const QString app = QStringLiteral("ConfigUtility");
    auto saved = [&] {
        QStringList values;
        for (const char* section : {"ControlPanel", "Preview"})
            for (const char* key : {"Left", "Top", "Width", "Height"})
                values << mRegistry::GetRegSetting(app, QLatin1String(section),
                                                   QLatin1String(key));
        return values;
    };
    QStringList first;
    int32_t minWidth = 0;
    for (int session = 0; session < 3; ++session) {
        // A new process knows nothing of the window manager's frame yet.
        forms::testing::assumeWindowFrame(0, 0, 0, 0);
        start(sampleCopy());
        // The designed size, frame included, stays the minimum.
        if (session == 0)
            minWidth = mSubclassCtlPanel::gMinTrackWidth;
        EXPECT_EQ(mSubclassCtlPanel::gMinTrackWidth, minWidth);
        panel().cmdCxl.click();
        if (session == 0)
            first = saved();
        else
            EXPECT_EQ(saved(), first) << "session " << session;
    }
}

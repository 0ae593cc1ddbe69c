// The dialogs grabbed offscreen, each tab that has fields. With
// BW_EDITORS_SHOT_DIR set, the pictures are written to that folder. In each
// state every caption shows whole and no access key is there twice.
#include "EditorsFixture.h"

#include "barwright/editors/frmColors.h"
#include "barwright/editors/frmTBar.h"
#include "barwright/editors/frmTool.h"
#include "platform/toolbar/Tool.h"
#include "tests/support/FormTexts.h"

#include <QDir>
#include <QImage>

namespace {

void save(QWidget* window, const QString& name)
{
    const QImage shot = window->grab().toImage();
    ASSERT_FALSE(shot.isNull());
    ASSERT_GT(shot.width(), 200);
    if (qEnvironmentVariableIsSet("BW_EDITORS_SHOT_DIR")) {
        const QDir dir(qEnvironmentVariable("BW_EDITORS_SHOT_DIR"));
        EXPECT_TRUE(shot.save(dir.filePath(name)));
    }
}

TEST_F(EditorsTest, DialogsRender)
{
    auto combo = control->tools()->Add(QStringLiteral("ID_Zoom"), toolbar::mqComboBox);
    combo->setName(QStringLiteral("Zoom"));
    for (const char* item : {"50%", "100%", "200%"})
        combo->comboBox()->AddItem(QLatin1String(item));
    combo->comboBox()->setText(QStringLiteral("100%"));

    frmTool& tool = frmTool::get();
    tool.bEditMode = true;
    tool.sTool = QStringLiteral("ID_Zoom");
    forms::testing::answerNextModal<frmTool>([](frmTool& d) {
        forms::testing::processEvents(20);
        save(d.window()->window(), QStringLiteral("tool-combo.png"));
        d.coType.setListIndex(toolbar::mqEdit);
        save(d.window()->window(), QStringLiteral("tool-edit.png"));
        d.coType.setListIndex(toolbar::mqStateButton);
        save(d.window()->window(), QStringLiteral("tool-state.png"));
        d.tabMain.setTab(1);
        save(d.window()->window(), QStringLiteral("tool-description.png"));
        d.cmdCxl.click();
    });
    tool.Show(forms::vbModal);

    frmTBar& bar = frmTBar::get();
    bar.bEditMode = false;
    bar.sToolbarName = QStringLiteral("ToolBar1");
    forms::testing::answerNextModal<frmTBar>([](frmTBar& d) {
        forms::testing::processEvents(20);
        save(d.window()->window(), QStringLiteral("toolbar.png"));
        d.cmdCxl.click();
    });
    bar.Show(forms::vbModal);

    frmColors& colors = frmColors::get();
    forms::testing::answerNextModal<frmColors>([](frmColors& c) {
        forms::testing::waitUntil([&] { return c.tabMain.Left() >= 0; });
        save(c.window()->window(), QStringLiteral("colors-palette.png"));
        c.tabMain.setTab(1);
        save(c.window()->window(), QStringLiteral("colors-system.png"));
        c.cmdCxl.click();
    });
    colors.Show(forms::vbModal);
}

TEST_F(EditorsTest, EveryStateShowsWholeCaptionsAndDistinctAccessKeys)
{
    frmTool::get().bEditMode = false;
    frmTool::get().sTool = QStringLiteral("Tool");
    runModal<frmTool>(frmTool::get(), [](frmTool& d) {
        for (int16_t type = 0; type <= toolbar::mqMenu; ++type) {
            d.coType.setListIndex(type);
            expectWholeAndDistinct(d, QStringLiteral("tool type %1").arg(type));
        }
        for (int16_t tab : {1, 2}) {
            d.tabMain.setTab(tab);
            expectWholeAndDistinct(d, QStringLiteral("tool tab %1").arg(tab));
        }
        d.cmdCxl.click();
    });
    frmTBar::get().bEditMode = false;
    frmTBar::get().sToolbarName = QStringLiteral("ToolBar1");
    runModal<frmTBar>(frmTBar::get(), [](frmTBar& d) {
        expectWholeAndDistinct(d, QStringLiteral("toolbar"));
        d.cmdCxl.click();
    });
    runModal<frmColors>(frmColors::get(), [](frmColors& c) {
        for (int16_t tab : {0, 1}) {
            c.tabMain.setTab(tab);
            expectWholeAndDistinct(c, QStringLiteral("colours tab %1").arg(tab));
        }
        c.cmdCxl.click();
    });
}

}  // namespace

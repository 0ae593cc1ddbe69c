// Two steps of the wizard grabbed offscreen. With BW_PELLUMAR_SHOT_DIR set,
// the pictures are written to that folder.
#include "WizardFixture.h"
#include "tests/support/FormTexts.h"

#include <QImage>
#include <QWidget>

namespace {

QImage grab(frmWizard& w, const QString& name)
{
    forms::testing::processEvents(20);
    expectWholeAndDistinct(w, name);
    const QImage shot = w.window()->grab().toImage();
    if (qEnvironmentVariableIsSet("BW_PELLUMAR_SHOT_DIR"))
        shot.save(QDir(qEnvironmentVariable("BW_PELLUMAR_SHOT_DIR")).filePath(name));
    return shot;
}

}  // namespace

TEST_F(WizardTest, StepsRender)
{
    frmWizard& w = wizard();
    w.Show();
    next();
    chooseToolset(path("Sample.bm$"));
    const QImage toolset = grab(w, QStringLiteral("pellumar-toolset.png"));
    EXPECT_GT(toolset.width(), 400);
    next();
    w.chDown.setValue(forms::vbChecked);
    next();
    dragArea(0, 6, 5, 17, 16);
    const QImage area = grab(w, QStringLiteral("pellumar-area.png"));
    ASSERT_FALSE(area.isNull());
    // The enlarged cell shows the tool's red square inside the frame.
    const pellumar::CDraw& e = *w.Engines[0];
    const QPoint inCanvas = w.picCanvas(0).widget()->mapTo(
        w.window(), QPoint(e.XActualToCanvas(10), e.YActualToCanvas(10)));
    EXPECT_EQ(QColor(area.pixel(inCanvas)), QColor(255, 0, 0));
}

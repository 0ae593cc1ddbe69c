// F1 help at the focused control's context, and what the runtime draws of
// the forms' own texts: menu separators, file dialog filters, captions.
#include "FormsFixture.h"

#include "platform/forms/App.h"
#include "platform/forms/CheckBox.h"
#include "platform/forms/CommonDialog.h"
#include "platform/forms/Form.h"
#include "platform/forms/Label.h"
#include "platform/forms/Menu.h"
#include "platform/forms/Testing.h"
#include "platform/forms/TextBox.h"

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QTest>

#include <gmock/gmock.h>

using namespace forms;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

const QString kHelpFile = QStringLiteral(BW_SOURCE_DIR "/help/MQRYX.HLP");

class frmHelp final : public Form {
public:
    Menu mnuPopup{this, "mnuPopup"};
    Menu mnuFirst{this, "mnuFirst", &mnuPopup};
    Menu mnuSep{this, "mnuSep", &mnuPopup};
    Menu mnuLast{this, "mnuLast", &mnuPopup};
    TextBox txtOwn{this, "txtOwn"};
    TextBox txtNone{this, "txtNone"};
    Label lbLong{this, "lbLong"};
    OptionButton opLong{this, "opLong"};
    bool swallowF1 = false;

    frmHelp()
    {
        txtNone.KeyDown = [this](int16_t& k, int16_t) {
            if (swallowF1 && k == 0x70)
                k = 0;
        };
    }

private:
    void Form_Design() override
    {
        setCaption(QStringLiteral("Help"));
        setDesignSize(6000, 3000);
        mnuPopup.setVisible(false);
        mnuFirst.setCaption(QStringLiteral("&First"));
        mnuSep.setCaption(QStringLiteral("-"));
        mnuLast.setCaption(QStringLiteral("&Last"));
        txtOwn.Move(0, 0, 1500, 315);
        txtNone.Move(0, 400, 1500, 315);
        lbLong.Move(0, 800, 3600, 500);
        opLong.Move(0, 1400, 3600, 600);
    }
};

frmHelp& help()
{
    return instance<frmHelp>();
}

void pressF1(Control& c)
{
    QTest::keyClick(c.widget(), Qt::Key_F1);
}

using HelpDrawTest = FormsFixture;

TEST_F(HelpDrawTest, F1ShowsTheFocusedControlsTopicElseTheFormsAndNothingWithoutOne)
{
    App::setHelpFile(kHelpFile);
    help().setHelpContextID(2000);
    help().txtOwn.setHelpContextID(4100);
    help().Show();
    pressF1(help().txtOwn);
    pressF1(help().txtNone);
    const auto& shown = forms::testing::shownHelp();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].context, 4100);
    EXPECT_EQ(shown[0].topicTitle, QStringLiteral("Tool Dialog: Description"));
    EXPECT_EQ(shown[1].context, 2000);
    EXPECT_EQ(shown[1].command, cdlHelpContext);
    EXPECT_EQ(shown[1].helpFile, kHelpFile);

    help().swallowF1 = true;   // a KeyDown handler that takes the key
    pressF1(help().txtNone);
    help().swallowF1 = false;
    help().setHelpContextID(0);
    pressF1(help().txtNone);
    App::setHelpFile(QString());
    pressF1(help().txtOwn);
    EXPECT_EQ(forms::testing::shownHelp().size(), 2u);
}

TEST_F(HelpDrawTest, AMenuSeparatorDrawsNoText)
{
    QMenu* popup = help().mnuPopup.menu();
    ASSERT_TRUE(popup);
    QAction* sep = help().mnuSep.action();
    EXPECT_TRUE(sep->isSeparator());
    EXPECT_EQ(help().mnuSep.Caption(), QStringLiteral("-"));
    popup->adjustSize();
    const QImage shot = popup->grab().toImage();
    const QRect row = popup->actionGeometry(sep);
    ASSERT_FALSE(row.isEmpty());
    int dark = 0;
    for (int y = row.top(); y <= row.bottom(); ++y)
        for (int x = row.left(); x <= row.right(); ++x)
            dark += qGray(shot.pixel(x, y)) < 96;
    EXPECT_EQ(dark, 0);
}

TEST_F(HelpDrawTest, AFileDialogShowsEachPatternOnce)
{
    EXPECT_THAT(detail::fileDialogFilters(QStringLiteral(
                    "Halvorbar Configuration Files (*.qrv)|*.qrv|All Files (*.*)|*.*")),
                ElementsAre("Halvorbar Configuration Files (*.qrv)", "All Files (*)"));
    EXPECT_THAT(detail::fileDialogFilters(QStringLiteral(
                    "All Picture Files|*.bmp;*.gif|Bitmaps (*.bmp;*.dib)|*.bmp;*.dib")),
                ElementsAre("All Picture Files (*.bmp *.gif)", "Bitmaps (*.bmp *.dib)"));
}

TEST_F(HelpDrawTest, LabelsAndOptionButtonsBreakALongCaptionOntoTheirLines)
{
    const QString text = QStringLiteral("A caption much too long for one line of its box");
    help().lbLong.setCaption(text);
    help().opLong.setCaption(u'&' + text);
    help().Show();
    EXPECT_THAT(forms::testing::cutCaptions(help()), IsEmpty());
    help().lbLong.setHeight(200);   // one line: the text is cut
    help().opLong.setHeight(200);
    EXPECT_THAT(forms::testing::cutCaptions(help()), ElementsAre("lbLong", "opLong"));
}

}  // namespace

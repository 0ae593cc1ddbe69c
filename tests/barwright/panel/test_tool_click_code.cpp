// The ToolClick skeleton placed on the clipboard: exact text, tool order,
// separators left out, nested State blocks, and the clipboard replaced.
#include "barwright/panel/GenerateToolClickCode.h"
#include "platform/forms/Clipboard.h"
#include "platform/toolbar/MqZentribar.h"

#include <gmock/gmock.h>

#include <QImage>

using namespace toolbar;
using mGlobals::GenerateToolClickCode;

namespace {

// Written with plain line ends for reading; the skeleton's are CR LF.
QString crlf(const char* text)
{
    return QString::fromUtf8(text).replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

const char* const kHeader = R"(
    ' NOTE: Place this code in the control's ToolClick event.
    '
    ' Determine which tool was clicked.
    Select Case Tool.ID
)";

const char* const kFooter = R"(        Case Else

    End Select

)";

const char* const kMixedCases = R"(        Case "ID_New"    '(Button)

        Case "ID_Bold"    '(State Button)
            Select Case Tool.State
                Case mqChecked

                Case mqUnchecked

            End Select

        Case "ID_Pin"    '(DropDown State Button)
            Select Case Tool.State
                Case mqChecked

                Case mqUnchecked

            End Select

        Case "Say"Hi"    '(Menu)

)";

class ToolClickCodeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Something else on the clipboard first: a picture.
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(Qt::red);
        forms::Clipboard::SetData(forms::StdPicture::fromImage(image));
        ASSERT_TRUE(forms::Clipboard::GetFormat(forms::vbCFBitmap));
    }

    void expectOnClipboard(const QString& text)
    {
        EXPECT_EQ(forms::Clipboard::GetText(), text);
        EXPECT_FALSE(forms::Clipboard::GetFormat(forms::vbCFBitmap))
            << "the earlier picture is still there";
    }

    MqZentribar control;
};

TEST_F(ToolClickCodeTest, ToolbarEntriesGiveOneCaseEachWithoutSeparators)
{
    control.tools()->Add(QStringLiteral("ID_New"), mqButton);
    control.tools()->Add(QStringLiteral("ID_Bold"), mqStateButton);
    control.tools()->Add(QStringLiteral("ID_Pin"), mqDropDownStateButton);
    control.tools()->Add(QStringLiteral("Say\"Hi"), mqMenu);
    const auto bar = control.toolbars()->Add(QStringLiteral("Main"));
    bar->tools()->Add(QStringLiteral("ID_New"));
    bar->tools()->Add(QStringLiteral("separator"), mqSeparator);
    bar->tools()->Add(QStringLiteral("ID_Bold"));
    bar->tools()->Add(QStringLiteral("ID_Pin"));
    bar->tools()->Add(QStringLiteral("separator"), mqSeparator);
    bar->tools()->Add(QStringLiteral("Say\"Hi"));

    GenerateToolClickCode(com::Object(bar->tools()));

    expectOnClipboard(crlf(kHeader) + crlf(kMixedCases) + crlf(kFooter));
}

TEST_F(ToolClickCodeTest, ControlWideToolsInCollectionOrderNotSorted)
{
    control.tools()->Add(QStringLiteral("Zed"), mqLabel);
    control.tools()->Add(QStringLiteral("Alpha"), mqComboBox);
    control.tools()->Add(QStringLiteral("Mid"), mqEdit);

    GenerateToolClickCode(control);

    expectOnClipboard(crlf(kHeader)
                      + crlf("        Case \"Zed\"    '(Label)\n\n"
                             "        Case \"Alpha\"    '(ComboBox)\n\n"
                             "        Case \"Mid\"    '(Edit)\n\n")
                      + crlf(kFooter));
}

TEST_F(ToolClickCodeTest, NoToolsGiveHeaderAndFooterOnly)
{
    GenerateToolClickCode(control);
    expectOnClipboard(crlf(kHeader) + crlf(kFooter));

    // A toolbar holding only separators reads the same.
    const auto bar = control.toolbars()->Add(QStringLiteral("Empty"));
    bar->tools()->Add(QStringLiteral("separator"), mqSeparator);
    forms::Clipboard::SetText(QStringLiteral("old text"));
    GenerateToolClickCode(com::Object(bar->tools()));
    expectOnClipboard(crlf(kHeader) + crlf(kFooter));
}

}  // namespace

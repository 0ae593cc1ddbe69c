// Import and export of whole configurations, the folder the file dialogs
// remember, the file choice of the copy commands, and help per tab.
#include "PanelFixture.h"

#include "barwright/panel/frmLoadToolbars.h"
#include "barwright/panel/frmLoadTools.h"
#include "platform/forms/App.h"
#include "platform/forms/CommonDialog.h"
#include "platform/forms/MsgBox.h"
#include "platform/runtime/SaveFile.h"
#include "platform/system/Registry.h"
#include "tests/support/FormTexts.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>

#include <cerrno>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

const QString kImportTitle = QStringLiteral("Import ToolBar Configuration");
const QString kOverlay = QStringLiteral(
    "Importing this configuration will overlay the current configuration.  "
    "Do you want to continue?");
const QString kDamaged = QStringLiteral(
    "Error while loading configuration - invalid or damaged configuration file.");

forms::Picture toolPicture()
{
    QImage image(16, 17, QImage::Format_RGB32);
    image.fill(0xFF00FF00);
    image.setPixel(2, 2, 0xFF800000);
    return forms::StdPicture::fromImage(image);
}

class PanelFilesTest : public PanelTest {
protected:
    // A configuration unlike the empty one: options, a shown and a hidden
    // toolbar, tools in two categories, one with a picture.
    QString writeConfiguration(const QString& path)
    {
        toolbar::MqZentribar c;
        c.setLargeIcons(true);
        c.setStyle(2);
        c.toolbars()->Add(QStringLiteral("Main"));
        c.toolbars()->Add(QStringLiteral("Spare"))->setVisible(false);
        auto save = c.tools()->Add(QStringLiteral("Save"));
        save->setCategory(QStringLiteral("File"));
        save->setPicture(toolbar::PictureState::Normal, toolPicture());
        c.tools()->Add(QStringLiteral("Cut"))->setCategory(QStringLiteral("Edit"));
        c.SaveConfiguration(path);
        return path;
    }
    static QStringList listEntries()
    {
        QStringList out;
        for (int32_t i = 0; i < panel().liTBars.ListCount(); ++i)
            out << panel().liTBars.List(i) + (panel().liTBars.Selected(i) ? "+" : "-");
        return out;
    }
    static QStringList titles()
    {
        QStringList out;
        for (const auto& box : forms::testing::shownMsgBoxes())
            out << box.title;
        return out;
    }
};

TEST_F(PanelFilesTest, ImportIntoEmptyCleanCopyAsksNothingAndShowsTheNewConfiguration)
{
    const QString file = writeConfiguration(tempPath(QStringLiteral("new.qrv")));
    start(QString());
    ASSERT_FALSE(panel().IsDirty());
    forms::testing::answerNextFileDialog(file);
    panel().cmdImport.click();

    EXPECT_THAT(forms::testing::shownMsgBoxes(), IsEmpty());
    EXPECT_THAT(listEntries(), ElementsAre("Main+", "Spare-"));
    EXPECT_EQ(panel().liTBars.ListIndex(), 0);
    EXPECT_EQ(panel().chLargeIcons.Value(), forms::vbChecked);
    EXPECT_EQ(panel().coStyle.ListIndex(), 2);
    EXPECT_TRUE(panel().tvTools.Nodes.exists(QStringLiteral("Save")));
    EXPECT_TRUE(panel().tvTools.Nodes.exists(QStringLiteral("Cut")));
    EXPECT_TRUE(panel().imlstTools.exists(QStringLiteral("Save")));
    EXPECT_EQ(panel().tvTools.Nodes.Item(QStringLiteral("Save")).Image().toString(),
              QStringLiteral("Save"));
    EXPECT_TRUE(panel().cCategories.contains(QStringLiteral("EDIT")));
    EXPECT_TRUE(panel().IsDirty());
    EXPECT_EQ(panel().importExportDir(), QFileInfo(file).absolutePath());
}

TEST_F(PanelFilesTest, ImportOverSomethingAsksTheOverlayQuestion)
{
    const QString file = writeConfiguration(tempPath(QStringLiteral("new.qrv")));
    enum What { DirtyOnly, ToolOnly, ToolbarOnly };
    for (What what : {DirtyOnly, ToolOnly, ToolbarOnly}) {
        SCOPED_TRACE(int(what));
        forms::testing::reset();
        start(QString());
        if (what == DirtyOnly)
            panel().MakeDirty(true);
        else if (what == ToolOnly)
            workingCopy().tools()->Add(QStringLiteral("Old"));
        else
            workingCopy().toolbars()->Add(QStringLiteral("Old"));

        // No: nothing is loaded.
        forms::testing::answerNextFileDialog(file);
        forms::testing::answerNextMsgBox(forms::vbNo);
        panel().cmdImport.click();
        ASSERT_EQ(forms::testing::shownMsgBoxes().size(), 1u);
        const auto& box = forms::testing::shownMsgBoxes().front();
        EXPECT_EQ(box.text, kOverlay);
        EXPECT_EQ(box.buttons, forms::vbYesNo | forms::vbQuestion);
        EXPECT_EQ(box.title, kImportTitle);
        EXPECT_EQ(workingCopy().tools()->find(QStringLiteral("Save")), nullptr);

        // Yes: the file replaces the configuration.
        forms::testing::answerNextFileDialog(file);
        forms::testing::answerNextMsgBox(forms::vbYes);
        panel().cmdImport.click();
        EXPECT_NE(workingCopy().tools()->find(QStringLiteral("Save")), nullptr);
        EXPECT_EQ(workingCopy().tools()->find(QStringLiteral("Old")), nullptr);
        EXPECT_THAT(listEntries(), ElementsAre("Main+", "Spare-"));
        EXPECT_TRUE(forms::testing::takeFailures().isEmpty());
        for (forms::Form* f : forms::Form::loadedForms())
            f->Unload();
    }
}

TEST_F(PanelFilesTest, DamagedFileShowsTheFixedMessageAndKeepsTheViewsTrue)
{
    const QString damaged = tempPath(QStringLiteral("damaged.qrv"));
    {
        QFile f(damaged);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("{ this is not a configuration");
    }
    start(sampleCopy());
    const QStringList before = listEntries();
    ASSERT_FALSE(before.isEmpty());
    panel().tabMain.setTab(1);
    const int32_t nodes = panel().tvTools.Nodes.Count();
    const bool mode = workingCopy().configMode();

    forms::testing::answerNextFileDialog(damaged);
    forms::testing::answerNextMsgBox(forms::vbYes);   // the overlay question
    forms::testing::answerNextMsgBox(forms::vbOK);
    panel().cmdImport.click();

    ASSERT_EQ(forms::testing::shownMsgBoxes().size(), 2u);
    const auto& box = forms::testing::shownMsgBoxes().back();
    EXPECT_EQ(box.text, kDamaged);
    EXPECT_EQ(box.buttons, forms::vbOKOnly);
    EXPECT_EQ(box.title, kImportTitle);
    // The control refused the file whole; the rebuilt views show what it holds.
    EXPECT_EQ(listEntries(), before);
    EXPECT_EQ(panel().tvTools.Nodes.Count(), nodes);
    EXPECT_TRUE(panel().IsDirty());
    EXPECT_EQ(workingCopy().configMode(), mode);   // switched twice, also on failure
}

TEST_F(PanelFilesTest, CancelledImportChangesNothing)
{
    start(sampleCopy());
    const QString dir = panel().importExportDir();
    forms::testing::cancelNextFileDialog();
    panel().cmdImport.click();
    EXPECT_THAT(forms::testing::shownMsgBoxes(), IsEmpty());
    EXPECT_FALSE(panel().IsDirty());
    EXPECT_EQ(panel().importExportDir(), dir);
}

TEST_F(PanelFilesTest, ExportProposesUntitledInTheLastFolderAndWritesTheFile)
{
    start(sampleCopy());
    const QString firstDir = panel().importExportDir();

    forms::testing::cancelNextFileDialog();
    panel().cmdExport.click();
    EXPECT_EQ(panel().ComDlg.FileName, QStringLiteral("Untitled.qrv"));
    EXPECT_EQ(panel().ComDlg.InitDir, firstDir);
    EXPECT_EQ(panel().ComDlg.DialogTitle, QStringLiteral("Export ToolBar Configuration"));
    EXPECT_EQ(panel().ComDlg.Flags, 0x806);
    EXPECT_EQ(panel().ComDlg.Filter, QStringLiteral("Halvorbar Configuration Files (*.qrv)|*.qrv"));

    QDir(tempPath({})).mkpath(QStringLiteral("out"));
    const QString target = tempPath(QStringLiteral("out/saved.qrv"));
    forms::testing::answerNextFileDialog(target);
    panel().cmdExport.click();
    EXPECT_THAT(forms::testing::shownMsgBoxes(), IsEmpty());
    toolbar::MqZentribar copy;
    copy.LoadConfiguration(target);
    EXPECT_EQ(copy.tools()->Count(), workingCopy().tools()->Count());
    EXPECT_EQ(copy.toolbars()->Count(), workingCopy().toolbars()->Count());
    EXPECT_FALSE(panel().IsDirty());   // export neither marks nor clears

    // The next dialog, of any command, opens where the last file was chosen.
    forms::testing::cancelNextFileDialog();
    panel().cmdLoadTool.click();
    EXPECT_EQ(panel().ComDlg.InitDir, QFileInfo(target).absolutePath());
    EXPECT_EQ(panel().ComDlg.Flags, 0x1004);
    EXPECT_EQ(panel().ComDlg.DialogTitle, QStringLiteral("Load Tools From Configuration"));
    EXPECT_EQ(panel().ComDlg.Filter,
              QStringLiteral("Halvorbar Configuration Files (*.qrv)|*.qrv|All Files (*.*)|*.*"));
}

TEST_F(PanelFilesTest, ExportFailureReportsTheErrorAndKeepsTheDirtyFlag)
{
    start(sampleCopy());
    panel().MakeDirty(true);
    forms::testing::answerNextFileDialog(tempPath(QStringLiteral("missing/dir/x.qrv")));
    forms::testing::answerNextMsgBox(forms::vbOK);
    panel().cmdExport.click();
    ASSERT_EQ(forms::testing::shownMsgBoxes().size(), 1u);
    const auto& box = forms::testing::shownMsgBoxes().front();
    EXPECT_FALSE(box.text.isEmpty());
    EXPECT_EQ(box.title, QStringLiteral("Export ToolBar Configuration"));
    EXPECT_TRUE(panel().IsDirty());

    // Over an earlier export, on a disk that fills at the last byte: the
    // cause is said and the earlier file stays, alone.
    const QString earlier = sampleCopy(QStringLiteral("exported.qrv"));
    const QByteArray before = bytesOf(earlier);
    const QDir folder = QFileInfo(earlier).dir();
    const auto files = [&] {
        return folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    };
    const QStringList filesBefore = files();
    forms::testing::reset();
    forms::testing::answerNextFileDialog(earlier);
    forms::testing::answerNextMsgBox(forms::vbOK);
    rt::testing::failSaveWrites(ENOSPC, workingCopy().SaveConfigurationEx().size() - 1);
    panel().cmdExport.click();
    rt::testing::failSaveWrites(0);
    ASSERT_EQ(forms::testing::shownMsgBoxes().size(), 1u);
    EXPECT_EQ(forms::testing::shownMsgBoxes().front().text,
              "Cannot save the configuration to '" + earlier + "': No space left on device");
    EXPECT_EQ(bytesOf(earlier), before);
    EXPECT_EQ(files(), filesBefore);
}

// The copy commands: a cancelled dialog changes nothing; a copy shows at
// once in the lists and marks the configuration changed.
TEST_F(PanelFilesTest, CopyCommandsRebuildTheViewsAfterACopy)
{
    const QString file = writeConfiguration(tempPath(QStringLiteral("other.qrv")));
    start(QString());

    forms::testing::answerNextFileDialog(file);
    forms::testing::answerNextModal<frmLoadToolbars>(
        [](frmLoadToolbars& f) { f.cmdCxl.click(); });
    panel().cmdLoadTBar.click();
    EXPECT_EQ(panel().ComDlg.DialogTitle, QStringLiteral("Load ToolBars From Configuration"));
    EXPECT_EQ(panel().liTBars.ListCount(), 0);
    EXPECT_FALSE(panel().IsDirty());
    EXPECT_FALSE(frmLoadToolbars::get().isLoaded());

    forms::testing::answerNextFileDialog(file);
    forms::testing::answerNextModal<frmLoadToolbars>([](frmLoadToolbars& f) {
        expectWholeAndDistinct(f, QStringLiteral("load toolbars"));
        f.cmdSelectAll.click();
        f.cmdOK.click();
    });
    panel().cmdLoadTBar.click();
    EXPECT_THAT(listEntries(), ElementsAre("Main+", "Spare-"));
    EXPECT_EQ(panel().liTBars.ListIndex(), 0);
    EXPECT_TRUE(panel().IsDirty());

    forms::testing::answerNextFileDialog(file);
    forms::testing::answerNextModal<frmLoadTools>([](frmLoadTools& f) {
        expectWholeAndDistinct(f, QStringLiteral("load tools"));
        f.cmdSelectAll.click();
        f.cmdOK.click();
    });
    panel().cmdLoadTool.click();
    EXPECT_TRUE(panel().tvTools.Nodes.exists(QStringLiteral("Save")));
    EXPECT_TRUE(panel().tvTools.Nodes.exists(QStringLiteral("Cut")));
    EXPECT_TRUE(panel().imlstTools.exists(QStringLiteral("Save")));
    EXPECT_THAT(forms::testing::shownModalForms(),
                ElementsAre("frmLoadToolbars", "frmLoadToolbars", "frmLoadTools"));
}

TEST_F(PanelFilesTest, HelpOpensTheTopicOfTheCurrentTab)
{
    start(QString());
    forms::App::setHelpFile(QStringLiteral(BW_SOURCE_DIR "/help/MQRYX.HLP"));
    for (int16_t tab : {1, 2, 0}) {
        panel().tabMain.setTab(tab);
        panel().cmdHelp.click();
    }
    const auto& shown = forms::testing::shownHelp();
    ASSERT_EQ(shown.size(), 3u);
    const int32_t ids[] = {2100, 2200, 2000};
    for (size_t i = 0; i < shown.size(); ++i) {
        SCOPED_TRACE(ids[i]);
        EXPECT_EQ(shown[i].command, forms::cdlHelpContext);
        EXPECT_EQ(shown[i].context, ids[i]);
        EXPECT_FALSE(shown[i].topicTitle.isEmpty());
    }

    forms::App::setHelpFile(QString());
    panel().cmdHelp.click();
    EXPECT_EQ(forms::testing::shownHelp().size(), 3u);
}

// The folder registered as scripts/register-help does is where the
// connection finds the help file.
TEST_F(PanelFilesTest, RegisteredHelpFolderIsUsedAfterConnecting)
{
    sys::HKEY key = 0;
    uint32_t disposition = 0;
    ASSERT_EQ(sys::RegCreateKeyExA(sys::HKEY_CLASSES_ROOT,
                                   "Quenbrix.Halvorbar.ActiveX\\Version5\\HelpFileDir", 0, {},
                                   0, sys::KEY_ALL_ACCESS, nullptr, &key, &disposition),
              0);
    const QByteArray dir = QByteArrayLiteral(BW_SOURCE_DIR "/help");
    ASSERT_EQ(sys::RegSetValueExA(key, {}, 0, sys::REG_SZ, dir, uint32_t(dir.size())), 0);
    sys::RegCloseKey(key);

    start(QString());
    EXPECT_EQ(forms::App::HelpFile(), QStringLiteral(BW_SOURCE_DIR "/help/MQRYX.HLP"));
    panel().tabMain.setTab(2);
    panel().cmdHelp.click();
    ASSERT_EQ(forms::testing::shownHelp().size(), 1u);
    EXPECT_EQ(forms::testing::shownHelp().front().context, 2200);
    EXPECT_EQ(forms::testing::shownHelp().front().topicTitle,
              QStringLiteral("Control Panel: Options"));
}

TEST(HelpFile, HasATopicForEveryContextId)
{
    const auto topics = forms::help::readHelpFile(QStringLiteral(BW_SOURCE_DIR "/help/MQRYX.HLP"));
    QList<int32_t> ids;
    for (const auto& t : topics) {
        ids << t.id;
        EXPECT_FALSE(t.body.isEmpty()) << t.id;
    }
    EXPECT_THAT(ids, ElementsAre(2000, 2100, 2200, 4000, 4100, 4200));
}

}  // namespace

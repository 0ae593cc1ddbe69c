// Apply, OK and Cancel between the working copy and the client control, the
// pending configuration file, and the dirty flag kept from change events.
#include "PanelFixture.h"

#include "barwright/connection/RYXMain.h"
#include "barwright/connection/mGlobals.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/Window.h"
#include "platform/runtime/SaveFile.h"
#include "platform/system/Process.h"
#include "tests/support/FifoWatch.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>

using ::testing::HasSubstr;

namespace {

const QString kQuestion = QStringLiteral(
    "You have made changes to the control's configuration that haven't been saved.  "
    "\r\n\r\nWould you like to save these changes now?");

std::unique_ptr<toolbar::MqZentribar> fileContent(const QString& path)
{
    auto c = std::make_unique<toolbar::MqZentribar>();
    c->LoadConfiguration(path);
    return c;
}

}  // namespace

TEST_F(PanelTest, ApplyMarksTheNameAndWritesTheFile)
{
    const QString file = sampleCopy();
    start(file);
    ASSERT_TRUE(panel().isLoaded());
    EXPECT_FALSE(panel().IsDirty());
    EXPECT_FALSE(panel().cmdApply.Enabled());

    panel().chLargeIcons.click();
    ASSERT_TRUE(panel().IsDirty());
    panel().cmdApply.click();

    const QString arg = host().client().lastLoadArgument();
    ASSERT_EQ(arg.size(), 260);
    const qsizetype nul = arg.indexOf(QChar(0));
    ASSERT_GT(nul, 0);
    EXPECT_EQ(arg.mid(nul + 1, 7), QStringLiteral("!KTWD!") + QChar(0));
    EXPECT_EQ(arg.mid(nul + 8), QString(260 - nul - 8, QChar(0)));
    EXPECT_TRUE(QFileInfo(arg.left(nul)).fileName().startsWith(QStringLiteral("~MQ")));
    EXPECT_FALSE(panel().IsDirty());
    EXPECT_FALSE(panel().cmdApply.Enabled());
    EXPECT_TRUE(fileContent(file)->LargeIcons());
    EXPECT_FALSE(host().finished());   // the panel stays open
}

TEST_F(PanelTest, OkHandsTheNameWithoutMarkerAndEnds)
{
    const QString file = sampleCopy();
    start(file);
    panel().coStyle.choose(0);
    panel().cmdOK.click();

    const QString arg = host().client().lastLoadArgument();
    ASSERT_EQ(arg.size(), 260);
    const qsizetype nul = arg.indexOf(QChar(0));
    EXPECT_EQ(arg.mid(nul), QString(260 - nul, QChar(0)));
    EXPECT_FALSE(host().client().lastHadMarker());
    EXPECT_EQ(fileContent(file)->Style(), 0);
    EXPECT_TRUE(host().finished());
    EXPECT_FALSE(panel().isLoaded());
    EXPECT_FALSE(frmPreview::get().isLoaded());
}

TEST_F(PanelTest, NoHandoverFileStaysInTheTemporaryFolder)
{
    QTemporaryDir temp;
    struct UseTemporaryFolder {
        explicit UseTemporaryFolder(const QString& path) : saved(qgetenv("TMPDIR"))
        {
            qputenv("TMPDIR", path.toLocal8Bit());
        }
        ~UseTemporaryFolder()
        {
            if (saved.isNull())
                qunsetenv("TMPDIR");
            else
                qputenv("TMPDIR", saved);
        }
        QByteArray saved;
    } useTemp(temp.path());
    const auto handoverFiles = [&] {
        return QDir(temp.path()).entryList({QStringLiteral("~MQ*")},
                                           QDir::Files | QDir::Hidden | QDir::System);
    };

    const QString file = sampleCopy();
    start(file);
    panel().chLargeIcons.click();
    panel().cmdApply.click();
    panel().chLargeIcons.click();
    panel().cmdApply.click();
    EXPECT_EQ(host().client().handedArguments().size(), 2);
    EXPECT_THAT(handoverFiles(), ::testing::IsEmpty()) << "after Apply";

    // The disk fills at the last byte of the hand-over file: the cause is
    // said, nothing is handed over or left, and Apply stays to try again.
    const QByteArray saved = bytesOf(file);
    const bool large = fileContent(file)->LargeIcons();
    panel().chLargeIcons.click();
    const QByteArray doc = frmPreview::get().tbarPreview.control()->SaveConfigurationEx();
    rt::testing::failSaveWrites(ENOSPC, doc.size() - 1);
    forms::testing::answerNextMsgBox(forms::vbOK);
    panel().cmdApply.click();
    rt::testing::failSaveWrites(0);
    ASSERT_EQ(forms::testing::shownMsgBoxes().size(), 1u);
    const auto& box = forms::testing::shownMsgBoxes().front();
    EXPECT_EQ(box.title, QStringLiteral("Save Control Properties"));
    EXPECT_THAT(box.text.toStdString(), HasSubstr(": No space left on device"));
    EXPECT_EQ(host().client().handedArguments().size(), 2);
    EXPECT_TRUE(panel().IsDirty());
    EXPECT_TRUE(panel().cmdApply.Enabled());
    EXPECT_EQ(bytesOf(file), saved);
    EXPECT_THAT(handoverFiles(), ::testing::IsEmpty()) << "after a full disk";
    panel().cmdApply.click();   // room again
    EXPECT_FALSE(panel().cmdApply.Enabled());
    EXPECT_EQ(fileContent(file)->LargeIcons(), !large);

    panel().chShowTooltips.click();
    forms::testing::answerNextMsgBox(forms::vbYes);
    panel().cmdCxl.click();
    ASSERT_TRUE(host().finished());
    EXPECT_EQ(host().client().handedArguments().size(), 4);
    EXPECT_THAT(handoverFiles(), ::testing::IsEmpty()) << "after Cancel";

    start(sampleCopy());
    panel().cmdOK.click();
    ASSERT_TRUE(host().finished());
    EXPECT_EQ(host().client().handedArguments().size(), 1);
    EXPECT_THAT(handoverFiles(), ::testing::IsEmpty()) << "after OK";
    EXPECT_THAT(QDir(temp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                ::testing::IsEmpty());
}

TEST_F(PanelTest, CancelWhenCleanEndsWithoutQuestion)
{
    const QString file = sampleCopy();
    const QByteArray before = bytesOf(file);
    start(file);
    panel().cmdCxl.click();
    EXPECT_TRUE(forms::testing::shownMsgBoxes().empty());
    EXPECT_TRUE(host().finished());
    EXPECT_TRUE(host().client().handedArguments().isEmpty());
    EXPECT_EQ(bytesOf(file), before);
}

TEST_F(PanelTest, CancelWhenDirtyAsksAndFollowsTheAnswer)
{
    struct Case {
        int16_t answer;
        bool applied;
        bool ended;
    };
    for (const Case c : {Case{forms::vbYes, true, true}, Case{forms::vbNo, false, true},
                         Case{forms::vbCancel, false, false}}) {
        SCOPED_TRACE(c.answer);
        forms::testing::reset();
        const QString file = sampleCopy();
        const QByteArray before = bytesOf(file);
        start(file);
        panel().chShowShortcuts.click();
        forms::testing::answerNextMsgBox(c.answer);
        panel().cmdCxl.click();

        ASSERT_EQ(forms::testing::shownMsgBoxes().size(), 1u);
        const auto& box = forms::testing::shownMsgBoxes().front();
        EXPECT_EQ(box.text, kQuestion);
        EXPECT_EQ(box.title, QStringLiteral("Halvorbar"));
        EXPECT_EQ(box.buttons,
                  forms::vbYesNoCancel | forms::vbQuestion | forms::vbDefaultButton3);
        EXPECT_EQ(host().finished(), c.ended);
        EXPECT_EQ(host().client().handedArguments().size(), c.applied ? 1 : 0);
        if (c.applied) {
            EXPECT_FALSE(host().client().lastHadMarker());
            EXPECT_TRUE(fileContent(file)->ShowShortcuts());
        } else {
            EXPECT_EQ(bytesOf(file), before);   // byte for byte
        }
        if (!c.ended) {
            EXPECT_TRUE(panel().isLoaded());
            EXPECT_TRUE(panel().IsDirty());
        }
        for (forms::Form* f : forms::Form::loadedForms())
            f->Unload();
    }
}

TEST_F(PanelTest, CloseBoxActsAsCancelFiftyMillisecondsLater)
{
    const QString file = sampleCopy();
    start(file);
    panel().MakeDirty(true);
    forms::testing::answerNextMsgBox(forms::vbNo);
    panel().window()->window()->close();
    EXPECT_TRUE(panel().isLoaded());   // not closed at once
    EXPECT_TRUE(forms::testing::shownMsgBoxes().empty());
    ASSERT_TRUE(forms::testing::waitUntil([&] { return host().finished(); }));
    ASSERT_EQ(forms::testing::shownMsgBoxes().size(), 1u);
    EXPECT_EQ(forms::testing::shownMsgBoxes().front().text, kQuestion);
    EXPECT_FALSE(panel().isLoaded());
}

TEST_F(PanelTest, PreviewCloseBoxAlsoGoesThroughCancel)
{
    start(sampleCopy());
    frmPreview::get().window()->window()->close();
    EXPECT_TRUE(frmPreview::get().isLoaded());
    ASSERT_TRUE(forms::testing::waitUntil([&] { return host().finished(); }));
    EXPECT_FALSE(frmPreview::get().isLoaded());
}

TEST_F(PanelTest, DragDirtiesOnlyWhenThePositionChanged)
{
    start(sampleCopy());
    const com::Object bar(workingCopy().toolbars()->Item(QStringLiteral("Standard")));
    for (const bool dirtyBefore : {false, true}) {
        panel().MakeDirty(dirtyBefore);
        panel().ToolBarModified(toolbar::change::DragBegins, bar, {});
        panel().ToolBarModified(toolbar::change::DragEnds, bar, {});
        EXPECT_EQ(panel().IsDirty(), dirtyBefore);
    }
    panel().MakeDirty(false);
    panel().ToolBarModified(toolbar::change::DragEnds, bar, {});   // no drag begun
    EXPECT_FALSE(panel().IsDirty());
    panel().ToolBarModified(toolbar::change::DragBegins, bar, {});
    bar.let(QStringLiteral("PositionState2"), rt::Variant(int16_t(3)));
    panel().ToolBarModified(toolbar::change::DragEnds, bar, {});
    EXPECT_TRUE(panel().IsDirty());
}

TEST_F(PanelTest, HiddenToolbarClearsItsEntryFoundWithoutCase)
{
    start(sampleCopy());
    auto bar = workingCopy().toolbars()->Item(QStringLiteral("Formatting"));
    const int32_t entry = bar->Index() - 1;
    ASSERT_TRUE(panel().liTBars.Selected(entry));
    bar->setVisible(false);   // the working copy raises change 0
    EXPECT_EQ(panel().liTBars.ListIndex(), entry);
    EXPECT_FALSE(panel().liTBars.Selected(entry));
    EXPECT_TRUE(panel().IsDirty());
    // While the container flag is off, only change 0 is handled.
    panel().MakeDirty(false);
    workingCopy().setContainerFlag(false);
    bar->setVisible(true);
    EXPECT_FALSE(panel().IsDirty());
    workingCopy().setContainerFlag(true);
}

TEST_F(PanelTest, PendingConfigurationFileIsDeletedAfterLoading)
{
    for (const bool damaged : {false, true}) {
        SCOPED_TRACE(damaged);
        forms::testing::reset();
        const QString pending = sampleCopy(QStringLiteral("pending.qrv"));
        if (damaged) {
            QFile f(pending);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write("{ not a configuration");
            forms::testing::answerNextMsgBox(forms::vbOK);
        }
        toolbar::ClientHost client{QString()};
        auto main = RYXMain::create();
        rt::Variant caller = client.object().toVariant();
        QString eventName;
        main->Connect(caller, eventName);
        main->LoadFromFile(pending);

        EXPECT_FALSE(QFileInfo::exists(pending));
        EXPECT_EQ(workingCopy().tools()->Count() > 0, !damaged);
        if (damaged) {
            ASSERT_EQ(forms::testing::shownMsgBoxes().size(), 1u);
            EXPECT_EQ(forms::testing::shownMsgBoxes().front().title,
                      QStringLiteral("Load Control Properties"));
        }
        EXPECT_EQ(forms::GetPropA(panel().hWnd(), QStringLiteral("RYXMAINPROCESSID")),
                  sys::CoGetCurrentProcess());
        for (forms::Form* f : forms::Form::loadedForms())
            f->Unload();
        main->NotifyExiting();
    }
}

TEST_F(PanelTest, UnreadableFileGivesAnEmptyWorkingCopyAndStaysUntouched)
{
    struct Case {
        const char* name;
        QByteArray content;   // null: the file does not exist
        const char* says;
    };
    const Case cases[] = {
        {"missing", QByteArray(), "was not found"},
        {"empty", QByteArray(""), "empty.qrv"},
        {"damaged", QByteArray("{\"format\": \"something else\"}"), "damaged.qrv"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        forms::testing::reset();
        const QString file = tempPath(QString::fromLatin1(c.name) + QStringLiteral(".qrv"));
        if (!c.content.isNull()) {
            QFile f(file);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(c.content);
        }
        forms::testing::answerNextMsgBox(forms::vbOK);
        start(file);
        ASSERT_EQ(forms::testing::shownMsgBoxes().size(), 1u);
        const auto& box = forms::testing::shownMsgBoxes().front();
        EXPECT_EQ(box.title, QStringLiteral("Load Control Properties"));
        EXPECT_THAT(box.text.toStdString(), HasSubstr(c.says));
        EXPECT_EQ(workingCopy().tools()->Count(), 0);
        EXPECT_EQ(workingCopy().toolbars()->Count(), 0);
        EXPECT_TRUE(frmPreview::get().picDummyToolbar.Visible());

        panel().cmdCxl.click();   // clean: no question, nothing written
        EXPECT_TRUE(host().finished());
        EXPECT_EQ(QFileInfo::exists(file), !c.content.isNull());
        if (!c.content.isNull()) {
            EXPECT_EQ(bytesOf(file), c.content);
        }
    }
}

TEST_F(PanelTest, PipeOrFolderGivenAsTheFileIsReportedWithoutWaiting)
{
    const QString pipe = tempPath(QStringLiteral("pipe.qrv"));
    ASSERT_TRUE(bwtest::makeFifo(pipe.toStdString()));
    const QString folder = tempPath(QStringLiteral("folder.qrv"));
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const auto& [file, says] : {std::pair{pipe, "is not a regular file"},
                                     std::pair{folder, "is a folder"}}) {
        SCOPED_TRACE(says);
        forms::testing::reset();
        forms::testing::answerNextMsgBox(forms::vbOK);
        {
            bwtest::FifoWatch watch(pipe.toStdString());
            start(file);
            EXPECT_FALSE(watch.released()) << "reading the pipe blocked";
        }
        ASSERT_EQ(forms::testing::shownMsgBoxes().size(), 1u);
        EXPECT_THAT(forms::testing::shownMsgBoxes().front().text.toStdString(),
                    HasSubstr(says));
        EXPECT_EQ(workingCopy().tools()->Count(), 0);
        panel().cmdCxl.click();
        EXPECT_TRUE(host().finished());
    }
    EXPECT_FALSE(QFileInfo(pipe).isFile());
    EXPECT_TRUE(QFileInfo(folder).isDir());
}

TEST_F(PanelTest, ApplyAfterAnUnreadableFileWritesIt)
{
    const QString file = tempPath(QStringLiteral("new.qrv"));
    forms::testing::answerNextMsgBox(forms::vbOK);
    start(file);
    workingCopy().toolbars()->Add(QStringLiteral("Main"));
    panel().cmdApply.click();
    EXPECT_EQ(fileContent(file)->toolbars()->Count(), 1);
}

TEST_F(PanelTest, ApplyAfterADamagedFileKeepsItBesideTheNewOne)
{
    const QString file = tempPath(QStringLiteral("damaged.qrv"));
    const QByteArray damaged("{\"format\": \"Zentribar configuration\", \"version\": 1, \"tools\": 7}");
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(damaged);
    }
    forms::testing::answerNextMsgBox(forms::vbOK);   // the reason it was not loaded
    start(file);
    workingCopy().toolbars()->Add(QStringLiteral("Main"));
    forms::testing::answerNextMsgBox(forms::vbOK);   // where it was kept
    panel().cmdApply.click();
    EXPECT_EQ(fileContent(file)->toolbars()->Count(), 1);
    EXPECT_EQ(bytesOf(file + QStringLiteral(".damaged")), damaged);
    ASSERT_EQ(forms::testing::shownMsgBoxes().size(), 2u);
    EXPECT_THAT(forms::testing::shownMsgBoxes().back().text.toStdString(),
                HasSubstr("damaged.qrv.damaged"));
}

TEST_F(PanelTest, ApplyWithoutATemporaryFolderReportsAndStaysDirty)
{
    start(sampleCopy());
    panel().chLargeIcons.click();
    // A file where the temporary folder should be: no name can be made in it.
    const QString notAFolder = tempPath(QStringLiteral("not-a-folder"));
    QFile f(notAFolder);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    const QByteArray tmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", notAFolder.toLocal8Bit());
    forms::testing::answerNextMsgBox(forms::vbOK);
    panel().cmdApply.click();
    qputenv("TMPDIR", tmp);
    if (tmp.isNull())
        qunsetenv("TMPDIR");

    ASSERT_EQ(forms::testing::shownMsgBoxes().size(), 1u);
    const auto& box = forms::testing::shownMsgBoxes().front();
    EXPECT_EQ(box.text, QStringLiteral("Unable to create temporary file."));
    EXPECT_EQ(box.title, QStringLiteral("Save Control Properties"));
    EXPECT_EQ(box.buttons, forms::vbOKOnly);
    EXPECT_TRUE(host().client().handedArguments().isEmpty());
    EXPECT_TRUE(panel().IsDirty());
    EXPECT_TRUE(panel().cmdApply.Enabled());
    EXPECT_FALSE(panel().applied());
}

TEST_F(PanelTest, ClientHiddenAtLoadIsHiddenAgainOnlyAfterAnApply)
{
    for (const bool apply : {false, true}) {
        SCOPED_TRACE(apply);
        forms::testing::reset();
        start(sampleCopy());
        panel().cmdCxl.click();
        // A client control that is invisible at design time.
        host().client().control()->setVisible(false);
        auto main = RYXMain::create();
        rt::Variant caller = host().client().object().toVariant();
        QString eventName;
        main->Connect(caller, eventName);
        main->LoadFromFile(QString());
        EXPECT_FALSE(panel().workingCopyVisibleAtLoad());
        EXPECT_TRUE(workingCopy().Visible());
        if (apply) {
            panel().chLargeIcons.click();
            panel().cmdApply.click();
            EXPECT_TRUE(host().client().control()->Visible());   // the working copy's
        }
        panel().cmdCxl.click();
        EXPECT_FALSE(panel().isLoaded());
        EXPECT_FALSE(host().client().control()->Visible());
    }
}

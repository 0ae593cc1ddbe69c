#include "ConnectionFixture.h"

#include "barwright/connection/CReg.h"
#include "barwright/connection/RYXMain.h"
#include "barwright/picture/mDrawParams.h"
#include "platform/forms/App.h"
#include "platform/forms/MsgBox.h"
#include "platform/runtime/Error.h"
#include "platform/system/Events.h"
#include "platform/system/Process.h"

#include <QProcess>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

const QString kRefused = QStringLiteral("Invalid connect attempt.  Connect cancelled.");

struct Client {
    std::shared_ptr<FakeObject> object = FakeObject::make();
    int exitingCalls = 0;

    // testProgram: nullopt leaves CallerIsVBTestPgm undefined.
    explicit Client(std::optional<bool> testProgram = false)
    {
        if (testProgram)
            object->defineProperty(QStringLiteral("CallerIsVBTestPgm"), com::DispidUnknown,
                                   [v = *testProgram](com::Args&) { return rt::Variant(v); });
        object->defineMethod(QStringLiteral("ConfigUtilityExiting"), com::DispidUnknown,
                             [this](com::Args&) {
                                 ++exitingCalls;
                                 return rt::Variant();
                             });
    }
    rt::Variant variant() const { return rt::Variant(rt::ObjectRef(object)); }
};

MATCHER(IsTheRefusal, "")
{
    return arg.text == kRefused && arg.buttons == (forms::vbCritical | forms::vbOKOnly)
           && arg.title == QStringLiteral("Halvorbar Configuration Utility");
}

}  // namespace

using Connection = ConnectionFixture;

TEST_F(Connection, NothingCallersAreRefusedWithTheMessage)
{
    const std::vector<rt::Variant> callers = {rt::Variant(), rt::Variant::null(),
                                              rt::Variant::nothing(),
                                              rt::Variant(QStringLiteral("not an object"))};
    for (const rt::Variant& c : callers) {
        SCOPED_TRACE(c.typeName().toStdString());
        forms::testing::clearShown();
        auto main = RYXMain::create();
        rt::Variant caller = c;
        QString name = QStringLiteral("unchanged");
        forms::testing::answerNextMsgBox(forms::vbOK);
        main->Connect(caller, name);
        EXPECT_THAT(forms::testing::shownMsgBoxes(), ElementsAre(IsTheRefusal()));
        EXPECT_EQ(name, QStringLiteral("unchanged"));
        EXPECT_FALSE(mGlobals::gRYXMain);
        EXPECT_TRUE(mGlobals::gControl.isNothing());
        EXPECT_FALSE(main->CheckStatus());
    }
}

TEST_F(Connection, AnOrdinaryCallerGetsTheCloseEventThatAnotherProcessWaitsOn)
{
    Client client;
    auto main = RYXMain::create();
    rt::Variant caller = client.variant();
    QString name;
    main->Connect(caller, name);
    EXPECT_THAT(forms::testing::shownMsgBoxes(), IsEmpty());
    const QString expected =
        QStringLiteral("RYX Close") + QString::number(sys::CoGetCurrentProcess());
    EXPECT_EQ(name, expected);
    EXPECT_TRUE(main->CheckStatus());
    EXPECT_EQ(mGlobals::gRYXMain, main);
    EXPECT_EQ(mGlobals::gControl.ptr(), client.object);

    QProcess waiter;
    waiter.start(QStringLiteral(BW_SYSTEM_PROBE),
                 {QStringLiteral("wait-event"), name, QStringLiteral("20000")});
    ASSERT_TRUE(waiter.waitForReadyRead(10000));
    ASSERT_EQ(waiter.readLine().trimmed(), "opened");
    EXPECT_FALSE(waiter.waitForFinished(200));

    mDrawParams::gPicWidth = 24;
    main->NotifyExiting();
    ASSERT_TRUE(waiter.waitForFinished(10000));
    EXPECT_EQ(waiter.exitCode(), 0);
    EXPECT_EQ(waiter.readAll().trimmed(), "signalled");
    EXPECT_FALSE(main->CheckStatus());
    EXPECT_TRUE(mGlobals::gControl.isNothing());
    EXPECT_EQ(client.exitingCalls, 0);

    // The entry object stays recorded: a further Connect is refused.
    rt::Variant again = client.variant();
    QString name2 = QStringLiteral("kept");
    forms::testing::answerNextMsgBox(forms::vbOK);
    main->Connect(again, name2);
    EXPECT_THAT(forms::testing::shownMsgBoxes(), ElementsAre(IsTheRefusal()));
    EXPECT_EQ(name2, QStringLiteral("kept"));
    EXPECT_EQ(mGlobals::gRYXMain, main);
}

TEST_F(Connection, ACallerWithoutTheTestFlagIsAnOrdinaryCaller)
{
    Client client(std::nullopt);
    auto main = RYXMain::create();
    rt::Variant caller = client.variant();
    QString name;
    main->Connect(caller, name);
    EXPECT_TRUE(main->CheckStatus());
    EXPECT_TRUE(name.startsWith(QStringLiteral("RYX Close")));
    EXPECT_EQ(rt::Err().Number, 0);   // the failed read leaves no error behind
    main->NotifyExiting();
}

TEST_F(Connection, ATestProgramGetsNoEventAndIsToldByCall)
{
    Client client(true);
    auto main = RYXMain::create();
    rt::Variant caller = client.variant();
    QString name = QStringLiteral("as passed");
    main->Connect(caller, name);
    EXPECT_EQ(name, QStringLiteral("as passed"));
    EXPECT_FALSE(main->CheckStatus());
    EXPECT_EQ(sys::OpenEventA(sys::SYNCHRONIZE, false, RYXMain::closeEventName()), 0);
    main->NotifyExiting();
    EXPECT_EQ(client.exitingCalls, 1);
    EXPECT_TRUE(mGlobals::gControl.isNothing());
}

TEST_F(Connection, CreationResetsTheStateAndAcceptsANewConnection)
{
    Client first(true);
    auto main = RYXMain::create();
    rt::Variant caller = first.variant();
    QString name;
    main->Connect(caller, name);
    mGlobals::gConfigFile = QStringLiteral("/tmp/config.qrv");   // as LoadFromFile leaves it
    mGlobals::gShowNonStdColorMsg = false;
    mGlobals::gConvertNonStd = true;
    mGlobals::gAnswer = 7;
    mDrawParams::gMaskColor = 5;
    mDrawParams::gCurrentToolID = QStringLiteral("id_pencil");
    mDrawParams::gPicHeight = 32;

    auto next = RYXMain::create();
    EXPECT_FALSE(mGlobals::gRYXMain);
    EXPECT_TRUE(mGlobals::gControl.isNothing());
    EXPECT_EQ(mGlobals::gConfigFile, QString());
    EXPECT_EQ(mGlobals::gCRLF, QStringLiteral("\r\n"));
    EXPECT_TRUE(mGlobals::gShowNonStdColorMsg);
    EXPECT_TRUE(mGlobals::gConvertNonStd);   // kept for the whole run
    EXPECT_EQ(mGlobals::gAnswer, 7);
    EXPECT_EQ(mDrawParams::gMaskColor, -1);
    EXPECT_EQ(mDrawParams::gCurrentToolID, QString());
    EXPECT_EQ(mDrawParams::gPicHeight, 16);
    mGlobals::gConvertNonStd = false;
    mGlobals::gAnswer = 0;

    Client second;
    rt::Variant caller2 = second.variant();
    next->Connect(caller2, name);
    EXPECT_THAT(forms::testing::shownMsgBoxes(), IsEmpty());
    EXPECT_TRUE(next->CheckStatus());
    next->NotifyExiting();
}

TEST_F(Connection, ReconnectingAfterAResetGivesTheOldEventBack)
{
    Client client;
    auto first = RYXMain::create();
    rt::Variant caller = client.variant();
    QString name;
    first->Connect(caller, name);
    ASSERT_TRUE(first->CheckStatus());

    auto second = RYXMain::create();   // resets the state; `first` may connect again
    first->Connect(caller, name);
    EXPECT_TRUE(first->CheckStatus());
    first->NotifyExiting();
    // No handle of this process is left open, so the name is gone.
    EXPECT_EQ(sys::OpenEventA(sys::SYNCHRONIZE, false, name), 0);
    EXPECT_THAT(forms::testing::shownMsgBoxes(), IsEmpty());
}

TEST_F(Connection, MembersAnswerByNameWithByReferenceArguments)
{
    Client client;
    auto main = RYXMain::create();
    com::Object entry(main);
    com::Args args{client.variant(), rt::Variant(QString())};
    entry.call(QStringLiteral("Connect"), args);
    EXPECT_EQ(args[1].toString(), RYXMain::closeEventName());
    EXPECT_TRUE(entry.get(QStringLiteral("CheckStatus")).toBool());
    EXPECT_TRUE(entry.call(RYXMain::DispidCheckStatus).toBool());
    // LoadFromFile opens the windows; the panel's tests drive it.
    EXPECT_TRUE(main->hasMember(QStringLiteral("LoadFromFile")));
    main->NotifyExiting();
    EXPECT_FALSE(entry.get(QStringLiteral("CheckStatus")).toBool());
}

TEST_F(Connection, TheHelpFileComesFromTheProductKey)
{
    Client client(true);
    {
        auto main = RYXMain::create();
        rt::Variant caller = client.variant();
        QString name;
        main->Connect(caller, name);
        EXPECT_EQ(forms::App::HelpFile(), QStringLiteral("/MQRYX.HLP"));
    }
    CReg root;
    auto dir = root.CreateKey(QStringLiteral("Quenbrix.Halvorbar.ActiveX"))
                   ->CreateKey(QStringLiteral("Version5"))
                   ->CreateKey(QStringLiteral("HelpFileDir"));
    ASSERT_TRUE(dir->SetValue(QString(), QStringLiteral("/opt/halvorbar/help")));
    auto main = RYXMain::create();
    rt::Variant caller = client.variant();
    QString name;
    main->Connect(caller, name);
    EXPECT_EQ(forms::App::HelpFile(), QStringLiteral("/opt/halvorbar/help/MQRYX.HLP"));
}

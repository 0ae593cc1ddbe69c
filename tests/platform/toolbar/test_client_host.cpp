// The stand-in client control: what the utility hands it and what it keeps.
#include "ToolbarTestSupport.h"

#include "platform/forms/MsgBox.h"
#include "platform/forms/Testing.h"
#include "platform/toolbar/ClientHost.h"
#include "tests/support/FileBytes.h"

#include <gmock/gmock.h>

using namespace toolbar;
using ::testing::HasSubstr;

namespace {

using bwtest::fileBytes;

QString handover(const QString& path, bool marker)
{
    QString name = path + QChar(0);
    if (marker)
        name += QStringLiteral("!KTWD!") + QChar(0);
    return name + QString(260 - name.size(), QChar(0));
}

TEST(ToolbarClientHost, LoadsWhatItIsHandedAndWritesItBackToItsFile)
{
    QTemporaryDir dir;
    const QString bound = dir.filePath("form.qrv");
    {
        auto first = std::make_shared<MqZentribar>();
        first->tools()->Add("ID_Before");
        first->SaveConfiguration(bound);
    }
    ClientHost host(bound);
    EXPECT_EQ(host.control()->tools()->Item(1)->ID(), "ID_Before");

    auto utility = std::make_shared<MqZentribar>();
    toolbar::testing::buildEverything(*utility);
    const QString temp = dir.filePath("~MQ1.tmp");
    utility->SaveConfiguration(temp);
    const QString arg = handover(temp, true);
    host.object().call("LoadConfiguration", {rt::Variant(arg)});

    EXPECT_EQ(host.lastLoadArgument(), arg);
    EXPECT_EQ(host.lastLoadArgument().size(), 260);
    EXPECT_TRUE(host.lastHadMarker());
    EXPECT_FALSE(QFile::exists(temp));   // the hand-over copy is used up
    toolbar::testing::expectEverything(*host.control());
    ClientHost reopened(bound);
    toolbar::testing::expectEverything(*reopened.control());

    utility->SaveConfiguration(temp);
    host.object().call("LoadConfiguration", {rt::Variant(handover(temp, false))});
    EXPECT_FALSE(host.lastHadMarker());
    EXPECT_EQ(host.handedArguments().size(), 2);
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

TEST(ToolbarClientHost, AnUnreadBoundFileIsKeptAsideOnceBeforeItIsWritten)
{
    QTemporaryDir dir;
    const QString bound = dir.filePath("form.qrv");
    const QByteArray damaged("{ not a configuration");
    writeFile(bound, damaged);
    writeFile(bound + ".damaged", "kept before");   // taken: the next free name is used
    forms::testing::reset();
    forms::testing::answerNextMsgBox(forms::vbOK);
    const auto host = ClientHost::unread(bound);
    EXPECT_EQ(host->boundFile(), bound);
    EXPECT_EQ(host->control()->tools()->Count(), 0);

    auto utility = std::make_shared<MqZentribar>();
    const QString temp = dir.filePath("~MQ1.tmp");
    for (const char* id : {"ID_First", "ID_Second"}) {
        utility->tools()->Add(QLatin1String(id));
        utility->SaveConfiguration(temp);
        host->object().call("LoadConfiguration", {rt::Variant(handover(temp, true))});
    }
    EXPECT_EQ(fileBytes(bound + ".damaged.2"), damaged);
    EXPECT_EQ(fileBytes(bound + ".damaged"), "kept before");
    EXPECT_FALSE(QFile::exists(bound + ".damaged.3"));   // what it wrote itself is replaced
    EXPECT_EQ(ClientHost(bound).control()->tools()->Count(), 2);
    ASSERT_EQ(forms::testing::shownMsgBoxes().size(), 1u);
    const QString said = forms::testing::shownMsgBoxes().front().text;
    EXPECT_THAT(said.toStdString(), HasSubstr("\"" + bound.toStdString() + "\""));
    EXPECT_THAT(said.toStdString(), HasSubstr("\"" + bound.toStdString() + ".damaged.2\""));

    // A file that was missing leaves nothing aside and says nothing.
    forms::testing::reset();
    const auto fresh = ClientHost::unread(dir.filePath("new.qrv"));
    utility->SaveConfiguration(temp);
    fresh->object().call("LoadConfiguration", {rt::Variant(handover(temp, true))});
    EXPECT_EQ(ClientHost(dir.filePath("new.qrv")).control()->tools()->Count(), 2);
    EXPECT_FALSE(QFile::exists(dir.filePath("new.qrv.damaged")));
    EXPECT_TRUE(forms::testing::shownMsgBoxes().empty());
}

TEST(ToolbarClientHost, AnswersTheCallerQuestionsAndRecordsTheExit)
{
    QTemporaryDir dir;
    ClientHost host(dir.filePath("new.qrv"));   // no file yet: an empty control
    EXPECT_EQ(host.control()->tools()->Count(), 0);
    EXPECT_EQ(host.object().get("CallerIsVBTestPgm"), rt::Variant(false));
    host.setTestProgram(true);
    EXPECT_EQ(host.object().get("CallerIsVBTestPgm"), rt::Variant(true));
    EXPECT_FALSE(host.wasExited());
    host.object().call("ConfigUtilityExiting");
    EXPECT_TRUE(host.wasExited());
}

TEST(ToolbarClientHost, AFailedHandoverKeepsTheBoundFile)
{
    QTemporaryDir dir;
    const QString bound = dir.filePath("form.qrv");
    ClientHost host(bound);
    host.control()->tools()->Add("ID_Kept");
    host.control()->SaveConfiguration(bound);
    EXPECT_THROW(host.object().call("LoadConfiguration",
                                    {rt::Variant(handover(dir.filePath("missing"), true))}),
                 rt::Error);
    EXPECT_EQ(ClientHost(bound).control()->tools()->Item(1)->ID(), "ID_Kept");
    EXPECT_EQ(host.control()->tools()->Item(1)->ID(), "ID_Kept");

    // A damaged hand-over copy is refused and removed all the same.
    const QString damaged = dir.filePath("~MQ2.tmp");
    {
        QFile f(damaged);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("{ not a configuration");
    }
    EXPECT_THROW(host.object().call("LoadConfiguration", {rt::Variant(handover(damaged, false))}),
                 rt::Error);
    EXPECT_FALSE(QFile::exists(damaged));
    EXPECT_EQ(ClientHost(bound).control()->tools()->Item(1)->ID(), "ID_Kept");
}

}  // namespace

// The .qrv format: exact round trips, all-or-nothing reads, atomic saves.
#include "ToolbarTestSupport.h"

#include "platform/runtime/SaveFile.h"
#include "platform/toolbar/QrvFormat.h"
#include "tests/support/FifoWatch.h"

#include <QDir>
#include <QFile>
#include <QFileDevice>

#include <gmock/gmock.h>

#include <cerrno>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

using namespace toolbar;
using ::testing::HasSubstr;
using toolbar::testing::errorOf;

namespace {

// Makes a folder refuse new files: read-only for an ordinary user, and
// immutable as well, since the super-user ignores permissions.
bool lockFolder(const QString& folder, bool locked)
{
    QFile::setPermissions(folder, locked ? QFileDevice::ReadOwner | QFileDevice::ExeOwner
                                         : QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                               QFileDevice::ExeOwner);
    if (geteuid() != 0)
        return true;
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = locked ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}

class ToolbarFormat : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    void write(const QString& file, const QByteArray& bytes) const
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QTemporaryDir dir;
};

TEST_F(ToolbarFormat, EverySettingAndPictureSurvivesFilesAndValues)
{
    auto original = std::make_shared<MqZentribar>();
    toolbar::testing::buildEverything(*original);
    toolbar::testing::expectEverything(*original);

    // Through a file, named as the utility names it: padded with NULs.
    QString padded = path("all.qrv") + QChar(0) + QStringLiteral("!KTWD!") + QChar(0);
    padded += QString(260 - padded.size(), QChar(0));
    com::Object(original).call(dispid::SaveConfiguration, {rt::Variant(padded)});
    auto fromFile = std::make_shared<MqZentribar>();
    com::Object(fromFile).call(dispid::LoadConfiguration, {rt::Variant(padded)});
    toolbar::testing::expectEverything(*fromFile);

    // Through the value handed from one control to another.
    auto fromValue = std::make_shared<MqZentribar>();
    com::Object(fromValue).call("LoadConfigurationEx",
                                {com::Object(fromFile).call("SaveConfigurationEx")});
    toolbar::testing::expectEverything(*fromValue);
    EXPECT_EQ(fromValue->SaveConfigurationEx(), original->SaveConfigurationEx());
}

TEST_F(ToolbarFormat, StatesLoadAsSavedWithoutGroupReleaseOrClick)
{
    // Two checked tools that only later joined one group stay checked.
    auto original = std::make_shared<MqZentribar>();
    for (const char* id : {"A", "B"}) {
        auto t = original->tools()->Add(id, mqStateButton);
        t->setState(mqChecked);
        t->setStateGroupName("g");
    }
    auto loaded = std::make_shared<MqZentribar>();
    toolbar::testing::EventLog log(*loaded);
    loaded->LoadConfigurationEx(rt::Variant(original->SaveConfigurationEx()));
    EXPECT_EQ(loaded->tools()->Item(QStringLiteral("A"))->State(), mqChecked);
    EXPECT_EQ(loaded->tools()->Item(QStringLiteral("B"))->State(), mqChecked);
    EXPECT_TRUE(log.clicks.empty());
}

struct BadDocument {
    const char* name;
    std::function<QByteArray(const QByteArray& good)> make;
    const char* mentions;
};

class ToolbarBadDocuments : public ToolbarFormat,
                            public ::testing::WithParamInterface<BadDocument> {};

TEST_P(ToolbarBadDocuments, AreRefusedWithAClearErrorAndChangeNothing)
{
    auto source = std::make_shared<MqZentribar>();
    toolbar::testing::buildEverything(*source);
    const QByteArray good = source->SaveConfigurationEx();

    auto c = std::make_shared<MqZentribar>();
    c->tools()->Add("ID_Mine")->setName("mine");
    c->toolbars()->Add("Mine");
    const QByteArray before = c->SaveConfigurationEx();
    toolbar::testing::EventLog log(*c);

    const QString file = path("bad.qrv");
    write(file, GetParam().make(good));
    const rt::Error e = errorOf([&] { c->LoadConfiguration(file); });
    EXPECT_EQ(e.number(), qrv::InvalidFormat);
    EXPECT_THAT(e.description().toStdString(), HasSubstr("bad.qrv"));
    EXPECT_THAT(e.description().toStdString(), HasSubstr(GetParam().mentions));
    EXPECT_EQ(c->SaveConfigurationEx(), before);
    EXPECT_TRUE(log.events.empty());
}

QByteArray replaced(QByteArray doc, const char* from, const char* to)
{
    const qsizetype at = doc.indexOf(from);
    EXPECT_GE(at, 0) << from;
    return doc.replace(at, qsizetype(qstrlen(from)), to);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ToolbarBadDocuments,
    ::testing::Values(
        BadDocument{"Empty", [](const QByteArray&) { return QByteArray(); }, "empty"},
        BadDocument{"Truncated", [](const QByteArray& g) { return g.left(g.size() / 2); },
                    "damaged or truncated"},
        BadDocument{"Foreign",
                    [](const QByteArray&) { return QByteArray("{\"tools\": []}"); },
                    "not a toolbar configuration"},
        BadDocument{"Binary",
                    [](const QByteArray&) { return QByteArray("\x89PNG\r\n\x1a\n", 8); },
                    "damaged"},
        BadDocument{"NewerVersion",
                    [](const QByteArray& g) {
                        return replaced(g, "\"version\":1", "\"version\":7");
                    },
                    "version 7"},
        BadDocument{"OutOfRangeValue",
                    [](const QByteArray& g) {
                        return replaced(g, "\"ImageSize\":24", "\"ImageSize\":40");
                    },
                    "tool 'ID_Open': Tool.ImageSize: 40 is outside the range 16 to 32"},
        BadDocument{"OutOfRangeState",
                    [](const QByteArray& g) {
                        return replaced(g, "\"State\":1", "\"State\":2");
                    },
                    "Tool.State: 2 is outside the range 0 to 1"},
        BadDocument{"WrongType",
                    [](const QByteArray& g) {
                        return replaced(g, "\"Enabled\":false", "\"Enabled\":\"no\"");
                    },
                    "'Enabled' is not True or False"},
        BadDocument{"DamagedPicture",
                    [](const QByteArray& g) {
                        return replaced(g, "\"iVBOR", "\"iVBORxxxxxxxxxxxxxxxx");
                    },
                    "stored picture 0"},
        BadDocument{"UnknownEntry",
                    [](const QByteArray& g) {
                        // The toolbars come before the tools: a toolbar's entry.
                        return replaced(g, "\"ID\":\"ID_Zoom\"", "\"ID\":\"ID_Nowhere\"");
                    },
                    "no tool with the ID 'ID_Nowhere'"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ToolbarFormat, AnOverLargeFileIsRefusedUnread)
{
    const QString file = path("huge.qrv");
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(qrv::MaxDocumentBytes + 1));
    }
    auto c = std::make_shared<MqZentribar>();
    const rt::Error e = errorOf([&] { c->LoadConfiguration(file); });
    EXPECT_EQ(e.number(), qrv::InvalidFormat);
    EXPECT_THAT(e.description().toStdString(), HasSubstr("larger than 64 MB"));
}

TEST_F(ToolbarFormat, MissingFilesAndWrongValuesAreClearErrors)
{
    auto c = std::make_shared<MqZentribar>();
    EXPECT_EQ(errorOf([&] { c->LoadConfiguration(path("none.qrv")); }).number(), 53);
    EXPECT_EQ(errorOf([&] { c->LoadConfigurationEx(rt::Variant("text")); }).number(), 13);
}

TEST_F(ToolbarFormat, PipesAndFoldersAreRefusedUnopened)
{
    auto c = std::make_shared<MqZentribar>();
    c->tools()->Add("ID_Kept");
    const QString pipe = path("pipe.qrv");
    ASSERT_TRUE(bwtest::makeFifo(pipe.toStdString()));
    rt::Error e(0);
    {
        bwtest::FifoWatch watch(pipe.toStdString());
        e = errorOf([&] { c->LoadConfiguration(pipe); });
        EXPECT_FALSE(watch.released()) << "reading the pipe blocked";
    }
    EXPECT_EQ(e.number(), 70);
    EXPECT_THAT(e.description().toStdString(),
                HasSubstr("Cannot read the configuration file '" + pipe.toStdString() +
                          "': it is not a regular file"));

    e = errorOf([&] { c->LoadConfiguration(dir.path()); });
    EXPECT_EQ(e.number(), 75);
    EXPECT_EQ(e.description(), "The configuration file '" + dir.path() + "' is a folder.");
    EXPECT_EQ(c->tools()->Item(1)->ID(), "ID_Kept");
}

TEST_F(ToolbarFormat, AFailedSaveLeavesTheOldFileIntact)
{
    auto c = std::make_shared<MqZentribar>();
    c->tools()->Add("ID_First");
    const QString folder = path("locked");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString file = folder + "/config.qrv";
    c->SaveConfiguration(file);
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray old = f.readAll();
    f.close();

    c->tools()->Add("ID_Second");
    const auto keptAlone = [&] {
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), old);
        f.close();
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"config.qrv"});
    };
    {
        // A disk that fills at the last byte of the new file.
        rt::testing::failSaveWrites(ENOSPC, toolbar::qrv::writeDocument(*c).size() - 1);
        const rt::Error e = errorOf([&] { c->SaveConfiguration(file); });
        rt::testing::failSaveWrites(0);
        EXPECT_EQ(e.description(),
                  "Cannot save the configuration to '" + file + "': No space left on device");
        keptAlone();
    }

    if (!lockFolder(folder, true))
        GTEST_SKIP() << "this file system cannot make a folder refuse new files";
    const rt::Error e = errorOf([&] { c->SaveConfiguration(file); });
    lockFolder(folder, false);
    // The file may be written: the folder is what refuses.
    EXPECT_THAT(e.description().toStdString(),
                HasSubstr("': the folder " + folder.toStdString()
                          + " does not let a new file be made in it ("));
    keptAlone();

    EXPECT_EQ(errorOf([&] { c->SaveConfiguration(path("no/such/folder/x.qrv")); }).number(),
              76);
}

}  // namespace

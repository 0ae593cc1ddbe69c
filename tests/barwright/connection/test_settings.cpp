#include "ConnectionFixture.h"

#include "barwright/connection/CReg.h"
#include "barwright/connection/mRegistry.h"
#include "platform/forms/MsgBox.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>

using ::testing::ElementsAre;
using namespace mRegistry;

namespace {

const QString kSectionPath = QStringLiteral(
    "Software\\Marquell.ZentribarPlus\\Version2\\ConfigUtility\\ControlPanel");

std::shared_ptr<CReg> currentUserKey(const QString& path)
{
    CReg root;
    root.SetPredefinedKey(2);
    return root.OpenKey(path);
}

}  // namespace

using Settings = ConnectionFixture;

TEST_F(Settings, ReadingCreatesTheKeysAndGivesTheDefault)
{
    EXPECT_EQ(GetRegSetting(QStringLiteral("ConfigUtility"), QStringLiteral("ControlPanel"),
                            QStringLiteral("Left"), QStringLiteral("1200")),
              QStringLiteral("1200"));
    EXPECT_EQ(GetRegSetting(QStringLiteral("ConfigUtility"), QStringLiteral("ControlPanel"),
                            QStringLiteral("Top")),
              QString());
    auto section = currentUserKey(kSectionPath);
    ASSERT_TRUE(section);
    EXPECT_EQ(section->Path(), QStringLiteral("HKEY_CURRENT_USER\\") + kSectionPath);

    EXPECT_TRUE(SaveRegSetting(QStringLiteral("ConfigUtility"), QStringLiteral("ControlPanel"),
                               QStringLiteral("Left"), QStringLiteral("345")));
    EXPECT_EQ(GetRegSetting(QStringLiteral("configutility"), QStringLiteral("controlpanel"),
                            QStringLiteral("left"), QStringLiteral("0")),
              QStringLiteral("345"));
}

TEST_F(Settings, AStoreWrittenByOneProcessIsReadByTheNext)
{
    ASSERT_TRUE(SaveRegSetting(QStringLiteral("ConfigUtility"), QStringLiteral("ControlPanel"),
                               QStringLiteral("ImportExportDir"), QStringLiteral("/data/qrv")));
    QProcess probe;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("BW_REGISTRY_FILE"), storeFile);
    probe.setProcessEnvironment(env);
    probe.start(QStringLiteral(BW_SYSTEM_PROBE),
                {QStringLiteral("reg-get"), kSectionPath, QStringLiteral("ImportExportDir")});
    ASSERT_TRUE(probe.waitForFinished(10000));
    EXPECT_EQ(probe.exitCode(), 0);
    EXPECT_EQ(probe.readAllStandardOutput().trimmed(), "/data/qrv");

    probe.start(QStringLiteral(BW_SYSTEM_PROBE),
                {QStringLiteral("reg-set"), kSectionPath, QStringLiteral("Width"),
                 QStringLiteral("9000")});
    ASSERT_TRUE(probe.waitForFinished(10000));
    ASSERT_EQ(probe.exitCode(), 0);
    restartStore();
    EXPECT_EQ(GetRegSetting(QStringLiteral("ConfigUtility"), QStringLiteral("ControlPanel"),
                            QStringLiteral("Width"), QStringLiteral("0")),
              QStringLiteral("9000"));
}

TEST_F(Settings, ADamagedStoreFallsBackToDefaultsAndIsKeptAside)
{
    const QByteArray garbage("\x00\x01not json at all", 17);
    {
        QFile f(storeFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(garbage);
    }
    restartStore();
    EXPECT_EQ(GetRegSetting(QStringLiteral("ConfigUtility"), QStringLiteral("Tool"),
                            QStringLiteral("ImageDir"), QStringLiteral("/home")),
              QStringLiteral("/home"));
    QFile aside(storeFile + QStringLiteral(".damaged"));
    ASSERT_TRUE(aside.open(QIODevice::ReadOnly));
    EXPECT_EQ(aside.readAll(), garbage);
    EXPECT_TRUE(SaveRegSetting(QStringLiteral("ConfigUtility"), QStringLiteral("Tool"),
                               QStringLiteral("ImageDir"), QStringLiteral("/pics")));
    restartStore();
    EXPECT_EQ(GetRegSetting(QStringLiteral("ConfigUtility"), QStringLiteral("Tool"),
                            QStringLiteral("ImageDir")),
              QStringLiteral("/pics"));
}

TEST_F(Settings, AStoreThatCannotBeSavedReportsFailure)
{
    qputenv("BW_REGISTRY_FILE", dir.filePath(QStringLiteral("file/in/a/file")).toUtf8());
    QFile blocker(dir.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    restartStore();
    EXPECT_FALSE(SaveRegSetting(QStringLiteral("A"), QStringLiteral("S"), QStringLiteral("K"),
                                QStringLiteral("v")));
    EXPECT_EQ(GetRegSetting(QStringLiteral("A"), QStringLiteral("S"), QStringLiteral("K"),
                            QStringLiteral("d")),
              QStringLiteral("d"));
}

using RegKey = ConnectionFixture;

TEST_F(RegKey, BytesAreStoredAsHexTextAndReadBack)
{
    CReg root;
    root.SetPredefinedKey(2);
    auto key = root.CreateKey(QStringLiteral("Bytes"));
    ASSERT_TRUE(key);
    EXPECT_TRUE(key->SetValue(QStringLiteral("Pair"), QByteArray("\x0a\xff", 2)));
    EXPECT_EQ(key->GetValue(QStringLiteral("Pair")), rt::Variant(QStringLiteral("0A FF ")));
    const rt::Variant bytes = key->GetValue(QStringLiteral("Pair"), QStringLiteral("Byte()"));
    EXPECT_EQ(bytes.typeName(), QStringLiteral("Byte()"));
    EXPECT_EQ(bytes.toBytes(), QByteArray("\x0a\xff", 2));

    const QList<QByteArray> lengths = {QByteArray(), QByteArray(1, '\x7f'),
                                       QByteArray("\x01\x02\x03", 3),
                                       QByteArray(40, '\xab')};
    for (const QByteArray& b : lengths) {
        ASSERT_TRUE(key->SetValue(QStringLiteral("Any"), b));
        EXPECT_EQ(key->GetValue(QStringLiteral("Any"), QStringLiteral("Byte()")).toBytes(), b)
            << b.size() << " bytes";
    }
    EXPECT_EQ(key->GetValue(QStringLiteral("Pair"), QStringLiteral("Long")),
              rt::Variant(QString()));
}

TEST_F(RegKey, UnsupportedTypesAreRefusedWithAMessage)
{
    CReg root;
    root.SetPredefinedKey(2);
    auto key = root.CreateKey(QStringLiteral("Types"));
    forms::testing::answerNextMsgBox(forms::vbOK);
    EXPECT_FALSE(key->SetValue(QStringLiteral("n"), rt::Variant(int32_t(5))));
    EXPECT_EQ(key->GetLastError(), -1);
    ASSERT_EQ(forms::testing::shownMsgBoxes().size(), 1u);
    EXPECT_EQ(forms::testing::shownMsgBoxes()[0].text,
              QStringLiteral("Unsupported type in CReg.SetValue"));
    EXPECT_EQ(forms::testing::shownMsgBoxes()[0].buttons, forms::vbOKOnly);
}

TEST_F(RegKey, MissingKeysAndValuesReportTheWin32Code)
{
    CReg root;
    EXPECT_EQ(root.Path(), QStringLiteral("HKEY_CLASSES_ROOT"));
    EXPECT_FALSE(root.OpenKey(QStringLiteral("NoSuchKey")));
    EXPECT_EQ(root.GetLastError(), 2);
    auto key = root.CreateKey(QStringLiteral("Present"));
    ASSERT_TRUE(key);
    EXPECT_EQ(root.GetLastError(), 0);
    EXPECT_EQ(key->GetValue(QStringLiteral("none")), rt::Variant(QString()));
    EXPECT_EQ(key->GetLastError(), 2);
    EXPECT_FALSE(key->DeleteValue(QStringLiteral("none")));
    EXPECT_EQ(key->GetLastError(), 2);
    EXPECT_TRUE(root.DeleteKey(QStringLiteral("Present")));
    EXPECT_FALSE(root.DeleteKey(QStringLiteral("Present")));
}

TEST_F(RegKey, RootsAndPaths)
{
    const QStringList names = {QStringLiteral("HKEY_CLASSES_ROOT"),
                               QStringLiteral("HKEY_CURRENT_CONFIG"),
                               QStringLiteral("HKEY_CURRENT_USER"),
                               QStringLiteral("HKEY_DYN_DATA"),
                               QStringLiteral("HKEY_LOCAL_MACHINE"),
                               QStringLiteral("HKEY_PERFORMANCE_DATA"),
                               QStringLiteral("HKEY_USERS")};
    for (int16_t i = 0; i < 7; ++i) {
        CReg reg;
        reg.SetPredefinedKey(i);
        EXPECT_EQ(reg.Path(), names[i]);
        reg.SetPredefinedKey(7);   // ignored
        EXPECT_EQ(reg.Path(), names[i]);
    }
    CReg reg;
    reg.SetPredefinedKey(4);
    EXPECT_EQ(reg.hKey(), sys::HKEY_LOCAL_MACHINE);
    auto sub = reg.CreateKey(QStringLiteral("A"));
    EXPECT_EQ(sub->CreateKey(QStringLiteral("B"))->Path(),
              QStringLiteral("HKEY_LOCAL_MACHINE\\A\\B"));
    CReg other;
    other.SetKey(sys::HKEY_USERS);
    EXPECT_EQ(other.Path(), QStringLiteral("?"));
    other.SetKey(sys::HKEY_USERS, QStringLiteral("users"));
    EXPECT_EQ(other.Path(), QStringLiteral("users"));
    // An explicit parent handle counts only when it is a Long.
    auto viaParent = other.CreateKey(QStringLiteral("X"), rt::Variant(int32_t(sys::HKEY_CURRENT_USER)));
    ASSERT_TRUE(viaParent);
    EXPECT_TRUE(reg.OpenKey(QStringLiteral("X"), rt::Variant(int32_t(sys::HKEY_CURRENT_USER))));
    EXPECT_FALSE(reg.OpenKey(QStringLiteral("X"), rt::Variant(int16_t(1))));
}

TEST_F(RegKey, KeysAndValuesShareOneEnumerationCounter)
{
    CReg root;
    root.SetPredefinedKey(2);
    auto key = root.CreateKey(QStringLiteral("Enum"));
    key->CreateKey(QStringLiteral("Beta"));
    key->CreateKey(QStringLiteral("alpha"));
    key->SetValue(QStringLiteral("First"), QStringLiteral("one"));
    key->SetValue(QStringLiteral("Second"), QStringLiteral("two"));

    QString name, cls, written;
    ASSERT_TRUE(key->GetNextKey(name, &cls, &written));
    EXPECT_EQ(name, QStringLiteral("alpha"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{4}/[1-9]\\d?/[1-9]\\d? "
                                                  "\\d{1,2}:\\d{1,2}:\\d{1,2}\\.\\d{1,3}$"))
                    .match(written)
                    .hasMatch())
        << written.toStdString();
    QString value;
    ASSERT_TRUE(key->GetNextValue(name, &value));   // the counter is at 1 now
    EXPECT_EQ(name, QStringLiteral("Second"));
    EXPECT_EQ(value, QStringLiteral("two"));
    EXPECT_FALSE(key->GetNextKey(name));
    EXPECT_EQ(key->GetLastError(), 259);
    key->ResetValueEnum();
    ASSERT_TRUE(key->GetNextKey(name));
    EXPECT_EQ(name, QStringLiteral("alpha"));
    key->ResetKeyEnum();
    ASSERT_TRUE(key->GetNextValue(name));
    EXPECT_EQ(name, QStringLiteral("First"));
}

#include "platform/runtime/SaveFile.h"
#include "platform/system/Profile.h"
#include "platform/system/TempFiles.h"
#include "tests/support/FifoWatch.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace sys;

namespace {

QString textBeforeNul(const QString& buffer)
{
    return buffer.left(buffer.indexOf(QChar(0)));
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& content)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

}  // namespace

TEST(TempFiles, PathEndsWithASlashAndBufferRulesHold)
{
    QString buffer(MAX_PATH, QChar(0));
    const uint32_t n = GetTempPathA(MAX_PATH, buffer);
    ASSERT_GT(n, 0u);
    EXPECT_EQ(buffer.size(), qsizetype(MAX_PATH));
    EXPECT_TRUE(buffer.left(n).endsWith(QLatin1Char('/')));
    EXPECT_EQ(buffer[n], QChar(0));
    QString small;
    EXPECT_EQ(GetTempPathA(2, small), n + 1);
    EXPECT_TRUE(small.isEmpty());
}

TEST(TempFiles, AMissingTemporaryFolderFailsInsteadOfGivingTheRoot)
{
    const QByteArray saved = qgetenv("TMPDIR");
    qputenv("TMPDIR", "/nonexistent/bw-temp-folder");
    QString buffer(MAX_PATH, QChar(0));
    const uint32_t n = GetTempPathA(MAX_PATH, buffer);
    if (saved.isNull())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", saved);
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(buffer, QString(MAX_PATH, QChar(0)));
}

TEST(TempFiles, NamesAreUniqueAndCreatedEmpty)
{
    QTemporaryDir dir;
    QString first(MAX_PATH, QChar(0));
    QString second(MAX_PATH, QChar(0));
    ASSERT_NE(GetTempFileNameA(dir.path(), QStringLiteral("~MQX"), 0, first), 0u);
    ASSERT_NE(GetTempFileNameA(dir.path(), QStringLiteral("~MQ"), 0, second), 0u);
    EXPECT_EQ(first.size(), qsizetype(MAX_PATH));
    const QRegularExpression form(QStringLiteral("^.*/~MQ[0-9A-F]{4}\\.TMP$"));
    EXPECT_TRUE(form.match(textBeforeNul(first)).hasMatch()) << textBeforeNul(first).toStdString();
    EXPECT_NE(textBeforeNul(first), textBeforeNul(second));
    EXPECT_TRUE(QFile::exists(textBeforeNul(first)));
    EXPECT_EQ(QFileInfo(textBeforeNul(second)).size(), 0);

    QString given;
    EXPECT_EQ(GetTempFileNameA(dir.path(), QStringLiteral("ab"), 0x1f, given), 0x1Fu);
    EXPECT_EQ(textBeforeNul(given), dir.path() + QStringLiteral("/ab001F.TMP"));
    EXPECT_FALSE(QFile::exists(textBeforeNul(given)));   // only named

    QString none;
    EXPECT_EQ(GetTempFileNameA(dir.filePath(QStringLiteral("missing")), QStringLiteral("x"), 0,
                               none),
              0u);
}

TEST(TempFiles, AKilledProgramsFilesGoAtTheNextStartALivingOnesStay)
{
    QTemporaryDir dir;
    const QByteArray saved = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(dir.path()));
    int named[2];
    ASSERT_EQ(::pipe(named), 0);
    const pid_t child = ::fork();   // a program that dies before it removes its file
    ASSERT_GE(child, 0);
    if (child == 0) {
        QString name(MAX_PATH, QChar(0));
        const bool made = GetTempFileNameA(dir.path(), QStringLiteral("~MQ"), 0, name) != 0;
        const QByteArray path = QFile::encodeName(textBeforeNul(name));
        (void)!::write(named[1], path.constData(), size_t(path.size()));
        ::_exit(made ? 0 : 1);
    }
    ::close(named[1]);
    QByteArray deadName(4096, 0);
    const ssize_t n = ::read(named[0], deadName.data(), size_t(deadName.size()));
    ::close(named[0]);
    deadName.resize(qMax<ssize_t>(n, 0));
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const QString dead = QFile::decodeName(deadName);
    ASSERT_TRUE(QFile::exists(dead));

    QString live(MAX_PATH, QChar(0));
    ASSERT_NE(GetTempFileNameA(dir.path(), QStringLiteral("~MQ"), 0, live), 0u);
    // Only names this call could have made are looked at.
    const QStringList others{QStringLiteral("~MQ12G4.TMP"), QStringLiteral("~MQ12F4.tmp"),
                             QStringLiteral("~MQ12F45.TMP"), QStringLiteral("~MP12F4.TMP")};
    for (const QString& other : others)
        writeFile(dir.filePath(other), "x");

    RemoveDeadTempFiles(QStringLiteral("~MQ"));
    if (saved.isNull())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", saved);
    EXPECT_FALSE(QFile::exists(dead));
    EXPECT_TRUE(QFile::exists(textBeforeNul(live)));
    for (const QString& other : others)
        EXPECT_TRUE(QFile::exists(dir.filePath(other))) << other.toStdString();
}

class ProfileTest : public ::testing::Test {
protected:
    QString get(const QString& section, const QString& key, const QString& dflt = {},
                uint32_t size = 256)
    {
        QString buffer;
        const uint32_t n = GetPrivateProfileStringA(section, key, dflt, buffer, size, file);
        EXPECT_EQ(buffer.size(), qsizetype(size));
        return buffer.left(n);
    }
    QTemporaryDir dir;
    QString file = dir.filePath(QStringLiteral("set.ini"));
};

TEST_F(ProfileTest, ReadsWithTheWindowsRules)
{
    writeFile(file, "; comment\r\n[General]\r\nName = First \r\nname=Second\r\n"
                    "Quoted=\"  padded  \"\r\nLong=" + QByteArray(300, 'x') + "\r\n"
                    "[TOOL0001]\r\nCount=42abc\r\nNeg=-7\r\n");
    EXPECT_EQ(get(QStringLiteral("general"), QStringLiteral("NAME")), QStringLiteral("First"));
    EXPECT_EQ(get(QStringLiteral("General"), QStringLiteral("Quoted")),
              QStringLiteral("  padded  "));
    EXPECT_EQ(get(QStringLiteral("General"), QStringLiteral("Long")).size(), 255);
    EXPECT_EQ(get(QStringLiteral("General"), QStringLiteral("Long"), {}, 10).size(), 9);
    EXPECT_EQ(get(QStringLiteral("General"), QStringLiteral("Missing"), QStringLiteral("dflt  ")),
              QStringLiteral("dflt"));
    EXPECT_EQ(get(QStringLiteral("Nope"), QStringLiteral("Name"), QStringLiteral("d")),
              QStringLiteral("d"));
    EXPECT_EQ(get(QString(), QString()), QStringLiteral("General") + QChar(0)
                                             + QStringLiteral("TOOL0001") + QChar(0));
    EXPECT_EQ(GetPrivateProfileIntA(QStringLiteral("tool0001"), QStringLiteral("count"), 5, file),
              42);
    EXPECT_EQ(GetPrivateProfileIntA(QStringLiteral("TOOL0001"), QStringLiteral("Neg"), 5, file),
              -7);
    EXPECT_EQ(GetPrivateProfileIntA(QStringLiteral("TOOL0001"), QStringLiteral("No"), 5, file), 5);
    EXPECT_EQ(GetPrivateProfileIntA(QStringLiteral("General"), QStringLiteral("Name"), 5, file),
              0);
}

TEST_F(ProfileTest, WritesKeepTheRestOfTheFile)
{
    writeFile(file, "[Settings]\r\nToolsetDirectory=C:\\old\\%TEMP%\r\nOther=1\r\n\r\n[Keep]\r\nA=b\r\n");
    EXPECT_TRUE(WritePrivateProfileStringA(QStringLiteral("settings"),
                                           QStringLiteral("toolsetdirectory"),
                                           QStringLiteral("/data/sets"), file));
    EXPECT_TRUE(WritePrivateProfileStringA(QStringLiteral("Settings"), QStringLiteral("New"),
                                           QStringLiteral("v"), file));
    EXPECT_TRUE(WritePrivateProfileStringA(QStringLiteral("Added"), QStringLiteral("K"),
                                           QStringLiteral("1"), file));
    EXPECT_TRUE(WritePrivateProfileStringA(QStringLiteral("Settings"), QStringLiteral("Other"),
                                           QString(), file));
    EXPECT_EQ(readAll(file), "[Settings]\r\ntoolsetdirectory=/data/sets\r\nNew=v\r\n\r\n"
                             "[Keep]\r\nA=b\r\n[Added]\r\nK=1\r\n");
    EXPECT_TRUE(WritePrivateProfileStringA(QStringLiteral("KEEP"), QString(), QString(), file));
    EXPECT_EQ(get(QStringLiteral("Keep"), QStringLiteral("A"), QStringLiteral("gone")),
              QStringLiteral("gone"));
    EXPECT_FALSE(WritePrivateProfileStringA(QStringLiteral("S"), QStringLiteral("K"),
                                            QStringLiteral("v"),
                                            dir.filePath(QStringLiteral("no/such/dir.ini"))));

    // A disk that fills at the last byte: the call fails and the file stays.
    const QByteArray kept = readAll(file);
    rt::testing::failSaveWrites(ENOSPC, kept.size() + 5 - 1);   // "B=c\r\n" is 5 more
    EXPECT_FALSE(WritePrivateProfileStringA(QStringLiteral("Added"), QStringLiteral("B"),
                                            QStringLiteral("c"), file));
    rt::testing::failSaveWrites(0);
    EXPECT_EQ(readAll(file), kept);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("set.ini")});
}

TEST_F(ProfileTest, APipeReadsAsAMissingFileAndIsNotReplaced)
{
    ASSERT_TRUE(bwtest::makeFifo(file.toStdString()));
    {
        bwtest::FifoWatch watch(file.toStdString());
        EXPECT_EQ(get(QStringLiteral("General"), QStringLiteral("ButtonWidth")), QString());
        EXPECT_EQ(GetPrivateProfileIntA(QStringLiteral("General"), QStringLiteral("N"), 5, file),
                  5);
        EXPECT_FALSE(WritePrivateProfileStringA(QStringLiteral("General"), QStringLiteral("N"),
                                                QStringLiteral("1"), file));
        EXPECT_FALSE(watch.released()) << "reading the pipe blocked";
    }
    EXPECT_FALSE(QFileInfo(file).isFile());   // still the pipe
}

namespace {

// Every section, key and value the file holds, as the reader sees them.
QStringList everything(const QString& file)
{
    auto list = [](const QString& buffer) {
        QStringList names = buffer.split(QChar(0));
        while (!names.isEmpty() && names.last().isEmpty())
            names.removeLast();
        return names;
    };
    QStringList out;
    QString buffer;
    GetPrivateProfileStringA(QString(), QString(), {}, buffer, 4096, file);
    for (const QString& section : list(buffer)) {
        QString keys;
        GetPrivateProfileStringA(section, QString(), {}, keys, 4096, file);
        for (const QString& key : list(keys)) {
            QString value;
            const uint32_t n = GetPrivateProfileStringA(section, key, {}, value, 256, file);
            out << section + QLatin1Char('/') + key + QLatin1Char('=') + value.left(n);
        }
    }
    return out;
}

}  // namespace

TEST_F(ProfileTest, WritingOneKeyNeverChangesWhatAnotherReads)
{
    struct Case {
        QByteArray content;
        QString section, key, value;
    };
    const QString euro = QStringLiteral("\u20ac");
    const Case cases[] = {
        // Latin-1 only because of the value written over: as UTF-8 the
        // section's name would read differently.
        {"[\xc3\xa9]\nk=\xff", QStringLiteral("\u00c3\u00a9"), QStringLiteral("k"),
         QStringLiteral("x")},
        {"[S]\r\nA=caf\xe9\r\nB=\xc3\xa9t\xc3\xa9\r\n", QStringLiteral("S"), QStringLiteral("C"),
         euro},
        {"[S]\r\nA=caf\xe9\r\n", QStringLiteral("S"), QStringLiteral("A"), QString()},
        {"[S]\r\nA=\xc3\xa9t\xc3\xa9\r\nB=1\r\n", QStringLiteral("S"), QStringLiteral("B"),
         QStringLiteral("\u00ff") + euro},
        {"[S]\nA=\xe9\n[\xc3\xa9]\nB=\xc3\xa9\n", QStringLiteral("S"), QStringLiteral("A"),
         QStringLiteral("\u00c3\u00a9")},
    };
    for (const Case& c : cases) {
        writeFile(file, c.content);
        QStringList expected = everything(file);
        const QString entry = c.section + QLatin1Char('/') + c.key + QLatin1Char('=');
        const std::string what = entry.toStdString();
        const auto at = std::find_if(expected.begin(), expected.end(),
                                     [&](const QString& e) { return e.startsWith(entry); });
        if (at != expected.end())
            expected.erase(at);
        EXPECT_TRUE(WritePrivateProfileStringA(c.section, c.key, c.value, file)) << what;
        QStringList now = everything(file);
        if (!c.value.isNull()) {
            EXPECT_EQ(now.removeAll(entry + c.value), 1) << what;
        }
        EXPECT_EQ(now, expected) << what;
    }
}

TEST_F(ProfileTest, ASingleByteFileStaysWindows1252WhileItHoldsWhatIsWritten)
{
    writeFile(file, "[S]\r\nA=caf\xe9\x85\r\n");
    EXPECT_EQ(get(QStringLiteral("S"), QStringLiteral("A")), QStringLiteral("caf\u00e9\u2026"));
    EXPECT_TRUE(WritePrivateProfileStringA(QStringLiteral("S"), QStringLiteral("B"),
                                           QStringLiteral("\u20ac\u00fc\u201d"), file));
    EXPECT_EQ(readAll(file), "[S]\r\nA=caf\xe9\x85\r\nB=\x80\xfc\x94\r\n");
    // A character the code page cannot hold turns the file into UTF-8, not into "?".
    EXPECT_TRUE(WritePrivateProfileStringA(QStringLiteral("S"), QStringLiteral("C"),
                                           QStringLiteral("\u0100"), file));
    EXPECT_EQ(readAll(file), "[S]\r\nA=caf\xc3\xa9\xe2\x80\xa6\r\nB=\xe2\x82\xac\xc3\xbc"
                             "\xe2\x80\x9d\r\nC=\xc4\x80\r\n");
    EXPECT_EQ(get(QStringLiteral("S"), QStringLiteral("C")), QStringLiteral("\u0100"));
}

TEST_F(ProfileTest, AFileFarLargerThanAnyProfileIsNotRead)
{
    writeFile(file, "[General]\r\nButtonWidth=16\r\n");
    ASSERT_EQ(::truncate(QFile::encodeName(file).constData(), off_t(1) << 31), 0);
    rusage before {};
    getrusage(RUSAGE_SELF, &before);
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(get(QStringLiteral("General"), QStringLiteral("ButtonWidth"), QStringLiteral("d")),
              QStringLiteral("d"));
    EXPECT_EQ(GetPrivateProfileIntA(QStringLiteral("General"), QStringLiteral("ButtonWidth"), 5,
                                    file),
              5);
    EXPECT_FALSE(WritePrivateProfileStringA(QStringLiteral("General"), QStringLiteral("N"),
                                            QStringLiteral("1"), file));
    const QString problem = ProfileSizeProblem(file);
    EXPECT_LT(timer.elapsed(), 1000);
    rusage after {};
    getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 32 * 1024) << "kilobytes";
    EXPECT_TRUE(problem.contains(file) && problem.contains(QLatin1String("2147483648 bytes")))
        << problem.toStdString();
    EXPECT_EQ(QFileInfo(file).size(), qint64(1) << 31);   // not replaced

    writeFile(file, "[General]\r\n");
    EXPECT_EQ(ProfileSizeProblem(file), QString());
}

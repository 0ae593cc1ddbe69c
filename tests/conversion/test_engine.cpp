// The conversion table, the match rule, the project test, backup and rewrite.
#include "conversion/engine/mConversion.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/FileBytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gmock/gmock.h>

#include <cerrno>
#include <cstring>
#include <string>

#include <sys/stat.h>

using namespace mConversion;

namespace {

using bwtest::fileBytes;

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray oldLine(int row, int pair)
{
    return QByteArray(conversionTable()[size_t(row)].oldLines[size_t(pair)]);
}
QByteArray newLine(int row, int pair)
{
    return QByteArray(conversionTable()[size_t(row)].newLines[size_t(pair)]);
}
// The line up to and including its semicolon.
QByteArray head(const QByteArray& line) { return line.left(line.indexOf(';') + 1); }

void select(int16_t row)
{
    sCurrentRow = QStringLiteral("-1");
    SetupConversion(row);
}

}  // namespace

TEST(ConversionTable, RowsAreWellFormedReferenceLines)
{
    static const QRegularExpression kLine(
        R"(^(Object|OBJECT) ?=\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\})"
        R"(#\d+\.\d#0; [A-Z0-9]+\.OCX$)");
    const int16_t pairs[] = {2, 4, 1, 2, 6, 1, 2, 1, 1, 2, 6, 1};
    ASSERT_EQ(conversionTable().size(), 12u);
    for (size_t r = 0; r < 12; ++r) {
        const ConversionRow& row = conversionTable()[r];
        EXPECT_EQ(row.pairCount, pairs[r]) << r;
        for (int k = 0; k < row.pairCount; ++k) {
            EXPECT_TRUE(kLine.match(QString::fromLatin1(row.oldLines[size_t(k)])).hasMatch())
                << r << ' ' << row.oldLines[size_t(k)];
            EXPECT_TRUE(kLine.match(QString::fromLatin1(row.newLines[size_t(k)])).hasMatch())
                << r << ' ' << row.newLines[size_t(k)];
        }
    }
    // The stored keyword forms: both spellings occur, and the 5.0 line is the
    // upper-case form with a blank before the equals sign.
    EXPECT_TRUE(oldLine(0, 0).startsWith("OBJECT="));
    EXPECT_TRUE(oldLine(2, 0).startsWith("Object="));
    for (auto [row, pair] : {std::pair{8, 0}, {9, 0}, {11, 0}}) {
        EXPECT_TRUE(newLine(row, pair).startsWith("OBJECT ={")) << row;
        EXPECT_EQ(newLine(row, pair), newLine(row, pair).toUpper()) << row;
    }
}

TEST(ConversionTable, RowsShareTheirLibraries)
{
    // Drossline: the 16-bit old lines agree with the 32-bit ones up to ";".
    EXPECT_EQ(head(oldLine(1, 0)), head(oldLine(1, 2)));
    EXPECT_EQ(head(oldLine(1, 1)), head(oldLine(1, 3)));
    EXPECT_NE(oldLine(1, 0), oldLine(1, 2));
    // The tab line goes to the 4.0 tab line also in the conversion to 5.0.
    EXPECT_EQ(newLine(3, 1), newLine(9, 1));
    EXPECT_EQ(oldLine(8, 0), newLine(3, 0));     // the 4.0 toolbar line
    EXPECT_EQ(oldLine(11, 0), oldLine(2, 0));
}

TEST(SetupConversion, LoadsARowOnceAndIgnoresOtherIndexes)
{
    select(9);
    EXPECT_EQ(sCurrentRow, "9");
    EXPECT_EQ(sSourceName, "Zentribar 2.0");
    EXPECT_EQ(nPairs, 2);
    ASSERT_EQ(sOldLines.size(), 3);
    EXPECT_TRUE(sOldLines[2].isEmpty());
    EXPECT_TRUE(sNewLines[2].isEmpty());

    sOldLines[0] = "changed";
    SetupConversion(9);                    // the same row is not reloaded
    EXPECT_EQ(sOldLines[0], "changed");

    SetupConversion(-1);                   // no row: only the cached number changes
    EXPECT_EQ(sCurrentRow, "-1");
    EXPECT_EQ(sSourceName, "Zentribar 2.0");
    SetupConversion(9);
    EXPECT_EQ(sOldLines[0], QString::fromLatin1(oldLine(9, 0)));
}

struct MatchCase {
    const char* name;
    int16_t row;
    QByteArray text;
    int16_t pair;
};

class MatchRule : public testing::TestWithParam<MatchCase> {};

TEST_P(MatchRule, FindsTheFirstMatchingPair)
{
    select(GetParam().row);
    EXPECT_EQ(MatchingPair(QString::fromLatin1(GetParam().text)), GetParam().pair);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MatchRule,
    testing::Values(
        MatchCase{"Exact", 2, oldLine(2, 0), 0},
        MatchCase{"LowerCaseOtherFile", 2, head(oldLine(2, 0)).toLower() + " other.ocx", 0},
        MatchCase{"NoBlankAfterSemicolon", 2, head(oldLine(2, 0)) + "ZNTBAR10.OCX", 0},
        MatchCase{"OtherVersion", 2,
                  QByteArray(oldLine(2, 0)).replace("#1.0#", "#1.1#"), -1},
        MatchCase{"SemicolonElsewhere", 2, " " + oldLine(2, 0), -1},
        MatchCase{"Sixteen-bitLineTakesTheFirstPair", 1, oldLine(1, 2), 0},
        MatchCase{"SecondPair", 3, oldLine(3, 1), 1},
        MatchCase{"EmptyText", 3, QByteArray(), -1},
        MatchCase{"OnlySemicolon", 3, ";", -1},
        MatchCase{"NewLineIsNoOldLine", 8, newLine(8, 0), -1}),
    [](const auto& info) {
        QString name = QString::fromLatin1(info.param.name);
        return name.remove(u'-').toStdString();
    });

class ProjectFiles : public testing::Test {
protected:
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QString project(const QString& name, const QByteArray& content) const
    {
        writeAll(path(name), content);
        return path(name);
    }
    QTemporaryDir m_dir;
};

TEST_F(ProjectFiles, UsesProductReadsItemsAcrossCommasAndQuotes)
{
    select(7);
    const QByteArray line = oldLine(7, 0);
    EXPECT_TRUE(ProjectUsesProduct(project("a.vbp", "Type=Exe\r\n" + line + "\r\n")));
    EXPECT_TRUE(ProjectUsesProduct(project("b.vbp", "x, \"" + line + "\", y\n")));
    EXPECT_TRUE(ProjectUsesProduct(project("c.vbp", "Type=Exe\r  " + line)));
    EXPECT_FALSE(ProjectUsesProduct(project("d.vbp", "Type=Exe\r\nName=\"A\"\r\n")));
    EXPECT_TRUE(ProjectUsesProduct(project("q.vbp", "\"unclosed\r\n" + line + "\r\n")));
    // A comma inside the line splits it before the semicolon.
    EXPECT_FALSE(ProjectUsesProduct(project("e.vbp", "Object={C48A2D10,-77E3}#1.0#0; X\n")));
    EXPECT_FALSE(ProjectUsesProduct(path("missing.vbp")));
    EXPECT_FALSE(ProjectUsesProduct(m_dir.path()));
    // A pipe named like a project would block the read: it is no project.
    ASSERT_EQ(mkfifo(qPrintable(path("pipe.vbp")), 0644), 0);
    EXPECT_FALSE(ProjectUsesProduct(path("pipe.vbp")));
    QByteArray binary(70000, '\0');
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = char((i * 7919) & 0xff);
    EXPECT_FALSE(ProjectUsesProduct(project("binary.vbp", binary)));
    // A matching line behind binary noise is still found.
    EXPECT_TRUE(ProjectUsesProduct(project("mixed.vbp", binary + "\n" + line + "\n")));
}

TEST(BackupName, ReplacesTheExtensionOfTheFileNameOnly)
{
    EXPECT_EQ(BackupName("/p/App.vbp"), "/p/App.bak");
    EXPECT_EQ(BackupName("/p/App.VBP"), "/p/App.bak");
    EXPECT_EQ(BackupName("/p/My.vbproj/App.vbp"), "/p/My.vbproj/App.bak");
    EXPECT_EQ(BackupName("/p/App.txt"), "/p/App.txt.bak");
}

TEST_F(ProjectFiles, ConvertRewritesMatchingLinesWithCrLf)
{
    select(1);
    const QByteArray original = "Type=Exe\r\n" + oldLine(1, 0) + "\r\n"
                                + head(oldLine(1, 2)).toLower() + " drsgrd16.ocx\n"
                                + oldLine(1, 1) + "\r" + "Name=\"\xe9t\xe9\"\r\n" + "Last";
    const QString p = project("App.vbp", original);
    ASSERT_TRUE(ConvertProject(p));
    EXPECT_EQ(fileBytes(p), "Type=Exe\r\n" + newLine(1, 0) + "\r\n" + newLine(1, 0) + "\r\n"
                              + newLine(1, 1) + "\r\n" + "Name=\"\xe9t\xe9\"\r\n"
                              + "Last\r\n");
    EXPECT_EQ(fileBytes(path("App.bak")), original);
}

TEST_F(ProjectFiles, SecondConversionBacksUpTheConvertedFile)
{
    select(8);
    const QString p = project("App.vbp", oldLine(8, 0) + "\r\n");
    ASSERT_TRUE(ConvertProject(p));
    const QByteArray converted = fileBytes(p);
    ASSERT_TRUE(ConvertProject(p));
    EXPECT_EQ(fileBytes(path("App.bak")), converted);
    EXPECT_EQ(fileBytes(p), converted);
}

TEST_F(ProjectFiles, FailedConversionsLeaveTheProjectAsItWas)
{
    select(2);
    const QByteArray original = oldLine(2, 0) + "\r\n";

    // Read-only project (also when running as root).
    const QString ro = project("ro.vbp", original);
    QFile::setPermissions(ro, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    QString why;
    EXPECT_FALSE(ConvertProject(ro, &why));
    EXPECT_EQ(why, "it is read-only");
    EXPECT_EQ(fileBytes(ro), original);

    // The backup cannot be made: its name is taken by a folder.
    const QString blocked = project("blocked.vbp", original);
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("blocked.bak"));
    EXPECT_FALSE(ConvertProject(blocked, &why));
    EXPECT_EQ(why, "a folder stands where its backup " + path("blocked.bak") + " should go");
    EXPECT_EQ(fileBytes(blocked), original);

    EXPECT_FALSE(ConvertProject(path("missing.vbp"), &why));
    EXPECT_EQ(why, "it no longer exists");
    EXPECT_FALSE(QFile::exists(path("missing.bak")));
    EXPECT_FALSE(ConvertProject(m_dir.path(), &why));
    EXPECT_EQ(why, "it is a folder");
}

TEST_F(ProjectFiles, ConvertedProjectKeepsItsPermissions)
{
    select(2);
    const QString p = project("App.vbp", oldLine(2, 0) + "\n");
    const auto perms = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther;
    ASSERT_TRUE(QFile::setPermissions(p, perms));
    ASSERT_TRUE(ConvertProject(p));
    const auto userBits = QFileDevice::ReadUser | QFileDevice::WriteUser;
    EXPECT_EQ(QFile::permissions(p) & ~userBits, perms);
    EXPECT_EQ(QFile::permissions(path("App.bak")) & ~userBits, perms);
}

TEST_F(ProjectFiles, WriteFailureInTheMiddleKeepsTheWholeProject)
{
    // The rewrite grows the file (LF becomes CR LF); a file-size limit between
    // the old and the new size makes the write fail half-way.
    select(2);
    QByteArray original = oldLine(2, 0) + "\n";
    for (int i = 0; i < 300; ++i)
        original += "ab\n";
    const QString p = project("big.vbp", original);
    // The limit falls on the last byte of the rewritten file.
    const QString trial = project("trial.vbp", original);
    ASSERT_TRUE(ConvertProject(trial));
    const qint64 rewritten = QFileInfo(trial).size();
    ASSERT_TRUE(QFile::remove(trial) && QFile::remove(path("trial.bak")));

    QString why;
    bool converted = true;
    {
        bwtest::FileSizeLimit limit(rlim_t(rewritten - 1));
        ASSERT_TRUE(limit.set());
        converted = ConvertProject(p, &why);
    }

    EXPECT_FALSE(converted);
    EXPECT_EQ(why.toStdString(), "it cannot be written (" + std::string(strerror(EFBIG)) + ")");
    EXPECT_EQ(fileBytes(p), original);
    EXPECT_EQ(fileBytes(path("big.bak")), original);
    EXPECT_THAT(QDir(m_dir.path()).entryList(QDir::Files),
                testing::UnorderedElementsAre("big.vbp", "big.bak"));
}

TEST_F(ProjectFiles, FailedBackupKeepsTheEarlierOne)
{
    // After a first conversion the backup is the only original left; a
    // second attempt whose copy fails (here: a file-size limit) must keep it.
    select(2);
    QByteArray content = oldLine(2, 0) + "\r\n";
    for (int i = 0; i < 300; ++i)
        content += "ab\r\n";
    const QString p = project("App.vbp", content);
    const QByteArray earlier = "the original\r\n";
    writeAll(path("App.bak"), earlier);

    QString backup;
    QString why;
    bool converted = true;
    {
        bwtest::FileSizeLimit limit(rlim_t(content.size() - 1));   // the copy's last byte
        ASSERT_TRUE(limit.set());
        backup = BackupProject(p);
        converted = ConvertProject(p, &why);
    }

    EXPECT_TRUE(backup.isEmpty());
    EXPECT_FALSE(converted);
    EXPECT_EQ(why.toStdString(), "its backup " + path("App.bak").toStdString() +
                                     " cannot be written (" + strerror(EFBIG) + ")");
    EXPECT_EQ(fileBytes(path("App.bak")), earlier);
    EXPECT_EQ(fileBytes(p), content);
    EXPECT_THAT(QDir(m_dir.path()).entryList(QDir::Files),
                testing::UnorderedElementsAre("App.vbp", "App.bak"));
}

TEST(ParsePathList, SplitsAtSemicolons)
{
    rt::Collection list;
    list.Add(rt::Variant(QStringLiteral("stale")));
    ParsePathList("/a;;/b;", list);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Item(1).toString(), "/a");
    EXPECT_EQ(list.Item(2).toString(), "");
    EXPECT_EQ(list.Item(3).toString(), "/b");

    ParsePathList(" /a ; /b", list);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Item(1).toString(), " /a ");
    EXPECT_EQ(list.Item(2).toString(), " /b");

    ParsePathList(";", list);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Item(1).toString(), "");

    ParsePathList("", list);
    EXPECT_EQ(list.Count(), 0);
}

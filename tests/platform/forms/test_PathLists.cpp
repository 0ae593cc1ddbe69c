// Drive, folder and file lists on real temporary folders: the folder list's
// negative indexes for the parents, Change and Click, patterns.
#include "platform/forms/DirListBox.h"
#include "platform/forms/DriveListBox.h"
#include "platform/forms/FileListBox.h"
#include "platform/forms/Form.h"
#include "platform/forms/Testing.h"
#include "platform/runtime/Error.h"

#include <gmock/gmock.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace forms;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class PathForm final : public Form {
public:
    DriveListBox Drive1{this, "Drive1"};
    DirListBox Dir1{this, "Dir1"};
    FileListBox File1{this, "File1"};
    QStringList events;

    PathForm()
    {
        Drive1.Change = [this] { events << "Drive1_Change " + Drive1.Drive(); };
        Dir1.Change = [this] { events << "Dir1_Change"; };
        Dir1.Click = [this] { events << QStringLiteral("Dir1_Click %1").arg(Dir1.ListIndex()); };
        File1.PathChange = [this] { events << "File1_PathChange"; };
        File1.Click = [this] { events << "File1_Click " + File1.FileName(); };
    }
};

PathForm& form() { return instance<PathForm>(); }

class PathListsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        forms::testing::enable();
        form().events.clear();
        ASSERT_TRUE(m_dir.isValid());
        QDir d(m_dir.path());
        for (const char* sub : {"b", "A", "c/deep"})
            d.mkpath(QString::fromLatin1(sub));
        for (const char* f : {"one.vbp", "Two.VBP", "notes.txt", "README"})
            QFile(d.filePath(QString::fromLatin1(f))).open(QIODevice::WriteOnly);
    }
    void TearDown() override
    {
        for (Form* f : Form::loadedForms())
            f->Unload();
        EXPECT_THAT(forms::testing::takeFailures(), IsEmpty());
    }
    QString root() const { return QDir(m_dir.path()).canonicalPath(); }
    QTemporaryDir m_dir;
};

TEST_F(PathListsTest, DriveListHasTheRootFirstAndFindsTheRootOfAPath)
{
    DriveListBox& d = form().Drive1;
    ASSERT_GE(d.ListCount(), 1);
    EXPECT_EQ(d.List(0), "/");
    EXPECT_EQ(d.Drive(), "/");
    d.setDrive(root());   // "/" or a mounted root holding it
    EXPECT_TRUE(root().startsWith(d.Drive()));
    try {
        d.setDrive("relative/path");
        FAIL() << "a path on no drive";
    } catch (const rt::Error& e) {
        EXPECT_EQ(e.number(), 68);
    }
}

TEST_F(PathListsTest, DirListIndexesParentsNegativeAndSubfoldersFromZero)
{
    DirListBox& dir = form().Dir1;
    dir.setPath(root());
    EXPECT_THAT(form().events, ElementsAre("Dir1_Change"));
    EXPECT_EQ(dir.List(-1), root());
    EXPECT_EQ(dir.List(-2), QFileInfo(root()).path());
    const int depth = int(root().count(u'/'));
    EXPECT_EQ(dir.List(-1 - depth), "/");
    EXPECT_EQ(dir.List(-2 - depth), "");
    EXPECT_EQ(dir.ListIndex(), -1);
    ASSERT_EQ(dir.ListCount(), 3);
    EXPECT_EQ(dir.List(0), root() + "/A");
    EXPECT_EQ(dir.List(2), root() + "/c");
    EXPECT_EQ(dir.List(3), "");

    form().events.clear();
    dir.setPath(root());   // the same path: no Change
    dir.clickItem(1);
    dir.doubleClickItem(2);   // opens c
    EXPECT_EQ(dir.Path(), root() + "/c");
    EXPECT_EQ(dir.List(0), root() + "/c/deep");
    EXPECT_THAT(form().events, ElementsAre("Dir1_Click 1", "Dir1_Change"));

    EXPECT_THROW(dir.setPath(root() + "/missing"), rt::Error);
    EXPECT_EQ(dir.Path(), root() + "/c");
}

TEST_F(PathListsTest, FileListFollowsPathAndPattern)
{
    FileListBox& f = form().File1;
    f.setPath(root());
    EXPECT_EQ(f.ListCount(), 4);   // "*.*" lists files without a dot too
    f.setPattern("*.vbp;*.VBP");
    ASSERT_EQ(f.ListCount(), 2);
    EXPECT_EQ(f.List(0), "one.vbp");
    f.setFileName("Two.VBP");
    EXPECT_EQ(f.ListIndex(), 1);
    EXPECT_THAT(form().events, ElementsAre("File1_PathChange", "File1_Click Two.VBP"));
}

}  // namespace

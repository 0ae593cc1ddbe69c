// Damaged and unusual input during a search or a conversion: skipped or left
// unchanged, nothing lost, and the program goes on.
#include "ConversionFixture.h"

#include "conversion/engine/mConversion.h"
#include "conversion/windows/ResultsForm.h"
#include "tests/support/FormTexts.h"
#include "platform/forms/MsgBox.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <utility>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using testing::ElementsAre;
using testing::IsEmpty;

TEST_F(ConversionWindow, BinaryPipeAndLinkedFolderAreSkipped)
{
    QByteArray binary(100000, '\0');
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = char((i * 131 + 7) & 0xff);
    writeAll(at("Inventory/Garbage.vbp"), binary);
    // A pipe would block a read for ever; a link to a parent folder would
    // make the search endless.
    ASSERT_EQ(mkfifo(qPrintable(at("Inventory/Pipe.vbp")), 0644), 0);
    ASSERT_TRUE(QFile::link(root(), at("Inventory/Loop")));

    find(2, root());
    EXPECT_THAT(listed(), ElementsAre(at("Inventory/Inventory.vbp")));
    EXPECT_EQ(bwtest::fileBytes(at("Inventory/Garbage.vbp")), binary);
}

TEST_F(ConversionWindow, MissingFolderInTheListIsPassedOver)
{
    find(2, at("NoSuchFolder") + ";;" + root() + ";");
    EXPECT_THAT(listed(), ElementsAre(at("Inventory/Inventory.vbp")));
}

TEST_F(ConversionWindow, UnreadableFolderIsSkipped)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "running as root: a folder without permissions stays readable";
    QDir().mkpath(at("Locked/Inner"));
    QFile::copy(at("Inventory/Inventory.vbp"), at("Locked/Inner/Hidden.vbp"));
    ASSERT_EQ(chmod(qPrintable(at("Locked")), 0), 0);
    find(2, root());
    chmod(qPrintable(at("Locked")), 0755);
    EXPECT_THAT(listed(), ElementsAre(at("Inventory/Inventory.vbp")));
}

TEST_F(ConversionWindow, ReadOnlyProjectStaysAsItWasAndIsNotReported)
{
    const QString project = at("Inventory/Inventory.vbp");
    const QString other = at("Tools/Second.vbp");
    QFile::copy(project, other);
    const QByteArray original = bwtest::fileBytes(project);
    ASSERT_TRUE(QFile::setPermissions(project, QFileDevice::ReadOwner | QFileDevice::ReadGroup));

    find(2, root());
    ASSERT_THAT(listed(), ElementsAre(project, other));
    main().List1.clickItem(0);
    forms::testing::answerNextMsgBox(forms::vbOK);   // names the read-only project
    forms::testing::answerNextModal<ResultsForm>([&](ResultsForm& results) {
        expectWholeAndDistinct(results, QStringLiteral("results"));
        ASSERT_EQ(results.List1.ListCount(), 1);
        EXPECT_EQ(results.List1.List(0), other);
        results.cmdOK.click();
    });
    main().cmdConvert.click();

    EXPECT_EQ(bwtest::fileBytes(project), original);
    EXPECT_THAT(listed(), ElementsAre(project));   // still listed, still checked
    EXPECT_THAT(checked(), ElementsAre(project));
    EXPECT_NE(bwtest::fileBytes(other), original);
    QFile::setPermissions(project, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

TEST_F(ConversionWindow, ProjectsThatFailAreNamedWithTheirReasonsInOneMessage)
{
    const QString readOnly = at("Inventory/Inventory.vbp");
    const QString blocked = at("Tools/Blocked.vbp");
    const QString vanished = at("Tools/Vanished.vbp");
    const QString fine = at("Tools/Fine.vbp");
    for (const QString& copy : {blocked, vanished, fine})
        ASSERT_TRUE(QFile::copy(readOnly, copy));
    ASSERT_TRUE(QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    ASSERT_TRUE(QDir().mkpath(at("Tools/Blocked.bak")));   // a folder where the backup goes
    const QByteArray original = bwtest::fileBytes(readOnly);

    find(2, root());
    ASSERT_EQ(listed().size(), 4);
    ASSERT_TRUE(QFile::remove(vanished));   // gone between Find and Convert
    forms::testing::answerNextMsgBox(forms::vbOK);
    forms::testing::answerNextModal<ResultsForm>([&](ResultsForm& results) {
        ASSERT_EQ(results.List1.ListCount(), 1);
        EXPECT_EQ(results.List1.List(0), fine);
        results.cmdOK.click();
    });
    main().cmdConvert.click();

    ASSERT_EQ(forms::testing::shownMsgBoxes().size(), 1u);
    const auto& box = forms::testing::shownMsgBoxes().front();
    EXPECT_EQ(box.title, "Convert Results");
    EXPECT_EQ(box.buttons, forms::vbExclamation);
    const QStringList lines = box.text.split(QStringLiteral("\r\n"));
    EXPECT_THAT(lines, testing::IsSupersetOf(
                           {readOnly + ": it is read-only",
                            blocked + ": a folder stands where its backup " +
                                at("Tools/Blocked.bak") + " should go",
                            vanished + ": it no longer exists"}));
    for (const QString& line : lines)
        EXPECT_FALSE(line.startsWith(fine));
    // What failed is unchanged and still checked; what converted is gone from the list.
    EXPECT_EQ(bwtest::fileBytes(readOnly), original);
    EXPECT_EQ(bwtest::fileBytes(blocked), original);
    EXPECT_THAT(checked(), testing::UnorderedElementsAre(readOnly, blocked, vanished));
    EXPECT_NE(bwtest::fileBytes(fine), original);
    QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

TEST_F(ConversionWindow, AFileLargerThanAProjectIsNeitherListedNorRewritten)
{
    // Each begins like a project; the sparse tails cost no disk.
    const QString project = at("Inventory/Inventory.vbp");
    const QString atLimit = at("Tools/AtLimit.vbp");
    const QString over = at("Tools/Over.vbp");
    const QString huge = at("Tools/Huge.vbp");
    for (const auto& [copy, size] : {std::pair{atLimit, mConversion::kMaxProjectBytes},
                                     std::pair{over, mConversion::kMaxProjectBytes + 1},
                                     std::pair{huge, qint64(1) << 30}}) {
        ASSERT_TRUE(QFile::copy(project, copy));
        ASSERT_TRUE(QFile::resize(copy, size));
    }
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    QElapsedTimer clock;
    clock.start();
    find(2, root());
    EXPECT_LT(clock.elapsed(), 2000);
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 64 * 1024);   // kB
    ASSERT_THAT(listed(), ElementsAre(project, atLimit));

    // Grown by one byte after Find: refused by name and size, left as it was.
    ASSERT_TRUE(QFile::resize(atLimit, mConversion::kMaxProjectBytes + 1));
    forms::testing::answerNextMsgBox(forms::vbOK);
    forms::testing::answerNextModal<ResultsForm>([](ResultsForm& results) {
        results.cmdOK.click();
    });
    main().cmdConvert.click();
    ASSERT_EQ(forms::testing::shownMsgBoxes().size(), 1u);
    EXPECT_THAT(forms::testing::shownMsgBoxes()[0].text.split(QStringLiteral("\r\n")),
                testing::Contains(atLimit + ": it is 4194305 bytes, more than a project file "
                                            "can be (4194304 bytes)"));
    EXPECT_EQ(QFileInfo(atLimit).size(), mConversion::kMaxProjectBytes + 1);
    EXPECT_FALSE(QFile::exists(at("Tools/AtLimit.bak")));
    EXPECT_THAT(checked(), ElementsAre(atLimit));
}

#include "ConversionFixture.h"

#include "platform/runtime/Error.h"
#include "platform/system/ProgramSettings.h"
#include "tests/support/FileBytes.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

namespace {

using bwtest::fileBytes;
void copyTree(const QString& from, const QString& to)
{
    QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + file.mid(from.size());
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(file, target);
    }
}
}  // namespace

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

void ConversionWindow::SetUp()
{
    forms::testing::enable();
    try {
        sys::DeleteSetting(QStringLiteral("Marquell Conversion Utility"));
    } catch (const rt::Error&) {
    }
    copyTree(QStringLiteral(BW_SOURCE_DIR "/examples/conversion/Projects"), root());
}

void ConversionWindow::TearDown()
{
    if (main().isLoaded())
        main().Unload();
    // Unloading the main window closes every other window of the program.
    QStringList stillLoaded;
    for (forms::Form* form : forms::Form::loadedForms())
        stillLoaded << form->className();
    EXPECT_THAT(stillLoaded, testing::IsEmpty());
    EXPECT_THAT(forms::testing::failures(), testing::IsEmpty());
    EXPECT_EQ(forms::testing::pendingMsgBoxAnswers(), 0);
    EXPECT_EQ(forms::testing::pendingModalAnswers(), 0);
    forms::testing::reset();
}

void ConversionWindow::find(int row, const QString& folders, bool subFolders)
{
    main().cboProduct.setListIndex(row);
    main().txtPath.setText(folders);
    main().chkSubFolders.setValue(subFolders ? forms::vbChecked : forms::vbUnchecked);
    main().cmdFind.click();
}

QStringList ConversionWindow::listed()
{
    QStringList out;
    for (int32_t i = 0; i < main().List1.ListCount(); ++i)
        out << main().List1.List(i);
    return out;
}

QStringList ConversionWindow::checked()
{
    QStringList out;
    for (int32_t i = 0; i < main().List1.ListCount(); ++i) {
        if (main().List1.Selected(i))
            out << main().List1.List(i);
    }
    return out;
}

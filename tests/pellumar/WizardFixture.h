#pragma once
// A wizard in a temporary folder holding a copy of the sample toolset, with
// its settings file there too, and helpers that play the user.

#include "pellumar/wizard/frmWizard.h"
#include "pellumar/wizard/modWizard.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/Testing.h"
#include "platform/gdi/Gdi.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

class WizardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        forms::testing::enable();
        ASSERT_TRUE(dir.isValid());
        const QDir examples(QStringLiteral(BW_SOURCE_DIR "/examples/pellumar"));
        for (const char* name : {"Sample.bm$", "Sample.bmp"})
            ASSERT_TRUE(QFile::copy(examples.filePath(QLatin1String(name)), path(name)));
        modWizard::setSettingsFile(path("Pellumar.ini"));
    }
    void TearDown() override
    {
        for (forms::Form* f : forms::Form::loadedForms())
            f->Unload();
        modWizard::setSettingsFile(QString());
        EXPECT_THAT(forms::testing::takeFailures(), ::testing::IsEmpty());
    }

    QString path(const char* name) const { return QDir(dir.path()).filePath(QLatin1String(name)); }
    void write(const char* name, const QByteArray& content) const
    {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    static frmWizard& wizard() { return frmWizard::get(); }
    static QStringList titles()
    {
        QStringList out;
        for (const auto& m : forms::testing::shownMsgBoxes())
            out << m.title;
        return out;
    }
    // Drags out the image area from cell pixel (x1, y1) to (x2, y2) on area's canvas.
    static void dragArea(int16_t area, int x1, int y1, int x2, int y2)
    {
        pellumar::CDraw& e = *wizard().Engines[size_t(area)];
        const auto tx = [&](int x) { return float(e.XActualToCanvas(int16_t(x)) + 1) * 15.f; };
        const auto ty = [&](int y) { return float(e.YActualToCanvas(int16_t(y)) + 1) * 15.f; };
        wizard().picCanvas_MouseDown(area, 1, 0, tx(x1), ty(y1));
        wizard().picCanvas_MouseMove(area, 1, 0, tx(x2), ty(y2));
        wizard().picCanvas_MouseUp(area, 1, 0, tx(x2), ty(y2));
    }
    static void chooseToolset(const QString& file)
    {
        forms::testing::answerNextFileDialog(file);
        wizard().cmdBrowseForToolset.click();
    }
    // Message boxes this test expects: each answered with OK.
    static void answerOk(int n)
    {
        for (int i = 0; i < n; ++i)
            forms::testing::answerNextMsgBox(forms::vbOK);
    }
    static QString stepCaption() { return wizard().StepCaption(wizard().iCurrentStep); }
    static void next() { wizard().cmdNav(frmWizard::NavNext).click(); }
    static void back() { wizard().cmdNav(frmWizard::NavBack).click(); }

    QTemporaryDir dir;
};

// Colour of a picture's pixel, without the palette flag.
inline gdi::COLORREF pixelOf(const forms::Picture& pic, int x, int y)
{
    const QImage img = pic->toImage();
    const QRgb c = img.pixel(x, y);
    return gdi::RGB(uint8_t(qRed(c)), uint8_t(qGreen(c)), uint8_t(qBlue(c)));
}

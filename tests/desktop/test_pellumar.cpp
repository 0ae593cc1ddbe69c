// Pellumar on a real desktop: a whole run typed and clicked through, the
// selection tip while an area is dragged, and every way out.
#include "DesktopFixture.h"

#include <QDir>

using namespace desktop;

namespace {

const QString kWizard = QStringLiteral("^Quenbrix Toolset Conversion Wizard - ");
const QString kQuestion = QStringLiteral("^Quenbrix Toolset Conversion Wizard$");
const QString kFileDialog = QStringLiteral("^Select Kelvory Toolset$");

// Places on the wizard's client area, in pixels (its design is in twips).
const QPoint kCancel((2640 + 630) / 15, (5520 + 150 + 195) / 15);
const QPoint kBrowse((7800 + 210) / 15, (1080 + 157) / 15);
const QPoint kCanvas((2040 + 900) / 15, (1620 + 900) / 15);   // inside the Up area
const QRect kNext(5400 / 15, (5520 + 150) / 15, 1260 / 15, 390 / 15);

class PellumarDesktop : public DesktopTest {
protected:
    // The program runs from a folder of its own: its settings file lives
    // beside it.
    WindowId start()
    {
        QDir().mkpath(d->path(QStringLiteral("bin")));
        program = d->path(QStringLiteral("bin/pellumar"));
        if (!QFile::exists(program))
            QFile::copy(programPath(QStringLiteral("pellumar")), program);
        wizard = launch(program, {}, kWizard, &process);
        return wizard;
    }
    // A copy of the sample toolset in the named folder; the toolset's path.
    QString toolsetIn(const QString& folder)
    {
        const QString dir = d->path(folder);
        QDir().mkpath(dir);
        for (const char* name : {"Sample.bm$", "Sample.bmp"})
            QFile::copy(QStringLiteral(BW_SOURCE_DIR "/examples/pellumar/") + QLatin1String(name),
                        dir + QLatin1Char('/') + QLatin1String(name));
        return dir + QStringLiteral("/Sample.bm$");
    }
    QPoint at(QPoint client) { return d->clientRect(wizard).topLeft() + client; }
    bool onStep(const QString& caption)
    {
        return waitFor([&] { return d->title(wizard).endsWith(caption); }, kPatience);
    }
    // Step 1: "..." opens the file dialog, in which the path is typed.
    void chooseToolset(const QString& path)
    {
        d->key(QStringLiteral("alt+n"));
        ASSERT_TRUE(onStep(QStringLiteral("Select Toolset")));
        d->click(at(kBrowse));
        const WindowId dialog = d->waitForWindow(kFileDialog, kAppear);
        ASSERT_NE(dialog, 0u);
        d->waitForPainted(dialog, kAppear);
        ASSERT_TRUE(d->waitForActive(dialog));
        d->type(path);
        d->key(QStringLiteral("Return"));
        ASSERT_TRUE(d->waitForNoWindow(kFileDialog));
        ASSERT_TRUE(d->waitForActive(wizard)) << "the wizard is not active again";
        // The wizard has read the toolset once "Next >" shows enabled (black
        // letters, not grey ones).
        const QRect next = kNext.translated(d->clientRect(wizard).topLeft());
        ASSERT_TRUE(waitFor(
            [&] {
                const QImage shot = d->grab(next);
                int black = 0;
                for (int y = 0; y < shot.height(); ++y)
                    for (int x = 0; x < shot.width(); ++x)
                        black += qGray(shot.pixel(x, y)) < 40;
                return black > 20;
            },
            kPatience))
            << "Next > is not enabled";
    }

    QString program;
    QProcess* process = nullptr;
    WindowId wizard = 0;
};

TEST_F(PellumarDesktop, AWholeRunTypedAndClickedEndsWithFinishAndNo)
{
    // The folder's name holds every printable character a path can hold and
    // the file dialog takes literally: '/' separates, "*?[" make a pattern,
    // '"' quotes one of several names.
    QString name = QStringLiteral("set ");
    for (const QChar c : printableText())
        if (!QStringLiteral("/*?[\"").contains(c))
            name += c;
    const QString toolset = toolsetIn(name);
    ASSERT_NE(start(), 0u);
    chooseToolset(toolset);
    for (const char* step : {"Select Images", "Select Tool Up Image Area", "Select Tool Size",
                             "Ready To Convert!"}) {
        d->key(QStringLiteral("alt+n"));
        ASSERT_TRUE(onStep(QLatin1String(step))) << step;
    }
    d->key(QStringLiteral("alt+f"));
    const WindowId question = d->waitForWindow(kQuestion, kAppear);   // convert another?
    ASSERT_NE(question, 0u);
    ASSERT_TRUE(d->waitForActive(question));
    d->key(QStringLiteral("alt+n"));
    expectEndsSoon(*process);

    EXPECT_TRUE(QFile::exists(d->path(name + QStringLiteral("/Sample.qrv"))));
    // The settings file is a plain profile file: read the line itself.
    QFile f(d->path(QStringLiteral("bin/Pellumar.ini")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(f.readAll()).contains(
        QStringLiteral("ToolsetDirectory=") + d->path(name)));
}

TEST_F(PellumarDesktop, TheSelectionTipShowsItsTextBesideThePointer)
{
    const QString toolset = toolsetIn(QStringLiteral("plain"));
    ASSERT_NE(start(), 0u);
    chooseToolset(toolset);
    for (const char* step : {"Select Images", "Select Tool Up Image Area"}) {
        d->key(QStringLiteral("alt+n"));
        ASSERT_TRUE(onStep(QLatin1String(step))) << step;
    }
    const QPoint from = at(kCanvas - QPoint(40, 40));
    const QPoint to = at(kCanvas);
    d->moveMouse(from);
    d->press();
    d->moveMouse(from + QPoint(20, 20));
    d->moveMouse(to);
    QRect tip;
    ASSERT_TRUE(waitFor(
        [&] {
            for (const QRect& r : d->unmanagedWindows())
                if (r.topLeft() == to + QPoint(6, 6))
                    tip = r;
            return tip.isValid();
        },
        kPatience))
        << "no tip window beside the pointer";
    // Dark text on the tip's light background.
    const QImage shot = d->grab(tip);
    int dark = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            dark += qGray(shot.pixel(x, y)) < 100;
    EXPECT_GT(dark, 40);
    EXPECT_GT(tip.width(), 3 * tip.height());   // one line of text
    d->release();
    EXPECT_TRUE(waitFor(
        [&] {
            const auto now = d->unmanagedWindows();
            return std::find(now.begin(), now.end(), tip) == now.end();
        },
        kPatience))
        << "the tip stays after the release";
}

TEST_F(PellumarDesktop, TheCloseBoxEndsTheProgram)
{
    const WindowId w = start();
    ASSERT_NE(w, 0u);
    d->clickCloseBox(w);
    expectEndsSoon(*process);
}

TEST_F(PellumarDesktop, CancelAndYesEndsTheProgram)
{
    ASSERT_NE(start(), 0u);
    d->click(at(kCancel));
    const WindowId question = d->waitForWindow(kQuestion, kAppear);
    ASSERT_NE(question, 0u);
    ASSERT_TRUE(d->waitForActive(question));
    d->key(QStringLiteral("alt+y"));
    expectEndsSoon(*process);
}

}  // namespace

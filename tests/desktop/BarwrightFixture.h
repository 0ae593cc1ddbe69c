#pragma once
// Barwright on a desktop: the panel started on a copy of the sample
// configuration, the tool dialog reached by its keys, and the configuration
// file that Apply writes read back.

#include "DesktopFixture.h"

#include <QImage>

namespace desktop {

inline const QString kPanel = QStringLiteral("^Configuration Control Panel$");
inline const QString kNewTool = QStringLiteral("^New Tool$");

inline QJsonObject readConfiguration(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(f.readAll()).object();
}

inline QJsonObject toolById(const QJsonObject& config, const QString& id)
{
    for (const QJsonValue t : config[QStringLiteral("tools")].toArray())
        if (t[QStringLiteral("ID")].toString() == id)
            return t.toObject();
    return {};
}

class BarwrightDesktop : public DesktopTest {
protected:
    void SetUp() override
    {
        DesktopTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        config = copyOfSample();
        ASSERT_FALSE(config.isEmpty());
        startSession();
    }
    void startSession()
    {
        panel = launch(programPath(QStringLiteral("barwright")), {config}, kPanel, &process);
        ASSERT_NE(panel, 0u);
    }
    // The close box of the panel: Cancel, nothing changed, the session ends.
    void endSession()
    {
        d->activate(panel);
        d->clickCloseBox(panel);
        ASSERT_TRUE(Desktop::waitForExit(*process, kEnd)) << "the session goes on";
    }
    QRect storedRect(const QString& section)
    {
        const QStringList key{QStringLiteral("Software"), QStringLiteral("Marquell.ZentribarPlus"),
                              QStringLiteral("Version2"), QStringLiteral("ConfigUtility"), section};
        const auto value = [&](const char* name) {
            return storedValue(storePath(), key, QLatin1String(name)).toInt();
        };
        return QRect(value("Left"), value("Top"), value("Width"), value("Height"));
    }
    // The Pictures tab of a new tool, the dialog's window.
    WindowId newToolOnPictures()
    {
        const WindowId dialog = newTool();
        if (!dialog)
            return 0;
        const QRect client = d->clientRect(dialog);
        const QImage general = d->grab(client);
        d->key(QStringLiteral("alt+p"));
        waitFor([&] { return d->grab(client) != general; }, kPatience);
        return dialog;
    }
    // Tools tab, "&New...": the tool dialog, active.
    WindowId newTool()
    {
        d->key(QStringLiteral("alt+s"));
        d->key(QStringLiteral("alt+n"));
        return appeared(kNewTool);
    }
    // OK in the dialog, then Apply in the panel: the file holds the tool.
    QJsonObject okAndApply(const QString& id)
    {
        d->key(QStringLiteral("Return"));
        return applyAndRead(id);
    }
    // The dialog closed with OK, then Apply in the panel.
    QJsonObject applyAndRead(const QString& id)
    {
        EXPECT_TRUE(d->waitForNoWindow(kNewTool));
        d->activate(panel);
        d->key(QStringLiteral("alt+a"));
        QJsonObject tool;
        waitFor(
            [&] {
                tool = toolById(readConfiguration(config), id);
                return !tool.isEmpty();
            },
            kPatience);
        return tool;
    }

    // A pencil stroke across the canvas. The canvas drops the moves that come
    // while it draws, so the hand stays at the end until the end shows drawn
    // (moving a pixel on, as a hand does, when that last move was dropped).
    void stroke(QPoint from, QPoint to, int steps = 12)
    {
        const QRect end(to - QPoint(1, 1), QSize(3, 3));
        const QImage before = d->grab(end);
        d->moveMouse(from);
        d->press();
        for (int i = 1; i <= steps; ++i)
            d->moveMouse(from + (to - from) * i / steps);
        const auto drawn = [&] { return d->grab(end) != before; };
        for (int i = 0; i < kPatience / 100 && !waitFor(drawn, 100); ++i)
            d->moveMouse(to + QPoint(0, (i + 1) % 2));
        d->release();
    }
    // The tool's Normal picture as the file holds it; null when it has none.
    QImage normalPicture(const QJsonObject& tool)
    {
        const int index = tool[QStringLiteral("Pictures")][QStringLiteral("Normal")].toInt(-1);
        if (index < 0)
            return {};
        const QByteArray png = QByteArray::fromBase64(readConfiguration(config)[QStringLiteral(
            "pictures")].toArray()[index].toString().toLatin1());
        return QImage::fromData(png, "PNG").convertToFormat(QImage::Format_RGB32);
    }

    QString config;
    WindowId panel = 0;
    QProcess* process = nullptr;
};

// Where the canvas sits (inside the state tabs) and the actual-size boxes.
inline const QRect kStateTabs((210 + 0) / 15, (1050 + 420) / 15, 5040 / 15, (4680 - 420) / 15);
inline const QRect kActualBoxes((5340 + 1290) / 15, (570 + 2640) / 15, 1080 / 15, 1140 / 15);

}  // namespace desktop

// Barwright on a real desktop: a tool typed into the tool dialog and a stroke
// drawn on its picture, both read back from the configuration file that Apply
// writes.
#include "DesktopFixture.h"

#include <QImage>

using namespace desktop;

namespace {

const QString kPanel = QStringLiteral("^Configuration Control Panel$");
const QString kNewTool = QStringLiteral("^New Tool$");

QJsonObject readConfiguration(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(f.readAll()).object();
}

QJsonObject toolById(const QJsonObject& config, const QString& id)
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
        config = d->path(QStringLiteral("sample.qrv"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(BW_SOURCE_DIR "/examples/sample.qrv"), config));
        QFile::setPermissions(config, QFile::ReadOwner | QFile::WriteOwner);
        panel = launch(programPath(QStringLiteral("barwright")), {config}, kPanel, &process);
        ASSERT_NE(panel, 0u);
    }
    // Tools tab, "&New...": the tool dialog, active.
    WindowId newTool()
    {
        d->key(QStringLiteral("alt+s"));
        d->key(QStringLiteral("alt+n"));
        const WindowId w = d->waitForWindow(kNewTool, kAppear);
        if (w) {
            d->waitForPainted(w, kAppear);
            d->activate(w);
        }
        return w;
    }
    // OK in the dialog, then Apply in the panel: the file holds the tool.
    QJsonObject okAndApply(const QString& id)
    {
        d->key(QStringLiteral("Return"));
        EXPECT_TRUE(d->waitForNoWindow(kNewTool));
        d->activate(panel);
        d->key(QStringLiteral("alt+a"));
        QJsonObject tool;
        waitFor(
            [&] {
                tool = toolById(readConfiguration(config), id);
                return !tool.isEmpty();
            },
            10000);
        return tool;
    }

    QString config;
    WindowId panel = 0;
    QProcess* process = nullptr;
};

TEST_F(BarwrightDesktop, EveryTypedCharacterReachesTheToolsNameAndId)
{
    ASSERT_NE(newTool(), 0u);
    d->key(QStringLiteral("alt+n"));   // "&Name:" hands the focus to the name
    const QString name = QStringLiteral("X ") + printableText();
    d->type(name);
    // The ID follows the name without its blanks and ampersands.
    QString id = QStringLiteral("ID_") + name;
    id.remove(u' ');
    id.remove(u'&');
    const QJsonObject tool = okAndApply(id);
    ASSERT_FALSE(tool.isEmpty()) << "no tool " << id.toStdString();
    EXPECT_EQ(tool[QStringLiteral("Name")].toString(), name.trimmed());
}

TEST_F(BarwrightDesktop, AStrokeDrawnOnTheCanvasReachesThePicture)
{
    const WindowId dialog = newTool();
    ASSERT_NE(dialog, 0u);
    d->key(QStringLiteral("alt+n"));
    d->type(QStringLiteral("Stroke"));
    const QRect client = d->clientRect(dialog);
    const QImage general = d->grab(client);
    d->key(QStringLiteral("alt+p"));   // the Pictures tab, the pencil chosen
    ASSERT_TRUE(waitFor([&] { return d->grab(client) != general; }, 5000));
    // The canvas is centred in the state tabs (twips 210, 1050, 5040 x 4680
    // of the client area, below their captions): a stroke across its middle.
    const QPoint centre = client.topLeft() + QPoint((210 + 2520) / 15, (1050 + 2520) / 15);
    d->drag(centre - QPoint(90, 0), centre + QPoint(90, 0), 12);

    const QJsonObject tool = okAndApply(QStringLiteral("ID_Stroke"));
    ASSERT_FALSE(tool.isEmpty());
    const int index = tool[QStringLiteral("Pictures")][QStringLiteral("Normal")].toInt(-1);
    ASSERT_GE(index, 0) << "no Normal picture";
    const QByteArray png = QByteArray::fromBase64(
        readConfiguration(config)[QStringLiteral("pictures")].toArray()[index].toString().toLatin1());
    const QImage picture = QImage::fromData(png, "PNG").convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(picture.size(), QSize(16, 17));
    const QRgb mask = picture.pixel(0, 16);
    // One row holds the stroke, a run of at least ten drawn pixels; every
    // other pixel of the picture is transparent.
    int strokeRow = -1;
    for (int y = 0; y < 16; ++y) {
        int drawn = 0;
        for (int x = 0; x < 16; ++x)
            drawn += picture.pixel(x, y) != mask;
        if (drawn >= 10)
            strokeRow = y;
        else
            EXPECT_EQ(drawn, 0) << "row " << y;
    }
    EXPECT_GE(strokeRow, 5);
    EXPECT_LE(strokeRow, 10);
}

}  // namespace

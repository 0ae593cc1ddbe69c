#pragma once
// Barwright started on a configuration the test writes, its preview window
// active, and where colours show in the preview's pixels.

#include "BarwrightFixture.h"
#include "ToolPictures.h"

#include <QBuffer>
#include <QImage>

namespace desktop {

inline const QString kPreview = QStringLiteral("^Halvorbar Configuration Preview$");
inline constexpr int kPicturePixels = 16 * 16;

// Where a colour shows in a picture, and how often.
struct Found {
    QRect box;
    int count = 0;
};

inline Found find(const QImage& shot, QRgb colour)
{
    Found f;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            if (shot.pixel(x, y) == colour) {
                f.box |= QRect(x, y, 1, 1);
                ++f.count;
            }
        }
    }
    return f;
}

class BarwrightPreviewDesktop : public DesktopTest {
protected:
    // Barwright on the configuration; the preview window, active.
    WindowId start(const QByteArray& content)
    {
        config = d->path(QStringLiteral("preview.qrv"));
        QFile f(config);
        if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
            return 0;
        f.close();
        panel = launch(programPath(QStringLiteral("barwright")), {config}, kPanel);
        if (!panel)
            return 0;
        const WindowId preview = d->waitForWindow(kPreview, kAppear);
        if (preview) {
            d->activate(preview);
            d->waitForPainted(preview, kAppear);
        }
        return preview;
    }
    // Waits until the colour shows whole in the window and pred holds for
    // where it is; what was found last.
    Found waitForColour(WindowId w, QRgb colour, const std::function<bool(const QRect&)>& pred)
    {
        Found f;
        waitFor(
            [&] {
                f = find(d->grabWindow(w), colour);
                return f.count == kPicturePixels && pred(f.box);
            },
            kPatience);
        return f;
    }

    QString config;   // the file Barwright was started on, which Apply writes
    WindowId panel = 0;
};

}  // namespace desktop

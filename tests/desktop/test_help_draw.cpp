// F1 in the tool dialog opens the help topic of its tab, and menu separators
// are drawn as lines alone.
#include "BarwrightFixture.h"

using namespace desktop;

namespace {

class HelpDrawDesktop : public DesktopTest {};

TEST_F(HelpDrawDesktop, F1OnEachToolDialogTabOpensThatTabsTopic)
{
    // Registered as scripts/register-help does, in this desktop's store.
    QProcess& reg = d->start(programPath(QStringLiteral("bw-register-help")),
                             {QStringLiteral(BW_SOURCE_DIR "/help")});
    ASSERT_TRUE(Desktop::waitForExit(reg, kAppear));
    ASSERT_EQ(reg.exitCode(), 0);
    const QString config = copyOfSample();
    ASSERT_FALSE(config.isEmpty());
    ASSERT_NE(launch(programPath(QStringLiteral("barwright")), {config}, kPanel), 0u);

    d->key(QStringLiteral("alt+s"));
    d->key(QStringLiteral("alt+n"));
    const WindowId dialog = appeared(kNewTool);
    ASSERT_NE(dialog, 0u);
    const std::pair<const char*, const char*> tabs[] = {
        {"", "General"}, {"alt+d", "Description"}, {"alt+p", "Pictures"}};
    for (const auto& [key, topic] : tabs) {
        SCOPED_TRACE(topic);
        d->activate(dialog);
        if (*key)
            d->key(QLatin1String(key));
        d->key(QStringLiteral("F1"));
        const WindowId help =
            d->waitForWindow(QStringLiteral("^Tool Dialog: %1$").arg(QLatin1String(topic)));
        ASSERT_NE(help, 0u);
        EXPECT_TRUE(d->waitForPainted(help, kPatience));
    }
}

// The rows of a menu's picture that hold a separator: a line across most of
// the menu in one colour other than the menu's own, at most three rows high
// (a highlighted item is a band as high as the item).
std::vector<int> separatorRows(const QImage& menu)
{
    std::vector<int> rows;
    std::vector<int> band;
    const auto endBand = [&] {
        if (!band.empty() && band.size() <= 3)
            rows.insert(rows.end(), band.begin(), band.end());
        band.clear();
    };
    const QRgb background = menu.pixel(menu.width() / 2, 2);
    for (int y = 1; y + 1 < menu.height(); ++y) {
        const QRgb c = menu.pixel(menu.width() / 2, y);
        int run = 0;
        for (int x = menu.width() / 4; c != background && x < menu.width() * 3 / 4; ++x)
            run += menu.pixel(x, y) == c;
        if (c != background && run == menu.width() * 3 / 4 - menu.width() / 4)
            band.push_back(y);
        else
            endBand();
    }
    endBand();
    return rows;
}

TEST_F(HelpDrawDesktop, AMenuSeparatorHasNoDashBesideIt)
{
    const WindowId main = launch(programPath(QStringLiteral("conversion")), {},
                                 QStringLiteral("^Quenbrix VB Control Conversion Utility$"));
    ASSERT_NE(main, 0u);
    d->key(QStringLiteral("alt+a"));
    QRect menuRect;
    ASSERT_TRUE(waitFor(
        [&] {
            for (const QRect& r : d->unmanagedWindows())
                if (r.width() > 40 && r.height() > 40)
                    menuRect = r;
            return !menuRect.isEmpty();
        },
        kPatience))
        << "no Action menu";
    // Read once the menu has settled: the same picture twice running.
    QImage menu;
    std::vector<int> rows;
    ASSERT_TRUE(waitFor(
        [&] {
            const QImage shot = d->grab(menuRect);
            const bool settled = shot == menu;
            menu = shot;
            rows = separatorRows(menu);
            return settled && !rows.empty();
        },
        kPatience))
        << "no separator";
    // Text is dark; the separator's band holds none.
    int dark = 0;
    for (int y = std::max(0, rows.front() - 4); y <= std::min(menu.height() - 1, rows.back() + 4);
         ++y)
        for (int x = 0; x < menu.width(); ++x)
            dark += qGray(menu.pixel(x, y)) < 96;
    EXPECT_EQ(dark, 0);
    d->key(QStringLiteral("Escape"));
}

}  // namespace

// The control's widget, rendered offscreen: pictures with their mask colour
// transparent, docking, clicks, hiding and dragging, every toolbar in view.
#include "ToolbarTestSupport.h"

#include "platform/toolbar/ShortcutKeys.h"
#include "platform/toolbar/ZentribarWidget.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QHelpEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QToolTip>

#include <gmock/gmock.h>

using namespace toolbar;
using toolbar::testing::EventLog;
using toolbar::testing::Recorded;
using ::testing::ElementsAre;

namespace {

const QRgb kMask = qRgb(97, 65, 33);
const QRgb kFill = qRgb(0, 0, 255);
const QRgb kBack = qRgb(200, 200, 200);

class ToolbarWidget : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto open = c->tools()->Add("ID_Open");
        open->setPicture(PictureState::Normal, toolbar::testing::makePicture(16, kFill, kMask));
        c->tools()->Add("ID_Save")->setPicture(
            PictureState::Normal, toolbar::testing::makePicture(16, qRgb(0, 160, 0), kMask));
        auto text = c->tools()->Add("ID_Text");
        text->setName("Text");
        auto top = c->toolbars()->Add("Top");
        top->tools()->Add("ID_Open");
        top->tools()->Add("separator", mqSeparator);
        top->tools()->Add("ID_Save");
        auto left = c->toolbars()->Add("Left");
        left->setPositionState1(int16_t(DockArea::Left));
        left->tools()->Add("ID_Text");
        left->tools()->Add("ID_Save");

        QPalette pal = widget.palette();
        pal.setColor(QPalette::Button, kBack);
        pal.setColor(QPalette::Window, qRgb(255, 255, 255));
        widget.setPalette(pal);
        widget.resize(320, 200);
    }

    void click(QPoint at) { drag(at, at); }
    void drag(QPoint from, QPoint to)
    {
        QMouseEvent press(QEvent::MouseButtonPress, from, widget.mapToGlobal(from),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&widget, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, to, widget.mapToGlobal(to),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&widget, &release);
    }

    std::shared_ptr<MqZentribar> c = std::make_shared<MqZentribar>();
    ZentribarWidget widget{c};
};

TEST_F(ToolbarWidget, DrawsTwoDockedToolbarsWithTransparentMaskPixels)
{
    const QImage shot = widget.grab().toImage();
    const QRect top = widget.toolbarRect("Top");
    const QRect left = widget.toolbarRect("Left");
    ASSERT_FALSE(top.isEmpty());
    ASSERT_FALSE(left.isEmpty());
    EXPECT_EQ(top.topLeft(), QPoint(0, 0));
    EXPECT_EQ(left.left(), 0);
    EXPECT_GE(left.top(), top.bottom());          // the left area starts below the top one
    EXPECT_GT(left.height(), left.width());       // docked at the side: vertical

    const QRect tool = widget.toolRect("Top", 1);
    ASSERT_EQ(tool.size(), QSize(22, 22));
    const QPoint image = tool.topLeft() + QPoint(3, 3);   // the 16 x 16 picture inside
    EXPECT_EQ(shot.pixel(image + QPoint(5, 5)), kFill);
    EXPECT_EQ(shot.pixel(image + QPoint(1, 1)), qRgb(255, 0, 0));
    // The mask colour shows the toolbar through; the mask row is not drawn.
    EXPECT_EQ(shot.pixel(image + QPoint(0, 0)), kBack);
    EXPECT_EQ(shot.pixel(image + QPoint(0, 2)), kBack);
    EXPECT_EQ(shot.pixel(image + QPoint(5, 16)), kBack);
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            ASSERT_NE(shot.pixel(x, y), kMask) << x << "," << y;
}

TEST_F(ToolbarWidget, WithoutUseMaskColorTheMaskColourIsDrawn)
{
    // ID_Save shares the picture and keeps its mask colour clear.
    auto open = c->tools()->Item(QStringLiteral("ID_Open"));
    c->tools()->Item(QStringLiteral("ID_Save"))
        ->setPicture(PictureState::Normal, open->picture(PictureState::Normal));
    open->setUseMaskColor(false);
    const QImage shot = widget.grab().toImage();
    EXPECT_EQ(shot.pixel(widget.toolRect("Top", 1).topLeft() + QPoint(3, 3)), kMask);
    EXPECT_EQ(shot.pixel(widget.toolRect("Top", 3).topLeft() + QPoint(3, 3)), kBack);
}

TEST_F(ToolbarWidget, ClickingAToolRaisesToolClick)
{
    EventLog log(*c);
    click(widget.toolRect("Top", 3).center());
    click(widget.toolRect("Top", 2).center());   // the separator does nothing
    EXPECT_THAT(log.clicks, ElementsAre("ID_Save"));
}

TEST_F(ToolbarWidget, HidingAndShowingRaise0And3AndRelayout)
{
    EventLog log(*c);
    widget.setToolbarShown("Top", false);
    EXPECT_TRUE(widget.toolbarRect("Top").isEmpty());
    EXPECT_EQ(widget.toolbarRect("Left").top(), 0);
    widget.setToolbarShown("top", true);
    EXPECT_THAT(log.events, ElementsAre(Recorded{0, "Top", ""}, Recorded{3, "Top", ""}));
    c->toolbars()->Item(QStringLiteral("Top"))->setAllowHiding(false);
    log.clear();
    widget.setToolbarShown("Top", false);
    EXPECT_TRUE(log.events.empty());
}

TEST_F(ToolbarWidget, DraggingReports9Then10WithTheNewPosition)
{
    EventLog log(*c);
    auto top = c->toolbars()->Item(QStringLiteral("Top"));
    widget.dragToolbar("Top", QPoint(150, 120));   // into the middle: floating
    EXPECT_THAT(log.codes(), ElementsAre(9, 10));
    EXPECT_EQ(top->PositionState1(), int16_t(DockArea::Floating));
    const QRect floating = widget.toolbarRect("Top");
    EXPECT_TRUE(widget.rect().contains(floating));
    EXPECT_GT(floating.top(), 60);

    log.clear();
    widget.dragToolbar("Top", QPoint(200, 195));   // at the bottom edge
    EXPECT_THAT(log.codes(), ElementsAre(9, 10));
    EXPECT_EQ(top->PositionState1(), int16_t(DockArea::Bottom));
    EXPECT_EQ(widget.toolbarRect("Top").bottom(), widget.height() - 1);

    top->setDockingFlags(top->DockingFlags() | mqLocked);
    log.clear();
    widget.dragToolbar("Top", QPoint(150, 120));
    EXPECT_TRUE(log.events.empty());
}

TEST_F(ToolbarWidget, TheMouseDragsByTheGripAndClosesAFloatingToolbar)
{
    EventLog log(*c);
    const QRect top = widget.toolbarRect("Top");
    drag(top.topLeft() + QPoint(3, top.height() / 2), QPoint(160, 100));
    EXPECT_THAT(log.codes(), ElementsAre(9, 10));
    const QRect floating = widget.toolbarRect("Top");
    ASSERT_FALSE(floating.isEmpty());
    click(floating.topRight() + QPoint(-6, 6));   // the close box of its title
    EXPECT_THAT(log.codes(), ElementsAre(9, 10, 0));
    EXPECT_FALSE(c->toolbars()->Item(QStringLiteral("Top"))->Visible());
}

TEST_F(ToolbarWidget, EveryShownToolbarStaysInViewWhateverItsPosition)
{
    // "Top" follows a stretched toolbar in its row.
    auto wide = c->toolbars()->Add("Wide");
    wide->setDockingFlags(mqDockTop | mqStretch);
    wide->tools()->Add("ID_Save");
    c->toolbars()->Item(QStringLiteral("Top"))->setPositionState(3, 10);
    // Offsets and a floating place past the edges: one starting on the
    // line's last pixel, a right-docked one dropped at the bottom.
    auto far = c->toolbars()->Add("Far");
    far->setPositionState2(1);
    far->setPositionState(3, widget.width() - 1);
    far->tools()->Add("ID_Open");
    auto behind = c->toolbars()->Add("Behind");
    behind->setPositionState2(1);
    behind->setPositionState(3, 6000);
    behind->tools()->Add("ID_Save");
    auto away = c->toolbars()->Add("Away");
    away->setPositionState1(int16_t(DockArea::Floating));
    away->setPositionState(4, 5000);
    away->setPositionState(5, -5000);
    away->tools()->Add("ID_Open");
    auto low = c->toolbars()->Add("Low");
    low->setPositionState1(int16_t(DockArea::Right));
    low->setPositionState(3, widget.height() - 1);
    low->tools()->Add("ID_Open");

    const QRect stretched = widget.toolbarRect("Wide");
    EXPECT_EQ(stretched.topLeft(), QPoint(0, 0));
    EXPECT_EQ(stretched.width(), widget.width());
    EXPECT_EQ(widget.toolbarRect("Top").top(), stretched.bottom() + 1);   // the next line
    EXPECT_EQ(widget.toolbarRect("Top").left(), 10);
    for (const char* name : {"Top", "Far", "Behind", "Away", "Low"}) {
        SCOPED_TRACE(name);
        const QRect r = widget.toolbarRect(QLatin1String(name));
        ASSERT_FALSE(r.isEmpty());
        EXPECT_TRUE(widget.rect().contains(r));
    }
    EXPECT_GT(widget.toolbarRect("Behind").top(), widget.toolbarRect("Far").bottom());
    // What the docked toolbars leave.
    EXPECT_EQ(widget.freeArea(), QRect(QPoint(widget.toolbarRect("Left").right() + 1,
                                              widget.toolbarRect("Behind").bottom() + 1),
                                       QPoint(widget.toolbarRect("Low").left() - 1,
                                              widget.height() - 1)));
    // Lines the area has no room for are left out whole.
    widget.resize(widget.width(), stretched.height() + 3);
    EXPECT_EQ(widget.toolbarRect("Wide"), stretched);
    for (const char* name : {"Top", "Far", "Left", "Low"})
        EXPECT_TRUE(widget.toolbarRect(QLatin1String(name)).isEmpty()) << name;
}

TEST_F(ToolbarWidget, AToolbarLongerThanItsLineEndsInMoreToolsListingTheRest)
{
    c->SwitchConfigMode(2358);
    auto top = c->toolbars()->Item(QStringLiteral("Top"));
    for (int i = 1; i <= 20; ++i) {
        const QString id = QStringLiteral("ID_%1").arg(i);
        c->tools()->Add(id)->setPicture(PictureState::Normal,
                                        toolbar::testing::makePicture(16, kFill, kMask));
        top->tools()->Add(id);
    }
    top->tools()->Add("ID_Text");
    const QRect bar = widget.toolbarRect("Top");
    EXPECT_EQ(bar.width(), widget.width());
    const QRect more = widget.moreToolsRect("Top");
    ASSERT_FALSE(more.isEmpty());
    EXPECT_TRUE(bar.contains(more));
    int shown = 0;
    for (int i = 1; i <= top->tools()->Count(); ++i) {
        const QRect r = widget.toolRect("Top", i);
        if (!r.isEmpty()) {
            ++shown;
            EXPECT_LT(r.right(), more.left()) << i;
        }
    }
    ASSERT_GT(shown, 3);

    EventLog log(*c);
    click(more.center());
    auto* menu = widget.findChild<QMenu*>();
    ASSERT_NE(menu, nullptr);
    const auto actions = menu->actions();
    ASSERT_EQ(actions.size(), top->tools()->Count() - shown);
    EXPECT_EQ(actions.last()->text(), "Text");
    actions.last()->trigger();   // selects it, as a click on the toolbar does
    EXPECT_THAT(log.events, ElementsAre(Recorded{11, "Top", "ID_Text"}));
    menu->close();

    top->setDisplayMoreToolsButton(false);
    EXPECT_TRUE(widget.moreToolsRect("Top").isEmpty());
    EXPECT_EQ(widget.toolbarRect("Top").width(), widget.width());
    EXPECT_FALSE(widget.toolRect("Top", shown).isEmpty());
}

TEST_F(ToolbarWidget, AnInvisibleToolTakesNoSpaceAndDrawsNothing)
{
    const QRect before = widget.toolbarRect("Top");
    c->tools()->Item(QStringLiteral("ID_Save"))->setVisible(false);
    EXPECT_TRUE(widget.toolRect("Top", 3).isEmpty());
    EXPECT_TRUE(widget.toolRect("Left", 2).isEmpty());
    EXPECT_EQ(widget.toolbarRect("Top").width(), before.width() - 23);
    const QImage shot = widget.grab().toImage();
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            ASSERT_NE(shot.pixel(x, y), qRgb(0, 160, 0)) << x << "," << y;
}

TEST_F(ToolbarWidget, ToolsShowTheirTipsWithTheShortcutWhenShortcutsShow)
{
    const auto tipAt = [&](QPoint at) {
        QToolTip::hideText();   // the last tip goes after a delay
        QDeadlineTimer deadline(5000);
        while (QToolTip::isVisible() && !deadline.hasExpired())
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        QHelpEvent help(QEvent::ToolTip, at, widget.mapToGlobal(at));
        QApplication::sendEvent(&widget, &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    auto open = c->tools()->Item(QStringLiteral("ID_Open"));
    open->setTooltipText("Open a file");
    open->setShortcutKey(74);
    const QPoint at = widget.toolRect("Top", 1).center();
    EXPECT_EQ(tipAt(at), "Open a file");
    c->setShowShortcuts(true);
    EXPECT_EQ(tipAt(at), "Open a file (Shift+Ctrl+F12)");
    EXPECT_EQ(tipAt(widget.toolRect("Left", 1).center()), "Text");   // no tip: the caption
    EXPECT_EQ(tipAt(widget.toolRect("Top", 2).center()), "");        // a separator has none
    c->setShowTooltips(false);
    EXPECT_EQ(tipAt(at), "");

    open->setShortcutKey(79);   // the last key of the table
    c->setShowShortcuts(true);
    c->setShowTooltips(true);
    EXPECT_EQ(tipAt(at), "Open a file (Alt+Bksp)");
    EXPECT_EQ(shortcutKeyName(80), "");
}

TEST_F(ToolbarWidget, ADisabledToolWithoutItsOwnPictureIsGreyedKeepingItsTransparency)
{
    c->tools()->Item(QStringLiteral("ID_Open"))->setEnabled(false);
    const QImage shot = widget.grab().toImage();
    const QPoint image = widget.toolRect("Top", 1).topLeft() + QPoint(3, 3);
    EXPECT_EQ(shot.pixel(image + QPoint(0, 0)), kBack);   // the mask colour
    EXPECT_EQ(shot.pixel(image + QPoint(0, 2)), kBack);
    const QRgb grey = shot.pixel(image + QPoint(5, 5));
    EXPECT_EQ(qRed(grey), qGreen(grey));
    EXPECT_EQ(qGreen(grey), qBlue(grey));
    EXPECT_NE(grey, kBack);
}

TEST_F(ToolbarWidget, AFloatingToolbarShowsAboveTheOtherControlsOfItsForm)
{
    QWidget form;
    form.resize(320, 200);
    auto* control = new ZentribarWidget(c, &form);
    control->setPalette(widget.palette());
    control->resize(form.size());
    // A picture in the middle, above the control as a banner is.
    QWidget banner(&form);
    banner.setAutoFillBackground(true);
    QPalette pal = banner.palette();
    pal.setColor(QPalette::Window, qRgb(255, 255, 0));
    banner.setPalette(pal);
    banner.setGeometry(60, 60, 200, 80);
    form.show();

    control->dragToolbar("Top", QPoint(150, 100));
    QApplication::processEvents();
    const QRect floating = control->toolbarRect("Top");
    ASSERT_TRUE(banner.geometry().contains(floating));
    const QPoint image = control->toolRect("Top", 1).topLeft() + QPoint(3, 3);
    EXPECT_EQ(form.grab().toImage().pixel(image + QPoint(5, 5)), kFill);

    // Its title takes the mouse: dragged to the top edge, it docks again.
    const auto view = form.childAt(floating.topLeft() + QPoint(10, 5));
    ASSERT_NE(view, nullptr);
    ASSERT_NE(view, &banner);
    const QPoint from = view->mapFrom(&form, floating.topLeft() + QPoint(10, 5));
    const QPoint to = view->mapFrom(&form, QPoint(150, 3));
    QMouseEvent press(QEvent::MouseButtonPress, from, view->mapToGlobal(from), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, to, view->mapToGlobal(to), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view, &release);
    QApplication::processEvents();
    EXPECT_EQ(c->toolbars()->Item(QStringLiteral("Top"))->dockArea(), DockArea::Top);
    EXPECT_EQ(control->toolbarRect("Top").top(), 0);
    EXPECT_EQ(form.grab().toImage().pixel(image + QPoint(5, 5)), qRgb(255, 255, 0));
}

TEST_F(ToolbarWidget, AMenuBarLeadsTheTopAreaAndShowsCaptions)
{
    auto menu = c->tools()->Add("ID_File", mqMenu);
    menu->setName("&File");
    menu->menu()->tools()->Add("ID_Open");
    c->toolbars()->Add("Menu", 1)->tools()->Add("ID_File");
    EXPECT_EQ(widget.toolbarRect("Menu").top(), 0);
    EXPECT_EQ(widget.toolbarRect("Menu").width(), widget.width());   // stretched
    EXPECT_GE(widget.toolbarRect("Top").top(), widget.toolbarRect("Menu").bottom());
    EXPECT_FALSE(widget.grab().isNull());
}

}  // namespace

// The Pictures tab's two palettes (drawing tools and edit commands), the
// enabling of the commands and the keyboard shortcuts that reach them.
#include "barwright/editors/frmTool.h"

#include "barwright/connection/mGlobals.h"
#include "barwright/picture/CDraw.h"
#include "barwright/picture/CursorResources.h"
#include "barwright/picture/mDrawParams.h"
#include "platform/forms/Clipboard.h"
#include "platform/forms/MousePointer.h"
#include "platform/system/Clock.h"
#include "platform/system/KeyState.h"
#include "platform/toolbar/Tool.h"
#include "platform/toolbar/Tools.h"

#include <QPainter>
#include <QPainterPath>
#include <QTabBar>

using namespace mDrawParams;

namespace {

struct PaletteTool {
    const char* key;
    const char* tip;
};

// Two rows of six, in the palette's order.
constexpr PaletteTool kDrawingTools[] = {
    {"id_select", "Select Area"},
    {"id_pickup", "Pickup Color"},
    {"id_line", "Draw Line"},
    {"id_framebox", "Rectangle Outline"},
    {"id_framefilledbox", "Filled Rectangle"},
    {"id_filledbox", "Filled Rectangle - No Outline"},
    {"id_pencil", "Draw Pixel"},
    {"id_fill", "Fill Area"},
    {"id_dither", "Draw 3x3 Dither"},
    {"id_framecircle", "Circle Outline"},
    {"id_framefilledcircle", "Filled Circle"},
    {"id_filledcircle", "Filled Circle - No Outline"},
};

// Null keys are separators.
constexpr PaletteTool kCommands[] = {
    {"id_rotate", "Rotate 90 Degrees (Ctrl+R)"},
    {nullptr, nullptr},
    {"id_cut", "Cut (Ctrl+X)"},
    {"id_copy", "Copy (Ctrl+C)"},
    {"id_paste", "Paste (Ctrl+V)"},
    {nullptr, nullptr},
    {"id_undo", "Undo (Ctrl+Z)"},
    {"id_redo", "Redo (Ctrl+Y)"},
    {nullptr, nullptr},
    {"id_clearimage", "Clear Image (Shift+Ctrl+Delete)"},
    {nullptr, nullptr},
    {"id_nudgeup", "Nudge Image Up 1 Pixel (Shift+Up Arrow)"},
    {"id_nudgedown", "Nudge Image Down 1 Pixel (Shift+Down Arrow)"},
    {"id_nudgeleft", "Nudge Image Left 1 Pixel (Shift+Left Arrow)"},
    {"id_nudgeright", "Nudge Image Right 1 Pixel (Shift+Right Arrow)"},
};

constexpr QRgb kIconMask = 0xFF00FF;   // transparent in the palette icons

void arrow(QPainter& p, QPointF from, QPointF to)
{
    p.drawLine(from, to);
    const QPointF d = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
    const QPointF n(-d.y(), d.x());
    QPolygonF head;
    head << to + d * 1.5 << to - d * 3 + n * 3 << to - d * 3 - n * 3;
    p.setBrush(p.pen().color());
    p.drawPolygon(head);
    p.setBrush(Qt::NoBrush);
}

// 16 x 16 button pictures, drawn rather than shipped.
void drawIcon(QPainter& p, const QString& key)
{
    const QColor ink(30, 30, 30);
    const QColor fill(70, 120, 200);
    p.setPen(QPen(ink, 1));
    if (key == u"id_select") {
        p.setPen(QPen(ink, 1, Qt::DashLine));
        p.drawRect(2, 3, 11, 9);
    } else if (key == u"id_pencil") {
        p.setPen(QPen(ink, 2));
        p.drawLine(3, 13, 12, 4);
        p.setPen(QPen(QColor(230, 170, 60), 2));
        p.drawLine(9, 7, 12, 4);
    } else if (key == u"id_pickup") {
        p.setPen(QPen(ink, 2));
        p.drawLine(3, 13, 9, 7);
        p.setBrush(ink);
        p.drawEllipse(QPointF(11.5, 4.5), 2.5, 2.5);
    } else if (key == u"id_fill") {
        p.setBrush(fill);
        QPolygon bucket;
        bucket << QPoint(3, 8) << QPoint(8, 3) << QPoint(13, 8) << QPoint(8, 13);
        p.drawPolygon(bucket);
        p.drawLine(13, 9, 13, 13);
    } else if (key == u"id_line") {
        p.setPen(QPen(ink, 1.5));
        p.drawLine(2, 13, 13, 2);
    } else if (key == u"id_dither") {
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 3; ++x)
                if ((x + y) % 2 == 0)
                    p.fillRect(3 + x * 3, 3 + y * 3, 3, 3, ink);
        p.drawRect(2, 2, 10, 10);
    } else if (key.startsWith(u"id_frame") || key.startsWith(u"id_filled")) {
        const bool circle = key.endsWith(u"circle");
        const bool outline = key.startsWith(u"id_frame");
        const bool filled = key.contains(u"filled");
        p.setPen(outline ? QPen(ink, 1) : QPen(Qt::NoPen));
        p.setBrush(filled ? QBrush(fill) : Qt::NoBrush);
        if (circle)
            p.drawEllipse(2, 3, 11, 10);
        else
            p.drawRect(2, 3, 11, 9);
    } else if (key == u"id_rotate") {
        p.setPen(QPen(ink, 1.5));
        p.drawArc(QRectF(3, 3, 10, 10), 90 * 16, 270 * 16);
        arrow(p, QPointF(8, 3), QPointF(11, 3));
    } else if (key == u"id_cut") {
        p.drawEllipse(2, 10, 4, 4);
        p.drawEllipse(10, 10, 4, 4);
        p.drawLine(5, 10, 11, 2);
        p.drawLine(11, 10, 5, 2);
    } else if (key == u"id_copy") {
        p.setBrush(Qt::white);
        p.drawRect(2, 2, 8, 9);
        p.drawRect(6, 5, 8, 9);
    } else if (key == u"id_paste") {
        p.setBrush(QColor(200, 160, 90));
        p.drawRect(2, 3, 10, 11);
        p.setBrush(Qt::white);
        p.drawRect(6, 7, 8, 8);
        p.fillRect(5, 2, 4, 2, ink);
    } else if (key == u"id_undo" || key == u"id_redo") {
        p.setPen(QPen(ink, 1.5));
        QPainterPath path;
        const bool undo = key == u"id_undo";
        path.moveTo(undo ? 4 : 12, 6);
        path.cubicTo(undo ? 12 : 4, 4, undo ? 14 : 2, 12, undo ? 8 : 8, 13);
        p.drawPath(path);
        arrow(p, QPointF(undo ? 7 : 9, 6), QPointF(undo ? 4 : 12, 6));
    } else if (key == u"id_clearimage") {
        p.setBrush(Qt::white);
        p.drawRect(2, 2, 11, 11);
        p.setPen(QPen(QColor(200, 40, 40), 2));
        p.drawLine(5, 5, 10, 10);
        p.drawLine(10, 5, 5, 10);
    } else if (key.startsWith(u"id_nudge")) {
        p.setPen(QPen(ink, 1.5));
        const QPointF c(7.5, 7.5);
        QPointF d(0, -5);
        if (key == u"id_nudgedown")
            d = QPointF(0, 5);
        else if (key == u"id_nudgeleft")
            d = QPointF(-5, 0);
        else if (key == u"id_nudgeright")
            d = QPointF(5, 0);
        arrow(p, c - d, c + d);
    }
}

// A tool picture: 16 x 16 with the mask colour in the extra bottom row.
forms::Picture iconPicture(const QString& key)
{
    QImage image(16, 17, QImage::Format_RGB32);
    image.fill(kIconMask);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    drawIcon(p, key);
    p.end();
    return forms::StdPicture::fromImage(image);
}

std::shared_ptr<toolbar::Tool> addPaletteTool(toolbar::MqZentribar& bar, const QString& key,
                                              const QString& tip, bool state)
{
    auto tool = bar.tools()->Add(key, state ? toolbar::mqStateButton : toolbar::mqButton);
    tool->setName(tip);
    tool->setCategory(QStringLiteral("General"));
    if (state)
        tool->setStateGroupName(QStringLiteral("group1"));
    tool->setImageSize(16);
    tool->setUseMaskColor(true);
    tool->setPicture(toolbar::PictureState::Normal, iconPicture(key));
    return tool;
}

std::shared_ptr<toolbar::Toolbar> addPaletteBar(toolbar::MqZentribar& bar, const QString& name,
                                                int16_t row)
{
    auto tb = bar.toolbars()->Add(name);
    tb->setDockingFlags(toolbar::mqDockTop);
    tb->setDisplayGrabHandles(false);
    tb->setDisplayMoreToolsButton(false);
    tb->setAllowHiding(false);
    tb->setAllowCustomize(false);
    tb->moveTo(toolbar::DockArea::Top, row, 0, 0, 0);
    return tb;
}

}  // namespace

// The palettes are placed controls: empty at each load, filled here.
void frmTool::BuildPalettes()
{
    toolbar::MqZentribar& tools = *tbarTools.control();
    tools.setRedraw(false);
    for (int row = 0; row < 2; ++row) {
        auto tb = addPaletteBar(tools, QStringLiteral("Row%1").arg(row + 1), int16_t(row));
        for (int i = row * 6; i < row * 6 + 6; ++i) {
            const QString key = QLatin1String(kDrawingTools[i].key);
            addPaletteTool(tools, key, QLatin1String(kDrawingTools[i].tip), true);
            tb->tools()->Add(key);
        }
    }
    tools.setRedraw(true);

    toolbar::MqZentribar& misc = *tbarMisc.control();
    misc.setRedraw(false);
    auto main = addPaletteBar(misc, QStringLiteral("Main"), 0);
    for (const PaletteTool& c : kCommands) {
        if (!c.key) {
            main->tools()->Add(QString(), toolbar::mqSeparator);
            continue;
        }
        const QString key = QLatin1String(c.key);
        addPaletteTool(misc, key, QLatin1String(c.tip), false);
        main->tools()->Add(key);
    }
    misc.setRedraw(true);
}

void frmTool::SetPaletteToolTips()
{
    for (const PaletteTool& t : kDrawingTools)
        if (auto tool = tbarTools.control()->tools()->find(QLatin1String(t.key)))
            tool->setTooltipText(QLatin1String(t.tip));
    for (const PaletteTool& c : kCommands)
        if (c.key)
            if (auto tool = tbarMisc.control()->tools()->find(QLatin1String(c.key)))
                tool->setTooltipText(QLatin1String(c.tip));
}

// Checking a tool from code raises its ToolClick, which makes it current; a
// tool that is already checked raises nothing, so it is made current here.
void frmTool::CheckDrawingTool(const QString& key)
{
    auto tools = tbarTools.control()->tools();
    auto tool = tools->find(key);
    if (!tool)
        return;
    for (int32_t i = 1; i <= tools->Count(); ++i) {
        auto other = tools->Item(i);
        if (other != tool && other->State() != 0)
            other->setState(0);
    }
    const bool wasChecked = tool->State() == toolbar::mqChecked;
    tool->setState(toolbar::mqChecked);
    if (wasChecked)
        tbarTools_ToolClick(tool->ID());
}

void frmTool::tbarTools_ToolClick(const QString& toolId)
{
    const QString old = gCurrentToolID;
    gCurrentToolID = toolId;
    if (old == u"id_select" || toolId == u"id_select") {
        if (CDraw* e = currentEngine())
            e->PaintCanvas();
        picCanvas.Refresh();
    }
    picCanvas.setMousePointer(forms::vbCustom);
    picCanvas.setMouseIcon(CursorResources::LoadResCursor(GetDrawToolCode(toolId)));
    if (toolId != u"id_pickup" && toolId != u"id_select")
        gPreviousToolID = toolId;
    if (CDraw* e = currentEngine())
        e->ToolChanged();
}

void frmTool::tbarMisc_ToolClick(const QString& toolId)
{
    ExecuteMiscTool(toolId);
}

void frmTool::ExecuteMiscTool(const QString& toolId)
{
    CDraw* e = currentEngine();
    if (!e)
        return;   // every command needs the engine of the shown picture
    if (toolId == u"id_rotate")
        e->Rotate();
    else if (toolId == u"id_cut")
        e->CutSelection(true);
    else if (toolId == u"id_copy")
        e->CopySelection();
    else if (toolId == u"id_paste")
        e->Paste();
    else if (toolId == u"id_undo")
        e->Undo();
    else if (toolId == u"id_redo")
        e->Redo();
    else if (toolId == u"id_clearimage")
        e->ClearImage();
    else if (toolId == u"id_nudgeup")
        e->NudgeImage(0, 1);
    else if (toolId == u"id_nudgedown")
        e->NudgeImage(1, 1);
    else if (toolId == u"id_nudgeleft")
        e->NudgeImage(2, 1);
    else if (toolId == u"id_nudgeright")
        e->NudgeImage(3, 1);
}

bool frmTool::IsMiscToolEnabled(const QString& toolId)
{
    auto main = tbarMisc.control()->toolbars()->Item(rt::Variant(QStringLiteral("Main")));
    auto tool = main->tools()->find(toolId);
    return tool && tool->Enabled();
}

bool frmTool::IsFocusOnPictureNavigation()
{
    QWidget* focus = window() ? window()->window()->focusWidget() : nullptr;
    for (forms::Control* c : std::initializer_list<forms::Control*>{&coImageSize, &tabMain,
                                                                    &tabPics}) {
        QWidget* w = c->existingWidget();
        if (!w || !focus)
            continue;
        // The tab strips hold the tab pages; only their own tab bar counts.
        const bool own = w == focus ||
                         (qobject_cast<QTabBar*>(focus) && focus->parentWidget() == w) ||
                         (c == &coImageSize && w->isAncestorOf(focus));
        if (own)
            return true;
    }
    return false;
}

void frmTool::Timer1_Timer()
{
    auto& tools = *tbarMisc.control()->tools();
    auto enable = [&tools](const char* key, bool on) {
        if (auto t = tools.find(QLatin1String(key)))
            mGlobals::SetToolEnabled(com::Object(t), on);
    };
    enable("id_paste", forms::Clipboard::GetFormat(forms::vbCFBitmap) ||
                           forms::Clipboard::GetFormat(forms::vbCFDIB));
    if (CDraw* e = currentEngine()) {
        enable("id_cut", e->SelectionActive());
        enable("id_copy", e->SelectionActive());
        enable("id_undo", e->CanUndo());
        enable("id_redo", e->CanRedo());
    }
}

void frmTool::Form_KeyDown(int16_t& KeyCode, int16_t Shift)
{
    constexpr int32_t kVkLButton = 1;
    if (sys::GetKeyState(kVkLButton) < 0 || tabMain.Tab() != 2)
        return;
    if (IsFocusOnPictureNavigation() && !coImageSize.hasFocus()) {
        // A key held on a tab strip acts once until released for 200 ms.
        const uint32_t now = sys::GetTickCount();
        const bool fresh = m_lastKeyTime == 0 || now - m_lastKeyTime >= 200;
        if (KeyCode == m_lastKeyCode && Shift == m_lastKeyShift && !fresh) {
            m_lastKeyTime = now;
            return;
        }
        m_lastKeyTime = now;
        m_lastKeyCode = KeyCode;
        m_lastKeyShift = Shift;
    }
    const bool shift = Shift & forms::vbShiftMask;
    const bool ctrl = Shift & forms::vbCtrlMask;
    auto runIf = [this](bool condition, const char* key) {
        if (condition && IsMiscToolEnabled(QLatin1String(key)))
            ExecuteMiscTool(QLatin1String(key));
    };
    switch (KeyCode) {
    case 37: case 38: case 39: case 40:
        if (shift && !IsFocusOnPictureNavigation()) {
            static const char* const kNudge[] = {"id_nudgeleft", "id_nudgeup",
                                                 "id_nudgeright", "id_nudgedown"};
            ExecuteMiscTool(QLatin1String(kNudge[KeyCode - 37]));
        }
        break;
    case 67: runIf(ctrl, "id_copy"); break;
    case 88: runIf(ctrl, "id_cut"); break;
    case 86: runIf(ctrl, "id_paste"); break;
    case 45:
        if (shift && IsMiscToolEnabled(QStringLiteral("id_paste")))
            ExecuteMiscTool(QStringLiteral("id_paste"));
        else
            runIf(ctrl, "id_copy");
        break;
    case 46:
        if (Shift == 0) {
            if (CDraw* e = currentEngine())
                e->CutSelection(false);
        } else if (Shift == 1) {
            runIf(true, "id_cut");
        } else if (Shift == 3) {
            ExecuteMiscTool(QStringLiteral("id_clearimage"));
        }
        break;
    case 90: runIf(ctrl, "id_undo"); break;
    case 89: runIf(ctrl, "id_redo"); break;
    case 82: runIf(ctrl, "id_rotate"); break;
    default: break;
    }
}

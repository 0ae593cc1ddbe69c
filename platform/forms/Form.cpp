#include "platform/forms/Form.h"

#include "platform/forms/AccessKeys.h"
#include "platform/forms/App.h"
#include "platform/forms/FormFont.h"
#include "platform/forms/FormPalette.h"
#include "platform/forms/Input.h"
#include "platform/forms/Menu.h"
#include "platform/forms/MousePointer.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/Testing.h"
#include "platform/forms/TestingInternal.h"
#include "platform/forms/Window.h"
#include "platform/runtime/Error.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QThread>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <typeinfo>

#include <cxxabi.h>

namespace forms {

// The top-level window of a loaded form: an optional menu bar over the client
// area that holds the controls.
class FormWindow final : public QWidget {
public:
    explicit FormWindow(Form* form) : m_form(form)
    {
        m_client = new QWidget(this);
        m_client->setObjectName(QStringLiteral("client"));
        // Holds the focus when no control takes it, but is no Tab stop.
        setFocusPolicy(Qt::ClickFocus);
    }
    QWidget* client() const { return m_client; }
    QMenuBar* menuBar()
    {
        if (!m_bar)
            m_bar = new QMenuBar(this);
        return m_bar;
    }
    int barHeight() const
    {
        if (!m_bar)
            return 0;
        for (QAction* a : m_bar->actions())
            if (a->isVisible())
                return m_bar->sizeHint().height();
        return 0;
    }
    void layoutClient()
    {
        const int bh = barHeight();
        if (m_bar) {
            m_bar->setGeometry(0, 0, width(), bh);
            m_bar->setVisible(bh > 0);
        }
        m_client->setGeometry(0, bh, width(), std::max(0, height() - bh));
    }
    void detach() { m_form = nullptr; }
    QMenuBar* existingBar() const { return m_bar; }

protected:
    void closeEvent(QCloseEvent* e) override
    {
        if (!m_form) {
            e->accept();
            return;
        }
        e->ignore();
        m_form->closeRequested();
    }
    void resizeEvent(QResizeEvent* e) override
    {
        QWidget::resizeEvent(e);
        layoutClient();
        if (m_form && m_form->m_state != Form::State::Designing) {
            m_form->syncFrame();
            m_form->fireResize();
        }
    }
    bool event(QEvent* e) override
    {
        if (m_form && e->type() == QEvent::WindowActivate && isVisible()
            && !m_form->m_awaitingFrame)
            m_form->fireActivate();
        // A window manager reports its frame some time after the window is
        // mapped; the window moves then.
        if (m_form && (e->type() == QEvent::Move || e->type() == QEvent::Show))
            m_form->syncFrame();
        // The focused control shows its focus mark from the start, not only
        // once Tab was pressed: a dialog opens with the focus somewhere.
        // Showing a window clears the flag, so it is set at every showing.
        if (e->type() == QEvent::Show)
            setAttribute(Qt::WA_KeyboardFocusChange);
        return QWidget::event(e);
    }
    // Keys of the window itself (no control has the focus), and those a
    // control's widget left alone: an access key still goes to the form.
    void keyPressEvent(QKeyEvent* e) override
    {
        if (!m_form)
            return;
        QWidget* focus = QApplication::focusWidget();
        if (focus && focus != this) {
            detail::runAccessKey(*m_form, detail::accessKeyRequested(e));
            return;
        }
        detail::noteKey(e, true);
        detail::formOwnKeyPress(*m_form, e);
    }
    void keyReleaseEvent(QKeyEvent* e) override
    {
        detail::noteKey(e, false);
        if (!m_form || detail::keyOwnedInside(this, e))
            return;   // a control's key: its KeyUp (and the preview) ran
        int16_t vk = virtualKeyOf(e);
        if (vk)
            m_form->KeyUp.fire(vk, detail::shiftOf(e->modifiers()));
    }
private:
    Form* m_form;
    QWidget* m_client = nullptr;
    QPointer<QMenuBar> m_bar;
};

namespace {

std::vector<Form*>& loaded()
{
    static std::vector<Form*> forms;
    return forms;
}

Form* s_active = nullptr;

// The frame of the windows shown so far: what a window not shown yet counts
// with. Settled once the first window has waited for its frame.
QMargins s_knownFrame;
bool s_frameSettled = false;

struct Instance {
    Form* form;
    std::function<void()> forget;
};

std::vector<Instance>& instances()
{
    static std::vector<Instance> list;
    return list;
}

// Windows of unloaded forms, deleted later (an unload may run inside one of
// their own events). Their widgets' subclasses still point at their controls,
// so none may outlive its form object.
struct PendingWindow {
    const Form* form;
    QPointer<QWidget> window;
};

std::vector<PendingWindow>& graveyard()
{
    static std::vector<PendingWindow> list;
    return list;
}

void buryPendingWindows(const Form* form)
{
    auto& g = graveyard();
    std::vector<QPointer<QWidget>> doomed;
    for (auto it = g.begin(); it != g.end();) {
        if (!it->window) {
            it = g.erase(it);
        } else if (!form || it->form == form) {
            doomed.push_back(it->window);
            it = g.erase(it);
        } else {
            ++it;
        }
    }
    for (auto& w : doomed)
        delete w.data();
}

void destroyAllInstances()
{
    buryPendingWindows(nullptr);
    auto list = std::move(instances());
    instances().clear();
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        delete it->form;
        it->forget();
    }
    buryPendingWindows(nullptr);
}

int toPixels(float v, double unitsPerPixel)
{
    return int(std::lround(double(v) / unitsPerPixel));
}

}  // namespace

namespace detail {
void registerInstance(Form* form, std::function<void()> forget)
{
    if (instances().empty() && QCoreApplication::instance())
        qAddPostRoutine(destroyAllInstances);
    instances().push_back({form, std::move(forget)});
}
}  // namespace detail

Form::Form() = default;

Form::~Form()
{
    if (m_window) {
        for (Control* c : m_controls)
            c->destroyed();
        auto& l = loaded();
        l.erase(std::remove(l.begin(), l.end(), this), l.end());
        if (s_active == this)
            s_active = nullptr;
        m_windowOwner->detach();
    }
    buryPendingWindows(this);
}

QString Form::className() const
{
    const char* mangled = typeid(*this).name();
    int status = 0;
    char* plain = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    QString name = QString::fromLatin1(status == 0 && plain ? plain : mangled);
    std::free(plain);
    const qsizetype colon = name.lastIndexOf(u':');
    return colon >= 0 ? name.mid(colon + 1) : name;
}

std::vector<Form*> Form::loadedForms()
{
    return loaded();
}

Form* Form::fromHwnd(int32_t hwnd)
{
    for (Form* f : loaded())
        if (f->m_hwnd == hwnd)
            return f;
    return nullptr;
}

void Form::registerControl(Control* c)
{
    m_controls.push_back(c);
}

void Form::unregisterControl(Control* c)
{
    m_controls.erase(std::remove(m_controls.begin(), m_controls.end(), c), m_controls.end());
    if (m_defaultButton == c)
        m_defaultButton = nullptr;
    if (m_cancelButton == c)
        m_cancelButton = nullptr;
}

void Form::registerMenu(Menu* m)
{
    m_menus.push_back(m);
}

void Form::unregisterMenu(Menu* m)
{
    m_menus.erase(std::remove(m_menus.begin(), m_menus.end(), m), m_menus.end());
}

void Form::setDefaultButton(Control* button, std::function<void()> press)
{
    m_defaultButton = button;
    m_pressDefault = std::move(press);
}

void Form::setCancelButton(Control* button, std::function<void()> press)
{
    m_cancelButton = button;
    m_pressCancel = std::move(press);
}

bool Form::pressDialogButton(int16_t keyCode)
{
    Control* b = keyCode == 13 ? m_defaultButton : keyCode == 27 ? m_cancelButton : nullptr;
    if (!b || !b->Visible() || !b->Enabled())
        return false;
    const auto press = keyCode == 13 ? m_pressDefault : m_pressCancel;
    if (press)
        press();
    return true;
}

// ---- lifecycle -------------------------------------------------------------

void Form::ensureLoaded()
{
    if (m_state == State::Unloaded)
        Load();
}

QWidget* Form::hostWidget()
{
    ensureLoaded();
    return m_windowOwner ? m_windowOwner->client() : nullptr;
}

QWidget* Form::window()
{
    ensureLoaded();
    return m_window;
}

QWidget* Form::existingWindow() const
{
    return m_window;
}

QMenuBar* Form::existingMenuBar() const
{
    return m_windowOwner ? m_windowOwner->existingBar() : nullptr;
}

Form* Form::fromWindow(const QWidget* topLevel)
{
    for (Form* f : loaded())
        if (f->m_window && f->m_window == topLevel)
            return f;
    return nullptr;
}

void Form::createWindow()
{
    detail::installAccessKeyOverride();
    detail::useFormFont();
    detail::useFormPalette();
    m_windowOwner = std::make_unique<FormWindow>(this);
    m_window = m_windowOwner.get();
    m_window->resize(320, 240);
    m_windowOwner->layoutClient();
    m_hwnd = hwndOf(m_window);
    m_frame = s_knownFrame;
    m_keepOuter = false;
}

void Form::setDesignSize(float w, float h)
{
    if (!m_windowOwner)
        return;
    const int bh = m_windowOwner->barHeight();
    m_window->resize(toPixels(w, 15.0), toPixels(h, 15.0) + bh);
    m_windowOwner->layoutClient();
}

void Form::Load()
{
    if (m_state != State::Unloaded)
        return;
    m_state = State::Designing;
    createWindow();
    const std::vector<Control*> controls = m_controls;
    for (Control* c : controls)
        c->create();
    for (Menu* m : m_menus)
        m->create(m_windowOwner->menuBar());
    m_windowOwner->layoutClient();
    runHandler([this] { Form_Design(); });
    m_windowOwner->layoutClient();
    applyMinSize();
    m_lastResize = m_windowOwner->client()->size();
    m_state = State::Loading;
    loaded().push_back(this);
    runHandler([this] { Form_Load(); });
    if (m_state == State::Loading)
        m_state = State::Loaded;
}

void Form::Show(int16_t modal, Form* owner)
{
    const uint64_t serial = m_hideSerial;
    ensureLoaded();
    if (!isLoaded() || m_hideSerial != serial)
        return;   // hidden or unloaded by its own Load
    QWidget* w = m_window;
    if (modal && w->isVisible())
        rt::raise(400, className(), QStringLiteral("Form already displayed; can't show modally"));
    if (owner && owner != this && owner->isLoaded()) {
        m_owner = owner;
        if (w->parentWidget() != owner->m_window) {
            // An owned window is a dialog of its owner, unless it has a type
            // of its own (a tip window stays a tip).
            Qt::WindowFlags flags = w->windowFlags();
            const Qt::WindowFlags type = flags & Qt::WindowType_Mask;
            if (type == Qt::Widget || type == Qt::Window)
                flags = (flags & ~Qt::WindowType_Mask) | Qt::Dialog;
            reparentWindow(owner->m_window, flags);
        }
    }
    if (modal && QApplication::activeWindow() != w)
        m_activeBefore = QApplication::activeWindow();
    w->setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
    const bool wasVisible = w->isVisible();
    if (!wasVisible) {
        m_outOfSight = false;
        applyMinSize();
        w->show();
        waitForFrame();
        if (!isLoaded() || m_hideSerial != serial)
            return;
        syncFrame();
        fireResize(true);
    }
    w->raise();
    w->activateWindow();
    if (!isLoaded() || m_hideSerial != serial)
        return;
    fireActivate();
    if (!isLoaded() || m_hideSerial != serial)
        return;   // hidden or unloaded by its own Activate
    if (modal)
        runModal();
}

void Form::runModal()
{
    if (testing::detail::active()) {
        testing::detail::answerModal(*this);
        return;
    }
    QEventLoop loop;
    m_modalLoops.push_back(&loop);
    loop.exec(QEventLoop::DialogExec);
    m_modalLoops.erase(std::remove(m_modalLoops.begin(), m_modalLoops.end(), &loop),
                       m_modalLoops.end());
}

void Form::Hide()
{
    ++m_hideSerial;
    m_outOfSight = false;
    if (!isLoaded())
        Load();   // Hide loads a form, as the original does
    if (m_window) {
        const bool modal = m_window->windowModality() != Qt::NonModal;
        QWidget* next = windowAfter(m_window);
        m_window->hide();
        m_window->setWindowModality(Qt::NonModal);
        // A modal form is owned for its showing only: kept loaded, it must
        // not go with the window that last opened it.
        if (modal && m_owner) {
            m_owner = nullptr;
            reparentWindow(nullptr, m_window->windowFlags());
        }
        if (next)
            next->activateWindow();
    }
    for (QEventLoop* l : m_modalLoops)
        l->quit();
    if (s_active == this)
        s_active = nullptr;
}

bool Form::Unload(int16_t mode)
{
    if (!isLoaded() || m_unloading)
        return true;
    m_unloading = true;
    struct Guard {
        bool& flag;
        ~Guard() { flag = false; }
    } guard{m_unloading};

    int16_t cancel = 0;
    runHandler([&] { Form_QueryUnload(cancel, mode); });
    if (cancel)
        return false;
    for (Form* f : loadedForms())
        if (f != this && f->m_owner == this && !f->Unload(vbFormOwner))
            return false;
    cancel = 0;
    runHandler([&] { Form_Unload(cancel); });
    if (cancel)
        return false;
    destroyWindow();
    return true;
}

void Form::destroyWindow()
{
    ++m_hideSerial;
    m_outOfSight = false;
    for (QEventLoop* l : m_modalLoops)
        l->quit();
    if (s_active == this)
        s_active = nullptr;
    auto& l = loaded();
    l.erase(std::remove(l.begin(), l.end(), this), l.end());
    detail::windowDestroyed(m_hwnd);
    for (Control* c : m_controls)
        c->destroyed();
    for (Menu* m : m_menus)
        m->destroyed();
    m_defaultButton = nullptr;
    m_cancelButton = nullptr;
    m_pressDefault = {};
    m_pressCancel = {};
    if (m_windowOwner) {
        FormWindow* w = m_windowOwner.release();
        QWidget* next = windowAfter(w);
        w->detach();
        w->hide();
        w->setParent(nullptr);
        std::erase_if(graveyard(), [](const PendingWindow& p) { return !p.window; });
        graveyard().push_back({this, w});
        w->deleteLater();
        if (next)
            next->activateWindow();
    }
    m_window = nullptr;
    m_state = State::Unloaded;
    m_owner = nullptr;
    m_hwnd = 0;
    m_lastResize = {};
    m_mousePointer = 0;
    m_mouseIcon.reset();
    if (loaded().empty())
        detail::lastFormUnloaded();
}

void Form::closeRequested()
{
    Unload(vbFormControlMenu);
}

void Form::fireActivate()
{
    if (s_active == this || !isLoaded())
        return;
    s_active = this;
    runHandler([this] { Form_Activate(); });
}

void Form::fireResize(bool force)
{
    if (!m_windowOwner || m_state == State::Designing)
        return;
    const QSize now = m_windowOwner->client()->size();
    if (!force && now == m_lastResize)
        return;
    m_lastResize = now;
    runHandler([this] { Form_Resize(); });
}

void Form::layoutWindow()
{
    if (m_windowOwner)
        m_windowOwner->layoutClient();
}

void Form::setMinTrackSize(int32_t width, int32_t height)
{
    m_minTrackW = width;
    m_minTrackH = height;
    applyMinSize();
}

void Form::applyMinSize()
{
    if (!m_window)
        return;
    int32_t w = m_minTrackW;
    int32_t h = m_minTrackH;
    const POINTAPI fromProc = detail::queryMinTrackSize(m_hwnd);
    w = std::max(w, fromProc.x);
    h = std::max(h, fromProc.y);
    m_window->setMinimumSize(std::max(0, w - m_frame.left() - m_frame.right()),
                             std::max(0, h - m_frame.top() - m_frame.bottom()));
}

QMargins Form::frame()
{
    syncFrame();
    return m_frame;
}

void Form::syncFrame()
{
    if (!m_window || !m_window->isVisible() || m_state == State::Designing)
        return;
    const QWindow* handle = m_window->windowHandle();
    if (!handle)
        return;
    const QMargins actual = handle->frameMargins();
    // No frame yet is the window manager not having framed the window, unless
    // the first window waited in vain for one.
    if (actual.isNull() && !(s_frameSettled && s_knownFrame.isNull()))
        return;
    if (actual == m_frame)
        return;
    const QSize outer = m_window->size().grownBy(m_frame);
    m_frame = actual;
    s_knownFrame = actual;
    applyMinSize();
    if (m_keepOuter && m_window->windowState() == Qt::WindowNoState) {
        const QSize inner = outer.shrunkBy(actual);
        m_window->resize(std::max(inner.width(), m_window->minimumWidth()),
                         std::max(inner.height(), m_window->minimumHeight()));
        m_windowOwner->layoutClient();
    }
}

// A window just shown waits (briefly) for the window manager's frame: the
// windows loaded after the first one count with it before they show, and a
// window placed by its Activate is placed by its frame. Once the first window
// found none, no window waits.
void Form::waitForFrame()
{
    if (!m_window || (s_frameSettled && s_knownFrame.isNull()))
        return;
    const int limitMs = s_frameSettled ? 300 : 1000;
    QElapsedTimer waited;
    waited.start();
    m_awaitingFrame = true;
    // The window may go while events run: asked for anew each time.
    auto unframed = [this] {
        const QWindow* handle = m_window && m_window->isVisible() ? m_window->windowHandle()
                                                                  : nullptr;
        return handle && handle->frameMargins().isNull();
    };
    while (unframed() && waited.elapsed() < limitMs) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(2);
    }
    m_awaitingFrame = false;
    s_frameSettled = true;
}

// The window manager would choose by itself, and may choose a window that is
// closing too, or none: the activation is handed over explicitly. The window
// keeps its focus widget, which gets the focus back with the activation.
QWidget* Form::windowAfter(const QWidget* closing) const
{
    if (!closing->isVisible() || !(closing->isModal() || closing->isActiveWindow()))
        return nullptr;
    for (Form* f = m_owner; f && f != this; f = f->m_owner)
        if (f->m_window && f->m_window->isVisible() && !f->m_unloading)
            return f->m_window;
    if (m_activeBefore && m_activeBefore != m_window && m_activeBefore->isVisible())
        return m_activeBefore;
    return nullptr;
}

void Form::reparentWindow(QWidget* parent, Qt::WindowFlags flags)
{
    // move() places the frame: the outer rectangle stays where it was.
    const QPoint at = m_window->pos();
    const QSize size = m_window->size();
    m_window->setParent(parent, flags);
    m_window->resize(size);
    m_window->move(at);
}

void Form::Refresh()
{
    if (QWidget* w = hostWidget())
        w->repaint();
}

void Form::SetFocus()
{
    ensureLoaded();
    if (m_window) {
        m_window->activateWindow();
        m_window->setFocus(Qt::OtherFocusReason);
        fireActivate();
    }
}

void Form::ZOrder(int16_t position)
{
    ensureLoaded();
    if (m_window) {
        if (position == 0)
            m_window->raise();
        else
            m_window->lower();
    }
}

// ---- properties ------------------------------------------------------------

QString Form::Caption()
{
    ensureLoaded();
    return m_window ? m_window->windowTitle() : QString();
}

void Form::setCaption(const QString& text)
{
    ensureLoaded();
    if (m_window)
        m_window->setWindowTitle(text);
}

// pos() is the frame's place, also before the window is first shown.
float Form::Left()
{
    ensureLoaded();
    return m_window ? float(m_window->pos().x() * 15) : 0.f;
}

float Form::Top()
{
    ensureLoaded();
    return m_window ? float(m_window->pos().y() * 15) : 0.f;
}

float Form::Width()
{
    ensureLoaded();
    return m_window ? float(m_window->size().grownBy(frame()).width() * 15) : 0.f;
}

float Form::Height()
{
    ensureLoaded();
    return m_window ? float(m_window->size().grownBy(frame()).height() * 15) : 0.f;
}

void Form::Move(float left, float top, float width, float height)
{
    ensureLoaded();
    if (!m_window)
        return;
    const QMargins f = frame();
    const int x = toPixels(left, 15.0);
    const int y = top <= -1e8f ? m_window->pos().y() : toPixels(top, 15.0);
    m_window->move(x, y);
    if (width >= 0 || height >= 0) {
        const QSize outer = m_window->size().grownBy(f);
        const QSize wanted(width >= 0 ? toPixels(width, 15.0) : outer.width(),
                           height >= 0 ? toPixels(height, 15.0) : outer.height());
        if (wanted != outer)
            m_keepOuter = true;
        applyMinSize();
        const QSize inner = wanted.shrunkBy(f);
        m_window->resize(std::max(inner.width(), m_window->minimumWidth()),
                         std::max(inner.height(), m_window->minimumHeight()));
        m_windowOwner->layoutClient();
        fireResize();
    }
}

void Form::setLeft(float v)
{
    Move(v);
}

void Form::setTop(float v)
{
    Move(Left(), v);
}

void Form::setWidth(float v)
{
    Move(Left(), Top(), v, -1);
}

void Form::setHeight(float v)
{
    Move(Left(), Top(), -1, v);
}

int16_t Form::ScaleMode()
{
    return m_scaleMode;
}

void Form::setScaleMode(int16_t mode)
{
    m_scaleMode = mode == vbPixels ? vbPixels : vbTwips;
}

double Form::unitsPerPixelX()
{
    return m_scaleMode == vbPixels ? 1.0 : 15.0;
}

double Form::unitsPerPixelY()
{
    return unitsPerPixelX();
}

float Form::ScaleWidth()
{
    QWidget* c = hostWidget();
    return c ? float(c->width() * unitsPerPixelX()) : 0.f;
}

float Form::ScaleHeight()
{
    QWidget* c = hostWidget();
    return c ? float(c->height() * unitsPerPixelY()) : 0.f;
}

int32_t Form::hWnd()
{
    ensureLoaded();
    return m_hwnd;
}

bool Form::Enabled()
{
    ensureLoaded();
    return m_window && m_window->isEnabled();
}

void Form::setEnabled(bool on)
{
    ensureLoaded();
    if (m_window)
        m_window->setEnabled(on);
}

bool Form::Visible()
{
    ensureLoaded();
    return m_window && (m_window->isVisible() || m_outOfSight);
}

void Form::setInSight(bool on)
{
    if (!m_window)
        return;
    if (!on && !m_outOfSight && m_window->isVisible()) {
        m_outOfSight = true;
        m_window->hide();
    } else if (on && m_outOfSight) {
        m_outOfSight = false;
        m_window->show();
        waitForFrame();
    }
}

void Form::setVisible(bool on)
{
    if (on)
        Show();
    else
        Hide();
}

int16_t Form::WindowState()
{
    ensureLoaded();
    if (!m_window)
        return vbNormal;
    const Qt::WindowStates s = m_window->windowState();
    return (s & Qt::WindowMinimized) ? vbMinimized
                                     : (s & Qt::WindowMaximized) ? vbMaximized : vbNormal;
}

void Form::setWindowState(int16_t state)
{
    ensureLoaded();
    if (!m_window)
        return;
    m_window->setWindowState(state == vbMinimized   ? Qt::WindowMinimized
                             : state == vbMaximized ? Qt::WindowMaximized
                                                    : Qt::WindowNoState);
}

void Form::setIcon(Picture icon)
{
    m_icon = std::move(icon);
    ensureLoaded();
    if (m_window && m_icon)
        m_window->setWindowIcon(QIcon(QPixmap::fromImage(m_icon->toImage())));
}

void Form::setMousePointer(int16_t pointer)
{
    checkMousePointer(pointer);
    m_mousePointer = pointer;
    ensureLoaded();
    applyMousePointer(m_window, m_mousePointer, m_mouseIcon);
}

void Form::setMouseIcon(Picture icon)
{
    m_mouseIcon = std::move(icon);
    ensureLoaded();
    applyMousePointer(m_window, m_mousePointer, m_mouseIcon);
}

QString Form::FontName()
{
    ensureLoaded();
    return m_window ? m_window->font().family() : QString();
}

Control* Form::ActiveControl()
{
    ensureLoaded();
    QWidget* f = QApplication::focusWidget();
    for (Control* c : m_controls) {
        QWidget* w = c->existingWidget();
        if (w && f && (w == f || w->isAncestorOf(f)))
            return c;
    }
    return nullptr;
}

void Form::PopupMenu(Menu& menu, int16_t flags, float x, float y)
{
    (void)flags;
    ensureLoaded();
    menu.Click.fire();
    QMenu* m = menu.menu();
    if (!m || !m_window)
        return;
    if (testing::detail::active())
        return;   // a test clicks menu items itself
    QPoint at = QCursor::pos();
    if (x >= 0 && y >= 0)
        at = m_windowOwner->client()->mapToGlobal(
            QPoint(toPixels(x, unitsPerPixelX()), toPixels(y, unitsPerPixelY())));
    m->exec(at);
}

namespace testing {
void assumeWindowFrame(int left, int top, int right, int bottom)
{
    s_knownFrame = QMargins(left, top, right, bottom);
    s_frameSettled = true;
}
}  // namespace testing

}  // namespace forms

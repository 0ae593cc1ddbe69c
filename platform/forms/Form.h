#pragma once
// The form base of the runtime. A form is a class derived from Form with its
// controls as members; forms::instance<frmX>() is its one instance for the
// process. The first access to the form's properties or to any of its
// controls loads it: the window and widgets are made, Form_Design sets the
// designed properties (no events), then Form_Load runs. Unload destroys the
// window and resets the controls; the object and its own variables live on,
// and the next access loads it again.

#include "platform/forms/Control.h"
#include "platform/forms/StdPicture.h"

#include <QMargins>
#include <QSize>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QEventLoop;
class QMenuBar;

namespace forms {

class Menu;
class FormWindow;

// Show styles
inline constexpr int16_t vbModeless = 0;
inline constexpr int16_t vbModal = 1;
// QueryUnload modes
inline constexpr int16_t vbFormControlMenu = 0;
inline constexpr int16_t vbFormCode = 1;
inline constexpr int16_t vbAppWindows = 2;
inline constexpr int16_t vbAppTaskManager = 3;
inline constexpr int16_t vbFormMDIForm = 4;
inline constexpr int16_t vbFormOwner = 5;
// WindowState
inline constexpr int16_t vbNormal = 0;
inline constexpr int16_t vbMinimized = 1;
inline constexpr int16_t vbMaximized = 2;
// PopupMenu flags
inline constexpr int16_t vbPopupMenuLeftAlign = 0;
inline constexpr int16_t vbPopupMenuRightButton = 2;

class Form : public Container {
public:
    Form();
    ~Form() override;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // The form's class name (what TypeName would report).
    virtual QString className() const;

    // ---- lifecycle ------------------------------------------------------
    bool isLoaded() const { return m_state != State::Unloaded; }
    void Load();   // loads when not loaded (the Load statement)
    // Shows the form; vbModal runs a nested event loop until it is hidden or
    // unloaded. The owner stays below it; unloading the owner unloads it.
    void Show(int16_t modal = vbModeless, Form* owner = nullptr);
    void Hide();
    // QueryUnload(mode) and Unload may cancel: returns false then.
    bool Unload(int16_t mode = vbFormCode);
    void Refresh();
    void SetFocus();
    void ZOrder(int16_t position = 0);

    // ---- properties (each loads the form) --------------------------------
    QString Caption();
    void setCaption(const QString& text);
    // The outer rectangle (frame included), twips, before and after the
    // window is first shown: until the window manager reports the frame, the
    // frame of the windows shown so far stands in for it.
    float Left();
    float Top();
    float Width();
    float Height();
    void setLeft(float v);
    void setTop(float v);
    void setWidth(float v);
    void setHeight(float v);
    void Move(float left, float top = -1e9f, float width = -1, float height = -1);
    int16_t ScaleMode();
    void setScaleMode(int16_t mode);    // vbTwips or vbPixels
    float ScaleWidth();                 // inner size in ScaleMode units
    float ScaleHeight();
    int32_t hWnd();
    bool Enabled();
    void setEnabled(bool on);
    bool Visible();
    void setVisible(bool on);
    // Takes a shown window out of sight and back without ending its showing
    // (a modal form stays modal, Visible stays True). Moving itself off the
    // screen is not enough: a window manager keeps part of such a window in sight.
    void setInSight(bool on);
    bool KeyPreview() const { return m_keyPreview; }
    void setKeyPreview(bool on) { m_keyPreview = on; }
    int16_t WindowState();
    void setWindowState(int16_t state);
    Picture Icon() const { return m_icon; }
    void setIcon(Picture icon);
    // The pointer over the form (MousePointer.h); 99 shows the MouseIcon.
    int16_t MousePointer() const { return m_mousePointer; }
    void setMousePointer(int16_t pointer);
    Picture MouseIcon() const { return m_mouseIcon; }
    void setMouseIcon(Picture icon);
    int32_t HelpContextID() const { return m_helpContext; }
    void setHelpContextID(int32_t id) { m_helpContext = id; }
    QString FontName();
    Form* owner() const { return m_owner; }
    Control* ActiveControl();
    // Shows a menu (a top item with sub-items) as a pop-up at the mouse, or at
    // (x, y) in scale units; returns after the menu closed (Click ran).
    void PopupMenu(Menu& menu, int16_t flags = 0, float x = -1, float y = -1);

    // Minimum outer size in pixels the window keeps (what a window procedure
    // answering WM_GETMINMAXINFO sets); 0 = none.
    void setMinTrackSize(int32_t width, int32_t height);

    // Events besides the virtual handlers below.
    Event<int16_t&, int16_t> KeyDown;   // with KeyPreview, before the control's
    Event<int16_t&> KeyPress;
    Event<int16_t&, int16_t> KeyUp;
    Event<int16_t, int16_t, float, float> MouseDown;
    Event<int16_t, int16_t, float, float> MouseUp;
    Event<int16_t, int16_t, float, float> MouseMove;

    // ---- Container ------------------------------------------------------
    Form& form() override { return *this; }
    QWidget* hostWidget() override;
    double unitsPerPixelX() override;
    double unitsPerPixelY() override;

    // ---- runtime side ---------------------------------------------------
    void ensureLoaded();
    bool designing() const { return m_state == State::Designing; }
    void registerControl(Control* c);
    void unregisterControl(Control* c);
    void registerMenu(Menu* m);
    void unregisterMenu(Menu* m);
    void layoutMenuBar() { layoutWindow(); }
    // The buttons Enter and Esc press (CommandButton Default and Cancel).
    void setDefaultButton(Control* button, std::function<void()> press);
    void setCancelButton(Control* button, std::function<void()> press);
    bool pressDialogButton(int16_t keyCode);   // 13 or 27; true when one was pressed
    // The top-level window (loads the form); hostWidget() is its client area.
    QWidget* window();
    QWidget* existingWindow() const;
    QMenuBar* existingMenuBar() const;
    const std::vector<Control*>& controls() const { return m_controls; }
    const std::vector<Menu*>& menus() const { return m_menus; }
    // All loaded forms, in load order.
    static std::vector<Form*> loadedForms();
    static Form* fromHwnd(int32_t hwnd);
    // The loaded form whose top-level window this is, or null.
    static Form* fromWindow(const QWidget* topLevel);

protected:
    // Designed properties: caption, geometry, list items; runs at each load
    // before Form_Load, with events off.
    virtual void Form_Design() {}
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_Resize() {}
    virtual void Form_QueryUnload(int16_t& Cancel, int16_t UnloadMode)
    {
        (void)Cancel;
        (void)UnloadMode;
    }
    virtual void Form_Unload(int16_t& Cancel) { (void)Cancel; }
    // Sets the designed inner size in twips (the starting window size).
    void setDesignSize(float scaleWidthTwips, float scaleHeightTwips);

private:
    friend class FormWindow;
    enum class State { Unloaded, Designing, Loading, Loaded };
    void createWindow();
    void destroyWindow();
    void fireActivate();
    void fireResize(bool force = false);
    void layoutWindow();
    void runModal();
    void applyMinSize();
    void closeRequested();   // the close box
    // The frame counted around the client area; follows the window
    // manager's once it reports one (see syncFrame).
    QMargins frame();
    // Takes the window manager's frame when it differs from the one counted
    // so far; a size set through Move keeps its outer size.
    void syncFrame();
    void waitForFrame();
    // Gives the window another parent (or none), keeping its outer rectangle.
    void reparentWindow(QWidget* parent, Qt::WindowFlags flags);
    // The window that gets the activation when `closing` (this form's window)
    // hides or goes while it is modal or active: the owner's, or the nearest
    // shown owner further up, or the window that was active when it showed
    // modally. Null when `closing` has nothing to hand over.
    QWidget* windowAfter(const QWidget* closing) const;

    State m_state = State::Unloaded;
    std::unique_ptr<FormWindow> m_windowOwner;   // owned until unload
    QPointer<QWidget> m_window;
    std::vector<Control*> m_controls;
    std::vector<Menu*> m_menus;
    Form* m_owner = nullptr;
    std::vector<QEventLoop*> m_modalLoops;
    QPointer<QWidget> m_activeBefore;   // active when it last showed modally
    uint64_t m_hideSerial = 0;
    int32_t m_hwnd = 0;
    int16_t m_scaleMode = vbTwips;
    bool m_keyPreview = false;
    int16_t m_mousePointer = 0;
    Picture m_mouseIcon;
    int32_t m_helpContext = 0;
    int32_t m_minTrackW = 0;
    int32_t m_minTrackH = 0;
    QSize m_lastResize;
    QMargins m_frame;
    bool m_keepOuter = false;   // Move set the outer size; a new frame keeps it
    bool m_awaitingFrame = false;
    bool m_unloading = false;
    bool m_outOfSight = false;   // hidden by setInSight, still shown to the program
    Picture m_icon;
    Control* m_defaultButton = nullptr;
    Control* m_cancelButton = nullptr;
    std::function<void()> m_pressDefault;
    std::function<void()> m_pressCancel;
};

// Unload statement.
inline bool Unload(Form& form, int16_t mode = vbFormCode) { return form.Unload(mode); }

namespace detail {
void registerInstance(Form* form, std::function<void()> forget);
}

// The process-wide instance of a form class (made on first use, destroyed
// with the application). Access to it does not load it; its properties and
// controls do.
template <class F>
F& instance()
{
    static F* p = nullptr;
    if (!p) {
        p = new F;
        detail::registerInstance(p, [] { p = nullptr; });
    }
    return *p;
}

}  // namespace forms

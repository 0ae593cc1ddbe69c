#pragma once
// The base of every control of a form: a thin wrapper over one Qt widget that
// exists while its form is loaded. Any property access loads the form first.
// Geometry is absolute, in the container's scale units (twips by default).
// Events are plain callables the form wires to its handlers:
//
//     frmX::frmX() { cmdOK.Click = [this] { cmdOK_Click(); }; }

#include <QColor>
#include <QPointer>
#include <QString>
#include <QWidget>

class QKeyEvent;

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace forms {

class Form;
class Control;
class StdPicture;
using Picture = std::shared_ptr<StdPicture>;

// Runs an event handler as the original runtime does: an error that escapes
// it is reported in a message box (reportError) and goes no further.
void runHandler(const std::function<void()>& handler);

// One event of a control or form. Handlers with by-reference arguments
// (KeyPress's KeyAscii, QueryUnload's Cancel) write them back.
template <class... A>
class Event {
public:
    Event() = default;
    template <class Fn>
        requires std::is_invocable_v<Fn&, A...>
    Event& operator=(Fn&& fn)
    {
        m_fn = std::forward<Fn>(fn);
        return *this;
    }
    explicit operator bool() const { return bool(m_fn); }
    // Runs the handler under runHandler (no-op without a handler).
    void fire(A... args) const
    {
        if (m_fn)
            runHandler([&] { m_fn(args...); });
    }

private:
    std::function<void(A...)> m_fn;
};

// Mouse buttons and shift state of the mouse and key events.
inline constexpr int16_t vbLeftButton = 1;
inline constexpr int16_t vbRightButton = 2;
inline constexpr int16_t vbMiddleButton = 4;
inline constexpr int16_t vbShiftMask = 1;
inline constexpr int16_t vbCtrlMask = 2;
inline constexpr int16_t vbAltMask = 4;

// Scale modes of forms and picture boxes.
inline constexpr int16_t vbUser = 0;
inline constexpr int16_t vbTwips = 1;
inline constexpr int16_t vbPixels = 3;

// What holds controls: a form, a frame, a picture box, a page of a tab strip.
class Container {
public:
    virtual ~Container() = default;
    virtual Form& form() = 0;
    // The widget children are placed in (loads the form).
    virtual QWidget* hostWidget() = 0;
    // Units of one pixel in this container's coordinates (15 for twips).
    virtual double unitsPerPixelX() { return 15.0; }
    virtual double unitsPerPixelY() { return 15.0; }
};

class Control {
public:
    Control(Container* parent, QString name);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const QString& Name() const { return m_name; }
    // Position in a control array (-1 for a single control).
    int16_t Index() const { return m_index; }
    void setIndex(int16_t index) { m_index = index; }
    Form& form() const { return *m_form; }
    Container* container() const { return m_parent; }

    // ---- geometry in the container's scale units -----------------------
    float Left();
    float Top();
    float Width();
    float Height();
    void setLeft(float v);
    void setTop(float v);
    void setWidth(float v);
    void setHeight(float v);
    // Width/height below 0 keep the current size.
    void Move(float left, float top, float width = -1, float height = -1);

    bool Enabled();
    void setEnabled(bool on);
    bool Visible();
    void setVisible(bool on);
    QString ToolTipText();
    void setToolTipText(const QString& text);
    QString Tag() const { return m_tag; }
    void setTag(const QString& tag) { m_tag = tag; }
    // Does nothing for a control out of sight (itself or a container hidden,
    // as a tab page that is not chosen): typing must not go where nobody sees.
    void SetFocus();
    bool hasFocus();
    // Shown and enabled with its containers: SetFocus would put the focus there.
    bool canFocus();
    void Refresh();
    void ZOrder(int16_t position = 0);   // 0 front, 1 back
    int32_t hWnd();                      // stable while the form stays loaded
    // Colours as the original keeps them: a COLORREF, or 0x800000nn for
    // system colour nn. Unset: the system's window/button colours.
    int32_t BackColor();
    virtual void setBackColor(int32_t color);
    int32_t ForeColor();
    void setForeColor(int32_t color);
    int16_t HelpContextID() const { return m_helpContext; }
    void setHelpContextID(int16_t id) { m_helpContext = id; }
    // The pointer over the control (MousePointer.h): a standard shape, or 99
    // with the MouseIcon's cursor. Error 380 for a number that is no pointer.
    int16_t MousePointer() const { return m_mousePointer; }
    void setMousePointer(int16_t pointer);
    Picture MouseIcon() const { return m_mouseIcon; }
    void setMouseIcon(Picture icon);

    // Focus, key and mouse events every visible control raises. Mouse
    // coordinates are in the container's units (a picture box: its own).
    Event<> GotFocus;
    Event<> LostFocus;
    Event<int16_t&, int16_t> KeyDown;   // KeyCode (0 swallows), Shift
    Event<int16_t&> KeyPress;           // KeyAscii (0 swallows)
    Event<int16_t&, int16_t> KeyUp;
    Event<int16_t, int16_t, float, float> MouseDown;   // Button, Shift, X, Y
    Event<int16_t, int16_t, float, float> MouseMove;
    Event<int16_t, int16_t, float, float> MouseUp;

    // Access keys (Alt+letter): whether the caption has `key` (folded to lower
    // case), and what the key does; `unique` is false when other controls of
    // the form share it (then the control only takes the focus).
    virtual bool hasAccessKey(QChar key);   // by default from accessCaption()
    virtual void pressAccessKey(QChar key, bool unique) { (void)key; (void)unique; }

    // The widget (loads the form); null for controls without one (Timer).
    QWidget* widget();
    // The widget if it exists now, without loading.
    QWidget* existingWidget() const { return m_widget; }

    // ---- used by the runtime -------------------------------------------
    void create();       // makes the widget (the form is loading)
    void destroyed();    // the form unloaded: forget the widget, reset state

protected:
    // Makes the Qt widget (null for a windowless control) inside parent.
    virtual QWidget* createWidget(QWidget* parent) = 0;
    // Resets what the wrapper keeps beside the widget (design values back).
    virtual void resetState() {}
    // Mouse coordinates: units per pixel of this control's events.
    virtual double mouseUnitsX() { return m_parent->unitsPerPixelX(); }
    virtual double mouseUnitsY() { return m_parent->unitsPerPixelY(); }
    // True while the form designs itself: property changes raise no events.
    bool quiet() const;
    // Fires an event unless quiet().
    template <class E, class... X>
    void raise(const E& e, X&&... args)
    {
        if (!quiet())
            e.fire(std::forward<X>(args)...);
    }
    // The caption whose "&" gives the control its access key ("" for none).
    virtual QString accessCaption() { return {}; }
    // Focus, then a click when no other control shares the key: what an
    // access key does to a button, a check box or an option button.
    template <class Button>
    static void pressLikeAButton(Button& b, bool unique)
    {
        b.SetFocus();
        if (unique)
            b.click();
    }
    // The widget to which key/mouse/focus events are attached (default: widget).
    virtual QWidget* inputWidget() { return m_widget; }
    // True when Enter (13) or Esc (27) belongs to the control rather than to
    // the form's default or cancel button.
    virtual bool wantsDialogKey(int16_t keyCode) { (void)keyCode; return false; }

private:
    friend class ControlFilter;
    void showPointer();
    Form* m_form;
    Container* m_parent;
    QString m_name;
    QString m_tag;
    int16_t m_index = -1;
    int16_t m_helpContext = 0;
    int32_t m_hwnd = 0;
    int64_t m_backColor = -1;   // -1: unset
    int64_t m_foreColor = -1;
    int16_t m_mousePointer = 0;
    Picture m_mouseIcon;
    QPointer<QWidget> m_widget;
    QPointer<QWidget> m_inputWidget;   // where the event filter sits
};

// A control array: elements made with their index, accessed as arr(i).
template <class C>
class ControlArray {
public:
    ControlArray(Container* parent, const QString& name, int count)
    {
        for (int i = 0; i < count; ++i) {
            m_items.push_back(std::make_unique<C>(parent, name));
            m_items.back()->setIndex(int16_t(i));
        }
    }
    C& operator()(int i) { return *m_items.at(size_t(i)); }
    C& operator[](int i) { return *m_items.at(size_t(i)); }
    int16_t Count() const { return int16_t(m_items.size()); }
    int16_t LBound() const { return 0; }
    int16_t UBound() const { return int16_t(m_items.size() - 1); }
    auto begin() { return m_items.begin(); }
    auto end() { return m_items.end(); }

private:
    std::vector<std::unique_ptr<C>> m_items;
};

// The Qt colour of a colour value (system colours resolved).
QColor toQColor(int32_t color);

// Key codes of KeyDown/KeyUp (the Windows virtual keys of a US keyboard):
// punctuation has its OEM key, a shifted character its unshifted key, a
// character without a key of its own VK_PACKET (231); 0 when none.
int16_t virtualKeyOf(int qtKey);
int16_t virtualKeyOf(const QKeyEvent* event);   // also tells the keypad apart

}  // namespace forms

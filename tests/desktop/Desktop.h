#pragma once
// A private X desktop for one test: an Xvfb server on a free display, the
// openbox window manager, and the means to drive programs on it as a person
// does (xdotool's XTest keys and pointer) and to look at them (Xlib: windows
// by title, their frames, the screen's pixels). Nothing here sleeps blindly:
// every wait polls for what it waits for, up to a time-out.

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

typedef struct _XDisplay Display;

namespace desktop {

using WindowId = unsigned long;

// Where the programs under test were built (BW_BIN_DIR at configure time).
QString programPath(const QString& name);

// How long what a test waits for may take on a busy machine. A wait ends as
// soon as its condition holds, so only a failing test waits this long.
inline constexpr int kPatience = 30000;

// Polls pred every 20 ms until it holds or timeoutMs passes.
bool waitFor(const std::function<bool()>& pred, int timeoutMs);

class Desktop {
public:
    Desktop();
    ~Desktop();
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    // False (with the reason) when the server or the window manager did not
    // start, or a tool is missing.
    bool ok() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }
    QString display() const { return m_displayName; }
    // A folder of this test's own (settings, files).
    QString dir() const { return m_home.path(); }
    QString path(const QString& name) const;

    // The environment a program starts with: this display, the xcb platform,
    // a settings store and configuration folder of this test.
    QProcessEnvironment environment() const;
    // Starts a program; it runs until it ends or the desktop goes.
    QProcess& start(const QString& program, const QStringList& args = {},
                    const QString& workingDir = {});
    // Waits for the process to end; true when it ended within the time.
    static bool waitForExit(QProcess& p, int timeoutMs);

    // ---- windows --------------------------------------------------------
    // The first viewable top-level window whose title matches (a regular
    // expression), waiting for it; 0 after the time-out.
    WindowId waitForWindow(const QString& titlePattern, int timeoutMs = kPatience);
    // Waits until no viewable window matches.
    bool waitForNoWindow(const QString& titlePattern, int timeoutMs = kPatience);
    std::vector<WindowId> windows(const QString& titlePattern);
    // Waits until the window shows more than one colour (it has painted).
    bool waitForPainted(WindowId w, int timeoutMs);
    QString title(WindowId w);
    // The window's client area and its outer rectangle (with the frame the
    // window manager put around it), in screen pixels.
    QRect clientRect(WindowId w);
    QRect frameRect(WindowId w);
    // Windows the window manager does not frame (menus, tips), viewable now.
    std::vector<QRect> unmanagedWindows();
    // The window that has the keyboard focus (or its top-level).
    WindowId focusedTopLevel();
    // Waits until w is the active window, so that keys typed reach it.
    bool waitForActive(WindowId w, int timeoutMs = kPatience);
    void activate(WindowId w);

    // ---- a person's hands (XTest, through xdotool) -----------------------
    // Types text. The keyboard has keys for a few accented and Cyrillic
    // letters (kLetters) besides the US layout, as a person's keyboard
    // would, so that no key is remapped while a program reads the keys.
    static const QString kLetters;
    void type(const QString& text);
    void key(const QString& keys);   // xdotool key names: "alt+f", "Return"
    void moveMouse(QPoint at);
    void click(QPoint at, int button = 1);
    void doubleClick(QPoint at, int button = 1);
    void press(int button = 1);
    void release(int button = 1);
    // Presses at from, moves in steps to to, and releases there.
    void drag(QPoint from, QPoint to, int steps = 8);
    void resizeWindow(WindowId w, QSize size);
    // Clicks the close box at the right end of the window's title bar.
    void clickCloseBox(WindowId w);

    // ---- eyes -------------------------------------------------------------
    QImage grab(const QRect& screenRect);
    QImage grabWindow(WindowId w) { return grab(clientRect(w)); }
    // The pointer's shape over the screen now, as an image with its hot spot
    // (needs the XFixes extension of the server); null when unknown.
    QImage pointerImage(QPoint* hotSpot = nullptr);

private:
    void startServer();
    void startWindowManager();
    void addKeyboardLetters(const QString& letters);
    bool xdotool(const QStringList& args);
    WindowId findClient(WindowId w, const QString& pattern);
    std::vector<WindowId> rootChildren();   // bottom to top

    QTemporaryDir m_home;
    QString m_error;
    QString m_displayName;
    pid_t m_serverPid = 0;
    Display* m_x = nullptr;
    std::unique_ptr<QProcess> m_wm;
    std::vector<std::unique_ptr<QProcess>> m_programs;
};

}  // namespace desktop

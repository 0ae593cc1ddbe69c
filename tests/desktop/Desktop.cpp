#include "Desktop.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace desktop {

namespace {

// Xlib's default handler ends the process on a window that vanished between
// two calls; here that only means the window is gone.
int ignoreXErrors(Display*, XErrorEvent*)
{
    return 0;
}

QString tool(const char* name)
{
    return QStandardPaths::findExecutable(QString::fromLatin1(name));
}

Atom atom(Display* x, const char* name)
{
    return XInternAtom(x, name, False);
}

// A property of type CARDINAL/WINDOW as longs; empty when absent.
std::vector<long> longProperty(Display* x, WindowId w, Atom prop, Atom type)
{
    Atom actual = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<long> out;
    if (XGetWindowProperty(x, w, prop, 0, 64, False, type, &actual, &format, &count, &after,
                           &data) == Success &&
        data) {
        if (format == 32)
            out.assign(reinterpret_cast<long*>(data), reinterpret_cast<long*>(data) + count);
        XFree(data);
    }
    return out;
}

}  // namespace

QString programPath(const QString& name)
{
    return QDir(QStringLiteral(BW_BIN_DIR)).filePath(name);
}

bool waitFor(const std::function<bool()>& pred, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (true) {
        if (pred())
            return true;
        if (clock.elapsed() > timeoutMs)
            return false;
        QThread::msleep(20);
    }
}

Desktop::Desktop()
{
    XSetErrorHandler(ignoreXErrors);
    for (const char* needed : {"Xvfb", "openbox", "xdotool"})
        if (tool(needed).isEmpty()) {
            m_error = QStringLiteral("%1 is not installed").arg(QLatin1String(needed));
            return;
        }
    startServer();
    if (ok())
        addKeyboardLetters(kLetters);
    if (ok())
        startWindowManager();
}

const QString Desktop::kLetters = QStringLiteral("\u00e9\u00fc\u00df\u00f8\u0436");

// Binds each letter (lower case, upper case with Shift) to a key that has no
// symbol yet.
void Desktop::addKeyboardLetters(const QString& letters)
{
    int minCode = 0, maxCode = 0;
    XDisplayKeycodes(m_x, &minCode, &maxCode);
    int perCode = 0;
    KeySym* map = XGetKeyboardMapping(m_x, KeyCode(minCode), maxCode - minCode + 1, &perCode);
    if (!map) {
        m_error = QStringLiteral("no keyboard mapping");
        return;
    }
    const auto keysymOf = [](QChar c) {
        return c.unicode() < 0x100 ? KeySym(c.unicode()) : KeySym(0x01000000 | c.unicode());
    };
    qsizetype next = 0;
    for (int code = maxCode; code >= minCode && next < letters.size(); --code) {
        const KeySym* syms = map + (code - minCode) * perCode;
        if (std::any_of(syms, syms + perCode, [](KeySym k) { return k != NoSymbol; }))
            continue;
        const QChar c = letters[next++];
        KeySym pair[2] = {keysymOf(c.toLower()), keysymOf(c.toUpper())};
        XChangeKeyboardMapping(m_x, code, 2, pair, 1);
    }
    XFree(map);
    XSync(m_x, False);
    if (next < letters.size())
        m_error = QStringLiteral("no free keys for the letters");
}

Desktop::~Desktop()
{
    for (auto& p : m_programs) {
        if (p->state() != QProcess::NotRunning) {
            p->kill();
            p->waitForFinished(3000);
        }
    }
    if (m_wm && m_wm->state() != QProcess::NotRunning) {
        m_wm->terminate();
        if (!m_wm->waitForFinished(2000))
            m_wm->kill();
        m_wm->waitForFinished(2000);
    }
    if (m_x)
        XCloseDisplay(m_x);
    if (m_serverPid > 0) {
        kill(m_serverPid, SIGTERM);
        int status = 0;
        if (!waitFor([&] { return waitpid(m_serverPid, &status, WNOHANG) != 0; }, 3000)) {
            kill(m_serverPid, SIGKILL);
            waitpid(m_serverPid, &status, 0);
        }
    }
}

// Xvfb picks a free display itself and writes its number to -displayfd, so
// tests running side by side never meet.
void Desktop::startServer()
{
    int fds[2];
    if (pipe(fds) != 0) {
        m_error = QStringLiteral("pipe failed");
        return;
    }
    const QByteArray server = tool("Xvfb").toLocal8Bit();
    const QByteArray fd = QByteArray::number(fds[1]);
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        const int null = open("/dev/null", O_RDWR);
        dup2(null, 0);
        dup2(null, 1);
        dup2(null, 2);
        execl(server.constData(), "Xvfb", "-displayfd", fd.constData(), "-screen", "0",
              "1280x1024x24", "-nolisten", "tcp", "-noreset", "+extension", "XFIXES",
              static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    if (pid < 0) {
        close(fds[0]);
        m_error = QStringLiteral("fork failed");
        return;
    }
    m_serverPid = pid;
    QByteArray number;
    pollfd p{fds[0], POLLIN, 0};
    QElapsedTimer clock;
    clock.start();
    while (!number.endsWith('\n') && clock.elapsed() < kPatience) {
        if (poll(&p, 1, 200) > 0) {
            char buf[16];
            const ssize_t n = read(fds[0], buf, sizeof buf);
            if (n <= 0)
                break;
            number.append(buf, n);
        }
    }
    close(fds[0]);
    if (!number.endsWith('\n')) {
        m_error = QStringLiteral("Xvfb did not start");
        return;
    }
    m_displayName = QStringLiteral(":") + QString::fromLatin1(number.trimmed());
    m_x = XOpenDisplay(m_displayName.toLocal8Bit().constData());
    if (!m_x)
        m_error = QStringLiteral("cannot open display %1").arg(m_displayName);
}

void Desktop::startWindowManager()
{
    m_wm = std::make_unique<QProcess>();
    m_wm->setProcessEnvironment(environment());
    m_wm->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_wm->setStandardOutputFile(QProcess::nullDevice());
    m_wm->start(tool("openbox"), {QStringLiteral("--sm-disable")});
    const Atom check = atom(m_x, "_NET_SUPPORTING_WM_CHECK");
    const WindowId root = DefaultRootWindow(m_x);
    if (!waitFor([&] { return !longProperty(m_x, root, check, XA_WINDOW).empty(); },
                 kPatience)) {
        m_error = QStringLiteral("openbox did not start");
        return;
    }
    // Openbox names itself before it manages windows, and a window mapped in
    // between is never managed: a program's first window would never show. A
    // window of ours, mapped again until openbox manages it, says it is ready.
    const WindowId probe = XCreateSimpleWindow(m_x, root, 0, 0, 10, 10, 0, 0, 0);
    const Atom state = atom(m_x, "WM_STATE");
    const auto managed = [&] { return !longProperty(m_x, probe, state, state).empty(); };
    QElapsedTimer clock;
    clock.start();
    bool ready = false;
    while (!ready && clock.elapsed() < kPatience) {
        XMapWindow(m_x, probe);
        XSync(m_x, False);
        ready = waitFor(managed, 500);
    }
    if (!ready)
        m_error = QStringLiteral("openbox does not manage windows");
    XDestroyWindow(m_x, probe);
    XSync(m_x, False);
}

QString Desktop::path(const QString& name) const
{
    return QDir(m_home.path()).filePath(name);
}

QProcessEnvironment Desktop::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_displayName);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("HOME"), m_home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_home.path());
    env.insert(QStringLiteral("BW_REGISTRY_FILE"), path(QStringLiteral("registry.json")));
    env.insert(QStringLiteral("LSAN_OPTIONS"),
               QStringLiteral("print_suppressions=0:suppressions=" BW_SOURCE_DIR
                              "/tests/desktop/lsan.supp"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("SESSION_MANAGER"));
    return env;
}

QProcess& Desktop::start(const QString& program, const QStringList& args,
                         const QString& workingDir)
{
    auto p = std::make_unique<QProcess>();
    p->setProcessEnvironment(environment());
    p->setWorkingDirectory(workingDir.isEmpty() ? m_home.path() : workingDir);
    p->setProcessChannelMode(QProcess::ForwardedChannels);
    p->start(program, args);
    m_programs.push_back(std::move(p));
    return *m_programs.back();
}

bool Desktop::waitForExit(QProcess& p, int timeoutMs)
{
    return p.state() == QProcess::NotRunning || p.waitForFinished(timeoutMs);
}

// ---- windows ----------------------------------------------------------------

QString Desktop::title(WindowId w)
{
    Atom actual = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    QString out;
    if (XGetWindowProperty(m_x, w, atom(m_x, "_NET_WM_NAME"), 0, 1024, False,
                           atom(m_x, "UTF8_STRING"), &actual, &format, &count, &after,
                           &data) == Success &&
        data) {
        out = QString::fromUtf8(reinterpret_cast<char*>(data), int(count));
        XFree(data);
        return out;
    }
    char* name = nullptr;
    if (XFetchName(m_x, w, &name) && name) {
        out = QString::fromLocal8Bit(name);
        XFree(name);
    }
    return out;
}

// The client windows below w (the window manager's frames hold them).
WindowId Desktop::findClient(WindowId w, const QString& pattern)
{
    const QRegularExpression re(pattern);
    XWindowAttributes a;
    if (!XGetWindowAttributes(m_x, w, &a) || a.map_state != IsViewable)
        return 0;
    if (!longProperty(m_x, w, atom(m_x, "WM_STATE"), atom(m_x, "WM_STATE")).empty() ||
        a.override_redirect) {
        if (a.c_class != InputOnly && re.match(title(w)).hasMatch())
            return w;
        if (!a.override_redirect)
            return 0;
    }
    WindowId root = 0, parent = 0;
    WindowId* children = nullptr;
    unsigned int n = 0;
    WindowId found = 0;
    if (XQueryTree(m_x, w, &root, &parent, &children, &n)) {
        for (unsigned int i = n; i-- > 0 && !found;)   // topmost first
            found = findClient(children[i], pattern);
        if (children)
            XFree(children);
    }
    return found;
}

std::vector<WindowId> Desktop::rootChildren()
{
    std::vector<WindowId> out;
    WindowId root = 0, parent = 0;
    WindowId* children = nullptr;
    unsigned int n = 0;
    XSync(m_x, False);
    if (XQueryTree(m_x, DefaultRootWindow(m_x), &root, &parent, &children, &n)) {
        out.assign(children, children + n);
        if (children)
            XFree(children);
    }
    return out;
}

std::vector<WindowId> Desktop::windows(const QString& titlePattern)
{
    std::vector<WindowId> out;
    const std::vector<WindowId> all = rootChildren();
    for (auto it = all.rbegin(); it != all.rend(); ++it)   // topmost first
        if (WindowId w = findClient(*it, titlePattern))
            out.push_back(w);
    return out;
}

WindowId Desktop::waitForWindow(const QString& titlePattern, int timeoutMs)
{
    WindowId found = 0;
    waitFor(
        [&] {
            const auto all = windows(titlePattern);
            found = all.empty() ? 0 : all.front();
            return found != 0;
        },
        timeoutMs);
    return found;
}

bool Desktop::waitForPainted(WindowId w, int timeoutMs)
{
    return waitFor(
        [&] {
            const QImage shot = grab(clientRect(w));
            if (shot.isNull())
                return false;
            const QRgb first = shot.pixel(0, 0);
            for (int y = 0; y < shot.height(); y += 3)
                for (int x = 0; x < shot.width(); x += 3)
                    if (shot.pixel(x, y) != first)
                        return true;
            return false;
        },
        timeoutMs);
}

bool Desktop::waitForNoWindow(const QString& titlePattern, int timeoutMs)
{
    return waitFor([&] { return windows(titlePattern).empty(); }, timeoutMs);
}

std::vector<QRect> Desktop::unmanagedWindows()
{
    std::vector<QRect> out;
    for (WindowId w : rootChildren()) {
        XWindowAttributes a;
        if (XGetWindowAttributes(m_x, w, &a) && a.override_redirect &&
            a.map_state == IsViewable && a.c_class == InputOutput)
            out.push_back(QRect(a.x, a.y, a.width, a.height));
    }
    return out;
}

QRect Desktop::clientRect(WindowId w)
{
    XWindowAttributes a;
    if (!XGetWindowAttributes(m_x, w, &a))
        return {};
    int x = 0, y = 0;
    WindowId child = 0;
    XTranslateCoordinates(m_x, w, DefaultRootWindow(m_x), 0, 0, &x, &y, &child);
    return QRect(x, y, a.width, a.height);
}

QRect Desktop::frameRect(WindowId w)
{
    const QRect c = clientRect(w);
    const auto e = longProperty(m_x, w, atom(m_x, "_NET_FRAME_EXTENTS"), XA_CARDINAL);
    if (e.size() != 4)
        return c;
    return c.adjusted(-int(e[0]), -int(e[2]), int(e[1]), int(e[3]));
}

WindowId Desktop::focusedTopLevel()
{
    const auto active =
        longProperty(m_x, DefaultRootWindow(m_x), atom(m_x, "_NET_ACTIVE_WINDOW"), XA_WINDOW);
    return active.empty() ? 0 : WindowId(active.front());
}

bool Desktop::waitForActive(WindowId w, int timeoutMs)
{
    return waitFor([&] { return focusedTopLevel() == w; }, timeoutMs);
}

void Desktop::activate(WindowId w)
{
    xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), QString::number(w)});
    waitForActive(w);
}

// ---- hands --------------------------------------------------------------------

bool Desktop::xdotool(const QStringList& args)
{
    QProcess p;
    p.setProcessEnvironment(environment());
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.setStandardOutputFile(QProcess::nullDevice());
    p.start(tool("xdotool"), args);
    return p.waitForFinished(30000) && p.exitCode() == 0;
}

void Desktop::type(const QString& text)
{
    xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("15"), text});
}

void Desktop::key(const QString& keys)
{
    xdotool({QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("40"), keys});
}

// The close box is the last button of the title bar, as high as the bar.
// A click on it, not Alt+F4: the window manager acts on its own window
// without a key grab, which it does not always hold at once on a busy machine.
void Desktop::clickCloseBox(WindowId w)
{
    // The window manager gives the frame's extents some time after the window
    // shows; until then this would click the client's own top right corner.
    QRect frame;
    int bar = 0;
    waitFor(
        [&] {
            frame = frameRect(w);
            bar = clientRect(w).top() - frame.top();
            return bar > 0;
        },
        kPatience);
    click(QPoint(frame.right() - bar / 2, frame.top() + bar / 2));
}

void Desktop::moveMouse(QPoint at)
{
    xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y())});
}

void Desktop::click(QPoint at, int button)
{
    moveMouse(at);
    xdotool({QStringLiteral("click"), QString::number(button)});
}

void Desktop::doubleClick(QPoint at, int button)
{
    // One xdotool call, so that both clicks fall within the double-click time.
    moveMouse(at);
    xdotool({QStringLiteral("click"), QStringLiteral("--repeat"), QStringLiteral("2"),
             QStringLiteral("--delay"), QStringLiteral("60"), QString::number(button)});
}

void Desktop::press(int button)
{
    xdotool({QStringLiteral("mousedown"), QString::number(button)});
}

void Desktop::release(int button)
{
    xdotool({QStringLiteral("mouseup"), QString::number(button)});
}

void Desktop::drag(QPoint from, QPoint to, int steps)
{
    moveMouse(from);
    press();
    for (int i = 1; i <= steps; ++i)
        moveMouse(from + (to - from) * i / steps);
    release();
}

void Desktop::resizeWindow(WindowId w, QSize size)
{
    xdotool({QStringLiteral("windowsize"), QString::number(w), QString::number(size.width()),
             QString::number(size.height())});
}

// ---- eyes -------------------------------------------------------------------

QImage Desktop::grab(const QRect& screenRect)
{
    const QRect r = screenRect.intersected(QRect(0, 0, DisplayWidth(m_x, DefaultScreen(m_x)),
                                                 DisplayHeight(m_x, DefaultScreen(m_x))));
    if (r.isEmpty())
        return {};
    XSync(m_x, False);
    XImage* img = XGetImage(m_x, DefaultRootWindow(m_x), r.x(), r.y(), unsigned(r.width()),
                            unsigned(r.height()), AllPlanes, ZPixmap);
    if (!img)
        return {};
    QImage out(r.size(), QImage::Format_RGB32);
    for (int y = 0; y < r.height(); ++y)
        for (int x = 0; x < r.width(); ++x) {
            const unsigned long p = XGetPixel(img, x, y);
            out.setPixel(x, y, qRgb(int((p & img->red_mask) >> 16),
                                    int((p & img->green_mask) >> 8), int(p & img->blue_mask)));
        }
    XDestroyImage(img);
    return out;
}

QImage Desktop::pointerImage(QPoint* hotSpot)
{
    XFixesCursorImage* c = XFixesGetCursorImage(m_x);
    if (!c)
        return {};
    QImage out(int(c->width), int(c->height), QImage::Format_ARGB32);
    for (int y = 0; y < int(c->height); ++y)
        for (int x = 0; x < int(c->width); ++x)
            out.setPixel(x, y, uint32_t(c->pixels[y * int(c->width) + x]));
    if (hotSpot)
        *hotSpot = QPoint(c->xhot, c->yhot);
    XFree(c);
    return out;
}

}  // namespace desktop

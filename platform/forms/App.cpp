#include "platform/forms/App.h"

#include "platform/forms/Form.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPointer>
#include <QScopedValueRollback>
#include <QThread>
#include <QTimer>

namespace forms {

namespace {
struct AppState {
    QString title;
    QString helpFile;
    bool prevInstance = false;
    bool running = false;   // inside App::run
};
AppState& state()
{
    static AppState s;
    return s;
}
}  // namespace

QString App::Title()
{
    return state().title.isEmpty() ? EXEName() : state().title;
}

void App::setTitle(const QString& title)
{
    state().title = title;
}

QString App::Path()
{
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
}

QString App::EXEName()
{
    if (!QCoreApplication::instance())
        return {};
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

int App::run()
{
    if (Form::loadedForms().empty())
        return 0;
    // Hidden forms keep a program alive, so closing the last visible window
    // must not end it; the last unload does.
    const bool quitOnClose = QApplication::quitOnLastWindowClosed();
    QApplication::setQuitOnLastWindowClosed(false);
    state().running = true;
    const int status = QApplication::exec();
    state().running = false;
    QApplication::setQuitOnLastWindowClosed(quitOnClose);
    return status;
}

namespace {
// Queued: the unload may run inside a handler that still has work to do, and
// a message box shown after the last unload ends before the program does.
void endWhenIdle()
{
    if (!state().running || !Form::loadedForms().empty())
        return;
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget())
        QTimer::singleShot(50, qApp, endWhenIdle);
    else
        QCoreApplication::exit(0);
}
}  // namespace

namespace detail {
void lastFormUnloaded()
{
    if (state().running)
        QTimer::singleShot(0, qApp, endWhenIdle);
}
}  // namespace detail

QString App::HelpFile()
{
    return state().helpFile;
}

void App::setHelpFile(const QString& path)
{
    state().helpFile = path;
}

bool App::PrevInstance()
{
    return state().prevInstance;
}

void App::setPrevInstance(bool on)
{
    state().prevInstance = on;
}

namespace {
// Code that yields after each of thousands of entries must not repaint its
// windows each time (a list's repaint costs milliseconds, the rest of a
// yield microseconds). While DoEvents runs, windows repaint at most 25 times
// a second; a repaint that comes sooner is put back in the queue, for the
// next yield or the event loop. All other events are delivered at every
// yield, and a yield after a pause repaints as before.
class PaintPacer final : public QObject {
public:
    static constexpr qint64 kFrameMs = 40;

    // The filter sits on the application only while the outermost DoEvents
    // runs: the rest of the time no event pays for it.
    void run()
    {
        const bool outermost = m_loopLevel < 0;
        if (outermost)
            qApp->installEventFilter(this);
        const QScopedValueRollback level(m_loopLevel, QThread::currentThread()->loopLevel());
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (outermost)
            qApp->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        // A modal window opened meanwhile runs its own loop: it paints freely.
        if (e->type() != QEvent::UpdateRequest || m_loopLevel < 0 || !watched->isWidgetType()
            || QThread::currentThread()->loopLevel() != m_loopLevel)
            return false;
        if (!m_lastPaint.isValid() || m_lastPaint.elapsed() >= kFrameMs) {
            m_lastPaint.start();
            return false;
        }
        QCoreApplication::postEvent(watched, new QEvent(QEvent::UpdateRequest),
                                    Qt::LowEventPriority);
        return true;
    }

private:
    QElapsedTimer m_lastPaint;
    int m_loopLevel = -1;   // of the running DoEvents; -1: none runs
};
}  // namespace

int16_t DoEvents()
{
    static QPointer<PaintPacer> pacer;
    if (!pacer && qApp) {
        pacer = new PaintPacer();
        pacer->setParent(qApp);
    }
    if (pacer)
        pacer->run();
    return int16_t(Form::loadedForms().size());
}

}  // namespace forms

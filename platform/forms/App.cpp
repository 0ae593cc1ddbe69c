#include "platform/forms/App.h"

#include "platform/forms/Form.h"

#include <QApplication>
#include <QTimer>
#include <QFileInfo>

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

int16_t DoEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return int16_t(Form::loadedForms().size());
}

}  // namespace forms

#include "platform/forms/App.h"

#include "platform/forms/Form.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace forms {

namespace {
struct AppState {
    QString title;
    QString helpFile;
    bool prevInstance = false;
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

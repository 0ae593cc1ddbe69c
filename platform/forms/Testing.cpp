#include "platform/forms/Testing.h"

#include "platform/forms/Form.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/TestingInternal.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QThread>

#include <deque>
#include <optional>

namespace forms::testing {

namespace {

struct FileAnswer {
    QString name;
    bool cancel = false;
};

struct Hooks {
    bool enabled = false;
    std::deque<int16_t> msgAnswers;
    std::vector<ShownMsgBox> shown;
    std::deque<FileAnswer> fileAnswers;
    std::deque<std::optional<int32_t>> colorAnswers;
    std::deque<ModalAnswer> modalAnswers;
    QStringList modalShown;
    std::vector<ShownHelp> help;
    QStringList failures;
};

Hooks& hooks()
{
    static Hooks h;
    return h;
}

bool offscreen()
{
    return QGuiApplication::platformName() == QLatin1String("offscreen");
}

}  // namespace

void enable()
{
    reset();
    hooks().enabled = true;
}

void disable()
{
    hooks().enabled = false;
}

bool enabled()
{
    return hooks().enabled || offscreen();
}

void reset()
{
    Hooks& h = hooks();
    const bool on = h.enabled;
    h = Hooks();
    h.enabled = on;
}

void answerNextMsgBox(int16_t answer)
{
    hooks().msgAnswers.push_back(answer);
}

const std::vector<ShownMsgBox>& shownMsgBoxes()
{
    return hooks().shown;
}

void clearShown()
{
    hooks().shown.clear();
}

int pendingMsgBoxAnswers()
{
    return int(hooks().msgAnswers.size());
}

void answerNextFileDialog(const QString& fileName)
{
    hooks().fileAnswers.push_back({fileName, false});
}

void cancelNextFileDialog()
{
    hooks().fileAnswers.push_back({QString(), true});
}

void answerNextColorDialog(int32_t colorRef)
{
    hooks().colorAnswers.emplace_back(colorRef);
}

void cancelNextColorDialog()
{
    hooks().colorAnswers.emplace_back(std::nullopt);
}

void answerNextModal(ModalAnswer answer)
{
    hooks().modalAnswers.push_back(std::move(answer));
}

int pendingModalAnswers()
{
    return int(hooks().modalAnswers.size());
}

const QStringList& shownModalForms()
{
    return hooks().modalShown;
}

const std::vector<ShownHelp>& shownHelp()
{
    return hooks().help;
}

const QStringList& failures()
{
    return hooks().failures;
}

QStringList takeFailures()
{
    QStringList f = hooks().failures;
    hooks().failures.clear();
    return f;
}

void addFailure(const QString& what)
{
    hooks().failures.append(what);
}

void processEvents(int forMs)
{
    QDeadlineTimer deadline(forMs);
    do {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (forMs > 0)
            QThread::msleep(1);
    } while (!deadline.hasExpired());
}

bool waitUntil(const std::function<bool()>& pred, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!pred()) {
        if (deadline.hasExpired())
            return pred();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

namespace detail {

bool active()
{
    return enabled();
}

int16_t answerMsgBox(const QString& text, int32_t buttons, const QString& title)
{
    Hooks& h = hooks();
    int16_t answer = 0;
    if (h.msgAnswers.empty()) {
        answer = defaultAnswer(buttons);
        h.failures.append(QStringLiteral("unanswered message box \"%1\" (%2, style %3)")
                              .arg(text, title)
                              .arg(buttons));
    } else {
        answer = h.msgAnswers.front();
        h.msgAnswers.pop_front();
    }
    h.shown.push_back({text, buttons, title, answer});
    return answer;
}

void answerModal(Form& form)
{
    Hooks& h = hooks();
    h.modalShown.append(form.className());
    if (h.modalAnswers.empty()) {
        h.failures.append(
            QStringLiteral("unanswered modal form %1").arg(form.className()));
        form.Hide();
        return;
    } else {
        ModalAnswer answer = std::move(h.modalAnswers.front());
        h.modalAnswers.pop_front();
        runHandler([&] { answer(form); });
    }
    if (form.isLoaded() && form.existingWindow() && form.existingWindow()->isVisible()) {
        h.failures.append(
            QStringLiteral("modal form %1 still shown after its answer").arg(form.className()));
        form.Hide();
    }
}

bool answerFileDialog(const QString& title, QString& name)
{
    Hooks& h = hooks();
    if (h.fileAnswers.empty()) {
        h.failures.append(QStringLiteral("unanswered file dialog \"%1\"").arg(title));
        return false;
    }
    const FileAnswer answer = h.fileAnswers.front();
    h.fileAnswers.pop_front();
    if (answer.cancel)
        return false;
    name = answer.name;
    return true;
}

std::optional<int32_t> answerColorDialog()
{
    Hooks& h = hooks();
    if (h.colorAnswers.empty()) {
        h.failures.append(QStringLiteral("unanswered colour dialog"));
        return std::nullopt;
    }
    auto a = h.colorAnswers.front();
    h.colorAnswers.pop_front();
    return a;
}

void recordHelp(const QString& file, int32_t command, int32_t context, const QString& topic)
{
    hooks().help.push_back({file, command, context, topic});
}

}  // namespace detail
}  // namespace forms::testing

#include "platform/forms/Testing.h"

#include "platform/forms/Form.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/TestingInternal.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTabBar>
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

namespace {

QString controlName(const Control& c)
{
    return c.Index() < 0 ? c.Name() : QStringLiteral("%1(%2)").arg(c.Name()).arg(c.Index());
}

// Whether text (with its "&" marks) fits the rectangle, wrapped or not.
bool fits(const QWidget& w, const QRect& r, const QString& text, bool wrap)
{
    const int flags = Qt::TextShowMnemonic | (wrap ? Qt::TextWordWrap : 0);
    const QRect need = w.fontMetrics().boundingRect(QRect(0, 0, r.width(), 100000), flags, text);
    return need.width() <= r.width() && (!wrap || need.height() <= r.height());
}

bool captionFits(const QWidget& w)
{
    if (const auto* tabs = w.findChild<const QTabBar*>()) {
        const int n = tabs->count();
        return n == 0 || tabs->tabRect(n - 1).right() < tabs->width();
    }
    if (const auto* l = qobject_cast<const QLabel*>(&w))
        return l->text().isEmpty() || fits(w, l->contentsRect(), l->text(), l->wordWrap());
    if (const auto* g = qobject_cast<const QGroupBox*>(&w)) {
        QStyleOptionGroupBox opt;
        opt.initFrom(g);
        opt.text = g->title();
        opt.subControls = QStyle::SC_GroupBoxLabel;
        const QRect r =
            g->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, g);
        return g->title().isEmpty() || r.right() < g->width();
    }
    if (const auto* b = qobject_cast<const QAbstractButton*>(&w)) {
        QStyleOptionButton opt;
        opt.initFrom(b);
        if (qobject_cast<const QCheckBox*>(b))
            return fits(w, b->style()->subElementRect(QStyle::SE_CheckBoxContents, &opt, b),
                        b->text(), true);
        if (qobject_cast<const QRadioButton*>(b))
            return fits(w, b->style()->subElementRect(QStyle::SE_RadioButtonContents, &opt, b),
                        b->text(), true);
        const int margin = b->style()->pixelMetric(QStyle::PM_ButtonMargin, &opt, b);
        return fits(w, b->rect().adjusted(margin / 2, 0, -margin / 2, 0), b->text(), false);
    }
    return true;
}

}  // namespace

QStringList cutCaptions(Form& form)
{
    QStringList cut;
    for (Control* c : form.controls()) {
        const QWidget* w = c->existingWidget();
        if (w && w->isVisible() && !captionFits(*w))
            cut << controlName(*c);
    }
    return cut;
}

QStringList sharedAccessKeys(Form& form)
{
    QStringList shared;
    for (QChar key : QStringLiteral("abcdefghijklmnopqrstuvwxyz0123456789")) {
        QStringList names;
        for (Control* c : form.controls()) {
            const QWidget* w = c->existingWidget();
            if (!w || !w->isVisible() || !c->hasAccessKey(key))
                continue;
            names << controlName(*c);
        }
        if (names.size() > 1)
            shared << QStringLiteral("%1: %2").arg(key, names.join(u' '));
    }
    return shared;
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

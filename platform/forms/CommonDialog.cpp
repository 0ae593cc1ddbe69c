#include "platform/forms/CommonDialog.h"

#include "platform/forms/Form.h"
#include "platform/forms/TestingInternal.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Files.h"

#include <QColorDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QPointer>
#include <QRegularExpression>
#include <QTextBrowser>

namespace forms {

namespace {

// "Desc|*.a;*.b|..." -> Qt's "Desc (*.a *.b);;...", with *.* as *. Qt reads
// the patterns from the parentheses it shows, so a description that already
// ends in its pattern has them replaced rather than repeated.
QString qtFilter(const QString& filter, int16_t index, QString* selected)
{
    const QStringList names = detail::fileDialogFilters(filter);
    if (index >= 1 && index <= names.size())
        *selected = names[index - 1];
    return names.join(QStringLiteral(";;"));
}

}  // namespace

namespace detail {

QStringList fileDialogFilters(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString raw = parts[i + 1].trimmed();
        QString patterns = raw;
        patterns.replace(u';', u' ').replace(QStringLiteral("*.*"), QStringLiteral("*"));
        QString name = parts[i].trimmed();
        const QString shown = u'(' + raw + u')';
        if (name.endsWith(shown))
            name.chop(shown.size());
        out << QStringLiteral("%1 (%2)").arg(name.trimmed(), patterns.trimmed());
    }
    return out;
}

}  // namespace detail

void CommonDialog::resetState()
{
    FileName.clear();
    FileTitle.clear();
    Filter.clear();
    FilterIndex = 1;
    InitDir.clear();
    DialogTitle.clear();
    DefaultExt.clear();
    Flags = 0;
    CancelError = false;
    Color = 0;
    HelpFile.clear();
    HelpCommand = 0;
    HelpContext = 0;
}

void CommonDialog::cancelled()
{
    if (CancelError)
        rt::raise(rt::errc::CancelSelected, QStringLiteral("CommonDialog"),
                  QStringLiteral("Cancel was selected."));
}

void CommonDialog::ShowOpen()
{
    showFile(false);
}

void CommonDialog::ShowSave()
{
    showFile(true);
}

void CommonDialog::showFile(bool save)
{
    form().ensureLoaded();
    QString chosen;
    if (testing::detail::active()) {
        if (!testing::detail::answerFileDialog(
                DialogTitle.isEmpty() ? (save ? QStringLiteral("Save As") : QStringLiteral("Open"))
                                      : DialogTitle,
                chosen))
            return cancelled();
    } else {
        QString selected;
        const QString filter = qtFilter(Filter, FilterIndex, &selected);
        QString start = InitDir;
        if (!FileName.isEmpty())
            start = QDir(InitDir).filePath(FileName);
        QFileDialog::Options opts;
        if (!(Flags & cdlOFNOverwritePrompt))
            opts |= QFileDialog::DontConfirmOverwrite;
        QWidget* parent = form().existingWindow();
        chosen = save ? QFileDialog::getSaveFileName(parent, DialogTitle, start, filter,
                                                     &selected, opts)
                      : QFileDialog::getOpenFileName(parent, DialogTitle, start, filter,
                                                     &selected, opts);
        if (chosen.isEmpty())
            return cancelled();
    }
    // The dialog's own work, so a name answered by a test gets it too.
    if (save && !DefaultExt.isEmpty() && QFileInfo(chosen).suffix().isEmpty())
        chosen += u'.' + DefaultExt;
    FileName = chosen;
    const QFileInfo info(chosen);
    FileTitle = info.fileName();
    // The original leaves the chosen file's folder current.
    if (info.dir().exists())
        QDir::setCurrent(info.absolutePath());
}

void CommonDialog::ShowColor()
{
    form().ensureLoaded();
    if (testing::detail::active()) {
        const auto answer = testing::detail::answerColorDialog();
        if (!answer)
            return cancelled();
        Color = *answer;
        return;
    }
    const QColor start = (Flags & cdlCCRGBInit) ? toQColor(Color) : QColor(Qt::black);
    const QColor c = QColorDialog::getColor(start, form().existingWindow(), DialogTitle);
    if (!c.isValid())
        return cancelled();
    Color = int32_t(uint32_t(c.red()) | (uint32_t(c.green()) << 8) | (uint32_t(c.blue()) << 16));
}

void CommonDialog::ShowHelp()
{
    form().ensureLoaded();
    help::run(HelpFile, HelpCommand, HelpContext);
}

namespace help {

std::vector<Topic> readHelpFile(const QString& path)
{
    QFile f(path);
    QString error;
    if (!rt::openRegularFile(f, error))
        rt::raise(rt::errc::FileNotFound, QStringLiteral("Help"),
                  QStringLiteral("File not found: %1").arg(path));
    static const QRegularExpression header(QStringLiteral("^\\[(-?\\d+)\\]\\s*(.*)$"));
    std::vector<Topic> topics;
    const QStringList lines = QString::fromUtf8(f.readAll()).split(u'\n');
    for (const QString& raw : lines) {
        const QString line = raw.trimmed().isEmpty() ? QString() : QString(raw).remove(u'\r');
        if (line.startsWith(u';'))
            continue;
        const QRegularExpressionMatch m = header.match(line.trimmed());
        if (m.hasMatch()) {
            topics.push_back({m.captured(1).toInt(), m.captured(2).trimmed(), {}});
            continue;
        }
        if (!topics.empty())
            topics.back().body += line + u'\n';
    }
    for (Topic& t : topics)
        t.body = t.body.trimmed();
    return topics;
}

namespace {
QPointer<QTextBrowser>& window()
{
    static QPointer<QTextBrowser> w;
    return w;
}
}  // namespace

QString show(const QString& path, int32_t contextId)
{
    QString html;
    QString title;
    try {
        const std::vector<Topic> topics = readHelpFile(path);
        if (contextId < 0) {
            title = QStringLiteral("Contents");
            html = QStringLiteral("<h2>Contents</h2><ul>");
            for (const Topic& t : topics)
                html += QStringLiteral("<li>%1</li>").arg(t.title.toHtmlEscaped());
            html += QStringLiteral("</ul>");
        } else {
            for (const Topic& t : topics) {
                if (t.id != contextId)
                    continue;
                title = t.title;
                html = QStringLiteral("<h2>%1</h2>").arg(t.title.toHtmlEscaped());
                for (const QString& para : t.body.split(QStringLiteral("\n\n")))
                    html += QStringLiteral("<p>%1</p>").arg(para.toHtmlEscaped());
            }
            if (title.isEmpty())
                html = QStringLiteral("<p>No help topic %1 in %2.</p>")
                           .arg(contextId)
                           .arg(path.toHtmlEscaped());
        }
    } catch (const rt::Error& e) {
        html = QStringLiteral("<p>%1</p>").arg(e.description().toHtmlEscaped());
    }
    if (!window()) {
        window() = new QTextBrowser;
        window()->setAttribute(Qt::WA_DeleteOnClose);
        window()->resize(480, 400);
    }
    window()->setWindowTitle(title.isEmpty() ? QStringLiteral("Help") : title);
    window()->setHtml(html);
    window()->show();
    window()->raise();
    return title;
}

void run(const QString& path, int32_t command, int32_t contextId)
{
    if (command == cdlHelpQuit) {
        close();
        return;
    }
    const int32_t id = command == cdlHelpContext ? contextId : -1;
    QString title;
    if (testing::detail::active()) {
        for (const Topic& t : readHelpFile(path))
            if (t.id == id)
                title = t.title;
        testing::detail::recordHelp(path, command, contextId, title);
    } else {
        title = show(path, id);
    }
}

void close()
{
    if (window())
        window()->close();
}

}  // namespace help
}  // namespace forms

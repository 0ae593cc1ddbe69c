#include "platform/forms/FileListBox.h"

#include "platform/forms/FolderPath.h"
#include "platform/runtime/Error.h"

#include <QDir>
#include <QFileInfo>
#include <QListWidget>

namespace forms {

QWidget* FileListBox::createWidget(QWidget* parent)
{
    auto* l = new QListWidget(parent);
    QObject::connect(l, &QListWidget::currentRowChanged, [this] {
        if (!m_internal)
            Click.fire();
    });
    QObject::connect(l, &QListWidget::itemDoubleClicked, [this] { DblClick.fire(); });
    if (m_path.isEmpty())
        m_path = QDir::currentPath();
    return l;
}

void FileListBox::resetState()
{
    m_path.clear();
    m_pattern = QStringLiteral("*.*");
    m_internal = false;
}

QListWidget* FileListBox::list()
{
    auto* l = static_cast<QListWidget*>(widget());
    if (l && l->property("bw_filled").isNull()) {
        l->setProperty("bw_filled", true);
        fill();
    }
    return l;
}

void FileListBox::fill()
{
    auto* l = static_cast<QListWidget*>(existingWidget());
    if (!l)
        return;
    QStringList filters;
    for (const QString& p : m_pattern.split(u';', Qt::SkipEmptyParts)) {
        const QString f = p.trimmed();
        filters << (f == u"*.*" ? QStringLiteral("*") : f);
    }
    if (filters.isEmpty())
        filters << QStringLiteral("*");
    QDir dir(m_path);
    dir.setNameFilters(filters);
    m_internal = true;
    l->clear();
    l->addItems(dir.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase));
    l->setCurrentRow(-1);
    m_internal = false;
}

QString FileListBox::Path()
{
    list();
    return m_path;
}

void FileListBox::setPath(const QString& path)
{
    list();
    const QString clean = detail::existingFolder(path, Name());
    const bool changed = clean != m_path;
    m_path = clean;
    fill();
    if (changed)
        raise(PathChange);
}

void FileListBox::setPattern(const QString& pattern)
{
    list();
    const bool changed = pattern != m_pattern;
    m_pattern = pattern;
    fill();
    if (changed)
        raise(PatternChange);
}

void FileListBox::Refresh()
{
    list();
    fill();
}

int32_t FileListBox::ListCount()
{
    QListWidget* l = list();
    return l ? l->count() : 0;
}

QString FileListBox::List(int32_t index)
{
    QListWidget* l = list();
    return l && index >= 0 && index < l->count() ? l->item(index)->text() : QString();
}

int32_t FileListBox::ListIndex()
{
    QListWidget* l = list();
    return l ? l->currentRow() : -1;
}

void FileListBox::setListIndex(int32_t index)
{
    QListWidget* l = list();
    if (!l)
        return;
    if (index < -1 || index >= l->count())
        rt::raise(380, Name(), QStringLiteral("Invalid property value"));
    if (index == l->currentRow())
        return;
    m_internal = true;
    l->setCurrentRow(index);
    if (index < 0)
        l->clearSelection();
    m_internal = false;
    raise(Click);
}

QString FileListBox::FileName()
{
    return List(ListIndex());
}

void FileListBox::setFileName(const QString& name)
{
    list();
    QString n = QDir::fromNativeSeparators(name);
    const qsizetype slash = n.lastIndexOf(u'/');
    if (slash >= 0) {
        setPath(slash == 0 ? QStringLiteral("/") : n.left(slash));
        n = n.mid(slash + 1);
    }
    if (n.contains(u'*') || n.contains(u'?')) {
        setPattern(n);
        return;
    }
    if (n.isEmpty())
        return;
    QListWidget* l = list();
    for (int i = 0; i < l->count(); ++i)
        if (l->item(i)->text() == n) {
            setListIndex(i);
            return;
        }
}

void FileListBox::clickItem(int32_t index)
{
    QListWidget* l = list();
    if (!l || !l->isEnabled() || index < 0 || index >= l->count())
        return;
    m_internal = true;
    l->setCurrentRow(index);
    m_internal = false;
    Click.fire();
}

void FileListBox::doubleClickItem(int32_t index)
{
    clickItem(index);
    DblClick.fire();
}

}  // namespace forms

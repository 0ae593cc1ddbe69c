#include "platform/forms/DirListBox.h"

#include "platform/forms/FolderPath.h"
#include "platform/runtime/Error.h"

#include <QDir>
#include <QFileInfo>
#include <QListWidget>

#include <algorithm>

namespace forms {

QWidget* DirListBox::createWidget(QWidget* parent)
{
    auto* l = new QListWidget(parent);
    QObject::connect(l, &QListWidget::currentRowChanged, [this] {
        if (!m_internal)
            Click.fire();
    });
    QObject::connect(l, &QListWidget::itemDoubleClicked, [this, l](QListWidgetItem* item) {
        const int row = l->row(item);
        const int parents = int(m_parents.size());
        doubleClickItem(row - parents);
    });
    if (m_path.isEmpty())
        m_path = QDir::currentPath();
    fill();
    return l;
}

void DirListBox::resetState()
{
    m_path.clear();
    m_parents.clear();
    m_subs.clear();
    m_internal = false;
}

QListWidget* DirListBox::list()
{
    return static_cast<QListWidget*>(widget());
}

void DirListBox::fill()
{
    m_parents.clear();
    for (QDir d(m_path);; ) {
        m_parents.prepend(d.absolutePath());
        if (!d.cdUp())
            break;
    }
    m_subs.clear();
    const QDir dir(m_path);
    for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                                             QDir::Name | QDir::IgnoreCase))
        m_subs << dir.absoluteFilePath(name);
    auto* l = static_cast<QListWidget*>(existingWidget());
    if (!l)
        return;
    m_internal = true;
    l->clear();
    for (int i = 0; i < m_parents.size(); ++i) {
        const QString name = i == 0 ? m_parents[i] : QFileInfo(m_parents[i]).fileName();
        l->addItem(QString(i * 2, u' ') + name);
    }
    for (const QString& s : std::as_const(m_subs))
        l->addItem(QString(m_parents.size() * 2, u' ') + QFileInfo(s).fileName());
    l->setCurrentRow(int(m_parents.size()) - 1);
    m_internal = false;
}

QString DirListBox::Path()
{
    widget();
    return m_path;
}

void DirListBox::setPath(const QString& path)
{
    widget();
    const QString clean = detail::existingFolder(path, Name());
    const bool changed = clean != m_path;
    m_path = clean;
    fill();
    if (changed)
        raise(Change);
}

void DirListBox::Refresh()
{
    widget();
    fill();
}

int32_t DirListBox::ListCount()
{
    widget();
    return int32_t(m_subs.size());
}

QString DirListBox::List(int32_t index)
{
    widget();
    if (index >= 0)
        return index < m_subs.size() ? m_subs[index] : QString();
    const qsizetype at = m_parents.size() + index;   // -1: Path, the last
    return at >= 0 ? m_parents[at] : QString();
}

int DirListBox::rowOf(int32_t listIndex) const
{
    return int(m_parents.size()) + listIndex;
}

int32_t DirListBox::ListIndex()
{
    QListWidget* l = list();
    return l ? l->currentRow() - int32_t(m_parents.size()) : -1;
}

void DirListBox::setListIndex(int32_t index)
{
    QListWidget* l = list();
    if (!l)
        return;
    const int row = rowOf(index);
    if (row < 0 || row >= l->count())
        rt::raise(380, Name(), QStringLiteral("Invalid property value"));
    if (row == l->currentRow())
        return;
    m_internal = true;
    l->setCurrentRow(row);
    m_internal = false;
    raise(Click);
}

void DirListBox::clickItem(int32_t listIndex)
{
    QListWidget* l = list();
    const int row = rowOf(listIndex);
    if (!l || !l->isEnabled() || row < 0 || row >= l->count())
        return;
    m_internal = true;
    l->setCurrentRow(row);
    m_internal = false;
    Click.fire();
}

void DirListBox::doubleClickItem(int32_t listIndex)
{
    const QString target = List(listIndex);
    if (target.isEmpty())
        return;
    runHandler([&] { setPath(target); });
}

}  // namespace forms

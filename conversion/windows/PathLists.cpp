#include "conversion/windows/PathLists.h"

#include "platform/runtime/Error.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>

namespace conv {

// ---- DriveListBox -------------------------------------------------------------

QWidget* DriveListBox::createWidget(QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    m_roots.clear();
    for (const QFileInfo& root : QDir::drives())
        m_roots.append(root.absoluteFilePath());
    combo->addItems(m_roots);
    m_index = m_roots.isEmpty() ? -1 : 0;
    combo->setCurrentIndex(m_index);
    QObject::connect(combo, &QComboBox::currentIndexChanged, combo, [this](int index) {
        if (!m_internal && index != m_index) {
            m_index = index;
            raise(Change);
        }
    });
    return combo;
}

void DriveListBox::resetState()
{
    m_roots.clear();
    m_index = -1;
}

QComboBox* DriveListBox::box() { return static_cast<QComboBox*>(widget()); }

int32_t DriveListBox::ListCount()
{
    box();
    return int32_t(m_roots.size());
}

QString DriveListBox::List(int32_t index)
{
    box();
    return index >= 0 && index < m_roots.size() ? m_roots[index] : QString();
}

int32_t DriveListBox::ListIndex()
{
    box();
    return m_index;
}

QString DriveListBox::Drive() { return List(ListIndex()); }

void DriveListBox::setListIndex(int32_t index)
{
    QComboBox* combo = box();
    if (index < 0 || index >= m_roots.size())
        rt::raise(380);
    if (index == m_index)
        return;
    m_index = index;
    m_internal = true;
    combo->setCurrentIndex(index);
    m_internal = false;
    raise(Change);
}

void DriveListBox::setDrive(const QString& drive)
{
    box();
    for (int32_t i = 0; i < m_roots.size(); ++i) {
        if (m_roots[i].startsWith(drive, Qt::CaseInsensitive)) {
            setListIndex(i);
            return;
        }
    }
    rt::raise(68);
}

// ---- DirListBox ---------------------------------------------------------------

QWidget* DirListBox::createWidget(QWidget* parent)
{
    auto* view = new QListWidget(parent);
    m_path = QDir::currentPath();
    QObject::connect(view, &QListWidget::itemDoubleClicked, view,
                     [this, view](QListWidgetItem* item) { openRow(view->row(item)); });
    return view;
}

void DirListBox::resetState()
{
    m_path.clear();
    m_rows.clear();
    m_subFolders.clear();
}

QListWidget* DirListBox::list()
{
    auto* view = static_cast<QListWidget*>(widget());
    if (m_rows.isEmpty() && view)
        refresh();
    return view;
}

QString DirListBox::Path()
{
    list();
    return m_path;
}

void DirListBox::setPath(const QString& path)
{
    list();
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isDir())
        rt::raise(rt::errc::PathNotFound);
    const QString clean = QDir::cleanPath(info.absoluteFilePath());
    if (clean == m_path)
        return;
    m_path = clean;
    refresh();
    raise(Change);
}

void DirListBox::refresh()
{
    m_rows.clear();
    m_subFolders.clear();
    QStringList ancestors;
    for (QDir d(m_path);; ) {
        ancestors.prepend(d.absolutePath());
        if (!d.cdUp())
            break;
    }
    const QDir here(m_path);
    for (const QFileInfo& sub : here.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot,
                                                   QDir::Name | QDir::IgnoreCase))
        m_subFolders.append(sub.absoluteFilePath());
    m_rows = ancestors + m_subFolders;

    auto* view = static_cast<QListWidget*>(existingWidget());
    if (!view)
        return;
    view->clear();
    for (qsizetype i = 0; i < m_rows.size(); ++i) {
        const bool ancestor = i < ancestors.size();
        const int depth = int(ancestor ? i : ancestors.size());
        const QString name = m_rows[i] == QLatin1String("/") ? m_rows[i]
                                                              : QFileInfo(m_rows[i]).fileName();
        view->addItem(QString(depth * 2, u' ') + name);
    }
    view->setCurrentRow(int(ancestors.size() - 1));
}

int32_t DirListBox::ListCount()
{
    list();
    return int32_t(m_subFolders.size());
}

QString DirListBox::List(int32_t index)
{
    list();
    return index >= 0 && index < m_subFolders.size() ? m_subFolders[index] : QString();
}

void DirListBox::openRow(int32_t row)
{
    list();
    if (row >= 0 && row < m_rows.size())
        setPath(m_rows[row]);
}

}  // namespace conv

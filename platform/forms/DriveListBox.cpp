#include "platform/forms/DriveListBox.h"

#include "platform/runtime/Error.h"

#include <QComboBox>
#include <QDir>
#include <QStorageInfo>

#include <algorithm>

namespace forms {

QStringList DriveListBox::roots()
{
    QStringList out{QStringLiteral("/")};
    QStringList more;
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
        const QString root = v.rootPath();
        // Pseudo file systems (proc, tmpfs, overlays) are no drives.
        if (!v.isValid() || !v.isReady() || root == u"/" ||
            !v.device().startsWith("/dev/") || root.startsWith(u"/snap/") ||
            root.startsWith(u"/boot"))
            continue;
        if (!more.contains(root))
            more << root;
    }
    std::sort(more.begin(), more.end());
    return out + more;
}

QWidget* DriveListBox::createWidget(QWidget* parent)
{
    auto* c = new QComboBox(parent);
    c->addItems(roots());
    c->setCurrentIndex(0);
    QObject::connect(c, &QComboBox::currentIndexChanged, [this] {
        if (!m_internal)
            Change.fire();
    });
    return c;
}

QComboBox* DriveListBox::box()
{
    return static_cast<QComboBox*>(widget());
}

QString DriveListBox::Drive()
{
    QComboBox* c = box();
    return c ? c->currentText() : QString();
}

void DriveListBox::setDrive(const QString& drive)
{
    QComboBox* c = box();
    if (!c)
        return;
    const QString path = QDir::cleanPath(QDir::fromNativeSeparators(drive));
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < c->count(); ++i) {
        const QString root = c->itemText(i);
        const bool holds = path == root ||
                           path.startsWith(root.endsWith(u'/') ? root : root + u'/');
        if (holds && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    if (best < 0)
        rt::raise(68, QStringLiteral("DriveListBox"), QStringLiteral("Device unavailable"));
    setListIndex(best);
}

int32_t DriveListBox::ListCount()
{
    QComboBox* c = box();
    return c ? c->count() : 0;
}

QString DriveListBox::List(int32_t index)
{
    QComboBox* c = box();
    return c && index >= 0 && index < c->count() ? c->itemText(index) : QString();
}

int32_t DriveListBox::ListIndex()
{
    QComboBox* c = box();
    return c ? c->currentIndex() : -1;
}

void DriveListBox::setListIndex(int32_t index)
{
    QComboBox* c = box();
    if (!c)
        return;
    if (index < 0 || index >= c->count())
        rt::raise(380, Name(), QStringLiteral("Invalid property value"));
    if (index == c->currentIndex())
        return;
    {
        m_internal = true;
        c->setCurrentIndex(index);
        m_internal = false;
    }
    raise(Change);
}

void DriveListBox::choose(int32_t index)
{
    QComboBox* c = box();
    if (c && c->isEnabled() && index >= 0 && index < c->count())
        c->setCurrentIndex(index);   // Change through the widget's signal
}

}  // namespace forms

#include "pellumar/wizard/frmTooltip.h"

#include <QFontMetrics>
#include <QWidget>

namespace {
const QString kPrefix = QStringLiteral("Selection Size: ");
}

QString frmTooltip::Text() const
{
    return kPrefix + QString::number(SelectionWidth) + QLatin1Char('x')
           + QString::number(SelectionHeight);
}

void frmTooltip::Repaint()
{
    lblSize.setCaption(Text());
    lblSize.Refresh();
}

void frmTooltip::Form_Design()
{
    setCaption(QString());
    setScaleMode(forms::vbPixels);
    setDesignSize(1500, 300);
}

void frmTooltip::Form_Load()
{
    QWidget* w = window();   // the top-level window, not its client area
    w->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint);
    w->setAttribute(Qt::WA_ShowWithoutActivating);
    const QFontMetrics fm(lblSize.widget()->font());
    const int width = fm.horizontalAdvance(kPrefix + QStringLiteral("99x99")) + 8;
    const int height = fm.height() + 6;
    w->resize(width, height);
    w->setStyleSheet(QStringLiteral("background: #ffffe1; color: black;"));
    lblSize.Move(2, 2, float(width - 4), float(height - 4));
    Repaint();
}

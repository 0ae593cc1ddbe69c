#include "platform/forms/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace forms {

namespace {
QClipboard* board()
{
    return QGuiApplication::clipboard();
}
}  // namespace

void Clipboard::Clear()
{
    if (QClipboard* c = board())
        c->clear();
}

void Clipboard::SetText(const QString& text, int16_t)
{
    if (QClipboard* c = board())
        c->setText(text);
}

QString Clipboard::GetText(int16_t)
{
    QClipboard* c = board();
    return c ? c->text() : QString();
}

void Clipboard::SetData(const Picture& picture, int16_t)
{
    QClipboard* c = board();
    if (!c || !picture || !picture->Handle())
        return;
    c->setImage(picture->toImage());
}

Picture Clipboard::GetData(int16_t)
{
    QClipboard* c = board();
    if (!c)
        return StdPicture::fromBitmap(0);
    const QMimeData* m = c->mimeData();
    if (!m || !m->hasImage())
        return StdPicture::fromBitmap(0);
    return StdPicture::fromImage(c->image());
}

bool Clipboard::GetFormat(int16_t format)
{
    QClipboard* c = board();
    const QMimeData* m = c ? c->mimeData() : nullptr;
    if (!m)
        return false;
    if (format == vbCFText)
        return m->hasText();
    if (format == vbCFBitmap || format == vbCFDIB)
        return m->hasImage();
    return false;
}

}  // namespace forms

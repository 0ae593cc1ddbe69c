#include "platform/forms/DataObject.h"

#include "platform/runtime/Error.h"

#include <QMimeData>

namespace forms {

void DataObject::SetData(const rt::Variant& value, int16_t format)
{
    m_data[format] = value;
}

rt::Variant DataObject::GetData(int16_t format) const
{
    const auto it = m_data.find(format);
    if (it == m_data.end())
        rt::raise(461, QStringLiteral("DataObject"),
                  QStringLiteral("Specified format doesn't match format of data"));
    return it->second;
}

std::unique_ptr<QMimeData> DataObject::toMimeData() const
{
    auto mime = std::make_unique<QMimeData>();
    const auto it = m_data.find(vbCFText);
    if (it != m_data.end())
        mime->setText(it->second.toString());
    return mime;
}

DataObject DataObject::fromMimeData(const QMimeData* mime)
{
    DataObject d;
    if (mime && mime->hasText())
        d.SetData(mime->text(), vbCFText);
    return d;
}

}  // namespace forms

#pragma once
// The data object of the OLE drag events: values by clipboard format. A
// drag out of a control offers it as QMimeData (text format as plain text);
// a drop onto a control reads it back the same way.

#include "platform/forms/ClipboardFormats.h"
#include "platform/runtime/Variant.h"

#include <cstdint>
#include <map>
#include <memory>

class QMimeData;

namespace forms {

inline constexpr int32_t vbDropEffectNone = 0;
inline constexpr int32_t vbDropEffectCopy = 1;
inline constexpr int32_t vbDropEffectMove = 2;
inline constexpr int16_t vbOLEDragManual = 0;
inline constexpr int16_t vbOLEDragAutomatic = 1;
inline constexpr int16_t vbOLEDropNone = 0;
inline constexpr int16_t vbOLEDropManual = 1;
// State of OLEDragOver.
inline constexpr int16_t vbEnter = 0;
inline constexpr int16_t vbLeave = 1;
inline constexpr int16_t vbOver = 2;

class DataObject final {
public:
    void Clear() { m_data.clear(); }
    void SetData(const rt::Variant& value, int16_t format = vbCFText);
    // Error 461 when the object holds nothing in that format.
    rt::Variant GetData(int16_t format = vbCFText) const;
    bool GetFormat(int16_t format) const { return m_data.count(format) != 0; }

    std::unique_ptr<QMimeData> toMimeData() const;
    static DataObject fromMimeData(const QMimeData* mime);

private:
    std::map<int16_t, rt::Variant> m_data;
};

}  // namespace forms

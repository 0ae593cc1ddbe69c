#include "barwright/panel/GenerateToolClickCode.h"

#include "barwright/connection/mGlobals.h"
#include "platform/forms/Clipboard.h"
#include "platform/runtime/Error.h"
#include "platform/toolbar/MqZentribar.h"

namespace mGlobals {

namespace {

constexpr int16_t kStateButtonType = 1;
constexpr int16_t kDropDownStateButtonType = 3;
constexpr int16_t kSeparatorType = 8;

}  // namespace

QString ToolClickCode(const com::Object& tools)
{
    const QString& nl = gCRLF;
    QString text = nl;
    text += QStringLiteral("    ' NOTE: Place this code in the control's ToolClick event.") + nl;
    text += QStringLiteral("    '") + nl;
    text += QStringLiteral("    ' Determine which tool was clicked.") + nl;
    text += QStringLiteral("    Select Case Tool.ID") + nl;

    rt::ResumeNext rn;
    int32_t count = 0;
    rn([&] { count = tools.get(QStringLiteral("Count")).toLong(); });
    for (int32_t i = 1; i <= count; ++i) {
        int16_t type = 0;
        QString id;
        const bool read = rn([&] {
            const auto tool = com::Object::fromVariant(tools.get(QStringLiteral("Item"), {i}));
            type = tool.get(QStringLiteral("Type")).toInteger();
            id = tool.get(QStringLiteral("ID")).toString();
        });
        if (!read || type == kSeparatorType)
            continue;
        // The ID goes in as stored: neither trimmed nor escaped.
        text += QStringLiteral("        Case \"") + id + QStringLiteral("\"    '(")
                + ToolTypeName(type, true) + QStringLiteral(")") + nl;
        if (type == kStateButtonType || type == kDropDownStateButtonType) {
            text += QStringLiteral("            Select Case Tool.State") + nl;
            text += QStringLiteral("                Case mqChecked") + nl + nl;
            text += QStringLiteral("                Case mqUnchecked") + nl + nl;
            text += QStringLiteral("            End Select") + nl;
        }
        text += nl;
    }
    rn.clear();

    text += QStringLiteral("        Case Else") + nl + nl;
    text += QStringLiteral("    End Select") + nl + nl;
    return text;
}

void GenerateToolClickCode(const com::Object& tools)
{
    const QString text = ToolClickCode(tools);
    rt::ResumeNext rn;
    rn([] { forms::Clipboard::Clear(); });
    rn([&] { forms::Clipboard::SetText(text); });
    rn.clear();
}

void GenerateToolClickCode(toolbar::MqZentribar& control)
{
    GenerateToolClickCode(com::Object(control.tools()));
}

}  // namespace mGlobals

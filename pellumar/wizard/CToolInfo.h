#pragma once
// One tool read from a toolset file: what the conversion turns into a tool
// of the toolbar control. The ID is the record's key in the wizard's list.

#include "platform/runtime/Object.h"

#include <QString>

#include <cstdint>

class CToolInfo final : public rt::ObjectBase {
public:
    QString className() const override { return QStringLiteral("CToolInfo"); }

    QString HelpText;
    QString Description;
    QString ID;
    int16_t ToolType = 0;
    bool AllowAllUp = true;
    int16_t Group = 1;
    QString Mnemonic;   // read and kept; nothing uses it
    bool Exclusive = false;
};

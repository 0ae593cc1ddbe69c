#pragma once
// The data behind a Tool. A configuration of thousands of tools keeps only
// these; the late-bound Tool object over one is made when someone first
// asks for it (an Item, an iteration, an event) and is then kept as long as
// anyone holds it, so the same tool is always the same object.

#include "platform/toolbar/Tool.h"

namespace toolbar {

// What a definition and all its entries share.
struct ToolCore {
    QString id;
    int16_t type = 0;
    QString category;
    QString description;
    QString tooltip;
    int16_t shortcut = 0;
    int16_t state = 0;
    QString group;
    bool allowAllUp = true;
    int16_t menuVisibility = 0;
    bool autoWrap = false;
    bool customizable = true;
    bool enabled = true;
    bool visible = true;
    rt::Variant tag;
    int16_t imageSize = 16;
    bool useMask = true;
    std::array<forms::Picture, PictureStateCount> pictures;
    std::shared_ptr<ToolComboBox> combo;   // made on first use
    std::shared_ptr<ToolEdit> edit;
    std::shared_ptr<ToolMenu> menu;
};

struct ToolState {
    Tool::Role role = Tool::Role::Definition;
    Link link;
    std::shared_ptr<ToolState> definition;   // entries only
    std::shared_ptr<ToolCore> core;          // definitions and separators
    std::weak_ptr<Tools> owner;              // the collection holding it
    std::weak_ptr<Tool> face;                // the late-bound object, while alive

    // The look each entry keeps on its own.
    QString name;
    int16_t displayStyle = 0;
    int32_t forecolor = int32_t(0x80000012u);   // button text
    int16_t forecolorSource = 0;
    int16_t width = 75;

    ToolCore& shared() { return definition ? *definition->core : *core; }
    const ToolCore& shared() const { return definition ? *definition->core : *core; }
    ToolState& definitionState() { return definition ? *definition : *this; }
    // Takes the look of another tool: a new entry its definition's, a copied
    // entry the original's.
    void copyLookOf(const ToolState& other);

    static std::shared_ptr<ToolState> makeDefinition(const Link& link, const QString& id,
                                                     int16_t type);
    static std::shared_ptr<ToolState> makeEntry(const std::shared_ptr<ToolState>& definition);
    static std::shared_ptr<ToolState> makeSeparator(const Link& link);
};

}  // namespace toolbar

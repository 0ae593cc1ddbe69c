#include "barwright/panel/CopyProperties.h"

#include "platform/runtime/Error.h"

#include <vector>

namespace mGlobals {

namespace {

constexpr int16_t kComboBoxType = 4;
constexpr int16_t kEditType = 5;
constexpr int16_t kMenuType = 7;
constexpr int16_t kSeparatorType = 8;

com::Object member(const com::Object& owner, const QString& name)
{
    return com::Object::fromVariant(owner.get(name));
}

// The tool's type read afresh; -1 when it cannot be read, so that an
// unreadable type selects none of the type-specific blocks.
int16_t typeOf(rt::ResumeNext& rn, const com::Object& tool)
{
    int16_t type = -1;
    rn([&] { type = tool.get(QStringLiteral("Type")).toInteger(); });
    return type;
}

// One step: dst.<name> := src.<name>.
void copy(rt::ResumeNext& rn, const com::Object& src, const com::Object& dst,
          const QString& name)
{
    rn([&] { dst.let(name, src.get(name)); });
}

// One step: dst.<sub>.<name> := src.<sub>.<name>.
void copySub(rt::ResumeNext& rn, const com::Object& src, const com::Object& dst,
             const QString& sub, const QString& name)
{
    rn([&] { member(dst, sub).let(name, member(src, sub).get(name)); });
}

void copyComboBoxItems(rt::ResumeNext& rn, const com::Object& src, const com::Object& dst)
{
    const QString combo = QStringLiteral("ComboBox");
    int16_t count = 0;
    rn([&] { count = member(src, combo).get(QStringLiteral("ListCount")).toInteger(); });
    for (int16_t i = 0; i < count; ++i) {
        const bool added = rn([&] {
            member(dst, combo).call(QStringLiteral("AddItem"),
                                    {member(src, combo).get(QStringLiteral("List"), {i})});
        });
        // NewIndex still names the previous item when the add failed; writing
        // the data there would give that item the wrong data.
        if (!added)
            continue;
        rn([&] {
            const com::Object to = member(dst, combo);
            to.let(QStringLiteral("ItemData"),
                   member(src, combo).get(QStringLiteral("ItemData"), {i}),
                   {to.get(QStringLiteral("NewIndex"))});
        });
    }
}

com::Object menuTools(const com::Object& tool)
{
    return member(member(tool, QStringLiteral("Menu")), QStringLiteral("Tools"));
}

// Entries are appended in order; the separators go in last, each at the
// position it held in the source menu. Ascending positions put every one
// back where it was.
void copyMenuEntries(rt::ResumeNext& rn, const com::Object& src, const com::Object& dst)
{
    std::vector<int32_t> cSeparators;
    com::Object entries;
    int32_t count = 0;
    rn([&] { entries = menuTools(src); });
    rn([&] { count = entries.get(QStringLiteral("Count")).toLong(); });
    for (int32_t k = 1; k <= count; ++k) {
        com::Object entry;
        const bool found = rn([&] {
            entry = com::Object::fromVariant(entries.get(QStringLiteral("Item"), {k}));
        });
        if (!found)
            continue;
        const int16_t type = typeOf(rn, entry);
        if (type == kSeparatorType) {
            rn([&] { cSeparators.push_back(entry.get(QStringLiteral("Index")).toLong()); });
        } else if (type >= 0) {
            rn([&] {
                menuTools(dst).call(QStringLiteral("Add"), {entry.get(QStringLiteral("ID"))});
            });
        }
    }
    for (const int32_t position : cSeparators) {
        rn([&] {
            menuTools(dst).call(QStringLiteral("Add"),
                                {QStringLiteral("separator"), kSeparatorType, position});
        });
    }
}

}  // namespace

void CopyToolbarProperties(const com::Object& src, const com::Object& dst)
{
    rt::ResumeNext rn;
    const auto step = [&](const char* name) { copy(rn, src, dst, QLatin1String(name)); };
    step("AllowCustomize");
    step("AllowHiding");
    step("CaptionAlignment");
    step("DisplayGrabHandles");
    step("PositionState1");
    step("PositionState2");
    step("PositionState3");
    step("DockingFlags");
    step("PositionState4");
    step("PositionState5");
    step("PositionState6");
    step("PositionState7");
    step("Font3D");
    rn([&] { dst.let(QStringLiteral("Configured"), true); });
    step("Visible");
    step("DisplayMoreToolsButton");
    // Again, in case the docking flags or Visible changed it on dst.
    step("DisplayGrabHandles");
    rn.clear();
}

void CopyToolProperties(bool bInstanceOnly, const com::Object& src, const com::Object& dst)
{
    rt::ResumeNext rn;
    const auto step = [&](const char* name) { copy(rn, src, dst, QLatin1String(name)); };
    const auto subStep = [&](const char* sub, const char* name) {
        copySub(rn, src, dst, QLatin1String(sub), QLatin1String(name));
    };

    step("DisplayStyle");
    step("Forecolor");
    step("ForecolorSource");
    step("Name");
    if (bInstanceOnly) {
        rn.clear();
        return;
    }

    step("Type");
    step("AutoWrap");
    step("Category");
    if (typeOf(rn, src) == kComboBoxType) {
        // Items go in before Sorted is written, so they arrive in the source's order.
        copyComboBoxItems(rn, src, dst);
        subStep("ComboBox", "Locked");
        subStep("ComboBox", "Sorted");
        subStep("ComboBox", "Style");
        subStep("ComboBox", "Text");
        step("Width");
    }
    step("Description");
    if (typeOf(rn, src) == kEditType) {
        subStep("Edit", "Locked");
        subStep("Edit", "MaxLength");
        subStep("Edit", "Text");
        step("Width");
    }
    step("Enabled");
    step("StateGroupName");
    step("StateAllowAllUp");
    if (typeOf(rn, src) == kMenuType)
        copyMenuEntries(rn, src, dst);

    for (const char* picture :
         {"PictureNormal", "PicturePressed", "PictureDisabled", "PictureDisabledPressed"}) {
        // By reference; Nothing is assigned too, so dst loses a picture src lacks.
        const QString name = QLatin1String(picture);
        rn([&] { dst.set(name, com::Object::fromVariant(src.get(name))); });
    }

    step("ImageSize");
    step("ShortcutKey");
    step("State");
    step("Tag");
    step("TooltipText");
    step("UseMaskColor");
    step("Visible");
    step("MenuVisibility");
    step("Customizable");
    rn.clear();
}

}  // namespace mGlobals

#include "barwright/panel/CToolCopier.h"

#include "barwright/connection/mGlobals.h"
#include "barwright/panel/CopyProperties.h"
#include "barwright/panel/frmLoadToolConflict.h"
#include "platform/forms/Screen.h"
#include "platform/runtime/Error.h"
#include "platform/toolbar/MqZentribar.h"

using mGlobals::ExistsInCollection;

namespace {

constexpr int16_t kMenuType = 7;
constexpr int16_t kSeparatorType = 8;

com::Object toolsOf(const com::Object& control)
{
    return com::Object::fromVariant(control.get(toolbar::dispid::Tools));
}

com::Object itemOf(const com::Object& collection, const QString& key)
{
    return com::Object::fromVariant(collection.get(QStringLiteral("Item"), {key}));
}

void remember(rt::Collection& ids, const QString& id)
{
    rt::tryStatement([&] { ids.Add(id, id); });
}

}  // namespace

bool CToolCopier::CopyCtlTool(const com::Object& srcTool, bool& cancel)
{
    cancel = false;
    rt::ResumeNext rn;

    // An unreadable type reads as 0, as an empty result would.
    int16_t type = 0;
    rn([&] { type = srcTool.get(QStringLiteral("Type")).toInteger(); });
    if (type == kSeparatorType)
        return false;

    QString id;
    rn([&] { id = srcTool.get(QStringLiteral("ID")).toString(); });

    // The sub-tools' definitions must be there before the menu's own entry
    // list is written.
    if (type == kMenuType && !m_openMenus.contains(id.toCaseFolded())) {
        m_openMenus.insert(id.toCaseFolded());
        com::Object entries;
        int32_t count = 0;
        rn([&] {
            entries = com::Object::fromVariant(
                com::Object::fromVariant(srcTool.get(QStringLiteral("Menu")))
                    .get(QStringLiteral("Tools")));
        });
        rn([&] { count = entries.get(QStringLiteral("Count")).toLong(); });
        for (int32_t k = 1; k <= count; ++k) {
            com::Object entry;
            if (!rn([&] {
                    entry = com::Object::fromVariant(entries.get(QStringLiteral("Item"), {k}));
                }))
                continue;
            bool innerCancel = false;
            CopyCtlTool(entry, innerCancel);
            if (innerCancel) {
                m_openMenus.remove(id.toCaseFolded());
                cancel = true;
                return false;
            }
        }
        m_openMenus.remove(id.toCaseFolded());
    }

    com::Object existing;
    rn([&] { existing = itemOf(toolsOf(m_destination), id); });
    const bool exists = !existing.isNothing();

    bool skip = false;
    if (exists) {
        if (ExistsInCollection(cCopiedIDs, id)) {
            skip = true;
        } else if (!bYesToAll && !bNoToAll) {
            if (ExistsInCollection(cNoIDs, id)) {
                skip = true;
            } else if (!ExistsInCollection(cYesIDs, id)) {
                switch (askReplace(id, existing, srcTool)) {
                case Yes:
                    remember(cYesIDs, id);
                    break;
                case YesToAll:
                    bYesToAll = true;
                    break;
                case No:
                    remember(cNoIDs, id);
                    skip = true;
                    break;
                case NoToAll:
                    bNoToAll = true;
                    skip = true;
                    break;
                default:
                    // Cancel, or a question closed without an answer: nothing
                    // is replaced without the user's word.
                    cancel = true;
                    return false;
                }
            }
        } else {
            skip = bNoToAll;
        }
    }

    if (!exists) {
        com::Object added;
        rn([&] {
            added = com::Object::fromVariant(
                toolsOf(m_destination).call(QStringLiteral("Add"), {id}));
        });
        // A definition the destination refused was not copied.
        if (added.isNothing())
            return false;
        remember(cCopiedIDs, id);
        com::Object def;
        rn([&] { def = itemOf(toolsOf(m_source), id); });
        mGlobals::CopyToolProperties(false, def, added);
        return true;
    }
    if (skip)
        return false;
    // Overwritten in place, so the entries that refer to it stay where they are.
    com::Object def;
    rn([&] { def = itemOf(toolsOf(m_source), id); });
    mGlobals::CopyToolProperties(false, def, existing);
    return true;
}

int32_t CToolCopier::askReplace(const QString& id, const com::Object& existing,
                                const com::Object& srcTool)
{
    frmLoadToolConflict& dlg = frmLoadToolConflict::get();
    forms::Screen::setMousePointer(forms::vbDefault);
    dlg.ToolID = id;
    dlg.OldTool = existing;
    dlg.NewTool = srcTool;
    dlg.ReturnCode = 0;
    rt::tryStatement([&] { dlg.Show(forms::vbModal); });
    const int32_t answer = dlg.ReturnCode;
    rt::tryStatement([&] { dlg.Unload(); });
    forms::Screen::setMousePointer(forms::vbHourglass);
    return answer;
}

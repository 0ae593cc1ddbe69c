#pragma once
// Copies tool definitions from one toolbar control (a work control holding
// another configuration file) into another (the working copy). Before a tool
// of an existing ID is replaced the user is asked (frmLoadToolConflict); the
// answers hold for the rest of one copy operation, which is this object's life.

#include "platform/automation/Dispatch.h"
#include "platform/runtime/Collection.h"

#include <QSet>
#include <QString>

#include <cstdint>

class CToolCopier final {
public:
    // The answers of the replace question (frmLoadToolConflict.ReturnCode).
    enum Answer : int32_t { Yes = 1, YesToAll = 2, No = 3, NoToAll = 4, Cancel = 5 };

    void setSourceControl(const com::Object& ctlSource) { m_source = ctlSource; }
    void setDestinationControl(const com::Object& ctlDestination)
    {
        m_destination = ctlDestination;
    }

    // Copies the definition of srcTool's ID (a definition, a toolbar entry or
    // a menu entry of the source); a menu's sub-tools go first. True when this
    // call added or replaced the definition; False when it was skipped, for a
    // separator, or when the user cancelled (cancel comes back True then).
    bool CopyCtlTool(const com::Object& srcTool, bool& cancel);

private:
    int32_t askReplace(const QString& id, const com::Object& existing,
                       const com::Object& srcTool);

    com::Object m_source;
    com::Object m_destination;
    bool bYesToAll = false;
    bool bNoToAll = false;
    rt::Collection cYesIDs;
    rt::Collection cNoIDs;
    rt::Collection cCopiedIDs;
    // Menu tools whose sub-tools are being copied: a menu that reached itself
    // through its entries is not walked again.
    QSet<QString> m_openMenus;
};

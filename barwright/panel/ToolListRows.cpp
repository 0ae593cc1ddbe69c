#include "barwright/panel/ToolListRows.h"

#include "barwright/connection/mGlobals.h"
#include "barwright/panel/CImagelist.h"
#include "platform/forms/ListView.h"
#include "platform/runtime/Error.h"

void DesignToolColumns(forms::ListView& list, float idWidth, float nameWidth,
                       float categoryWidth)
{
    list.setView(forms::lvwReport);
    list.setFullRowSelect(true);
    list.ColumnHeaders.Clear();
    list.ColumnHeaders.Add(0, QString(), QStringLiteral("ID"), idWidth);
    list.ColumnHeaders.Add(0, QString(), QStringLiteral("Name"), nameWidth);
    list.ColumnHeaders.Add(0, QString(), QStringLiteral("Category"), categoryWidth);
}

void AddToolRow(forms::ListView& list, CImagelist& pictures, const com::Object& tool)
{
    rt::ResumeNext rn;
    QString id;
    QString name;
    QString category;
    bool hasPicture = false;
    rn([&] { id = tool.get(QStringLiteral("ID")).toString(); });
    rn([&] { name = tool.get(QStringLiteral("Name")).toString(); });
    rn([&] { category = tool.get(QStringLiteral("Category")).toString(); });
    rn([&] {
        const com::Object picture =
            com::Object::fromVariant(tool.get(QStringLiteral("PictureNormal")));
        hasPicture = mGlobals::IsNotNothing(picture) && mGlobals::HasPicture(picture);
    });
    // Only a picture that reached the image list can be the row's icon.
    if (hasPicture)
        hasPicture = pictures.AddToolPicture(tool);

    forms::ListItem* row = nullptr;
    rn([&] {
        row = &list.ListItems.Add(0, QString(), id, rt::Variant(),
                                  hasPicture ? rt::Variant(id) : rt::Variant());
    });
    if (!row)
        return;
    rn([&] { row->setSubItems(1, name); });
    rn([&] { row->setSubItems(2, category); });
}

void AddToolRows(forms::ListView& list, CImagelist& pictures, const com::Object& tools)
{
    rt::ResumeNext rn;
    int32_t count = 0;
    rn([&] { count = tools.get(QStringLiteral("Count")).toLong(); });
    for (int32_t i = 1; i <= count; ++i) {
        com::Object tool;
        if (rn([&] { tool = com::Object::fromVariant(tools.get(QStringLiteral("Item"), {i})); }))
            AddToolRow(list, pictures, tool);
    }
}

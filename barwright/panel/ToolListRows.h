#pragma once
// The tool rows the copy dialogs list: the tool's ID with its normal picture
// as the small icon, then its Name and Category, under the columns "ID",
// "Name" and "Category".

#include "platform/automation/Dispatch.h"

class CImagelist;

namespace forms {
class ListView;
}

// Report view with the three columns, small icons from the list's image list.
void DesignToolColumns(forms::ListView& list, float idWidth, float nameWidth,
                       float categoryWidth);
// Adds one row; the picture goes into the image list bound to pictures. A
// property that cannot be read leaves its text empty.
void AddToolRow(forms::ListView& list, CImagelist& pictures, const com::Object& tool);
// One row for each item of a tools collection, in its order; an item that
// cannot be read is left out.
void AddToolRows(forms::ListView& list, CImagelist& pictures, const com::Object& tools);

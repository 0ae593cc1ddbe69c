#pragma once
// Puts tool pictures into an image list keyed by tool ID. A tool picture is
// one row taller than the picture and carries its mask colour in that row;
// the image list gets the picture with that colour drawn transparent.

#include "platform/automation/Dispatch.h"
#include "platform/forms/StdPicture.h"

#include <QRgb>

namespace forms {
class ImageList;
class PictureBox;
}  // namespace forms

class CImagelist final {
public:
    CImagelist() = default;
    ~CImagelist();   // Class_Terminate
    CImagelist(const CImagelist&) = delete;
    CImagelist& operator=(const CImagelist&) = delete;

    // Adds (or replaces) the tool's normal picture under its ID; a tool
    // without picture loses its image. True when a picture was added.
    bool AddToolPicture(const com::Object& tool);
    // The same for a tool's ID and normal picture (null: none), for callers
    // that read tools in bulk.
    bool AddToolPicture(const QString& id, const forms::Picture& picture);
    void Cleanup();
    // target receives the pictures; work list and work box are scratch.
    void SetControls(forms::ImageList& target, forms::ImageList& work,
                     forms::PictureBox& workBox);

private:
    // The controls belong to their forms; this only uses them.
    forms::ImageList* m_target = nullptr;
    forms::ImageList* m_work = nullptr;
    forms::PictureBox* m_workBox = nullptr;
    // The plain picture of the target's mask colour that pictures are drawn
    // over; kept while pictures keep their size.
    forms::Picture m_backdrop;
    QRgb m_backdropColour = 0;
};

// The Pictures tab of the tool dialog: the four state pictures and their
// drawing engines. Until the picture editor is placed here, the tab shows
// the image size only and the tool's stored pictures stay as they are.
#include "barwright/editors/frmTool.h"

#include "barwright/picture/mDrawParams.h"

void frmTool::InitDrawingStuff()
{
    mDrawParams::gPicWidth = std::clamp<int16_t>(mDrawParams::gPicWidth, 16, 32);
    mDrawParams::gPicHeight = mDrawParams::gPicWidth;
    coImageSize.setListIndex(mDrawParams::gPicWidth - 16);
}

void frmTool::LoadToolPictures(const std::shared_ptr<toolbar::Tool>& tool)
{
    (void)tool;
}

void frmTool::StoreToolPictures(const std::shared_ptr<toolbar::Tool>& tool)
{
    (void)tool;
}

void frmTool::ShowPicturesTab() {}

void frmTool::ReleasePictureEngines() {}

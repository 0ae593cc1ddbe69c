#pragma once
// The question asked when a pasted or imported picture is larger than the
// tool picture: clip it (centred or from the top-left), shrink it, or enlarge
// the drawing canvas. The caller fills picWork, shows the form modally, reads
// the four public variables and unloads it.

#include "platform/forms/CommandButton.h"
#include "platform/forms/Form.h"
#include "platform/forms/Label.h"
#include "platform/forms/CheckBox.h"
#include "platform/forms/PictureBox.h"

#include <cstdint>

class frmImportImageOption final : public forms::Form {
public:
    frmImportImageOption();
    QString className() const override { return QStringLiteral("frmImportImageOption"); }

    forms::PictureBox picWork{this, QStringLiteral("picWork")};
    forms::Label Label1{this, QStringLiteral("Label1")};
    forms::Label lbImageSize{this, QStringLiteral("lbImageSize")};
    forms::Label Label2{this, QStringLiteral("Label2")};
    forms::Label lbImportImageSize{this, QStringLiteral("lbImportImageSize")};
    forms::OptionButton opClipCentered{this, QStringLiteral("opClipCentered")};
    forms::OptionButton opClipLeftTop{this, QStringLiteral("opClipLeftTop")};
    forms::OptionButton opShrink{this, QStringLiteral("opShrink")};
    forms::OptionButton opEnlargeBitmap{this, QStringLiteral("opEnlargeBitmap")};
    forms::Frame frPicPreviewHolder{this, QStringLiteral("frPicPreviewHolder")};
    forms::PictureBox picPreview{&frPicPreviewHolder, QStringLiteral("picPreview")};
    forms::CommandButton cmdOK{this, QStringLiteral("cmdOK")};
    forms::CommandButton cmdCxl{this, QStringLiteral("cmdCxl")};

    bool bCanceled = true;
    bool bClip = false;
    bool bClipCentered = false;
    int32_t lResizeSize = 0;

    // The size the preview shows (for the owner's tests).
    int32_t targetWidth() const { return m_targetWidth; }
    int32_t targetHeight() const { return m_targetHeight; }

private:
    void Form_Design() override;
    void Form_Load() override;
    void Form_Activate() override;
    void opClipCentered_Click();
    void opClipLeftTop_Click();
    void opShrink_Click();
    void opEnlargeBitmap_Click();
    void cmdOK_Click();
    void cmdCxl_Click();
    void SetPicPreviewSizeAndPosition();
    void DrawPreview();
    int32_t pictureWidth();
    int32_t pictureHeight();

    bool m_activated = false;
    int32_t m_targetWidth = 0;
    int32_t m_targetHeight = 0;
};

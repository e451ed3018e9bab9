#pragma once
// TPicPreviewFrm: the composite preview window. Created hidden and never
// shown; its image imgPreview holds the composite that becomes the wallpaper.
#include "ui/Form.h"
#include "ui/GraphicControls.h"

namespace tabulon {

class TPicPreviewFrm : public TForm {
  public:
    TPicPreviewFrm();

    void FormCreate() override;

    TImage* imgPreview = nullptr;
};

extern TPicPreviewFrm* PicPreviewFrm;

} // namespace tabulon

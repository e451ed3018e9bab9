#include "compose/uPicPreview.h"

#include "base/Texts.h"
#include "ui/Layout.h"

namespace tabulon {

TPicPreviewFrm* PicPreviewFrm = nullptr;

namespace {

const TFormSpec kForm{
    .caption = kPicPreviewCaption,
    .width = 1022,
    .height = 736,
    .borderless = false,
    .color = clBtnFace,
};

const TControlSpec kLayout[] = {
    {.kind = TControlKind::Image,
     .name = "imgPreview",
     .width = 1409,
     .height = 742,
     .autoSize = true},
};

} // namespace

TPicPreviewFrm::TPicPreviewFrm() : TForm("PicPreviewFrm", kForm) {
    BuildLayout(*this, kLayout);
    imgPreview = &Find<TImage>("imgPreview");
}

void TPicPreviewFrm::FormCreate() {
    // Nothing to prepare: the window is never shown, and imgPreview receives
    // its picture from each pin.
}

} // namespace tabulon

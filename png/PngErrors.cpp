#include "png/PngErrors.h"

namespace tabulon {

std::wstring ZlibDescription(int code) {
    const wchar_t* text = L"";
    switch (code) {
    case -6:
        text = L"incompatible version ";
        break;
    case -5:
        text = L"buffer error ";
        break;
    case -4:
        text = L"insufficient memory ";
        break;
    case -3:
        text = L"data error ";
        break;
    case -2:
        text = L"stream error ";
        break;
    case -1:
        text = L"file error ";
        break;
    case 1:
        text = L"stream end ";
        break;
    case 2:
        text = L"need dictionary ";
        break;
    default:
        break;
    }
    return text + (L"(" + std::to_wstring(code) + L")");
}

void RaiseZlibError(int code) {
    RaisePngError<EPNGZLIBError>(kPngZlibErrorText + ZlibDescription(code));
}

} // namespace tabulon

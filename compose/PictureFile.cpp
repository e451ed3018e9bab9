#include "compose/PictureFile.h"

#include "platform/ComPtr.h"
#include "platform/FileIO.h"
#include "ui/Bitmap.h"
#include "ui/Picture.h"

#include <windows.h>

#include <wincodec.h>

#include <cstring>

namespace tabulon {

namespace {

const wchar_t kGone[] = L"文件已不存在";
const wchar_t kUnreadable[] = L"文件无法打开";
const wchar_t kNotAPicture[] = L"图片已损坏，或不是系统能识别的图片格式";
const wchar_t kIncomplete[] = L"图片不完整，文件只有前面一部分";
const wchar_t kTooLarge[] = L"图片太大，内存不够";

[[noreturn]] void Fail(const std::wstring& path, const wchar_t* reason, unsigned long code = 0) {
    throw EPictureError(L"无法读取图片“" + path + L"”：" + reason + L"。", code);
}

// Where the system's decoder fails: the program's own kinds (BMP, PNG, ...),
// chosen by the file name's extension.
bool DecodeOurselves(const std::wstring& path, BgrPicture& out) {
    TPicture picture;
    try {
        picture.LoadFromFile(path);
    } catch (...) {
        return false;
    }
    TBitmap drawn;
    TBitmap* bitmap = dynamic_cast<TBitmap*>(picture.Graphic());
    if (!bitmap) {
        if (!picture.Graphic() || picture.Graphic()->Empty()) return false;
        drawn.Assign(*picture.Graphic());
        bitmap = &drawn;
    }
    if (bitmap->Empty()) return false;
    out.width = bitmap->Width();
    out.height = bitmap->Height();
    out.stride = bitmap->Stride();
    out.pixels.assign(bitmap->ScanLine(0), bitmap->ScanLine(0) + out.stride * size_t(out.height));
    return true;
}

// A JPEG ends with its end-of-image marker, give or take a few bytes a
// camera or an editor adds. Decoders fill a cut-off picture's missing rows
// with grey and call that a success; the user would see half a photo.
bool CutOffJpeg(const std::string& bytes) {
    if (bytes.size() < 4 || uint8_t(bytes[0]) != 0xFF || uint8_t(bytes[1]) != 0xD8) return false;
    constexpr size_t kTail = 1024;
    const size_t from = bytes.size() > kTail ? bytes.size() - kTail : 2;
    return bytes.find("\xFF\xD9", from) == std::string::npos;
}

// The frame through WIC, halved while too large, as 24-bit BGR. An HRESULT
// of failure when the system cannot.
HRESULT DecodeWithWic(const std::string& bytes, BgrPicture& out) {
    ComPtr<IWICImagingFactory> factory;
    HRESULT hr = ::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IWICImagingFactory, factory.ReceiveVoid());
    if (FAILED(hr)) return hr;
    // From memory: the file was read once through the file layer, which
    // knows long paths and waits out a passing lock.
    ComPtr<IWICStream> stream;
    if (FAILED(hr = factory->CreateStream(stream.Receive()))) return hr;
    hr = stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())),
                                      DWORD(bytes.size()));
    if (FAILED(hr)) return hr;
    ComPtr<IWICBitmapDecoder> decoder;
    hr = factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                          decoder.Receive());
    if (FAILED(hr)) return hr;
    ComPtr<IWICBitmapFrameDecode> frame;
    if (FAILED(hr = decoder->GetFrame(0, frame.Receive()))) return hr;
    UINT width = 0, height = 0;
    if (FAILED(hr = frame->GetSize(&width, &height))) return hr;
    if (width == 0 || height == 0) return WINCODEC_ERR_BADIMAGE;
    ComPtr<IWICBitmapSource> source;
    frame->QueryInterface(IID_IWICBitmapSource, source.ReceiveVoid());
    UINT w = width, h = height;
    while (uint64_t(w) * h > kMaxDecodedPixels) {
        w = (w + 1) / 2;
        h = (h + 1) / 2;
    }
    if (w != width) {
        ComPtr<IWICBitmapScaler> scaler;
        if (FAILED(hr = factory->CreateBitmapScaler(scaler.Receive()))) return hr;
        if (FAILED(hr = scaler->Initialize(source.Get(), w, h, WICBitmapInterpolationModeFant)))
            return hr;
        source = scaler.As<IWICBitmapSource>(IID_IWICBitmapSource);
    }
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(hr = factory->CreateFormatConverter(converter.Receive()))) return hr;
    hr = converter->Initialize(source.Get(), GUID_WICPixelFormat24bppBGR, WICBitmapDitherTypeNone,
                               nullptr, 0, WICBitmapPaletteTypeCustom);
    if (FAILED(hr)) return hr;
    const size_t stride = (size_t(w) * 3 + 3) & ~size_t(3);
    try {
        out.pixels.resize(stride * h);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    // In bands: CopyPixels takes a 32-bit size.
    constexpr UINT kBand = 256;
    for (UINT y = 0; y < h; y += kBand) {
        const UINT rows = h - y < kBand ? h - y : kBand;
        const WICRect band{0, INT(y), INT(w), INT(rows)};
        hr = converter->CopyPixels(&band, UINT(stride), UINT(stride * rows),
                                   out.pixels.data() + stride * y);
        if (FAILED(hr)) return hr;
    }
    out.width = int(w);
    out.height = int(h);
    out.stride = stride;
    return S_OK;
}

} // namespace

BgrPicture DecodePictureFile(const std::wstring& path) {
    if (!FileExists(path)) Fail(path, kGone);
    std::string bytes;
    try {
        bytes = ReadWholeFile(path);
    } catch (const Exception& e) {
        Fail(path, kUnreadable, e.SystemCode());
    }
    if (CutOffJpeg(bytes)) Fail(path, kIncomplete);
    BgrPicture picture;
    const HRESULT hr = DecodeWithWic(bytes, picture);
    if (SUCCEEDED(hr)) return picture;
    bytes = std::string();
    // Wine's converter, for one, gives up on some PNG kinds our own class reads.
    if (DecodeOurselves(path, picture)) return picture;
    Fail(path, hr == E_OUTOFMEMORY ? kTooLarge : kNotAPicture, (unsigned long)hr);
}

} // namespace tabulon

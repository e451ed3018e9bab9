#include "compose/PictureFile.h"

#include "base/Texts.h"
#include "platform/ComPtr.h"
#include "platform/FileIO.h"
#include "ui/Bitmap.h"
#include "ui/Picture.h"

#include <windows.h>

#include <wincodec.h>

#include <climits>
#include <cstring>

// The decoder's own scaled decode (a JPEG's reduced DCT): an interface of
// every WIC since Vista that these headers leave out; its layout and
// identity as the system defines them.
#ifndef __IWICBitmapSourceTransform_INTERFACE_DEFINED__
struct IWICBitmapSourceTransform : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT width, UINT height,
                                                 WICPixelFormatGUID* format,
                                                 WICBitmapTransformOptions transform, UINT stride,
                                                 UINT bufferSize, BYTE* buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClosestSize(UINT* width, UINT* height) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID* format) = 0;
    virtual HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions transform,
                                                           BOOL* supported) = 0;
};
#endif

namespace tabulon {

namespace {

// {3B16811B-6A43-4EC9-B713-3D5A0C13B940}
constexpr IID kIidSourceTransform = {
    0x3B16811B, 0x6A43, 0x4EC9, {0xB7, 0x13, 0x3D, 0x5A, 0x0C, 0x13, 0xB9, 0x40}};

[[noreturn]] void Fail(const std::wstring& path, const wchar_t* reason, unsigned long code = 0) {
    throw EPictureError(PictureUnreadableText(path, reason), code);
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
    out.width = out.sourceWidth = bitmap->Width();
    out.height = out.sourceHeight = bitmap->Height();
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
size_t StrideOf(UINT width) {
    return (size_t(width) * 3 + 3) & ~size_t(3);
}

// Decodes the frame reduced to at least `needWidth` x `needHeight` where the
// decoder scales natively; false (nothing done) where it does not, or not
// into 24-bit BGR.
bool DecodeReduced(IWICBitmapFrameDecode& frame, UINT width, UINT needWidth, UINT needHeight,
                   BgrPicture& out) {
    ComPtr<IWICBitmapSourceTransform> transform;
    if (FAILED(frame.QueryInterface(kIidSourceTransform, transform.ReceiveVoid())) || !transform)
        return false;
    UINT w = needWidth, h = needHeight;
    if (FAILED(transform->GetClosestSize(&w, &h)) || w < needWidth || h < needHeight || w >= width)
        return false;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(transform->GetClosestPixelFormat(&format)) ||
        !IsEqualGUID(format, GUID_WICPixelFormat24bppBGR))
        return false;
    const size_t stride = StrideOf(w);
    std::vector<uint8_t> pixels(stride * h);
    if (pixels.size() > UINT_MAX ||
        FAILED(transform->CopyPixels(nullptr, w, h, &format, WICBitmapTransformRotate0,
                                     UINT(stride), UINT(pixels.size()), pixels.data())))
        return false;
    out.pixels = std::move(pixels);
    out.width = int(w);
    out.height = int(h);
    out.stride = stride;
    return true;
}

HRESULT DecodeWithWic(const std::string& bytes, const UsefulSize& useful, BgrPicture& out) {
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
    out.sourceWidth = int(width);
    out.sourceHeight = int(height);
    if (useful && width <= INT_MAX && height <= INT_MAX) {
        const auto [needWidth, needHeight] = useful(int(width), int(height));
        if (needWidth > 0 && needHeight > 0 && UINT(needWidth) <= width / 2 &&
            UINT(needHeight) <= height / 2 &&
            DecodeReduced(*frame.Get(), width, UINT(needWidth), UINT(needHeight), out))
            return S_OK;
    }
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
    const size_t stride = StrideOf(w);
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

BgrPicture DecodePictureFile(const std::wstring& path, const UsefulSize& useful) {
    if (!FileExists(path)) Fail(path, kFileGoneReason);
    std::string bytes;
    try {
        bytes = ReadWholeFile(path);
    } catch (const Exception& e) {
        Fail(path, kFileUnreadableReason, e.SystemCode());
    }
    if (CutOffJpeg(bytes)) Fail(path, kIncompleteReason);
    BgrPicture picture;
    const HRESULT hr = DecodeWithWic(bytes, useful, picture);
    if (SUCCEEDED(hr)) return picture;
    bytes = std::string();
    // Wine's converter, for one, gives up on some PNG kinds our own class reads.
    if (DecodeOurselves(path, picture)) return picture;
    Fail(path, hr == E_OUTOFMEMORY ? kTooLargeReason : kNotAPictureReason, (unsigned long)hr);
}

} // namespace tabulon

#pragma once
// The errors of the PNG class: one exception class per error, each with its
// fixed English message.
#include "base/Exception.h"

#include <string>

namespace tabulon {

TABULON_EXCEPTION_CLASS(EPngError);
TABULON_EXCEPTION_CLASS(EPNGInvalidFileHeader);
TABULON_EXCEPTION_CLASS(EPngUnexpectedEnd);
TABULON_EXCEPTION_CLASS(EPNGIHDRNotFirst);
TABULON_EXCEPTION_CLASS(EPNGUnknownCriticalChunk);
TABULON_EXCEPTION_CLASS(EPngInvalidCRC);
TABULON_EXCEPTION_CLASS(EPngInvalidIHDR);
TABULON_EXCEPTION_CLASS(EPNGSizeExceeds);
TABULON_EXCEPTION_CLASS(EPNGUnknownCompression);
TABULON_EXCEPTION_CLASS(EPNGUnknownInterlace);
TABULON_EXCEPTION_CLASS(EPNGInvalidPalette);
TABULON_EXCEPTION_CLASS(EPNGMissingMultipleIDAT);
TABULON_EXCEPTION_CLASS(EPNGZLIBError);
TABULON_EXCEPTION_CLASS(EPNGNoImageData);
TABULON_EXCEPTION_CLASS(EPNGHeaderNotPresent);
TABULON_EXCEPTION_CLASS(EPNGOutMemory);

inline constexpr wchar_t kPngInvalidFileHeaderText[] =
    L"The file being readed is not a valid \"Portable Network Graphics\" image because it "
    L"contains an invalid header. This file may be corruped, try obtaining it again.";
inline constexpr wchar_t kPngUnexpectedEndText[] =
    L"This \"Portable Network Graphics\" image is invalid because the decoder found an "
    L"unexpected end of the file.";
inline constexpr wchar_t kPngIHDRNotFirstText[] =
    L"This \"Portable Network Graphics\" image is not supported or it might be invalid.\r\n"
    L"(IHDR chunk is not the first)";
inline constexpr wchar_t kPngUnknownCriticalChunkText[] =
    L"This \"Portable Network Graphics\" image contains an unknown critical part which could "
    L"not be decoded.";
inline constexpr wchar_t kPngInvalidCRCText[] =
    L"This \"Portable Network Graphics\" image is not valid because it contains invalid pieces "
    L"of data (crc error)";
inline constexpr wchar_t kPngInvalidIHDRText[] =
    L"The \"Portable Network Graphics\" image could not be loaded because one of its main piece "
    L"of data (ihdr) might be corrupted";
inline constexpr wchar_t kPngSizeExceedsText[] =
    L"This \"Portable Network Graphics\" image is not supported because either it's width or "
    L"height exceeds the maximum size, which is 65535 pixels length.";
inline constexpr wchar_t kPngUnknownCompressionText[] =
    L"This \"Portable Network Graphics\" image is encoded with an unknown compression scheme "
    L"which could not be decoded.";
inline constexpr wchar_t kPngUnknownInterlaceText[] =
    L"This \"Portable Network Graphics\" image uses an unknown interlace scheme which could not "
    L"be decoded.";
inline constexpr wchar_t kPngInvalidPaletteText[] =
    L"The \"Portable Network Graphics\" image contains an invalid palette.";
inline constexpr wchar_t kPngMissingMultipleIDATText[] =
    L"This \"Portable Network Graphics\" image is invalid because it has missing image parts.";
inline constexpr wchar_t kPngZlibErrorText[] =
    L"Could not decompress the image because it contains invalid compressed data.\r\n"
    L" Description: ";
inline constexpr wchar_t kPngNoImageDataText[] =
    L"This \"Portable Network Graphics\" image contains no data.";
inline constexpr wchar_t kPngHeaderNotPresentText[] =
    L"This operation is not valid because the current image contains no valid header.";
inline constexpr wchar_t kPngIncompatibleChunkText[] =
    L"The chunks must be compatible to be assigned.";
inline constexpr wchar_t kPngNoPaletteEntryText[] = L"There is no such palette entry.";
inline constexpr wchar_t kPngCannotResizeText[] =
    L"The \"Portable Network Graphics\" image can not be resize by changing width and height "
    L"properties. Try assigning the image from a bitmap.";
inline constexpr wchar_t kPngOutOfResourcesText[] =
    L"Some operation could not be performed because the system is out of resources. Close some "
    L"windows and try again.";

// Raises a new exception of class E carrying `message`.
template <class E> [[noreturn]] void RaisePngError(const std::wstring& message) {
    throw E(message);
}

// zlib's result code as the error message shows it, e.g. "data error (-3)".
std::wstring ZlibDescription(int code);

// Raises EPNGZLIBError for the zlib result `code`.
[[noreturn]] void RaiseZlibError(int code);

} // namespace tabulon

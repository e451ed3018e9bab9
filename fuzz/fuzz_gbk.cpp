// The note codec's promises on arbitrary input: any bytes survive decoding and
// encoding unchanged, and any well-formed UTF-16 text survives encoding and
// decoding unchanged.
#include "codec/Gbk.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

bool WellFormed(std::u16string_view t) {
    for (size_t i = 0; i < t.size(); ++i) {
        if (t[i] >= 0xD800 && t[i] <= 0xDBFF && i + 1 < t.size() && t[i + 1] >= 0xDC00 &&
            t[i + 1] <= 0xDFFF)
            ++i;
        else if (t[i] >= 0xD800 && t[i] <= 0xDFFF)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (tabulon::Utf16ToGbk(tabulon::GbkToUtf16(bytes)) != bytes) std::abort();

    std::u16string text(size / 2, u'\0');
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = char16_t(data[2 * i] | data[2 * i + 1] << 8);
    const std::string encoded = tabulon::Utf16ToGbk(text);
    if (WellFormed(text) && tabulon::GbkToUtf16(encoded) != text) std::abort();
    return 0;
}

// pngdump FILE: decodes FILE with the PNG class and writes the pixels as a
// PAM image (RGB_ALPHA) to stdout; on failure prints the exception class and
// its message on one line. `pngdump --decode-only FILE` only decodes.
#include "png/PngGraphic.h"
#include "png/PngRgba.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

using namespace tabulon;

namespace {

std::string Utf8(const std::wstring& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') {
            out += ' ';
            ++i;
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | ((c >> 12) & 0x0F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

void WritePam(const TPngGraphic& image) {
    const std::vector<uint8_t> rgba = DecodedRgba(image);
    std::printf("P7\nWIDTH %u\nHEIGHT %u\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n",
                image.PixelWidth(), image.PixelHeight());
    std::fwrite(rgba.data(), 1, rgba.size(), stdout);
}

} // namespace

int main(int argc, char** argv) {
    bool decodeOnly = false;
    int arg = 1;
    if (arg < argc && std::strcmp(argv[arg], "--decode-only") == 0) {
        decodeOnly = true;
        ++arg;
    }
    if (arg + 1 != argc) {
        std::fprintf(stderr, "usage: pngdump [--decode-only] FILE\n");
        return 2;
    }
    try {
        TFileReadStream stream(argv[arg]);
        TPngGraphic image;
        image.DecodeFromStream(stream);
        if (!decodeOnly) WritePam(image);
    } catch (const Exception& e) {
        std::printf("%s\t%s\n", e.ClassName(), Utf8(e.Message()).c_str());
        return 1;
    } catch (const std::exception& e) {
        std::printf("Exception\t%s\n", e.what());
        return 1;
    }
    return 0;
}

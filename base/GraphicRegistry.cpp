#include "base/GraphicRegistry.h"

#include "base/Stream.h"

#include <map>

namespace tabulon {

namespace {

struct FileFormat {
    std::wstring description;
    GraphicFactory factory;
};

std::map<std::string, GraphicFactory, std::less<>>& Classes() {
    static std::map<std::string, GraphicFactory, std::less<>> classes;
    return classes;
}

std::map<std::wstring, FileFormat, std::less<>>& Formats() {
    static std::map<std::wstring, FileFormat, std::less<>> formats;
    return formats;
}

// ASCII lower case only: extensions are compared as the loader knows them,
// and non-ASCII letters never name a picture kind.
std::wstring Lower(std::wstring_view s) {
    std::wstring out(s);
    for (wchar_t& c : out)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return out;
}

} // namespace

void RegisterGraphicClass(std::string_view className, GraphicFactory factory) {
    Classes()[std::string(className)] = factory;
}

void RegisterFileFormat(std::string_view extension, std::wstring_view description,
                        GraphicFactory factory) {
    Formats()[Lower(std::wstring(extension.begin(), extension.end()))] =
        FileFormat{std::wstring(description), factory};
}

GraphicFactory FindGraphicClass(std::string_view className) {
    auto it = Classes().find(className);
    return it == Classes().end() ? nullptr : it->second;
}

GraphicFactory FindFileFormat(std::wstring_view extension) {
    auto it = Formats().find(Lower(extension));
    return it == Formats().end() ? nullptr : it->second.factory;
}

std::wstring FileExtension(std::wstring_view path) {
    const size_t slash = path.find_last_of(L"\\/:");
    const size_t dot = path.rfind(L'.');
    if (dot == std::wstring_view::npos || (slash != std::wstring_view::npos && dot < slash))
        return {};
    return std::wstring(path.substr(dot + 1));
}

LayoutPicture ParseLayoutPicture(const uint8_t* data, size_t size) {
    if (size < 1 || size < 1 + size_t(data[0]))
        throw EInvalidGraphic(L"Layout picture data is truncated");
    LayoutPicture result;
    result.className.assign(reinterpret_cast<const char*>(data + 1), data[0]);
    result.dataOffset = 1 + size_t(data[0]);
    return result;
}

std::unique_ptr<TGraphic> ReadLayoutPicture(const uint8_t* data, size_t size) {
    const LayoutPicture header = ParseLayoutPicture(data, size);
    GraphicFactory factory = FindGraphicClass(header.className);
    if (!factory) {
        std::wstring name(header.className.begin(), header.className.end());
        throw EInvalidGraphic(L"Unknown picture kind " + name);
    }
    std::unique_ptr<TGraphic> graphic = factory();
    TMemoryStream stream(data + header.dataOffset, size - header.dataOffset);
    graphic->LoadFromStream(stream);
    return graphic;
}

} // namespace tabulon

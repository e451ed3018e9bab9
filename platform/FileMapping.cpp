#include "platform/FileMapping.h"

#include "base/LongPath.h"
#include "platform/FileIO.h"

namespace tabulon {

MappedFile::MappedFile(const std::wstring& path) {
    const std::wstring full = FullFilePath(path);
    file_ = FileHandle(CreateFileW(ExtendedLengthPath(full).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                   nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file_.Valid()) ThrowOpenError(full, GetLastError());
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file_.Get(), &size)) ThrowOpenError(full, GetLastError());
    if (size.QuadPart == 0) return; // nothing to map; the system refuses empty mappings
    if (size.QuadPart < 0 || uint64_t(size.QuadPart) > SIZE_MAX / 2)
        ThrowOpenError(full, ERROR_NOT_ENOUGH_MEMORY);
    // CreateFileMapping fails with a null handle, which FileHandle also treats as none.
    mapping_ = FileHandle(CreateFileMappingW(file_.Get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!mapping_.Valid()) ThrowOpenError(full, GetLastError());
    view_ = static_cast<const uint8_t*>(MapViewOfFile(mapping_.Get(), FILE_MAP_READ, 0, 0, 0));
    if (!view_) ThrowOpenError(full, GetLastError());
    size_ = size_t(size.QuadPart);
}

MappedFile::~MappedFile() {
    if (view_) UnmapViewOfFile(view_);
}

} // namespace tabulon

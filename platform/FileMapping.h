#pragma once
// A whole file mapped into memory for reading, so that a big picture is decoded
// straight from the system's file cache instead of being copied into a buffer
// first. Others may read the file meanwhile but not write it, so it cannot
// shrink under the view.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/Handles.h"

namespace tabulon {

class MappedFile {
  public:
    // Throws EFOpenError ("Cannot open file "<full path>". <system text>").
    explicit MappedFile(const std::wstring& path);
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    ~MappedFile();

    // Null for an empty file.
    const uint8_t* Data() const { return view_; }
    size_t Size() const { return size_; }

  private:
    FileHandle file_;
    FileHandle mapping_;
    const uint8_t* view_ = nullptr;
    size_t size_ = 0;
};

} // namespace tabulon

#pragma once
// Owner of a kernel file handle. Every CreateFileW result lives in one of these
// so that no error path can leak an open file (an open handle would keep the
// note locked against our own next write and against other programs).
#include <windows.h>

#include <utility>

namespace tabulon {

class FileHandle {
  public:
    FileHandle() = default;
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    FileHandle(FileHandle&& other) noexcept
        : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
    FileHandle& operator=(FileHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = std::exchange(other.handle_, INVALID_HANDLE_VALUE);
        }
        return *this;
    }
    ~FileHandle() { Reset(); }

    HANDLE Get() const { return handle_; }
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }

    // Closes now; false (with GetLastError set) when the close itself failed,
    // which for a written file can mean the data never reached the disk.
    bool Close() {
        if (!Valid()) return true;
        HANDLE h = std::exchange(handle_, INVALID_HANDLE_VALUE);
        return CloseHandle(h) != 0;
    }

  private:
    void Reset() {
        if (Valid()) CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

} // namespace tabulon

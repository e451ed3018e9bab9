#pragma once
// Owners for the Win32 handles the toolkit creates. Each is move-only: a
// copied owner would free its handle twice. These are the only places that
// call DeleteObject, DeleteDC, ReleaseDC, EndPaint, DestroyMenu, CloseHandle and
// friends.
#include <windows.h>

#include <objbase.h>

#include <utility>

namespace tabulon {

// A handle freed by `Close` when the owner goes away.
template <class Handle, auto Close> class UniqueHandle {
  public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle h) : handle_(h) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) Reset(std::exchange(other.handle_, Handle{}));
        return *this;
    }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != Handle{}; }
    void Reset(Handle h = Handle{}) {
        if (handle_) Close(handle_);
        handle_ = h;
    }
    Handle Release() { return std::exchange(handle_, Handle{}); }
    // For functions that hand out a new handle through an out parameter.
    Handle* Receive() {
        Reset();
        return &handle_;
    }

  private:
    Handle handle_{};
};

namespace detail {
inline void DeleteGdiObject(HGDIOBJ h) {
    ::DeleteObject(h);
}
inline void DeleteMemoryDC(HDC h) {
    ::DeleteDC(h);
}
inline void DestroyMenuHandle(HMENU h) {
    ::DestroyMenu(h);
}
inline void DestroyWindowHandle(HWND h) {
    ::DestroyWindow(h);
}
inline void UnloadLibrary(HMODULE h) {
    ::FreeLibrary(h);
}
inline void CloseKernelObject(HANDLE h) {
    ::CloseHandle(h);
}
inline void CloseFileSearch(HANDLE h) {
    ::FindClose(h);
}
inline void FreeTaskMemory(void* p) {
    ::CoTaskMemFree(p);
}
} // namespace detail

using GdiBitmap = UniqueHandle<HBITMAP, detail::DeleteGdiObject>;
using GdiFont = UniqueHandle<HFONT, detail::DeleteGdiObject>;
using GdiBrush = UniqueHandle<HBRUSH, detail::DeleteGdiObject>;
using GdiPen = UniqueHandle<HPEN, detail::DeleteGdiObject>;
// A DC from CreateCompatibleDC.
using MemoryDC = UniqueHandle<HDC, detail::DeleteMemoryDC>;
using MenuHandle = UniqueHandle<HMENU, detail::DestroyMenuHandle>;
using WindowHandle = UniqueHandle<HWND, detail::DestroyWindowHandle>;
using ModuleHandle = UniqueHandle<HMODULE, detail::UnloadLibrary>;
// A kernel object whose creation gives null on failure (a mutex, an event);
// files, whose failure value differs, have FileHandle.
using KernelObject = UniqueHandle<HANDLE, detail::CloseKernelObject>;
// A search from FindFirstFileW: give it only a handle that is not
// INVALID_HANDLE_VALUE (the search's failure value).
using FileSearch = UniqueHandle<HANDLE, detail::CloseFileSearch>;
// Memory the system allocated for us with CoTaskMemAlloc (a string, an item list).
template <class T> using TaskMemory = UniqueHandle<T*, detail::FreeTaskMemory>;

// A window's DC from GetDC, given back with ReleaseDC (which needs the window too).
class WindowDC {
  public:
    explicit WindowDC(HWND wnd) : wnd_(wnd), dc_(::GetDC(wnd)) {}
    ~WindowDC() {
        if (dc_) ::ReleaseDC(wnd_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC Get() const { return dc_; }

  private:
    HWND wnd_;
    HDC dc_;
};

// BeginPaint/EndPaint around one WM_PAINT.
class PaintDC {
  public:
    explicit PaintDC(HWND wnd) : wnd_(wnd) { dc_ = ::BeginPaint(wnd, &ps_); }
    ~PaintDC() { ::EndPaint(wnd_, &ps_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    HDC Get() const { return dc_; }
    const RECT& Area() const { return ps_.rcPaint; }

  private:
    HWND wnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// Selects an object into a DC and puts the previous one back on scope exit,
// so that the owner of the selected object may delete it afterwards.
class SelectGuard {
  public:
    SelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(::SelectObject(dc, obj)) {}
    ~SelectGuard() {
        if (old_) ::SelectObject(dc_, old_);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

  private:
    HDC dc_;
    HGDIOBJ old_;
};

// Saves and restores a DC's state (background mode, colours, origin) around drawing.
class SavedDCState {
  public:
    explicit SavedDCState(HDC dc) : dc_(dc), id_(::SaveDC(dc)) {}
    ~SavedDCState() {
        if (id_) ::RestoreDC(dc_, id_);
    }
    SavedDCState(const SavedDCState&) = delete;
    SavedDCState& operator=(const SavedDCState&) = delete;

  private:
    HDC dc_;
    int id_;
};

// Owner of a kernel file handle. Every CreateFileW result lives in one of these
// so that no error path can leak an open file (an open handle would keep the
// note locked against our own next write and against other programs).
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

// The desktop of Windows 8 and later through IDesktopWallpaper: a picture per
// monitor, the position, the colour and the slideshow. Where the system has
// no such object (Windows 7, Wine) the classic setting answers instead.
// The program targets Windows 7; the interface's declarations need the
// Windows 8 headers, and the object itself is asked for at run time.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0602
#undef NTDDI_VERSION
#define NTDDI_VERSION 0x06020000

#include "desktop/DesktopWallpaper.h"
#include "desktop/SystemWallpaper.h"
#include "platform/ComPtr.h"
#include "platform/Handles.h"

#include <windows.h>

#include <shlobj.h>
#include <shobjidl.h>

#include <type_traits>

namespace tabulon {

namespace {

using TaskString = TaskMemory<wchar_t>;
// An item list from SHParseDisplayName.
using ItemIdList = TaskMemory<std::remove_pointer_t<PIDLIST_ABSOLUTE>>;

// The string the system handed over, or an empty one when it gave none.
std::wstring CopyOrEmpty(const TaskString& s) {
    return s ? s.Get() : L"";
}

// 0 for success; else the Win32 error code the result carries, or the
// result itself.
unsigned long SystemErrorCode(HRESULT hr) {
    return SUCCEEDED(hr)
               ? 0
               : (HRESULT_FACILITY(hr) == FACILITY_WIN32 ? HRESULT_CODE(hr) : (unsigned long)hr);
}

class ModernWallpaper final : public DesktopWallpaper {
  public:
    explicit ModernWallpaper(ComPtr<IDesktopWallpaper> desktop) : desktop_(std::move(desktop)) {}

    std::vector<MonitorPicture> Monitors() override {
        std::vector<MonitorPicture> monitors;
        UINT count = 0;
        if (FAILED(desktop_->GetMonitorDevicePathCount(&count))) return monitors;
        for (UINT i = 0; i < count; ++i) {
            TaskString id, picture;
            RECT rect{};
            if (FAILED(desktop_->GetMonitorDevicePathAt(i, id.Receive()))) continue;
            // S_FALSE: a monitor that is known but not attached.
            if (desktop_->GetMonitorRECT(id.Get(), &rect) != S_OK) continue;
            // A failed read says nothing of the picture: no plain colour.
            const bool unreadable = FAILED(desktop_->GetWallpaper(id.Get(), picture.Receive()));
            // The primary monitor holds the desktop's origin.
            monitors.push_back({CopyOrEmpty(id), unreadable ? L"" : CopyOrEmpty(picture),
                                rect.left == 0 && rect.top == 0, unreadable});
        }
        return monitors;
    }
    unsigned long SetPicture(const std::wstring& monitor, const std::wstring& path) override {
        const std::wstring setting = WallpaperPathForSystem(path);
        return SystemErrorCode(
            desktop_->SetWallpaper(monitor.empty() ? nullptr : monitor.c_str(), setting.c_str()));
    }
    WallpaperPosition Position() override {
        DESKTOP_WALLPAPER_POSITION position = DWPOS_FILL;
        desktop_->GetPosition(&position);
        return WallpaperPosition(position);
    }
    unsigned long SetPosition(WallpaperPosition position) override {
        return SystemErrorCode(desktop_->SetPosition(DESKTOP_WALLPAPER_POSITION(position)));
    }
    uint32_t BackgroundColor() override {
        COLORREF color = 0;
        desktop_->GetBackgroundColor(&color);
        return color;
    }
    unsigned long SetBackgroundColor(uint32_t color) override {
        return SystemErrorCode(desktop_->SetBackgroundColor(color));
    }
    Slideshow CurrentSlideshow() override {
        Slideshow show;
        DESKTOP_SLIDESHOW_STATE state = DESKTOP_SLIDESHOW_STATE(0);
        if (FAILED(desktop_->GetStatus(&state)) || !(state & DSS_SLIDESHOW)) return show;
        show.running = true;
        DESKTOP_SLIDESHOW_OPTIONS options = DESKTOP_SLIDESHOW_OPTIONS(0);
        UINT tick = 0;
        if (SUCCEEDED(desktop_->GetSlideshowOptions(&options, &tick))) {
            show.options = uint32_t(options);
            show.tickMs = tick;
        }
        ComPtr<IShellItemArray> items;
        DWORD count = 0;
        if (FAILED(desktop_->GetSlideshow(items.Receive())) || FAILED(items->GetCount(&count)))
            return show;
        for (DWORD i = 0; i < count; ++i) {
            ComPtr<IShellItem> item;
            TaskString name;
            if (SUCCEEDED(items->GetItemAt(i, item.Receive())) &&
                SUCCEEDED(item->GetDisplayName(SIGDN_DESKTOPABSOLUTEPARSING, name.Receive())))
                show.items.push_back(CopyOrEmpty(name));
        }
        return show;
    }
    unsigned long ResumeSlideshow(const Slideshow& show) override {
        std::vector<ItemIdList> lists;
        std::vector<PCIDLIST_ABSOLUTE> pointers;
        for (const std::wstring& item : show.items) {
            ItemIdList list;
            if (FAILED(::SHParseDisplayName(item.c_str(), nullptr, list.Receive(), 0, nullptr)))
                continue; // a folder that is gone
            pointers.push_back(list.Get());
            lists.push_back(std::move(list));
        }
        if (pointers.empty()) return ERROR_PATH_NOT_FOUND;
        ComPtr<IShellItemArray> items;
        HRESULT hr = ::SHCreateShellItemArrayFromIDLists(UINT(pointers.size()), pointers.data(),
                                                         items.Receive());
        if (FAILED(hr)) return SystemErrorCode(hr);
        hr = desktop_->SetSlideshowOptions(DESKTOP_SLIDESHOW_OPTIONS(show.options), show.tickMs);
        if (FAILED(hr)) return SystemErrorCode(hr);
        return SystemErrorCode(desktop_->SetSlideshow(items.Get()));
    }

  private:
    ComPtr<IDesktopWallpaper> desktop_;
};

} // namespace

std::unique_ptr<DesktopWallpaper> OpenDesktopWallpaper() {
    ComPtr<IDesktopWallpaper> desktop;
    if (SUCCEEDED(::CoCreateInstance(CLSID_DesktopWallpaper, nullptr, CLSCTX_ALL,
                                     IID_IDesktopWallpaper, desktop.ReceiveVoid())) &&
        desktop)
        return std::make_unique<ModernWallpaper>(std::move(desktop));
    return OpenClassicWallpaper();
}

} // namespace tabulon

#include "ui/Menus.h"

#include "ui/Application.h"
#include "ui/Form.h"
#include "platform/Handles.h"

namespace tabulon {

TMenuItem& TPopupMenu::Add(std::string name, std::wstring caption,
                           std::function<void(TMenuItem&)> onClick) {
    items_.push_back(std::make_unique<TMenuItem>(std::move(name), std::move(caption)));
    items_.back()->OnClick = std::move(onClick);
    return *items_.back();
}

TMenuItem* TPopupMenu::Find(const std::string& name) const {
    for (auto& item : items_)
        if (item->Name() == name) return item.get();
    return nullptr;
}

void TPopupMenu::Popup(int x, int y) {
    MenuHandle menu(::CreatePopupMenu());
    if (!menu) return;
    for (size_t i = 0; i < items_.size(); ++i) {
        const TMenuItem& item = *items_[i];
        if (item.IsSeparator()) {
            ::AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
            continue;
        }
        const UINT flags = MF_STRING | (item.Enabled ? MF_ENABLED : MF_GRAYED) |
                           (item.Checked ? MF_CHECKED : MF_UNCHECKED);
        ::AppendMenuW(menu.Get(), flags, i + 1, item.Caption().c_str());
    }
    // The menu's owner must be in the foreground, or the menu stays open
    // when the user clicks elsewhere.
    HWND owner = Application.MainForm() ? Application.MainForm()->Handle() : Application.Handle();
    ::SetForegroundWindow(owner);
    const UINT chosen = static_cast<UINT>(
        ::TrackPopupMenu(menu.Get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                         x, y, 0, owner, nullptr));
    ::PostMessageW(owner, WM_NULL, 0, 0);
    if (chosen == 0 || chosen > items_.size()) return;
    TMenuItem& item = *items_[chosen - 1];
    if (item.OnClick) item.OnClick(item);
}

} // namespace tabulon

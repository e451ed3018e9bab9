#pragma once
// Popup menus: a list of items with click handlers, shown with
// TrackPopupMenu. Captions are shown as given: no accelerator letters are
// added, and a caption of "-" is a separator line.
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tabulon {

class TMenuItem {
  public:
    TMenuItem(std::string name, std::wstring caption) : name_(std::move(name)), caption_(caption) {}
    const std::string& Name() const { return name_; }
    const std::wstring& Caption() const { return caption_; }
    bool IsSeparator() const { return caption_ == L"-"; }
    bool Enabled = true;
    // Shown with a check mark (a choice that is on).
    bool Checked = false;
    std::function<void(TMenuItem&)> OnClick;

  private:
    std::string name_;
    std::wstring caption_;
};

class TPopupMenu {
  public:
    explicit TPopupMenu(std::string name) : name_(std::move(name)) {}
    const std::string& Name() const { return name_; }

    TMenuItem& Add(std::string name, std::wstring caption,
                   std::function<void(TMenuItem&)> onClick = {});
    const std::vector<std::unique_ptr<TMenuItem>>& Items() const { return items_; }
    TMenuItem* Find(const std::string& name) const;

    // Shows the menu with its top-left corner at a screen point and runs the
    // handler of the item chosen, if any, before returning.
    void Popup(int x, int y);

  private:
    std::string name_;
    std::vector<std::unique_ptr<TMenuItem>> items_;
};

} // namespace tabulon

#pragma once
// TXPButton: the flat, hot-tracking push button of the settings dialog's
// layout. That dialog is never displayed, so the button holds its caption,
// hint and visibility and draws nothing.
#include "ui/Control.h"

#include <string>

namespace tabulon {

class TXPButton : public TControl {
  public:
    explicit TXPButton(std::string name) : TControl(std::move(name)) {}
    std::wstring Caption;
    std::wstring Hint;
};

} // namespace tabulon

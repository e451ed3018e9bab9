#include "base/ErrorText.h"

namespace tabulon {

std::wstring ErrorBoxText(std::wstring_view message) {
    std::wstring text(message);
    if (!text.empty() && text.back() > L'.') text += L'.';
    return text;
}

} // namespace tabulon

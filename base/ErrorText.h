#pragma once
// The text of the error box. Portable: no Windows headers.
#include <string>
#include <string_view>

namespace tabulon {

// The message with a "." appended, unless it is empty or already ends in "."
// or in a character that sorts before "." (such as "!" or a closing quote).
std::wstring ErrorBoxText(std::wstring_view message);

} // namespace tabulon

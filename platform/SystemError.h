#pragma once
// The system's own text for an error code, as FormatMessageW gives it.
#include <string>

namespace tabulon {

// Text for `code` (a GetLastError value) without the trailing line break.
std::wstring SystemErrorText(unsigned long code);

} // namespace tabulon

#pragma once
// The built-in pages on Windows: read from our own resources, handed to the
// panel as bytes, written out for the user's browser.
#include <windows.h>

#include <string>
#include <string_view>

namespace tabulon {

// The bytes of a page resource of the running program; empty when missing.
std::string_view PageResource(std::wstring_view page);

// The folder the pages are written to for the user's browser:
// "%TEMP%\Tabulon\". The program folder may be read-only; the temporary
// folder is the user's own and always writable.
std::wstring BrowserPageFolder();

// Writes every built-in page into BrowserPageFolder() (each time: the copies
// always match the running program) and returns the path of `page`.
// Throws EFCreateError when a page cannot be written.
std::wstring WritePageForBrowser(std::wstring_view page);

// Opens `page` in the user's browser. The shell's answer is not examined.
void OpenPageInBrowser(HWND owner, std::wstring_view page);

// A link clicked in the panel: our pages as written-out copies, web and mail
// addresses as they are, anything else not at all.
void OpenLinkInBrowser(HWND owner, const std::wstring& address);

} // namespace tabulon

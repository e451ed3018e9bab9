#pragma once
// UTF-8, the one decoder and encoder of the program: the note file after its
// byte-order mark and the desktop record are read and written through it.
#include <string>
#include <string_view>

namespace tabulon {

// The text of `utf8` in UTF-16. Overlong forms, surrogates, values past
// U+10FFFF, stray and cut sequences are damage: each damaged stretch (the
// longest start of a sequence that could still have been valid, or one byte)
// becomes U+FFFD, and `damaged`, when given, is set to true.
std::u16string Utf16FromUtf8(std::string_view utf8, bool* damaged = nullptr);

// The same as a wide string: UTF-16 where wchar_t has 16 bits (Windows),
// code points where it has 32.
std::wstring WideFromUtf8(std::string_view utf8, bool* damaged = nullptr);

// `text` in UTF-8; a lone surrogate (or, with 32-bit wchar_t, a value that is
// no character) becomes U+FFFD.
std::string Utf8FromWide(std::wstring_view text);

} // namespace tabulon

#pragma once
// Conversion between UTF-16 and the note's byte encoding: code page 936 (GBK)
// as Windows maps it, extended so that no text and no byte is ever lost:
//  - characters GBK cannot hold (emoji, rare CJK) are written as GB18030
//    four-byte sequences and read back from them; text GBK holds stays
//    byte-identical to plain code page 936;
//  - a byte that does not start a valid sequence (a UTF-8 file, stray bytes)
//    is read as the lone surrogate U+DC00 + byte and written back as that byte,
//    so loading and saving such a file keeps it unchanged;
//  - any other lone surrogate (not in U+DC80..U+DCFF) is written as '?'.
#include <string>
#include <string_view>

namespace tabulon {

std::u16string GbkToUtf16(std::string_view bytes);
std::string Utf16ToGbk(std::u16string_view text);

} // namespace tabulon

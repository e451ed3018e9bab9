#pragma once
// The note file's text rules: what the editor shows for the file's bytes, and
// what bytes a write puts on disk for the editor's text. Lines follow the
// line-list rules (codec/LineList.h); the bytes are GBK with the codec's
// extensions (codec/Gbk.h), so nothing read is lost when it is written back.
#include <string>
#include <string_view>

#include "base/Exception.h"

namespace tabulon {

// The note file's bytes are not a text the editor can take without losing
// part of it; the message says why (it completes "Cannot open file ...").
TABULON_EXCEPTION_CLASS(ENoteNotText);

// The text that BasicLineList(text).Text() gives, built in one pass: every
// line end (CR LF, lone CR, lone LF) becomes CR LF, a last line without an
// end gains one, and everything from the first NUL on is dropped.
std::string JoinedLines(std::string_view text);
std::u16string JoinedLines(std::u16string_view text);

// The editor's text for a note file holding `bytes`: GBK (with the codec's
// extensions), or UTF-8, UTF-16 LE or UTF-16 BE after a byte-order mark, as
// other editors save it. Throws ENoteNotText for bytes that would not come
// back whole: NUL bytes in a file without a mark (the rest would be cut off),
// a NUL character or damaged Unicode after a mark.
std::u16string NoteTextFromFile(std::string_view bytes);

// The bytes a write puts in the note file for the editor's `text`. An
// existing file receives the text's lines; a new file receives the whole
// text as a single line, its inner line ends untouched.
std::string NoteFileBytes(std::u16string_view text, bool fileExists);

} // namespace tabulon

#pragma once
// Plain writes of the note picture (Content.bmp), which only the program reads
// and every pin draws afresh. It is overwritten in place: no temporary file and
// no flush to disk, unlike the note, whose loss would cost the user's words, and
// the composite (Mix.bmp), which the desktop shows: both go through
// WriteFileReplacing. A write that fails half-way may leave a partly written
// picture; the next write redoes it.
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/FileIO.h"
#include "platform/Handles.h"

namespace tabulon {

class InPlaceFileWriter {
  public:
    // Opens (or creates) the file for writing, nobody else reading or writing
    // it meanwhile. Throws EFCreateError ("Cannot create file "<full path>". <system text>").
    explicit InPlaceFileWriter(const std::wstring& path);
    InPlaceFileWriter(const InPlaceFileWriter&) = delete;
    InPlaceFileWriter& operator=(const InPlaceFileWriter&) = delete;

    // Appends; throws EFCreateError.
    void Write(std::string_view bytes);
    void Write(ProducedContent& content);
    // Cuts the file at what was written (an older, longer content goes) and
    // closes it; throws EFCreateError. Without Finish the file is closed as it is.
    void Finish();

  private:
    [[noreturn]] void Fail(unsigned long code) const;

    std::wstring full_;
    FileHandle file_;
};

// The file's content becomes `bytes`.
void WriteFileInPlace(const std::wstring& path, std::string_view bytes);
// The file's content becomes the `size` bytes `produce` makes (see ProducedContent).
void WriteFileInPlace(const std::wstring& path, size_t size, const ByteProducer& produce);

} // namespace tabulon

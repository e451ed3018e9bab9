#include "platform/FileWriteInPlace.h"

#include "base/LongPath.h"
#include "platform/FileIO.h"

namespace tabulon {

InPlaceFileWriter::InPlaceFileWriter(const std::wstring& path) : full_(FullFilePath(path)) {
    // OPEN_ALWAYS rather than CREATE_ALWAYS: the latter refuses an existing
    // hidden or system file, which a replacement would not.
    file_ = FileHandle(CreateFileW(ExtendedLengthPath(full_).c_str(), GENERIC_WRITE, 0, nullptr,
                                   OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN,
                                   nullptr));
    if (!file_.Valid()) Fail(GetLastError());
}

void InPlaceFileWriter::Fail(unsigned long code) const {
    ThrowCreateError(full_, code);
}

void InPlaceFileWriter::Write(std::string_view bytes) {
    if (!WriteAll(file_.Get(), bytes)) Fail(GetLastError());
}

void InPlaceFileWriter::Write(ProducedContent& content) {
    if (!content.WriteTo(file_.Get())) Fail(GetLastError());
}

void InPlaceFileWriter::Finish() {
    if (!SetEndOfFile(file_.Get())) Fail(GetLastError());
    if (!file_.Close()) Fail(GetLastError());
}

void WriteFileInPlace(const std::wstring& path, std::string_view bytes) {
    InPlaceFileWriter writer(path);
    writer.Write(bytes);
    writer.Finish();
}

void WriteFileInPlace(const std::wstring& path, size_t size, const ByteProducer& produce) {
    ProducedContent content(size, produce); // before the file is opened
    InPlaceFileWriter writer(path);
    writer.Write(content);
    writer.Finish();
}

} // namespace tabulon

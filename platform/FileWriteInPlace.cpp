#include "platform/FileWriteInPlace.h"

#include "base/LongPath.h"
#include "platform/FileIO.h"
#include "platform/SystemError.h"

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
    throw EFCreateError(L"Cannot create file \"" + full_ + L"\". " + SystemErrorText(code));
}

void InPlaceFileWriter::Write(std::string_view bytes) {
    // WriteFile takes a 32-bit count; big buffers go in slices.
    constexpr size_t kSlice = 64u << 20;
    while (!bytes.empty()) {
        const DWORD chunk = DWORD(bytes.size() < kSlice ? bytes.size() : kSlice);
        DWORD written = 0;
        if (!WriteFile(file_.Get(), bytes.data(), chunk, &written, nullptr)) Fail(GetLastError());
        if (written == 0) Fail(ERROR_WRITE_FAULT);
        bytes.remove_prefix(written);
    }
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

} // namespace tabulon

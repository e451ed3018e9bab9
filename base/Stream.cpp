#include "base/Stream.h"

#include "base/Exception.h"

#include <algorithm>
#include <cstring>

namespace tabulon {

size_t TMemoryStream::Read(void* buffer, size_t count) {
    if (pos_ >= size_) return 0;
    const size_t n = static_cast<size_t>(std::min<uint64_t>(count, size_ - pos_));
    std::memcpy(buffer, data_ + pos_, n);
    pos_ += n;
    return n;
}

static std::wstring Widen(const std::string& s) {
    return std::wstring(s.begin(), s.end());
}

TFileReadStream::TFileReadStream(const std::string& path) {
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) throw Exception(L"Cannot open file \"" + Widen(path) + L"\".");
    if (std::fseek(file_, 0, SEEK_END) == 0) {
        long end = std::ftell(file_);
        if (end > 0) size_ = static_cast<uint64_t>(end);
    }
    std::fseek(file_, 0, SEEK_SET);
}

TFileReadStream::~TFileReadStream() {
    if (file_) std::fclose(file_);
}

size_t TFileReadStream::Read(void* buffer, size_t count) {
    const size_t n = std::fread(buffer, 1, count, file_);
    pos_ += n;
    return n;
}

void TFileReadStream::Seek(uint64_t position) {
    // Positions past the end are allowed; reads there deliver nothing.
    pos_ = position;
    std::fseek(file_, static_cast<long>(std::min<uint64_t>(position, size_)), SEEK_SET);
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
    TFileReadStream stream(path);
    std::vector<uint8_t> bytes(static_cast<size_t>(stream.Size()));
    if (stream.Read(bytes.data(), bytes.size()) != bytes.size())
        throw Exception(L"Cannot read file \"" + Widen(path) + L"\".");
    return bytes;
}

} // namespace tabulon

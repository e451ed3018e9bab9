#pragma once
// Byte streams for picture and layout loading. Portable: no Windows headers.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace tabulon {

class TStream {
  public:
    virtual ~TStream() = default;
    // Reads up to `count` bytes; returns how many were read (0 at the end).
    virtual size_t Read(void* buffer, size_t count) = 0;
    virtual uint64_t Position() const = 0;
    virtual void Seek(uint64_t position) = 0;
    virtual uint64_t Size() const = 0;
    uint64_t Remaining() const {
        const uint64_t p = Position(), s = Size();
        return p < s ? s - p : 0;
    }
};

// A stream over bytes in memory: either a view of caller-owned bytes or its own copy.
class TMemoryStream : public TStream {
  public:
    TMemoryStream(const void* data, size_t size)
        : data_(static_cast<const uint8_t*>(data)), size_(size) {}
    explicit TMemoryStream(std::vector<uint8_t> bytes)
        : owned_(std::move(bytes)), data_(owned_.data()), size_(owned_.size()) {}
    TMemoryStream(const TMemoryStream&) = delete;
    TMemoryStream& operator=(const TMemoryStream&) = delete;

    size_t Read(void* buffer, size_t count) override;
    uint64_t Position() const override { return pos_; }
    void Seek(uint64_t position) override { pos_ = position; }
    uint64_t Size() const override { return size_; }

  private:
    std::vector<uint8_t> owned_;
    const uint8_t* data_;
    size_t size_;
    uint64_t pos_ = 0;
};

// A read-only stream over a file opened with the C library.
class TFileReadStream : public TStream {
  public:
    // Throws tabulon::Exception when the file cannot be opened.
    explicit TFileReadStream(const std::string& path);
    ~TFileReadStream() override;
    TFileReadStream(const TFileReadStream&) = delete;
    TFileReadStream& operator=(const TFileReadStream&) = delete;

    size_t Read(void* buffer, size_t count) override;
    uint64_t Position() const override { return pos_; }
    void Seek(uint64_t position) override;
    uint64_t Size() const override { return size_; }

  private:
    std::FILE* file_ = nullptr;
    uint64_t size_ = 0;
    uint64_t pos_ = 0;
};

// Reads a whole file with the C library; throws tabulon::Exception on failure.
std::vector<uint8_t> ReadFileBytes(const std::string& path);

} // namespace tabulon

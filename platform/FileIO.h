#pragma once
// The file layer: whole-file reads and writes with the program's two file
// errors. Paths are wide strings handed to the W functions unchanged.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Exception.h"

namespace tabulon {

// "Cannot create file "<full path>". <system text>"
TABULON_EXCEPTION_CLASS(EFCreateError);
// "Cannot open file "<full path>". <system text>"
TABULON_EXCEPTION_CLASS(EFOpenError);

// The full path as the system's full-path function gives it, with trailing
// blanks and dots of the last component removed (the system ignores them when
// it opens a file, so "content.ini " names content.ini).
std::wstring FullFilePath(const std::wstring& path);

// EFOpenError / EFCreateError for `fullPath`, with the system's text for the
// error `code`: the one wording of every open and create failure.
[[noreturn]] void ThrowOpenError(const std::wstring& fullPath, unsigned long code);
[[noreturn]] void ThrowCreateError(const std::wstring& fullPath, unsigned long code);

// Writes all of `bytes` to an open file handle (a HANDLE), in slices because
// WriteFile takes a 32-bit count. False on failure, with the error code set
// for GetLastError.
bool WriteAll(void* file, std::string_view bytes);

// The folder of the running program, ending in a backslash.
std::wstring ProgramFolder();

// False when nothing is at `path` (the system says "file not found" or "path
// not found") or it is a folder; true for a file, and for every other failure
// to look (access denied, a drive that is not ready, a network folder that is
// gone): a caller then meets the real error when it reads, instead of taking
// an unreachable note for a missing one and replacing it.
bool FileExists(const std::wstring& path);
// The decision behind FileExists for the attributes the system gave
// (INVALID_FILE_ATTRIBUTES with the error code of the failed query).
bool FileExistsFromAttributes(unsigned long attributes, unsigned long error);

// What tells a file's content changed without reading it: its size and last
// write time (in the system's 100 ns units).
struct FileStamp {
    unsigned long long size = 0;
    unsigned long long lastWrite = 0;
    bool operator==(const FileStamp&) const = default;
};

// The stamp of the file at `path`; false when there is none (or it is a folder).
bool GetFileStamp(const std::wstring& path, FileStamp& stamp);

// The full path of `path` with every component in its short 8.3 form or its
// long form, as the system gives it for a file that exists; nothing when the
// system cannot say.
enum class PathForm { Short, Long };
std::optional<std::wstring> PathInForm(const std::wstring& path, PathForm form);

// Whether two paths name the same file: the same volume and file index while
// both exist, else the same long full path (case-insensitive). A short 8.3
// name and the long name of one file are the same file; two empty paths too.
bool SameFile(const std::wstring& a, const std::wstring& b);

// Opens the file for reading as ReadWholeFile does and closes it again, so a
// caller learns whether it could be read without paying for the bytes.
// Throws EFOpenError. Opening retries a passing lock (base/PassingLock.h) first,
// here and in ReadWholeFile.
void CheckReadable(const std::wstring& path);

// The whole file. Others may read it meanwhile but not write it.
// Throws EFOpenError.
std::string ReadWholeFile(const std::wstring& path);

// Replaces the file's content by `bytes` in one step: the bytes go to a
// temporary file of a fresh name beside the target, are flushed to disk, and
// the temporary file then takes the target's place, keeping the target's
// hidden and system attributes. A read-only target or a folder of that name
// is refused; another program's passing lock is waited out briefly. On any
// failure the target keeps its old content, no temporary file of ours is left
// behind, and EFCreateError (carrying the system code) is thrown.
void WriteFileReplacing(const std::wstring& path, std::string_view bytes);

// Content made as it is written, slice by slice: `produce` fills `out` with
// the `n` bytes of the content that start at `offset`. A large content (a
// screen-sized bitmap) then never needs a buffer of its size, whose fresh
// pages would each fault in; its one slice stays in the cache while it is
// made and written.
using ByteProducer = std::function<void(size_t offset, char* out, size_t n)>;
class ProducedContent {
  public:
    // Takes the slice; throws Exception when there is no memory for it, before
    // any file is touched. `produce` is kept by reference: it outlives the writes.
    ProducedContent(size_t size, const ByteProducer& produce);

    // Writes the whole content to an open file handle (a HANDLE); false on
    // failure, with the error code set for GetLastError.
    bool WriteTo(void* file);

  private:
    size_t size_;
    const ByteProducer& produce_;
    std::vector<char> slice_;
};

// WriteFileReplacing for a produced content.
void WriteFileReplacing(const std::wstring& path, size_t size, const ByteProducer& produce);

// Test seam: called after the temporary file is written and closed and before
// it replaces the target. A non-zero result is treated as a system error code
// of the replacement step. Pass an empty function to remove it.
using FileReplaceHook = std::function<unsigned long(const std::wstring& tempPath)>;
void SetFileReplaceHookForTesting(FileReplaceHook hook);

} // namespace tabulon

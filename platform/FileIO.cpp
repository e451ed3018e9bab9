#include "platform/FileIO.h"

#include <windows.h>

#include <new>
#include <vector>

#include "base/LongPath.h"
#include "platform/Handles.h"
#include "platform/SystemError.h"
#include "base/PassingLock.h"

namespace tabulon {

namespace {

FileReplaceHook& ReplaceHook() {
    static FileReplaceHook hook;
    return hook;
}

// Removes the temporary file unless it has been moved into place.
class TempFileGuard {
  public:
    TempFileGuard() = default;
    TempFileGuard(const TempFileGuard&) = delete;
    TempFileGuard& operator=(const TempFileGuard&) = delete;
    ~TempFileGuard() {
        if (armed_) DeleteFileW(path_.c_str());
    }
    void Arm(std::wstring path) {
        path_ = std::move(path);
        armed_ = true;
    }
    void Release() { armed_ = false; }

  private:
    std::wstring path_;
    bool armed_ = false;
};

} // namespace

void ThrowCreateError(const std::wstring& fullPath, unsigned long code) {
    throw EFCreateError(L"Cannot create file \"" + fullPath + L"\". " + SystemErrorText(code),
                        code);
}

void ThrowOpenError(const std::wstring& fullPath, unsigned long code) {
    throw EFOpenError(L"Cannot open file \"" + fullPath + L"\". " + SystemErrorText(code), code);
}

bool WriteAll(void* file, std::string_view bytes) {
    constexpr size_t kSlice = 64u << 20;
    while (!bytes.empty()) {
        const DWORD chunk = DWORD(bytes.size() < kSlice ? bytes.size() : kSlice);
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) return false;
        if (written == 0) {
            SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

std::wstring FullFilePath(const std::wstring& path) {
    std::wstring full;
    DWORD need = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (need) {
        full.resize(need);
        DWORD got = GetFullPathNameW(path.c_str(), need, full.data(), nullptr);
        full.resize(got < need ? got : 0);
    }
    if (full.empty()) full = path;
    while (!full.empty() && (full.back() == L' ' || full.back() == L'.')) {
        wchar_t before = full.size() > 1 ? full[full.size() - 2] : L'\\';
        if (before == L'\\' || before == L'/' || before == L':') break;
        full.pop_back();
    }
    return full;
}

std::wstring ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    size_t slash = path.find_last_of(L"\\/");
    path.resize(slash == std::wstring::npos ? 0 : slash + 1);
    return path;
}

bool FileExistsFromAttributes(unsigned long attributes, unsigned long error) {
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
    return !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(ExtendedLengthPath(FullFilePath(path)).c_str());
    return FileExistsFromAttributes(attributes,
                                    attributes == INVALID_FILE_ATTRIBUTES ? GetLastError() : 0);
}

bool GetFileStamp(const std::wstring& path, FileStamp& stamp) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(ExtendedLengthPath(FullFilePath(path)).c_str(), GetFileExInfoStandard,
                              &data))
        return false;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
    stamp.size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    stamp.lastWrite = (static_cast<unsigned long long>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                      data.ftLastWriteTime.dwLowDateTime;
    return true;
}

std::optional<std::wstring> PathInForm(const std::wstring& path, PathForm form) {
    // Asked twice: for the size, then for the path in a buffer of that size.
    const auto convert = form == PathForm::Short ? ::GetShortPathNameW : ::GetLongPathNameW;
    const std::wstring extended = ExtendedLengthPath(FullFilePath(path));
    const DWORD need = convert(extended.c_str(), nullptr, 0);
    if (need == 0) return std::nullopt;
    std::wstring out(need, L'\0');
    const DWORD n = convert(extended.c_str(), out.data(), need);
    if (n == 0 || n >= need) return std::nullopt;
    out.resize(n);
    return WithoutExtendedPrefix(out);
}

namespace {

// The file's volume serial number and index; false when it cannot be opened.
bool FileIdentity(const std::wstring& path, BY_HANDLE_FILE_INFORMATION& info) {
    // Attributes only, sharing everything: works while others hold the file.
    FileHandle file(::CreateFileW(ExtendedLengthPath(FullFilePath(path)).c_str(),
                                  FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return file.Valid() && ::GetFileInformationByHandle(file.Get(), &info);
}

// The full path with every component in its long form, as far as it exists.
std::wstring LongFullPath(const std::wstring& path) {
    return PathInForm(path, PathForm::Long)
        .value_or(WithoutExtendedPrefix(ExtendedLengthPath(FullFilePath(path))));
}

} // namespace

bool SameFile(const std::wstring& a, const std::wstring& b) {
    if (a.empty() || b.empty()) return a.empty() && b.empty();
    BY_HANDLE_FILE_INFORMATION ia{}, ib{};
    if (FileIdentity(a, ia) && FileIdentity(b, ib))
        return ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
               ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
    const std::wstring longA = LongFullPath(a), longB = LongFullPath(b);
    return ::CompareStringOrdinal(longA.c_str(), int(longA.size()), longB.c_str(),
                                  int(longB.size()), TRUE) == CSTR_EQUAL;
}

namespace {

FileHandle OpenForReading(const std::wstring& full) {
    FileHandle file;
    const DWORD code = RetryPassingLocks([&]() -> unsigned long {
        file =
            FileHandle(CreateFileW(ExtendedLengthPath(full).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                   nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        return file.Valid() ? 0 : GetLastError();
    });
    if (code) ThrowOpenError(full, code);
    return file;
}

} // namespace

void CheckReadable(const std::wstring& path) {
    OpenForReading(FullFilePath(path));
}

std::string ReadWholeFile(const std::wstring& path) {
    const std::wstring full = FullFilePath(path);
    FileHandle file = OpenForReading(full);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size)) ThrowOpenError(full, GetLastError());
    if (size.QuadPart < 0 || uint64_t(size.QuadPart) > std::string().max_size() / 2)
        ThrowOpenError(full, ERROR_NOT_ENOUGH_MEMORY);
    std::string bytes;
    try {
        bytes.resize(size_t(size.QuadPart));
    } catch (const std::bad_alloc&) {
        ThrowOpenError(full, ERROR_NOT_ENOUGH_MEMORY);
    }
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD want = DWORD(bytes.size() - done < (64u << 20) ? bytes.size() - done : (64u << 20));
        DWORD got = 0;
        if (!ReadFile(file.Get(), bytes.data() + done, want, &got, nullptr))
            ThrowOpenError(full, GetLastError());
        if (got == 0) break; // the file shrank since we asked for its size
        done += got;
    }
    bytes.resize(done);
    return bytes;
}

namespace {

// What a replacement keeps of the target's attributes: hidden, system and
// the like stay; read-only is refused before we get here.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Creates a temporary file of our own beside `full`. A fresh name each time:
// a leftover, foreign or read-only file of any name never blocks the save.
FileHandle CreateTempBeside(const std::wstring& full, DWORD attributes, std::wstring& temp,
                            DWORD& code) {
    static unsigned counter = 0;
    // The suffix may carry a target just short of the limit past it: the
    // name gets the long form on its own.
    const std::wstring stem =
        WithoutExtendedPrefix(full) + L"." + std::to_wstring(GetCurrentProcessId()) + L"-";
    for (int tries = 0; tries < 100; ++tries) {
        temp = ExtendedLengthPath(stem + std::to_wstring(++counter) + L".~tmp");
        // No sharing while the bytes go out: nobody reads a half-written file.
        FileHandle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    attributes ? attributes : FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.Valid()) return file;
        code = GetLastError();
        // The name is taken (by a file or a folder of that name): try the next.
        if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS &&
            code != ERROR_ACCESS_DENIED)
            break;
        if (code == ERROR_ACCESS_DENIED &&
            GetFileAttributesW(temp.c_str()) == INVALID_FILE_ATTRIBUTES)
            break; // the folder itself refuses us
    }
    temp.clear();
    return FileHandle();
}

// Writes the content to `file`; false with the system's last error set.
using ContentWriter = std::function<bool(void* file)>;

// One attempt at the replacement of `full` (in its extended-length form for
// long paths); 0 or the system error code of the failing step.
DWORD TryReplace(const std::wstring& full, const ContentWriter& write, DWORD keptAttributes) {
    // The target stays open without sharing until the swap, so no other
    // program writes it in between; one that holds it refuses us here, and
    // the error names the target itself.
    FileHandle lock;
    if (GetFileAttributesW(full.c_str()) != INVALID_FILE_ATTRIBUTES) {
        lock = FileHandle(CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!lock.Valid()) return GetLastError();
    }
    std::wstring temp;
    DWORD code = 0;
    TempFileGuard guard; // declared before the file: removes it once it is closed
    FileHandle file = CreateTempBeside(full, keptAttributes, temp, code);
    if (!file.Valid()) return code;
    guard.Arm(temp);
    if (!write(file.Get())) return GetLastError();
    if (!FlushFileBuffers(file.Get())) return GetLastError();
    if (!file.Close()) return GetLastError();
    if (const FileReplaceHook& hook = ReplaceHook()) {
        if (DWORD hooked = hook(temp)) return hooked;
    }
    lock.Close();
    if (!MoveFileExW(temp.c_str(), full.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return GetLastError();
    guard.Release();
    return 0;
}

void ReplaceContent(const std::wstring& path, const ContentWriter& write) {
    const std::wstring full = FullFilePath(path);
    const std::wstring target = ExtendedLengthPath(full);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            throw EFCreateError(L"Cannot create file \"" + full +
                                    L"\". A folder of that name is there.",
                                ERROR_DIRECTORY);
        // A read-only note is the user's choice, not a passing lock: refused at once.
        if (attributes & FILE_ATTRIBUTE_READONLY) ThrowCreateError(full, ERROR_ACCESS_DENIED);
    }
    const DWORD kept = attributes == INVALID_FILE_ATTRIBUTES ? 0 : attributes & kKeptAttributes;
    if (DWORD code = RetryPassingLocks([&] { return TryReplace(target, write, kept); }))
        ThrowCreateError(full, code);
}

} // namespace

void WriteFileReplacing(const std::wstring& path, std::string_view bytes) {
    ReplaceContent(path, [bytes](void* file) { return WriteAll(file, bytes); });
}

ProducedContent::ProducedContent(size_t size, const ByteProducer& produce)
    : size_(size), produce_(produce) {
    constexpr size_t kSlice = size_t(1) << 18;
    try {
        slice_.resize(size < kSlice ? size : kSlice);
    } catch (const std::bad_alloc&) {
        throw Exception(L"Out of memory: cannot write a file.");
    }
}

bool ProducedContent::WriteTo(void* file) {
    for (size_t done = 0; done < size_;) {
        const size_t n = size_ - done < slice_.size() ? size_ - done : slice_.size();
        produce_(done, slice_.data(), n);
        if (!WriteAll(file, std::string_view(slice_.data(), n))) return false;
        done += n;
    }
    return true;
}

void WriteFileReplacing(const std::wstring& path, size_t size, const ByteProducer& produce) {
    ProducedContent content(size, produce);
    ReplaceContent(path, [&content](void* file) { return content.WriteTo(file); });
}

void SetFileReplaceHookForTesting(FileReplaceHook hook) {
    ReplaceHook() = std::move(hook);
}

} // namespace tabulon

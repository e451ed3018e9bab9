#include "platform/FileIO.h"

#include <windows.h>

#include <vector>

#include "platform/Handles.h"
#include "platform/SystemError.h"

namespace tabulon {

namespace {

FileReplaceHook& ReplaceHook() {
    static FileReplaceHook hook;
    return hook;
}

// Removes the temporary file unless it has been moved into place.
class TempFileGuard {
  public:
    explicit TempFileGuard(std::wstring path) : path_(std::move(path)) {}
    TempFileGuard(const TempFileGuard&) = delete;
    TempFileGuard& operator=(const TempFileGuard&) = delete;
    ~TempFileGuard() {
        if (armed_) DeleteFileW(path_.c_str());
    }
    void Release() { armed_ = false; }

  private:
    std::wstring path_;
    bool armed_ = true;
};

} // namespace

void ThrowCreateError(const std::wstring& fullPath, unsigned long code) {
    throw EFCreateError(L"Cannot create file \"" + fullPath + L"\". " + SystemErrorText(code));
}

void ThrowOpenError(const std::wstring& fullPath, unsigned long code) {
    throw EFOpenError(L"Cannot open file \"" + fullPath + L"\". " + SystemErrorText(code));
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

bool FileExists(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(FullFilePath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        DWORD code = GetLastError();
        return code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION;
    }
    return !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {

FileHandle OpenForReading(const std::wstring& full) {
    FileHandle file(CreateFileW(full.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.Valid()) ThrowOpenError(full, GetLastError());
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

void WriteFileReplacing(const std::wstring& path, std::string_view bytes) {
    const std::wstring full = FullFilePath(path);
    // A target that exists but may not be written (read-only, a folder, locked
    // by another program) is refused before anything is written, so the error
    // names the target itself rather than a step of the replacement.
    // The target stays open without sharing until the swap, so no other
    // program writes it in between.
    FileHandle lock;
    DWORD attributes = GetFileAttributesW(full.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))
            ThrowCreateError(full, ERROR_ACCESS_DENIED);
        lock = FileHandle(CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!lock.Valid()) ThrowCreateError(full, GetLastError());
    }

    const std::wstring temp = full + L".~tmp";
    TempFileGuard guard(temp);
    {
        // No sharing while the bytes go out: nobody reads a half-written file.
        FileHandle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.Valid()) {
            DWORD code = GetLastError();
            guard.Release(); // nothing was created, and a stranger's file must stay
            ThrowCreateError(full, code);
        }
        if (!WriteAll(file.Get(), bytes)) ThrowCreateError(full, GetLastError());
        if (!FlushFileBuffers(file.Get())) ThrowCreateError(full, GetLastError());
        if (!file.Close()) ThrowCreateError(full, GetLastError());
    }
    if (const FileReplaceHook& hook = ReplaceHook()) {
        if (DWORD code = hook(temp)) ThrowCreateError(full, code);
    }
    lock.Close();
    if (!MoveFileExW(temp.c_str(), full.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        ThrowCreateError(full, GetLastError());
    guard.Release();
}

void SetFileReplaceHookForTesting(FileReplaceHook hook) {
    ReplaceHook() = std::move(hook);
}

} // namespace tabulon

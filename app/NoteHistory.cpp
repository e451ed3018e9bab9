#include "app/NoteHistory.h"

#include <windows.h>

#include <algorithm>

#include "app/NoteHistoryRules.h"
#include "base/LongPath.h"
#include "platform/FileIO.h"
#include "platform/Handles.h"

namespace tabulon {

namespace {

CivilTime LocalNow() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return CivilTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

} // namespace

NoteHistory::NoteHistory(const std::wstring& notePath) {
    const std::wstring full = FullFilePath(notePath);
    const size_t slash = full.find_last_of(L"\\/");
    folder_ = (slash == std::wstring::npos ? std::wstring() : full.substr(0, slash + 1)) +
              kFolderName + L"\\";
}

int64_t NoteHistory::Now() {
    return SecondsOf(LocalNow());
}

std::vector<NoteHistory::Version> NoteHistory::List() const {
    std::vector<Version> versions;
    WIN32_FIND_DATAW found;
    const HANDLE first =
        ::FindFirstFileW(ExtendedLengthPath(folder_ + L"content.*.ini").c_str(), &found);
    if (first == INVALID_HANDLE_VALUE) return versions;
    const FileSearch search(first);
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        const auto id = ParseVersionName(found.cFileName);
        if (!id) continue;
        versions.push_back(Version{folder_ + found.cFileName, id->time, id->n,
                                   (uint64_t(found.nFileSizeHigh) << 32) | found.nFileSizeLow});
    } while (::FindNextFileW(search.Get(), &found));
    std::sort(versions.begin(), versions.end(), [](const Version& a, const Version& b) {
        return a.time != b.time ? a.time > b.time : a.n > b.n;
    });
    return versions;
}

std::optional<int64_t> NoteHistory::NewestTime() {
    if (!newestKnown_) {
        const std::vector<Version> versions = List();
        newest_ = versions.empty() ? std::nullopt : std::optional<int64_t>(versions[0].time);
        newestKnown_ = true;
    }
    return newest_;
}

bool NoteHistory::Keep(std::string_view bytes) {
    std::vector<Version> versions = List();
    if (!versions.empty()) {
        try {
            if (ReadWholeFile(versions[0].path) == bytes) return false;
        } catch (const Exception&) {
            // Unreadable: the new version is written all the same.
        }
    }
    const std::wstring longFolder = ExtendedLengthPath(FullFilePath(folder_));
    if (!::CreateDirectoryW(longFolder.c_str(), nullptr) &&
        ::GetLastError() != ERROR_ALREADY_EXISTS)
        ThrowCreateError(FullFilePath(folder_), ::GetLastError());
    const CivilTime now = LocalNow();
    const int64_t time = SecondsOf(now);
    int n = 1;
    for (const Version& v : versions)
        if (v.time == time) n = std::max(n, v.n + 1);
    const std::wstring path = folder_ + VersionName(now, n);
    try {
        WriteFileReplacing(path, bytes);
    } catch (const Exception&) {
        ::RemoveDirectoryW(longFolder.c_str()); // only when this left it empty
        throw;
    }
    versions.insert(versions.begin(), Version{path, time, n, bytes.size()});
    newest_ = time;
    newestKnown_ = true;
    Thin(std::move(versions));
    return true;
}

void NoteHistory::Thin(std::vector<Version> newestFirst) const {
    std::sort(newestFirst.begin(), newestFirst.end(), [](const Version& a, const Version& b) {
        return a.time != b.time ? a.time < b.time : a.n < b.n;
    });
    std::vector<VersionEntry> entries;
    for (const Version& v : newestFirst)
        entries.push_back(VersionEntry{v.time, v.size});
    for (size_t i : VersionsToThin(entries, Now()))
        ::DeleteFileW(ExtendedLengthPath(FullFilePath(newestFirst[i].path)).c_str());
}

} // namespace tabulon

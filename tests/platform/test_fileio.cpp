// The file layer against the real file system (under Wine in the cross tree).
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/platform/TempFolder.h"
#include "platform/Handles.h"
#include "platform/FileIO.h"
#include "platform/FileMapping.h"
#include "platform/FileWriteInPlace.h"
#include "base/LongPath.h"

#include <vector>

namespace tabulon {
namespace {

using testing::TempFolder;

std::wstring MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Exception& e) {
        return e.Message();
    }
    return L"(no exception)";
}

bool StartsWith(const std::wstring& text, const std::wstring& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

struct HookReset {
    ~HookReset() { SetFileReplaceHookForTesting({}); }
};

TEST(FileIO, WritesAndReadsBackAnyBytes) {
    TempFolder dir;
    std::string bytes("a\0b\r\n\xff\xfe", 7);
    WriteFileReplacing(dir / L"note.txt", bytes);
    EXPECT_TRUE(FileExists(dir / L"note.txt"));
    EXPECT_EQ(ReadWholeFile(dir / L"note.txt"), bytes);

    std::string big(5u << 20, 'x');
    for (size_t i = 0; i < big.size(); i += 4099)
        big[i] = char(i);
    WriteFileReplacing(dir / L"note.txt", big);
    EXPECT_EQ(ReadWholeFile(dir / L"note.txt"), big);
    // The same content made slice by slice, of a size no slice divides.
    const size_t odd = big.size() - 12345;
    WriteFileReplacing(dir / L"note.txt", odd,
                       [&](size_t offset, char* out, size_t n) { big.copy(out, n, offset); });
    EXPECT_EQ(ReadWholeFile(dir / L"note.txt"), big.substr(0, odd));

    WriteFileReplacing(dir / L"note.txt", "");
    EXPECT_EQ(ReadWholeFile(dir / L"note.txt"), "");
    EXPECT_EQ(dir.Listing(), L"note.txt;");
}

TEST(FileIO, TrailingBlankNamesTheSameFile) {
    TempFolder dir;
    WriteFileReplacing(dir / L"content.ini ", "abc");
    EXPECT_EQ(dir.Listing(), L"content.ini;");
    EXPECT_TRUE(FileExists(dir / L"content.ini "));
    EXPECT_EQ(ReadWholeFile(dir / L"content.ini "), "abc");
    EXPECT_EQ(FullFilePath(dir / L"content.ini "), dir / L"content.ini");
}

TEST(FileIO, MissingFolderIsACreateErrorWithTheFullPath) {
    TempFolder dir;
    std::wstring target = dir / L"Data\\content.ini";
    std::wstring message = MessageOf([&] { WriteFileReplacing(target, "x"); });
    EXPECT_TRUE(StartsWith(message, L"Cannot create file \"" + target + L"\". ")) << message;
    EXPECT_GT(message.size(), (L"Cannot create file \"" + target + L"\". ").size());
    try {
        WriteFileReplacing(target, "x");
        FAIL();
    } catch (const EFCreateError& e) {
        EXPECT_STREQ(e.ClassName(), "EFCreateError");
    }
    EXPECT_EQ(dir.Listing(), L"");
}

TEST(FileIO, MissingFileIsAnOpenError) {
    TempFolder dir;
    std::wstring target = dir / L"none.ini";
    EXPECT_FALSE(FileExists(target));
    EXPECT_FALSE(FileExists(dir.Path())); // a folder is not a file
    std::wstring message = MessageOf([&] { ReadWholeFile(target); });
    EXPECT_TRUE(StartsWith(message, L"Cannot open file \"" + target + L"\". ")) << message;
    EXPECT_THROW(ReadWholeFile(target), EFOpenError);
}

TEST(FileIO, ReadOnlyTargetIsRefusedAndKept) {
    TempFolder dir;
    std::wstring target = dir / L"note.txt";
    WriteFileReplacing(target, "old");
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY);
    std::wstring message = MessageOf([&] { WriteFileReplacing(target, "new"); });
    EXPECT_TRUE(StartsWith(message, L"Cannot create file \"" + target + L"\". ")) << message;
    EXPECT_EQ(ReadWholeFile(target), "old");
    EXPECT_EQ(dir.Listing(), L"note.txt;");
}

TEST(FileIO, TargetHeldByAnotherWriterIsRefusedAndKept) {
    TempFolder dir;
    std::wstring target = dir / L"note.txt";
    WriteFileReplacing(target, "old");
    {
        FileHandle other(CreateFileW(target.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                     nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(other.Valid());
        EXPECT_THROW(WriteFileReplacing(target, "new"), EFCreateError);
        // A writer holding the file also keeps us from reading it.
        EXPECT_THROW(ReadWholeFile(target), EFOpenError);
    }
    EXPECT_EQ(ReadWholeFile(target), "old");
    EXPECT_EQ(dir.Listing(), L"note.txt;");
}

TEST(FileIO, ReadersMaySharePlainReading) {
    TempFolder dir;
    std::wstring target = dir / L"note.txt";
    WriteFileReplacing(target, "shared");
    FileHandle other(CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(other.Valid());
    EXPECT_EQ(ReadWholeFile(target), "shared");
}

TEST(FileIO, FailureBetweenWritingAndReplacingKeepsTheOldFile) {
    TempFolder dir;
    HookReset reset;
    std::wstring target = dir / L"note.txt";
    WriteFileReplacing(target, "old note");
    std::wstring seenTemp;
    SetFileReplaceHookForTesting([&](const std::wstring& temp) -> unsigned long {
        seenTemp = temp;
        // The new bytes are complete on disk before the swap.
        EXPECT_EQ(ReadWholeFile(temp), "new note");
        return ERROR_DISK_FULL;
    });
    EXPECT_THROW(WriteFileReplacing(target, "new note"), EFCreateError);
    EXPECT_FALSE(seenTemp.empty());
    EXPECT_FALSE(FileExists(seenTemp));
    EXPECT_EQ(ReadWholeFile(target), "old note");
    EXPECT_EQ(dir.Listing(), L"note.txt;");

    SetFileReplaceHookForTesting({});
    WriteFileReplacing(target, "new note");
    EXPECT_EQ(ReadWholeFile(target), "new note");
}

} // namespace
} // namespace tabulon

namespace tabulon {
namespace {

TEST(FileIO, CheckReadableOpensWithoutReading) {
    testing::TempFolder dir;
    std::wstring target = dir / L"note.txt";
    EXPECT_THROW(CheckReadable(target), EFOpenError);
    WriteFileReplacing(target, "x");
    EXPECT_NO_THROW(CheckReadable(target));
    FileHandle other(CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(other.Valid());
    EXPECT_THROW(CheckReadable(target), EFOpenError);
}

TEST(FileIO, ProgramFolderHoldsThisProgram) {
    std::wstring folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), L'\\');
    EXPECT_TRUE(FileExists(folder + L"test_fileio.exe"));
}

} // namespace
} // namespace tabulon

namespace tabulon {
namespace {

// Only "file not found" and "path not found" mean absent; any other failure
// to look means there, but unreachable now (the reader then reports it).
TEST(FileIO, OnlyNotFoundIsAbsent) {
    EXPECT_FALSE(FileExistsFromAttributes(INVALID_FILE_ATTRIBUTES, ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(FileExistsFromAttributes(INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND));
    for (DWORD error :
         {ERROR_NOT_READY, ERROR_BAD_NETPATH, ERROR_BAD_NET_NAME, ERROR_NETNAME_DELETED,
          ERROR_ACCESS_DENIED, ERROR_SHARING_VIOLATION, ERROR_DEV_NOT_EXIST, ERROR_GEN_FAILURE})
        EXPECT_TRUE(FileExistsFromAttributes(INVALID_FILE_ATTRIBUTES, error)) << error;
    EXPECT_TRUE(FileExistsFromAttributes(FILE_ATTRIBUTE_ARCHIVE, 0));
    EXPECT_FALSE(FileExistsFromAttributes(FILE_ATTRIBUTE_DIRECTORY, 0));
    // A drive letter that names nothing is a missing path, not an error.
    EXPECT_FALSE(FileExists(L"Q:\\no such folder\\content.ini"));
}

// Leftovers of another run, a foreign file or a folder under the name a
// replacement used to take never stop a save, and stay as they were.
TEST(FileIO, LeftoverTemporaryFilesNeverBlockASave) {
    TempFolder dir;
    const std::wstring target = dir / L"note.txt";
    WriteFileReplacing(target, "old");
    WriteFileReplacing(target + L".~tmp", "foreign");
    SetFileAttributesW((target + L".~tmp").c_str(), FILE_ATTRIBUTE_READONLY);
    CreateDirectoryW((target + L"." + std::to_wstring(GetCurrentProcessId()) + L"-1.~tmp").c_str(),
                     nullptr);
    const std::wstring before = dir.Listing();
    WriteFileReplacing(target, "new");
    WriteFileReplacing(target, "newer");
    EXPECT_EQ(ReadWholeFile(target), "newer");
    EXPECT_EQ(ReadWholeFile(target + L".~tmp"), "foreign");
    EXPECT_EQ(dir.Listing(), before); // nothing of ours left behind
}

TEST(FileIO, HiddenNoteStaysHidden) {
    TempFolder dir;
    const std::wstring target = dir / L"note.txt";
    WriteFileReplacing(target, "old");
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_HIDDEN);
    if (!(GetFileAttributesW(target.c_str()) & FILE_ATTRIBUTE_HIDDEN))
        GTEST_SKIP() << "this file system keeps no hidden attribute";
    WriteFileReplacing(target, "new");
    EXPECT_EQ(ReadWholeFile(target), "new");
    EXPECT_TRUE(GetFileAttributesW(target.c_str()) & FILE_ATTRIBUTE_HIDDEN);
}

TEST(FileIO, AFolderInTheNotesPlaceIsAClearError) {
    TempFolder dir;
    const std::wstring target = dir / L"content.ini";
    CreateDirectoryW(target.c_str(), nullptr);
    const std::wstring message = MessageOf([&] { WriteFileReplacing(target + L" ", "x"); });
    EXPECT_EQ(message, L"Cannot create file \"" + target + L"\". A folder of that name is there.");
    EXPECT_EQ(dir.Listing(), L"content.ini;");
}

// Holds `path` open with no sharing, as a virus scanner or sync client does,
// and lets go after `ms` milliseconds.
class BriefHold {
  public:
    BriefHold(const std::wstring& path, DWORD ms)
        : file_(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)),
          ms_(ms) {
        thread_ = CreateThread(nullptr, 0, &Release, this, 0, nullptr);
    }
    ~BriefHold() {
        WaitForSingleObject(thread_, INFINITE);
        FileHandle owner(thread_);
    }
    bool Held() const { return file_.Valid(); }

  private:
    static DWORD WINAPI Release(void* self) {
        auto* hold = static_cast<BriefHold*>(self);
        Sleep(hold->ms_);
        hold->file_.Close();
        return 0;
    }
    FileHandle file_;
    DWORD ms_;
    HANDLE thread_;
};

TEST(FileIO, APassingLockIsWaitedOut) {
    TempFolder dir;
    const std::wstring target = dir / L"note.txt";
    WriteFileReplacing(target, "old");
    {
        BriefHold hold(target, 100);
        ASSERT_TRUE(hold.Held());
        WriteFileReplacing(target, "new");
    }
    EXPECT_EQ(ReadWholeFile(target), "new");
    {
        BriefHold hold(target, 100);
        EXPECT_EQ(ReadWholeFile(target), "new");
    }
    EXPECT_EQ(dir.Listing(), L"note.txt;");
}

TEST(FileIO, ALockThatStaysIsReportedWithItsCode) {
    TempFolder dir;
    const std::wstring target = dir / L"note.txt";
    WriteFileReplacing(target, "old");
    FileHandle other(
        CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(other.Valid());
    try {
        WriteFileReplacing(target, "new");
        FAIL() << "no error";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.SystemCode(), DWORD(ERROR_SHARING_VIOLATION));
    }
    other.Close();
    EXPECT_EQ(ReadWholeFile(target), "old");
    EXPECT_EQ(dir.Listing(), L"note.txt;");
}

// A target just short of the limit: its longer temporary name takes the long form.
// The prefix itself is checked, not the write's outcome: Wine has no
// 260-character limit, so the write would succeed here without it too.
TEST(FileIO, ATemporaryNamePastTheLimitTakesTheLongForm) {
    TempFolder dir;
    HookReset reset;
    std::wstring seen;
    SetFileReplaceHookForTesting([&](const std::wstring& temp) {
        seen = temp;
        return 0ul;
    });
    const std::wstring target = dir / std::wstring(235 - dir.Path().size(), L'd') + L"\\note.txt";
    ASSERT_TRUE(::CreateDirectoryW(target.substr(0, target.size() - 9).c_str(), nullptr));
    WriteFileReplacing(target, "x");
    EXPECT_EQ(seen.rfind(L"\\\\?\\", 0), 0u) << seen;
    EXPECT_EQ(ReadWholeFile(target), "x");
}

// A program folder deeper than the classic 260-character limit.
TEST(FileIO, FilesBeyondTheClassicPathLimitAreWrittenReadAndReplaced) {
    TempFolder dir;
    std::vector<std::wstring> folders;
    std::wstring folder = dir / L"";
    while (folder.size() < 300) {
        folder += L"一个很长的文件夹名字 a long folder name\\";
        folders.push_back(folder);
        ASSERT_TRUE(::CreateDirectoryW(ExtendedLengthPath(folder).c_str(), nullptr))
            << folder.size();
    }
    const std::wstring note = folder + L"content.ini ";
    ASSERT_GT(note.size(), 300u);
    EXPECT_FALSE(FileExists(note));
    WriteFileReplacing(note, "abc\r\n");
    EXPECT_TRUE(FileExists(note));
    EXPECT_EQ(ReadWholeFile(note), "abc\r\n");
    WriteFileReplacing(note, "def\r\n"); // replaces through the temporary file
    EXPECT_EQ(ReadWholeFile(note), "def\r\n");
    CheckReadable(note);
    {
        MappedFile mapped(note);
        EXPECT_EQ(mapped.Size(), 5u);
    }
    {
        InPlaceFileWriter writer(note);
        writer.Write("in place\r\n");
        writer.Finish();
    }
    EXPECT_EQ(ReadWholeFile(note), "in place\r\n");

    ::DeleteFileW(ExtendedLengthPath(FullFilePath(note)).c_str());
    for (auto it = folders.rbegin(); it != folders.rend(); ++it)
        ::RemoveDirectoryW(ExtendedLengthPath(*it).c_str());
}

} // namespace
} // namespace tabulon

// The note file on disk: load or create, the writes, and the mends that keep
// a note from being lost (under Wine in the cross tree).
#include <windows.h>

#include <gtest/gtest.h>

#include "app/NoteFile.h"
#include "tests/file/TempFolder.h"
#include "platform/Handles.h"
#include "platform/FileIO.h"

namespace tabulon {
namespace {

using testing::TempFolder;

class FakeEditor : public NoteEditor {
  public:
    std::u16string text;
    std::u16string Text() const override { return text; }
    void SetText(std::u16string_view t) override { text = t; }
};

// A program folder with its Data folder.
struct NoteFolder {
    TempFolder dir;
    NoteFolder() { CreateDirectoryW((dir / L"Data").c_str(), nullptr); }
    std::wstring NotePath() const { return NoteFile::PathIn(dir.Path()); }
    std::wstring DiskPath() const { return dir / L"Data\\content.ini"; }
    std::string Disk() const { return ReadWholeFile(DiskPath()); }
    void Put(std::string_view bytes) const { WriteFileReplacing(DiskPath(), bytes); }
};

struct HookReset {
    ~HookReset() { SetFileReplaceHookForTesting({}); }
};

TEST(NoteFile, PathEndsInABlankButNamesContentIni) {
    EXPECT_EQ(NoteFile::PathIn(L"C:\\P\\"), L"C:\\P\\Data\\content.ini ");
    NoteFolder folder;
    FakeEditor editor;
    NoteFile note;
    note.Load(folder.NotePath(), editor);
    EXPECT_EQ(folder.dir.Listing(folder.dir / L"Data\\"), L"content.ini;");
    EXPECT_EQ(folder.Disk(), "\r\n"); // created from the empty editor
}

TEST(NoteFile, NewFileThenFirstTickEmptiesIt) {
    NoteFolder folder;
    FakeEditor editor;
    NoteFile note;
    note.Load(folder.NotePath(), editor);
    EXPECT_EQ(folder.Disk(), "\r\n");
    note.Write(editor);
    EXPECT_EQ(folder.Disk(), "");
}

TEST(NoteFile, WriteTableOnDisk) {
    struct Row {
        std::u16string text;
        bool exists;
        std::string file;
    };
    const Row rows[] = {
        {u"", true, ""},
        {u"", false, "\r\n"},
        {u"abc", true, "abc\r\n"},
        {u"abc", false, "abc\r\n"},
        {u"a\r\nb", true, "a\r\nb\r\n"},
        {u"a\r\nb", false, "a\r\nb\r\n"},
        {u"a\r\n", true, "a\r\n"},
        {u"a\r\n", false, "a\r\n\r\n"},
        {u"a\nb", true, "a\r\nb\r\n"},
        {u"a\nb", false, "a\nb\r\n"},
    };
    for (const Row& row : rows) {
        NoteFolder folder;
        FakeEditor editor;
        NoteFile note;
        note.Load(folder.NotePath(), editor); // creates the file
        if (!row.exists) DeleteFileW(folder.DiskPath().c_str());
        editor.text = row.text;
        note.Write(editor);
        EXPECT_EQ(folder.Disk(), row.file)
            << std::string(row.text.begin(), row.text.end()) << " existed=" << row.exists;
    }
}

TEST(NoteFile, LoadRules) {
    struct Row {
        std::string file;
        std::u16string text;
        std::string afterTick;
    };
    const Row rows[] = {
        {"abc", u"abc\r\n", "abc\r\n"},
        {"a\nb\n", u"a\r\nb\r\n", "a\r\nb\r\n"},
        {"", u"", ""},
        {std::string("ab\0cd\r\n", 7), u"ab\r\n", "ab\r\n"},
        {"\xA1\xCC\xA1\xC1\r\n", u"\u221A\u00D7\r\n", "\xA1\xCC\xA1\xC1\r\n"},
    };
    for (const Row& row : rows) {
        NoteFolder folder;
        folder.Put(row.file);
        FakeEditor editor;
        editor.text = u"stale";
        NoteFile note;
        note.Load(folder.NotePath(), editor);
        EXPECT_EQ(editor.text, row.text);
        EXPECT_FALSE(note.Guarded());
        note.Write(editor);
        EXPECT_EQ(folder.Disk(), row.afterTick);
    }
}

TEST(NoteFile, UnchangedNoteKeepsItsBytes) {
    const std::string file = "caf\xC3\xA9 \x80\xFF \xA1\xCC \x94\x39\xFC\x36 \xBD\xF1\r\n";
    NoteFolder folder;
    folder.Put(file);
    FakeEditor editor;
    NoteFile note;
    note.Load(folder.NotePath(), editor);
    note.Write(editor);
    EXPECT_EQ(folder.Disk(), file);
}

TEST(NoteFile, CharactersBeyondGbkComeBack) {
    NoteFolder folder;
    FakeEditor editor;
    NoteFile note;
    note.Load(folder.NotePath(), editor);
    editor.text = u"\U0001F600\U00020000\u4E00\r\n";
    note.Write(editor);
    FakeEditor second;
    NoteFile again;
    again.Load(folder.NotePath(), second);
    EXPECT_EQ(second.text, editor.text);
}

TEST(NoteFile, NoteThatFailedToLoadIsNeverOverwritten) {
    NoteFolder folder;
    folder.Put("precious\r\n");
    FakeEditor editor;
    NoteFile note;
    {
        // Another program holds the note open for writing while we start.
        FileHandle other(CreateFileW(folder.DiskPath().c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                     nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(other.Valid());
        EXPECT_THROW(note.Load(folder.NotePath(), editor), EFOpenError);
    }
    EXPECT_EQ(editor.text, u"");
    EXPECT_TRUE(note.Guarded());
    editor.text = u"typed after the failure";
    EXPECT_NO_THROW(note.Write(editor)); // skipped silently
    EXPECT_NO_THROW(note.Write(editor));
    EXPECT_EQ(folder.Disk(), "precious\r\n");
    // Once the unread note is gone there is nothing left to protect.
    DeleteFileW(folder.DiskPath().c_str());
    note.Write(editor);
    EXPECT_FALSE(note.Guarded());
    EXPECT_EQ(folder.Disk(), "typed after the failure\r\n");
}

TEST(NoteFile, TickThatCannotReadWritesNothing) {
    NoteFolder folder;
    folder.Put("old\r\n");
    FakeEditor editor;
    NoteFile note;
    note.Load(folder.NotePath(), editor);
    editor.text = u"new";
    {
        FileHandle other(CreateFileW(folder.DiskPath().c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                     nullptr, OPEN_EXISTING, 0, nullptr));
        try {
            note.Write(editor);
            FAIL() << "no error";
        } catch (const EFOpenError& e) {
            EXPECT_EQ(e.Message().rfind(L"Cannot open file \"" + folder.DiskPath() + L"\". ", 0),
                      0u);
        }
    }
    EXPECT_EQ(folder.Disk(), "old\r\n");
    note.Write(editor);
    EXPECT_EQ(folder.Disk(), "new\r\n");
}

TEST(NoteFile, ReadOnlyNoteIsReportedAndKept) {
    NoteFolder folder;
    folder.Put("old\r\n");
    FakeEditor editor;
    NoteFile note;
    note.Load(folder.NotePath(), editor);
    SetFileAttributesW(folder.DiskPath().c_str(), FILE_ATTRIBUTE_READONLY);
    editor.text = u"new";
    try {
        note.Write(editor);
        FAIL() << "no error";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message().rfind(L"Cannot create file \"" + folder.DiskPath() + L"\". ", 0), 0u);
    }
    EXPECT_EQ(folder.Disk(), "old\r\n");
    EXPECT_EQ(folder.dir.Listing(folder.dir / L"Data\\"), L"content.ini;");
}

TEST(NoteFile, FailureBeforeTheSwapKeepsTheOldNote) {
    NoteFolder folder;
    HookReset reset;
    folder.Put("old\r\n");
    FakeEditor editor;
    NoteFile note;
    note.Load(folder.NotePath(), editor);
    editor.text = u"new";
    SetFileReplaceHookForTesting(
        [](const std::wstring&) -> unsigned long { return ERROR_DISK_FULL; });
    EXPECT_THROW(note.Write(editor), EFCreateError);
    EXPECT_EQ(folder.Disk(), "old\r\n");
    EXPECT_EQ(folder.dir.Listing(folder.dir / L"Data\\"), L"content.ini;");
}

TEST(NoteFile, MissingDataFolderFailsEveryTickUntilItExists) {
    TempFolder dir;
    FakeEditor editor;
    NoteFile note;
    try {
        note.Load(NoteFile::PathIn(dir.Path()), editor);
        FAIL() << "no error";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(
            e.Message().rfind(L"Cannot create file \"" + (dir / L"Data\\content.ini") + L"\". ", 0),
            0u);
    }
    EXPECT_FALSE(note.Guarded());
    editor.text = u"typed";
    EXPECT_THROW(note.Write(editor), EFCreateError);
    CreateDirectoryW((dir / L"Data").c_str(), nullptr);
    note.Write(editor);
    EXPECT_EQ(ReadWholeFile(dir / L"Data\\content.ini"), "typed\r\n");
}

TEST(SingleErrorBox, ReportsOneFailureAtATime) {
    SingleErrorBox gate;
    int reports = 0;
    int attempts = 0;
    auto failingTick = [&] {
        ++attempts;
        throw EFCreateError(L"Cannot create file \"x\". Denied");
    };
    // The box of the first failure is open while two more ticks fail inside it.
    gate.Run(failingTick, [&](std::exception_ptr) {
        ++reports;
        EXPECT_TRUE(gate.Open());
        gate.Run(failingTick, [&](std::exception_ptr) { ++reports; });
        gate.Run(failingTick, [&](std::exception_ptr) { ++reports; });
    });
    EXPECT_EQ(attempts, 3);
    EXPECT_EQ(reports, 1);
    EXPECT_FALSE(gate.Open());
    // After the box is closed the next failure is reported again.
    gate.Run(failingTick, [&](std::exception_ptr) { ++reports; });
    EXPECT_EQ(reports, 2);
    gate.Run([] {}, [&](std::exception_ptr) { ++reports; });
    EXPECT_EQ(reports, 2);
}

} // namespace
} // namespace tabulon

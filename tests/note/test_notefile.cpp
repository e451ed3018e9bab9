// The note file on disk: load or create, the writes, and the mends that keep
// a note from being lost (under Wine in the cross tree).
#include <windows.h>

#include <gtest/gtest.h>

#include <new>
#include <utility>

#include "app/NoteFile.h"
#include "app/NoteText.h"
#include "tests/platform/TempFolder.h"
#include "platform/Handles.h"
#include "platform/FileIO.h"
#include "tests/note/WriteTable.h"

namespace tabulon {
namespace {

using testing::TempFolder;

// Like the rich edit control, raises its flag for every change made to
// `text`; ChangeUnflagged makes a change the flag misses.
class FakeEditor : public NoteEditor {
  public:
    std::u16string text;
    mutable int fetches = 0;
    mutable bool failNextTake = false; // as when a big note finds no memory
    std::u16string Text() const override {
        ++fetches;
        if (std::exchange(failNextTake, false)) throw std::bad_alloc();
        return text;
    }
    void SetText(std::u16string_view t) override {
        text = t;
        flag_ = true;
    }
    bool Modified() const override { return flag_ || text != textAtClear_; }
    void SetModified(bool modified) override {
        flag_ = modified;
        if (!modified) textAtClear_ = text;
    }
    void ChangeUnflagged(std::u16string_view t) {
        text = t;
        textAtClear_ = text;
    }

  private:
    bool flag_ = false;
    std::u16string textAtClear_;
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

// A note loaded into a fresh editor from `file` in a fresh folder, or a new
// note where there is no file.
struct LoadedNote {
    NoteFolder folder;
    FakeEditor editor;
    NoteFile note;
    LoadedNote() { note.Load(folder.NotePath(), editor); }
    explicit LoadedNote(std::string_view file) {
        folder.Put(file);
        note.Load(folder.NotePath(), editor);
    }
};

struct HookReset {
    ~HookReset() { SetFileReplaceHookForTesting({}); }
};

TEST(NoteFile, PathEndsInABlankButNamesContentIni) {
    EXPECT_EQ(NoteFile::PathIn(L"C:\\P\\"), L"C:\\P\\Data\\content.ini ");
    LoadedNote loaded;
    auto& [folder, editor, note] = loaded;
    EXPECT_EQ(folder.dir.Listing(folder.dir / L"Data\\"), L"content.ini;");
    EXPECT_EQ(folder.Disk(), "\r\n"); // created from the empty editor
}

TEST(NoteFile, NewFileThenFirstTickEmptiesIt) {
    LoadedNote loaded;
    auto& [folder, editor, note] = loaded;
    EXPECT_EQ(folder.Disk(), "\r\n");
    note.Write(editor);
    EXPECT_EQ(folder.Disk(), "");
}

TEST(NoteFile, WriteTableOnDisk) {
    for (const testing::WriteRow& row : testing::WriteTable()) {
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
        {"\xEF\xBB\xBF\xE4\xB8\xAD\r\n", u"\u4E2D\r\n", "\xD6\xD0\r\n"}, // UTF-8 goes back as GBK
        {std::string("\xFF\xFEx\0", 4), u"x\r\n", "x\r\n"},
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
    LoadedNote loaded(file);
    auto& [folder, editor, note] = loaded;
    note.Write(editor);
    EXPECT_EQ(folder.Disk(), file);
}

TEST(NoteFile, CharactersBeyondGbkComeBack) {
    LoadedNote loaded;
    auto& [folder, editor, note] = loaded;
    editor.text = u"\U0001F600\U00020000\u4E00\r\n";
    note.Write(editor);
    FakeEditor second;
    NoteFile again;
    again.Load(folder.NotePath(), second);
    EXPECT_EQ(second.text, editor.text);
}

// Held open for writing by another program: reading it fails.
FileHandle HoldForWriting(const std::wstring& path) {
    return FileHandle(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
}

// While the note cannot be read it is never written; what is typed meanwhile
// goes to the side file, and comes back with the note once it can be read.
TEST(NoteFile, TextTypedAfterAFailedLoadIsKept) {
    NoteFolder folder;
    folder.Put("precious\r\n");
    const std::wstring side = folder.dir / L"Data\\content.unsaved.ini";
    FakeEditor editor;
    NoteFile note;
    {
        FileHandle other = HoldForWriting(folder.DiskPath());
        ASSERT_TRUE(other.Valid());
        EXPECT_THROW(note.Load(folder.NotePath(), editor), EFOpenError);
        EXPECT_EQ(editor.text, u"");
        EXPECT_TRUE(note.Guarded());
        EXPECT_EQ(note.Write(editor), NoteFile::Saved::Nothing); // nothing typed, nothing aside
        EXPECT_FALSE(FileExists(side));
        editor.text = u"typed after the failure";
        EXPECT_EQ(note.Write(editor), NoteFile::Saved::Aside);
        EXPECT_EQ(note.SidePath(), side);
        EXPECT_EQ(ReadWholeFile(side), "typed after the failure\r\n");
        editor.text += u"\r\nmore";
        EXPECT_EQ(note.Write(editor), NoteFile::Saved::Aside);
        EXPECT_EQ(ReadWholeFile(side), "typed after the failure\r\nmore\r\n");
    }
    EXPECT_EQ(folder.Disk(), "precious\r\n");
    // Readable again: the note, then what was typed; the side file has done its job.
    EXPECT_EQ(note.Write(editor), NoteFile::Saved::Note);
    EXPECT_FALSE(note.Guarded());
    EXPECT_EQ(editor.text, u"precious\r\ntyped after the failure\r\nmore\r\n");
    EXPECT_EQ(folder.Disk(), "precious\r\ntyped after the failure\r\nmore\r\n");
    EXPECT_FALSE(FileExists(side));
}

TEST(NoteFile, TextSetAsideByAnEarlierRunComesBack) {
    NoteFolder folder;
    folder.Put(std::string("half\0rest", 9)); // NUL bytes: not a note we can keep whole
    WriteFileReplacing(folder.dir / L"Data\\content.unsaved.ini", "kept aside\r\n");
    FakeEditor editor;
    NoteFile note;
    try {
        note.Load(folder.NotePath(), editor);
        FAIL() << "no error";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message(), L"Cannot open file \"" + folder.DiskPath() +
                                   L"\". It holds NUL bytes: it is not a plain text note.");
    }
    EXPECT_EQ(editor.text, u"kept aside\r\n");
    editor.text += u"new";
    EXPECT_EQ(note.Write(editor), NoteFile::Saved::Aside);
    EXPECT_EQ(ReadWholeFile(folder.dir / L"Data\\content.unsaved.ini"), "kept aside\r\nnew\r\n");
    EXPECT_EQ(folder.Disk(), std::string("half\0rest", 9));
    // Once the unread note is gone there is nothing left to protect.
    DeleteFileW(folder.DiskPath().c_str());
    EXPECT_EQ(note.Write(editor), NoteFile::Saved::Note);
    EXPECT_FALSE(note.Guarded());
    EXPECT_EQ(folder.Disk(), "kept aside\r\nnew\r\n");
}

// The end of a session cannot wait for the user: a note that cannot be
// written leaves its text in the side file, and nothing is thrown.
TEST(NoteFile, EndOfSessionSetsTheTextAsideWhenTheNoteRefuses) {
    LoadedNote loaded("old\r\n");
    auto& [folder, editor, note] = loaded;
    SetFileAttributesW(folder.DiskPath().c_str(), FILE_ATTRIBUTE_READONLY);
    editor.text = u"last words";
    EXPECT_EQ(note.WriteOrSetAside(editor), NoteFile::Saved::Aside);
    EXPECT_EQ(folder.Disk(), "old\r\n");
    EXPECT_EQ(ReadWholeFile(folder.dir / L"Data\\content.unsaved-whole.ini"), "last words\r\n");
    SetFileAttributesW(folder.DiskPath().c_str(), FILE_ATTRIBUTE_NORMAL);
    editor.text += u" and more";
    EXPECT_EQ(note.WriteOrSetAside(editor), NoteFile::Saved::Note);
    EXPECT_EQ(folder.Disk(), "last words and more\r\n");
    // The older words aside must not come back over these at the next start.
    EXPECT_FALSE(FileExists(folder.dir / L"Data\\content.unsaved-whole.ini"));
}

// Moves the file's last write time by `seconds` (a sync client sets any time).
void ShiftWriteTime(const std::wstring& path, long long seconds) {
    FileHandle file(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    FILETIME written{};
    GetFileTime(file.Get(), nullptr, nullptr, &written);
    ULARGE_INTEGER t{{written.dwLowDateTime, written.dwHighDateTime}};
    t.QuadPart += seconds * 10000000;
    written = FILETIME{t.LowPart, t.HighPart};
    SetFileTime(file.Get(), nullptr, nullptr, &written);
}

// The side file's text comes back at start, the note kept as a version
// first: what was typed while the note could not be read follows it, the
// whole text of a failed save takes its place. Which file is newer decides
// nothing.
TEST(NoteFile, TextSetAsideComesBackAndTheNoteBecomesAVersion) {
    const struct {
        const wchar_t* side;
        long long sideShift;
        std::u16string text;
    } rows[] = {
        {L"content.unsaved.ini", -3600, u"note\r\naside\r\n"},
        {L"content.unsaved.ini", 3600, u"note\r\naside\r\n"},
        {L"content.unsaved-whole.ini", -3600, u"aside\r\n"},
        {L"content.unsaved-whole.ini", 3600, u"aside\r\n"},
    };
    for (const auto& row : rows) {
        NoteFolder folder;
        const std::wstring side = folder.dir / (std::wstring(L"Data\\") + row.side);
        folder.Put("note\r\n");
        WriteFileReplacing(side, "aside\r\n");
        ShiftWriteTime(side, row.sideShift);
        FakeEditor editor;
        NoteFile note;
        note.Load(folder.NotePath(), editor);
        EXPECT_TRUE(note.RestoredAside());
        EXPECT_EQ(editor.text, row.text);
        EXPECT_TRUE(note.KeptCopyPath().empty());
        const auto versions = NoteHistory(folder.NotePath()).List();
        ASSERT_EQ(versions.size(), 1u);
        EXPECT_EQ(ReadWholeFile(versions[0].path), "note\r\n");
        note.Write(editor);
        EXPECT_EQ(folder.Disk(), NoteFileBytes(row.text, true));
        EXPECT_FALSE(FileExists(side));
    }
}

// What a write would lose is kept first: select-all and a key keeps the
// text it replaced, a small edit soon after keeps nothing, and a version
// brought back keeps the editor's text, never the same text twice.
TEST(NoteFile, HistoryKeepsWhatAWriteWouldLose) {
    const std::string original = "first line\r\n" + std::string(600, 'a') + "\r\n";
    LoadedNote loaded(original);
    auto& [folder, editor, note] = loaded;
    const std::u16string loadedText = editor.text;
    const NoteHistory history(folder.NotePath());
    editor.text = u"x";
    note.Write(editor);
    auto versions = history.List();
    ASSERT_EQ(versions.size(), 1u);
    EXPECT_EQ(ReadWholeFile(versions[0].path), original);
    editor.text = u"xy";
    note.Write(editor);
    EXPECT_EQ(history.List().size(), 1u);
    note.RestoreVersion(editor, versions[0].path);
    EXPECT_EQ(editor.text, loadedText);
    versions = history.List();
    ASSERT_EQ(versions.size(), 2u);
    EXPECT_EQ(ReadWholeFile(versions[0].path), "xy\r\n");
    note.Write(editor);
    EXPECT_EQ(folder.Disk(), original);
    EXPECT_EQ(history.List().size(), 2u);
}

// An editor that cannot give its text raises before anything is written.
TEST(NoteFile, AFailedEditorReadWritesNothing) {
    struct BrokenEditor : FakeEditor {
        std::u16string Text() const override { throw Exception(L"no text"); }
    };
    NoteFolder folder;
    folder.Put("old\r\n");
    BrokenEditor editor;
    NoteFile note;
    note.Load(folder.NotePath(), editor);
    EXPECT_THROW(note.Write(editor), Exception);
    EXPECT_EQ(folder.Disk(), "old\r\n");
    EXPECT_EQ(folder.dir.Listing(folder.dir / L"Data\\"), L"content.ini;");
}

TEST(NoteFile, TickThatCannotReadWritesNothing) {
    LoadedNote loaded("old\r\n");
    auto& [folder, editor, note] = loaded;
    editor.text = u"new";
    {
        FileHandle other = HoldForWriting(folder.DiskPath());
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
    LoadedNote loaded("old\r\n");
    auto& [folder, editor, note] = loaded;
    SetFileAttributesW(folder.DiskPath().c_str(), FILE_ATTRIBUTE_READONLY);
    editor.text = u"new";
    try {
        note.Write(editor);
        FAIL() << "no error";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message().rfind(L"Cannot create file \"" + folder.DiskPath() + L"\". ", 0), 0u);
    }
    EXPECT_EQ(folder.Disk(), "old\r\n");
    // No temporary file is left; the text was kept as a version before the write.
    EXPECT_EQ(folder.dir.Listing(folder.dir / L"Data\\"), L"content.ini;history;");
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
    // The version before the write failed as well: told once.
    EXPECT_TRUE(note.TakeHistoryError());
    EXPECT_FALSE(note.TakeHistoryError());
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

// Counts the writes that reach the disk (each one replaces the file once).
// Counts the writes of the note (not of its history's versions).
struct WriteCounter {
    int writes = 0;
    WriteCounter() {
        SetFileReplaceHookForTesting([this](const std::wstring& temp) -> unsigned long {
            writes += temp.find(L"\\history\\") == std::wstring::npos;
            return 0;
        });
    }
    ~WriteCounter() { SetFileReplaceHookForTesting({}); }
};

TEST(NoteFileTicks, UnchangedNoteIsTakenEverySixthTickAndNeverWritten) {
    LoadedNote loaded("a\r\nb\r\n");
    auto& [folder, editor, note] = loaded;
    WriteCounter counter;
    // The first tick takes the loaded text: it gives the file's own bytes.
    note.Write(editor);
    EXPECT_EQ(editor.fetches, 1);
    for (int tick = 2; tick <= 13; ++tick)
        note.Write(editor);
    // Ticks 7 and 13 are the sixth after a taking tick.
    EXPECT_EQ(editor.fetches, 3);
    EXPECT_EQ(counter.writes, 0);
    EXPECT_EQ(folder.Disk(), "a\r\nb\r\n");
    // Leaving takes the text whatever the flag says, and writes nothing new.
    note.Write(editor, SaveReason::Exit);
    EXPECT_EQ(editor.fetches, 4);
    EXPECT_EQ(counter.writes, 0);
}

TEST(NoteFileTicks, AnEditIsWrittenOnceByTheNextTick) {
    NoteFolder folder;
    folder.Put("abc"); // no final line break: the first tick adds it
    FakeEditor editor;
    NoteFile note;
    note.Load(folder.NotePath(), editor);
    WriteCounter counter;
    note.Write(editor);
    EXPECT_EQ(counter.writes, 1);
    EXPECT_EQ(folder.Disk(), "abc\r\n");
    editor.text += u"d";
    note.Write(editor);
    EXPECT_EQ(counter.writes, 2);
    EXPECT_EQ(folder.Disk(), "abc\r\nd\r\n");
    note.Write(editor);
    note.Write(editor);
    EXPECT_EQ(counter.writes, 2);
    // Typed and undone between two ticks: the same bytes, nothing to write.
    editor.text += u"e";
    editor.text.pop_back();
    note.Write(editor);
    EXPECT_EQ(counter.writes, 2);
}

TEST(NoteFileTicks, AChangeTheFlagMissedArrivesWithinSixTicksAndAtExit) {
    LoadedNote loaded("old\r\n");
    auto& [folder, editor, note] = loaded;
    note.Write(editor);
    editor.ChangeUnflagged(u"new\r\n");
    int ticks = 0;
    while (folder.Disk() != "new\r\n" && ticks < 10) {
        note.Write(editor);
        ++ticks;
    }
    EXPECT_EQ(ticks, NoteFile::kTicksPerFetch);
    EXPECT_EQ(folder.Disk(), "new\r\n");

    editor.ChangeUnflagged(u"newer\r\n");
    note.Write(editor, SaveReason::Exit);
    EXPECT_EQ(folder.Disk(), "newer\r\n");
}

// Another program rewrites the file in place (same size, as a sync client might).
void RewriteInPlace(const std::wstring& path, std::string_view bytes) {
    FileHandle other(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(other.Valid());
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(other.Get(), bytes.data(), DWORD(bytes.size()), &written, nullptr));
}

TEST(NoteFileTicks, AChangeByAnotherProgramIsNeverOverwrittenUnseen) {
    LoadedNote loaded("mine\r\n");
    auto& [folder, editor, note] = loaded;
    note.Write(editor);
    // Nothing typed here: the editor takes their text, and nothing is written.
    RewriteInPlace(folder.DiskPath(), "MINE");
    {
        WriteCounter counter;
        EXPECT_EQ(note.Write(editor), NoteFile::Saved::Taken);
        EXPECT_EQ(counter.writes, 0);
    }
    EXPECT_EQ(editor.text, u"MINE\r\n");
    EXPECT_EQ(ReadWholeFile(NoteHistory(folder.NotePath()).List().at(0).path), "mine\r\n");
    // Both changed, twice within a second: ours is written, each of theirs
    // kept beside it in a file of its own.
    std::wstring kept;
    for (const auto& [theirs, ours] :
         {std::pair{"THEIRS", "MINE\r\n+\r\n"}, std::pair{"AGAIN!", "MINE\r\n++\r\n"}}) {
        editor.text += u"+";
        RewriteInPlace(folder.DiskPath(), theirs);
        EXPECT_EQ(note.Write(editor), NoteFile::Saved::Kept);
        EXPECT_EQ(folder.Disk(), ours);
        EXPECT_NE(note.KeptCopyPath(), kept);
        kept = note.KeptCopyPath();
        EXPECT_EQ(ReadWholeFile(kept).substr(0, 6), theirs);
    }
    // Deleted: written again, as a new file (the text as one line).
    DeleteFileW(folder.DiskPath().c_str());
    note.Write(editor);
    EXPECT_EQ(folder.Disk(), "MINE\r\n++\r\n");
}

TEST(NoteFileTicks, AFailedWriteIsRetriedWithoutTheEditor) {
    NoteFolder folder;
    HookReset reset;
    folder.Put("old\r\n");
    FakeEditor editor;
    NoteFile note;
    note.Load(folder.NotePath(), editor);
    editor.text = u"new\r\n";
    SetFileReplaceHookForTesting(
        [](const std::wstring&) -> unsigned long { return ERROR_SHARING_VIOLATION; });
    EXPECT_THROW(note.Write(editor), EFCreateError);
    SetFileReplaceHookForTesting({});
    const int fetches = editor.fetches;
    note.Write(editor);
    EXPECT_EQ(editor.fetches, fetches);
    EXPECT_EQ(folder.Disk(), "new\r\n");
}

TEST(NoteFileTicks, TextThatCouldNotBeTakenIsTakenAgain) {
    LoadedNote loaded("old\r\n");
    auto& [folder, editor, note] = loaded;
    note.Write(editor);
    editor.text = u"new\r\n";
    editor.failNextTake = true;
    EXPECT_THROW(note.Write(editor), std::bad_alloc);
    EXPECT_TRUE(editor.Modified());
    note.Write(editor);
    EXPECT_EQ(folder.Disk(), "new\r\n");
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

// Where the note lives when the program folder cannot be written.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/platform/TempFolder.h"
#include "platform/FileIO.h"
#include "platform/WorkFolder.h"

namespace tabulon {
namespace {

using testing::TempFolder;

struct ProgramFolderWithNote {
    TempFolder dir;
    ProgramFolderWithNote() {
        for (const wchar_t* sub : {L"Data", L"source", L"source\\DeskTopBG"})
            CreateDirectoryW((dir / sub).c_str(), nullptr);
        WriteFileReplacing(dir / L"Data\\content.ini", "mine\r\n");
        WriteFileReplacing(dir / L"source\\DeskTopBG\\A1.bmp", "BM one");
    }
};

TEST(WorkFolder, AWritableProgramFolderKeepsEverything) {
    ProgramFolderWithNote program;
    TempFolder local;
    std::wstring asked;
    const WorkFolderChoice choice =
        SetUpWorkFolder(program.dir.Path(), local.Path(), [&](const std::wstring& folder) {
            asked = folder;
            return true;
        });
    EXPECT_EQ(asked, program.dir / L"Data\\"); // where the note is written
    EXPECT_EQ(choice.folder, program.dir.Path());
    EXPECT_FALSE(choice.moved);
    EXPECT_EQ(WorkFolder(), program.dir.Path());
    EXPECT_EQ(local.Listing(), L"");
}

TEST(WorkFolder, AReadOnlyProgramFolderMovesTheNoteToLocalData) {
    ProgramFolderWithNote program;
    TempFolder local;
    const auto readOnly = [](const std::wstring&) { return false; };
    const std::wstring home = local / L"Tabulon\\";

    WorkFolderChoice choice = SetUpWorkFolder(program.dir.Path(), local.Path(), readOnly);
    EXPECT_EQ(choice.folder, home);
    EXPECT_TRUE(choice.moved);
    EXPECT_TRUE(choice.firstMove);
    EXPECT_EQ(WorkFolder(), home);
    EXPECT_EQ(ReadWholeFile(home + L"Data\\content.ini"), "mine\r\n");
    EXPECT_EQ(ReadWholeFile(home + L"source\\DeskTopBG\\A1.bmp"), "BM one");

    // Later starts: the note there is the note; only missing pictures come over.
    WriteFileReplacing(home + L"Data\\content.ini", "typed since\r\n");
    WriteFileReplacing(home + L"source\\DeskTopBG\\A1.bmp", "BM mixed");
    WriteFileReplacing(program.dir / L"source\\DeskTopBG\\A2.bmp", "BM two");
    choice = SetUpWorkFolder(program.dir.Path(), local.Path(), readOnly);
    EXPECT_TRUE(choice.moved);
    EXPECT_FALSE(choice.firstMove); // told once
    EXPECT_EQ(ReadWholeFile(home + L"Data\\content.ini"), "typed since\r\n");
    EXPECT_EQ(ReadWholeFile(home + L"source\\DeskTopBG\\A1.bmp"), "BM mixed");
    EXPECT_EQ(ReadWholeFile(home + L"source\\DeskTopBG\\A2.bmp"), "BM two");
    EXPECT_EQ(ReadWholeFile(program.dir / L"Data\\content.ini"), "mine\r\n"); // untouched
}

TEST(WorkFolder, WithoutDataTheProgramFolderItselfIsProbed) {
    TempFolder program;
    TempFolder local;
    std::wstring asked;
    SetUpWorkFolder(program.Path(), local.Path(), [&](const std::wstring& folder) {
        asked = folder;
        return false;
    });
    EXPECT_EQ(asked, program.Path());
    // No note to copy: the folders are ready for a new one.
    EXPECT_EQ(local.Listing(local / L"Tabulon\\"), L"Data;source;");
    SetUpWorkFolder(program.Path(), local.Path(), [](const std::wstring&) { return true; });
}

TEST(WorkFolder, TheProbeLeavesNothingBehind) {
    TempFolder dir;
    EXPECT_TRUE(FolderWritable(dir.Path()));
    EXPECT_EQ(dir.Listing(), L"");
    EXPECT_FALSE(FolderWritable(dir / L"missing\\"));
    const std::wstring local = LocalAppDataFolder();
    ASSERT_FALSE(local.empty());
    EXPECT_EQ(local.back(), L'\\');
}

} // namespace
} // namespace tabulon

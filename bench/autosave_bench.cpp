// One auto-save tick (editor text out of the rich edit control, line rules,
// GBK, the replace-in-one-step write) against writing the same bytes to a
// file with one WriteFile call. Runs under Wine; prints one table.
#include <windows.h>

#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/NoteFile.h"
#include "app/NoteHistory.h"
#include "app/NoteText.h"
#include "app/RichNoteEditor.h"
#include "platform/Handles.h"
#include "platform/FileIO.h"
#include "platform/SystemLibrary.h"

#include <richedit.h>

namespace {

using namespace tabulon;

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) / double(frequency.QuadPart);
}

// Median milliseconds of `runs` calls of `body`, each after an untimed `prepare`.
double Median(int runs, const std::function<void()>& body,
              const std::function<void()>& prepare = {}) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        if (prepare) prepare();
        double start = Now();
        body();
        times.push_back((Now() - start) * 1000.0);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// A note of about `units` UTF-16 units: mixed Chinese and ASCII lines.
std::u16string MakeNote(size_t units) {
    const std::u16string lines[] = {
        u"\u4ECA\u5929\u8981\u505A\u7684\u4E8B\uFF1A\u4E70\u83DC\u3001\u5199\u62A5\u544A\r\n",
        u"\u221A call the bank about the card, ask for Mr. Wang\r\n",
        u"\u00D7 \u53D6\u6D88\u5468\u4E94\u7684\u4F1A\u8BAE meeting moved to 3 pm\r\n",
        u"\r\n",
    };
    std::u16string note;
    note.reserve(units + 64);
    for (size_t i = 0; note.size() < units; ++i)
        note += lines[i % 4];
    return note;
}

void WriteOneCall(const std::wstring& path, const std::string& bytes, bool flush) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    WriteFile(file.Get(), bytes.data(), DWORD(bytes.size()), &written, nullptr);
    if (flush) FlushFileBuffers(file.Get());
}

// Types one character at the end of the note, or takes it away again, so
// that every tick writes a note of the same size.
void ToggleLastCharacter(HWND edit, bool& added) {
    SendMessageW(edit, EM_SETSEL, WPARAM(-1), LPARAM(-1));
    if (added) {
        CHARRANGE end{};
        SendMessageW(edit, EM_EXGETSEL, 0, LPARAM(&end));
        SendMessageW(edit, EM_SETSEL, WPARAM(end.cpMin - 1), LPARAM(end.cpMin));
        ReplaceSelection(edit, L"");
    } else {
        ReplaceSelection(edit, L"x");
    }
    added = !added;
}

// A tick right after a character was typed, with the note's history and
// without it, taken in turn: no version is due, as the newest is seconds old
// and the edit removes nothing (most ticks of a session).
void HistoryCost(HWND edit, RichNoteEditor& editor, const std::wstring& folder, int runs) {
    const std::wstring with = folder + L"with\\", without = folder + L"without\\";
    for (const std::wstring& f : {with, without}) {
        CreateDirectoryW(f.c_str(), nullptr);
        CreateDirectoryW((f + L"Data").c_str(), nullptr);
    }
    NoteFile kept(NoteFile::Versions::Kept), plain(NoteFile::Versions::None);
    kept.Load(NoteFile::PathIn(with), editor); // no file yet: creates it
    plain.Load(NoteFile::PathIn(without), editor);
    bool added = false;
    // The first edit keeps a version (the history is empty): after it, none is due.
    ToggleLastCharacter(edit, added);
    kept.Write(editor);
    plain.Write(editor);
    std::vector<double> withTimes, withoutTimes;
    for (int i = 0; i < runs; ++i) {
        for (auto [note, times] :
             {std::pair{&kept, &withTimes}, std::pair{&plain, &withoutTimes}}) {
            ToggleLastCharacter(edit, added);
            const double start = Now();
            note->Write(editor);
            times->push_back((Now() - start) * 1000.0);
        }
    }
    std::sort(withTimes.begin(), withTimes.end());
    std::sort(withoutTimes.begin(), withoutTimes.end());
    const double a = withTimes[withTimes.size() / 2], b = withoutTimes[withoutTimes.size() / 2];
    const std::vector<NoteHistory::Version> versions = kept.History()->List();
    std::printf("\nedited tick on the 1 MB note, no version due (median ms): with the history "
                "%.2f, without %.2f: %.2fx (target <= 1.2x); versions kept: %zu\n",
                a, b, a / b, versions.size());
    for (const NoteHistory::Version& v : versions)
        DeleteFileW(v.path.c_str());
    RemoveDirectoryW(kept.History()->Folder().c_str());
    for (const std::wstring& f : {with, without}) {
        DeleteFileW((f + L"Data\\content.ini").c_str());
        RemoveDirectoryW((f + L"Data").c_str());
        RemoveDirectoryW(f.c_str());
    }
}

} // namespace

int main() {
    // The control the note editor uses, in its plain-text mode.
    ModuleHandle richEdit = LoadSystemLibrary(L"msftedit.dll");

    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder =
        std::wstring(temp) + L"tabulon-autosave-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    CreateDirectoryW((folder + L"Data").c_str(), nullptr);
    const std::wstring plain = folder + L"plain.bin";

    std::printf("auto-save tick vs one WriteFile of the same bytes (median ms, Wine)\n");
    std::printf(
        "get text: out of the rich edit control; encode: line rules and GBK; one call: one\n"
        "WriteFile of the note's bytes (+flush: and FlushFileBuffers); unchanged: a tick with\n"
        "nothing typed since the last (1 in 6 takes the text anyway; mean/6 averages them);\n"
        "edited: a tick right after one character was typed (takes the text, writes it);\n"
        "exit: the save on leaving (always takes the text)\n");
    std::printf("%-6s %9s %8s %7s %8s %8s | %9s %6s %7s | %8s %6s | %7s\n", "note", "bytes",
                "get text", "encode", "one call", "+flush", "unchanged", "ratio", "mean/6",
                "edited", "ratio", "exit");
    const struct {
        const char* name;
        size_t units;
        int runs;
    } sizes[] = {
        // The mixed text takes about 1.22 GBK bytes per UTF-16 unit: these
        // give note files of about 10 KB, 1 MB and 10 MB.
        {"10 KB", 8400, 101},
        {"1 MB", 860 * 1024, 25},
        {"10 MB", 8600 * 1024, 7},
    };
    struct {
        HWND edit = nullptr;
        int runs = 0;
    } history; // the 1 MB note's control, for the history's cost below the table
    for (const auto& size : sizes) {
        // A fresh control each time, as at start-up: the text goes into an
        // empty editor (replacing megabytes of text is very slow under Wine).
        HWND edit = CreateWindowExW(0, L"RICHEDIT50W", L"", WS_POPUP | ES_MULTILINE, 0, 0, 358, 287,
                                    nullptr, nullptr, nullptr, nullptr);
        if (!edit) {
            std::fprintf(stderr, "no rich edit control\n");
            return 1;
        }
        SendMessageW(edit, EM_SETTEXTMODE, TM_PLAINTEXT | TM_MULTILEVELUNDO | TM_MULTICODEPAGE, 0);
        LiftTextLimit(edit);
        RichNoteEditor editor(edit);
        {
            const std::u16string source = MakeNote(size.units);
            editor.SetText(source);
            if (editor.Text() != source)
                std::printf("  (editor lost text: %zu of %zu units)\n", editor.Text().size(),
                            source.size());
        }
        DeleteFileW((folder + L"Data\\content.ini").c_str());
        NoteFile note;
        note.Load(NoteFile::PathIn(folder), editor); // no file yet: creates it
        note.Write(editor);
        const std::string bytes = NoteFileBytes(editor.Text(), true);

        std::u16string text;
        const double getText = Median(size.runs, [&] { text = editor.Text(); });
        const double encode = Median(size.runs, [&] { NoteFileBytes(text, true); });
        std::u16string().swap(text); // a 32-bit process has no room to spare at 10 MB
        const double oneCall = Median(size.runs, [&] { WriteOneCall(plain, bytes, false); });
        const double oneCallFlush = Median(size.runs, [&] { WriteOneCall(plain, bytes, true); });
        const double unchanged = Median(size.runs, [&] { note.Write(editor); });
        // Six ticks in a row hold exactly one that takes the text.
        const double sixTicks = Median(size.runs / 3 + 1, [&] {
            for (int i = 0; i < NoteFile::kTicksPerFetch; ++i)
                note.Write(editor);
        });
        // One character typed at the end, then removed again before the next
        // run, so every run edits a note of the same size.
        bool added = false;
        const double edited = Median(
            size.runs, [&] { note.Write(editor); }, [&] { ToggleLastCharacter(edit, added); });
        const double exitSave = Median(size.runs, [&] { note.Write(editor, SaveReason::Exit); });
        std::printf(
            "%-6s %9zu %8.2f %7.2f %8.2f %8.2f | %9.2f %5.2fx %7.2f | %8.2f %5.1fx | %7.2f\n",
            size.name, bytes.size(), getText, encode, oneCall, oneCallFlush, unchanged,
            unchanged / oneCall, sixTicks / NoteFile::kTicksPerFetch, edited, edited / oneCall,
            exitSave);
        if (ReadWholeFile(note.Path()) != NoteFileBytes(editor.Text(), true))
            std::printf("  (note file differs!)\n");
        for (const NoteHistory::Version& v : note.History()->List())
            DeleteFileW(v.path.c_str());
        RemoveDirectoryW(note.History()->Folder().c_str());
        if (size.units == sizes[1].units)
            history = {edit, size.runs};
        else
            DestroyWindow(edit);
    }
    if (history.edit) {
        RichNoteEditor editor(history.edit);
        HistoryCost(history.edit, editor, folder, history.runs);
        DestroyWindow(history.edit);
    }
    DeleteFileW(plain.c_str());
    DeleteFileW((folder + L"Data\\content.ini").c_str());
    RemoveDirectoryW((folder + L"Data").c_str());
    RemoveDirectoryW(folder.c_str());
    return 0;
}

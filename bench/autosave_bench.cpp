// One auto-save tick (editor text out of the rich edit control, line rules,
// GBK, the replace-in-one-step write) against writing the same bytes to a
// file with one WriteFile call. Runs under Wine; prints one table.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/NoteFile.h"
#include "app/NoteText.h"
#include "app/RichNoteEditor.h"
#include "platform/Handles.h"
#include "platform/FileIO.h"

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

// Median milliseconds of `runs` calls.
double Median(int runs, const std::function<void()>& body) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
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

} // namespace

int main() {
    LoadLibraryW(L"riched20.dll");

    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder =
        std::wstring(temp) + L"tabulon-autosave-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    CreateDirectoryW((folder + L"Data").c_str(), nullptr);
    const std::wstring plain = folder + L"plain.bin";

    std::printf("auto-save tick vs one WriteFile of the same bytes (median ms, Wine)\n");
    std::printf("get text: out of the rich edit control; encode: line rules and GBK; tick: the\n"
                "whole auto-save (get text, encode, open check, temporary file, flush, swap)\n");
    std::printf("%-8s %10s %9s %9s %9s %9s %11s %8s\n", "note", "bytes", "get text", "encode",
                "tick", "one call", "call+flush", "ratio");
    const struct {
        const char* name;
        size_t units;
        int runs;
    } sizes[] = {
        // The mixed text takes about 1.22 GBK bytes per UTF-16 unit: these
        // give note files of about 10 KB, 1 MB and 10 MB.
        {"10 KB", 8400, 101},
        {"1 MB", 860 * 1024, 15},
        {"10 MB", 8600 * 1024, 5},
    };
    for (const auto& size : sizes) {
        // A fresh control each time, as at start-up: the text goes into an
        // empty editor (replacing megabytes of text is very slow under Wine).
        HWND edit = CreateWindowExW(0, L"RichEdit20W", L"", WS_POPUP | ES_MULTILINE, 0, 0, 358, 287,
                                    nullptr, nullptr, nullptr, nullptr);
        if (!edit) {
            std::fprintf(stderr, "no rich edit control\n");
            return 1;
        }
        LiftTextLimit(edit);
        RichNoteEditor editor(edit);
        const std::u16string source = MakeNote(size.units);
        double loadStart = Now();
        editor.SetText(source);
        double load = (Now() - loadStart) * 1000.0;
        if (editor.Text() != source)
            std::printf("  (editor lost text: %zu of %zu units)\n", editor.Text().size(),
                        source.size());
        DeleteFileW((folder + L"Data\\content.ini").c_str());
        NoteFile note;
        note.Load(NoteFile::PathIn(folder), editor); // no file yet: creates it
        note.Write(editor);
        const std::string bytes = NoteFileBytes(editor.Text(), true);

        std::u16string text;
        double getText = Median(size.runs, [&] { text = editor.Text(); });
        double encode = Median(size.runs, [&] { NoteFileBytes(text, true); });
        double tick = Median(size.runs, [&] { note.Write(editor); });
        double oneCall = Median(size.runs, [&] { WriteOneCall(plain, bytes, false); });
        double oneCallFlush = Median(size.runs, [&] { WriteOneCall(plain, bytes, true); });
        std::printf("%-8s %10zu %9.2f %9.2f %9.2f %9.2f %11.2f %7.2fx\n", size.name, bytes.size(),
                    getText, encode, tick, oneCall, oneCallFlush, tick / oneCall);
        if (ReadWholeFile(note.Path()) != bytes) std::printf("  (note file differs!)\n");
        std::printf("%-8s load into the editor %.0f ms; tick without the control's part %.2f ms "
                    "(%.2fx)\n",
                    "", load, tick - getText, (tick - getText) / oneCall);
        DestroyWindow(edit);
    }
    DeleteFileW(plain.c_str());
    DeleteFileW((folder + L"Data\\content.ini").c_str());
    RemoveDirectoryW((folder + L"Data").c_str());
    RemoveDirectoryW(folder.c_str());
    return 0;
}

#include "app/NoteFile.h"

#include "app/NoteSideFile.h"
#include "app/NoteText.h"
#include "platform/FileIO.h"

namespace tabulon {

std::u16string NoteFile::ReadNote() const {
    const std::string bytes = ReadWholeFile(path_);
    try {
        return NoteTextFromFile(bytes);
    } catch (const ENoteNotText& e) {
        throw EFOpenError(L"Cannot open file \"" + FullFilePath(path_) + L"\". " + e.Message());
    }
}

void NoteFile::Load(const std::wstring& path, NoteEditor& editor) {
    path_ = path;
    if (FileExists(path_)) {
        state_ = State::LoadFailed; // until the read below succeeds
        std::u16string text;
        try {
            text = ReadNote();
        } catch (const Exception&) {
            // Words set aside by an earlier run come back, so that the next
            // side-file write keeps them.
            if (auto aside = NoteSideFile(path_).Read()) editor.SetText(*aside);
            throw;
        }
        editor.SetText(text);
        state_ = State::Ready;
    } else {
        // Nothing on disk can be lost, so later writes may go ahead even if
        // this first one fails (e.g. the folder Data is missing).
        state_ = State::Ready;
        WriteFileReplacing(path_, NoteFileBytes(editor.Text(), false));
    }
}

std::wstring NoteFile::SidePath() const {
    return NoteSideFile(path_).Path();
}

NoteFile::Saved NoteFile::SetAside(const NoteEditor& editor) const {
    const std::u16string text = editor.Text();
    // An empty editor has nothing to keep, and must not empty a side file.
    if (text.empty()) return Saved::Nothing;
    NoteSideFile(path_).Save(text);
    return Saved::Aside;
}

NoteFile::Saved NoteFile::Write(NoteEditor& editor) {
    if (state_ == State::Unset) return Saved::Nothing;
    if (state_ == State::LoadFailed) {
        if (!FileExists(path_)) {
            state_ = State::Ready; // the unread note is gone; nothing left to protect
        } else {
            std::u16string note;
            try {
                note = ReadNote();
            } catch (const EFOpenError&) {
                return SetAside(editor);
            }
            // Readable at last: the note comes first, then what was typed
            // meanwhile; both reach the file below.
            editor.SetText(note + JoinedLines(editor.Text()));
            state_ = State::Ready;
            Write(editor);
            NoteSideFile(path_).Remove();
            return Saved::Note;
        }
    }
    const bool exists = FileExists(path_);
    if (exists) CheckReadable(path_);
    WriteFileReplacing(path_, NoteFileBytes(editor.Text(), exists));
    return Saved::Note;
}

NoteFile::Saved NoteFile::WriteOrSetAside(NoteEditor& editor) noexcept {
    try {
        return Write(editor);
    } catch (...) {
    }
    try {
        return SetAside(editor);
    } catch (...) {
        return Saved::Nothing;
    }
}

} // namespace tabulon

#include "app/NoteFile.h"

#include "app/NoteText.h"
#include "platform/FileIO.h"

namespace tabulon {

void NoteFile::Load(const std::wstring& path, NoteEditor& editor) {
    path_ = path;
    if (FileExists(path_)) {
        state_ = State::LoadFailed; // until the read below succeeds
        std::string bytes = ReadWholeFile(path_);
        editor.SetText(NoteTextFromFile(bytes));
        state_ = State::Ready;
    } else {
        // Nothing on disk can be lost, so later writes may go ahead even if
        // this first one fails (e.g. the folder Data is missing).
        state_ = State::Ready;
        WriteFileReplacing(path_, NoteFileBytes(editor.Text(), false));
    }
}

void NoteFile::Write(const NoteEditor& editor) {
    if (state_ == State::Unset) return;
    if (state_ == State::LoadFailed) {
        if (FileExists(path_)) return;
        state_ = State::Ready; // the unread note is gone; nothing left to protect
    }
    const bool exists = FileExists(path_);
    if (exists) CheckReadable(path_);
    WriteFileReplacing(path_, NoteFileBytes(editor.Text(), exists));
}

} // namespace tabulon

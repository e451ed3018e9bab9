#include "app/NoteFile.h"

#include "app/NoteText.h"
#include "platform/FileIO.h"

namespace tabulon {

void NoteFile::Load(const std::wstring& path, NoteEditor& editor) {
    path_ = path;
    held_ = Held{};
    onDisk_ = false;
    ticksSinceFetch_ = 0;
    if (FileExists(path_)) {
        state_ = State::LoadFailed; // until the read below succeeds
        std::string bytes = ReadWholeFile(path_);
        editor.SetText(NoteTextFromFile(bytes));
        state_ = State::Ready;
        // The editor's text may differ from the bytes (line ends, a final
        // line break): the first save takes it, and writes only if it does.
        held_.bytes = std::move(bytes);
        held_.forExistingFile = true;
        RememberFile();
    } else {
        // Nothing on disk can be lost, so later writes may go ahead even if
        // this first one fails (e.g. the folder Data is missing).
        state_ = State::Ready;
        Fetch(editor, false);
        WriteHeldBytes(false);
    }
}

void NoteFile::Write(NoteEditor& editor, SaveReason reason) {
    if (state_ == State::Unset) return;
    if (state_ == State::LoadFailed) {
        if (FileExists(path_)) return;
        state_ = State::Ready; // the unread note is gone; nothing left to protect
    }
    const bool exists = FileExists(path_);
    if (NeedsFetch(editor, exists, reason))
        Fetch(editor, exists);
    else
        ++ticksSinceFetch_;
    if (exists && FileHoldsHeldBytes()) return;
    WriteHeldBytes(exists);
}

bool NoteFile::NeedsFetch(const NoteEditor& editor, bool fileExists, SaveReason reason) const {
    return reason == SaveReason::Exit || !held_.current || held_.forExistingFile != fileExists ||
           editor.Modified() || ticksSinceFetch_ + 1 >= kTicksPerFetch;
}

void NoteFile::Fetch(NoteEditor& editor, bool fileExists) {
    std::string bytes = NoteFileBytes(editor.Text(), fileExists);
    // Lowered only once the text is safely taken (a failure leaves it up for
    // the next tick); nothing can change the text in between.
    editor.SetModified(false);
    ticksSinceFetch_ = 0;
    held_.current = true;
    held_.forExistingFile = fileExists;
    if (bytes == held_.bytes) return; // the file may still hold them
    held_.bytes = std::move(bytes);
    onDisk_ = false;
}

bool NoteFile::FileHoldsHeldBytes() const {
    // Size and time as our last write left them: nobody has written since.
    FileStamp now;
    return onDisk_ && GetFileStamp(path_, now) && now == stamp_;
}

void NoteFile::WriteHeldBytes(bool fileExists) {
    if (fileExists) CheckReadable(path_);
    onDisk_ = false;
    WriteFileReplacing(path_, held_.bytes);
    RememberFile();
}

void NoteFile::RememberFile() {
    onDisk_ = GetFileStamp(path_, stamp_);
}

} // namespace tabulon

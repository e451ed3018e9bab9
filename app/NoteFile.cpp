#include "app/NoteFile.h"

#include "app/NoteSideFile.h"
#include "app/NoteText.h"
#include "platform/FileIO.h"

namespace tabulon {

std::u16string NoteFile::ReadNote() const {
    return DecodeNote(ReadWholeFile(path_));
}

std::u16string NoteFile::DecodeNote(const std::string& bytes) const {
    try {
        return NoteTextFromFile(bytes);
    } catch (const ENoteNotText& e) {
        throw EFOpenError(L"Cannot open file \"" + FullFilePath(path_) + L"\". " + e.Message());
    }
}

void NoteFile::Load(const std::wstring& path, NoteEditor& editor) {
    path_ = path;
    held_ = Held{};
    onDisk_ = false;
    ticksSinceFetch_ = 0;
    if (FileExists(path_)) {
        state_ = State::LoadFailed; // until the read below succeeds
        std::string bytes;
        std::u16string text;
        try {
            bytes = ReadWholeFile(path_);
            text = DecodeNote(bytes);
        } catch (const Exception&) {
            // Words set aside by an earlier run come back, so that the next
            // side-file write keeps them.
            if (auto aside = NoteSideFile(path_).Read()) editor.SetText(*aside);
            throw;
        }
        editor.SetText(text);
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

NoteFile::Saved NoteFile::Write(NoteEditor& editor, SaveReason reason) {
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
            Write(editor, SaveReason::Exit); // the text changed just now: take it
            NoteSideFile(path_).Remove();
            return Saved::Note;
        }
    }
    const bool exists = FileExists(path_);
    if (NeedsFetch(editor, exists, reason))
        Fetch(editor, exists);
    else
        ++ticksSinceFetch_;
    if (!(exists && FileHoldsHeldBytes())) WriteHeldBytes(exists);
    return Saved::Note;
}

NoteFile::Saved NoteFile::WriteOrSetAside(NoteEditor& editor) noexcept {
    try {
        return Write(editor, SaveReason::Exit);
    } catch (...) {
    }
    try {
        return SetAside(editor);
    } catch (...) {
        return Saved::Nothing;
    }
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

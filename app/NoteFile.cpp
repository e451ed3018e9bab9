#include "app/NoteFile.h"

#include <optional>

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
    stampKnown_ = false;
    ticksSinceFetch_ = 0;
    restoredAside_ = false;
    sideFileStale_ = false;
    keptCopy_.clear();
    const std::optional<std::u16string> aside = NoteSideFile(path_).Read();
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
            if (aside) editor.SetText(*aside);
            throw;
        }
        editor.SetText(text);
        state_ = State::Ready;
        // The editor's text may differ from the bytes (line ends, a final
        // line break): the first save takes it, and writes only if it does.
        held_.bytes = std::move(bytes);
        held_.forExistingFile = true;
        synced_ = NoteFileBytes(text, true);
        RememberFile();
        // The side file is written only when the note could not be: it
        // holds the whole text of a later moment than the note.
        if (aside && NoteFileBytes(*aside, true) != synced_) {
            // A note written after the side file (by another program, say a
            // sync client) is kept beside it before the side file's text
            // takes its place. Should that fail, the note stays in the editor
            // and the side file for the next start.
            FileStamp side;
            if (GetFileStamp(SidePath(), side) && side.lastWrite < stamp_.lastWrite)
                keptCopy_ = NoteSideFile(path_).KeepCopy(held_.bytes);
            restoredAside_ = true;
            editor.SetText(*aside);
        }
        sideFileStale_ = aside.has_value();
    } else {
        // Nothing on disk can be lost, so later writes may go ahead even if
        // this first one fails (e.g. the folder Data is missing).
        state_ = State::Ready;
        if (aside) {
            sideFileStale_ = true;
            restoredAside_ = !aside->empty();
            editor.SetText(*aside);
        }
        Fetch(editor, false);
        WriteHeldBytes(false);
    }
}

std::wstring NoteFile::SidePath() const {
    return NoteSideFile(path_).Path();
}

NoteFile::Saved NoteFile::SetAside(const NoteEditor& editor) {
    const std::u16string text = editor.Text();
    // An empty editor has nothing to keep, and must not empty a side file.
    if (text.empty()) return Saved::Nothing;
    NoteSideFile(path_).Save(text);
    // Should the note take a later text after all, this one must not come
    // back over it at the next start.
    if (state_ == State::Ready) sideFileStale_ = true;
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
            sideFileStale_ = true;
            return Write(editor, SaveReason::Exit); // the text changed just now: take it
        }
    }
    const bool exists = FileExists(path_);
    Saved saved = Saved::Note;
    if (exists && ChangedByOthers()) {
        saved = MergeOthersChange(editor);
        if (saved == Saved::Taken) return saved;
    }
    if (NeedsFetch(editor, exists, reason))
        Fetch(editor, exists);
    else
        ++ticksSinceFetch_;
    if (!(exists && FileHoldsHeldBytes())) WriteHeldBytes(exists);
    if (held_.current) SideFileDone();
    return saved;
}

bool NoteFile::ChangedByOthers() const {
    FileStamp now;
    return stampKnown_ && GetFileStamp(path_, now) && now != stamp_;
}

NoteFile::Saved NoteFile::MergeOthersChange(NoteEditor& editor) {
    std::string theirs = ReadWholeFile(path_);
    if (theirs == disk_) {
        // Touched, not changed: what we knew of the file still holds.
        GetFileStamp(path_, stamp_);
        return Saved::Note;
    }
    Fetch(editor, true);
    if (held_.bytes == synced_) {
        // Nothing typed here since: their text is the note now, as if loaded.
        try {
            const std::u16string text = DecodeNote(theirs);
            editor.SetText(text);
            editor.SetModified(false);
            synced_ = NoteFileBytes(text, true);
            held_ = Held{std::move(theirs), true, false};
            RememberFile();
            return Saved::Taken;
        } catch (const EFOpenError&) {
            // Not a text the editor can take whole: it is kept beside instead.
        }
    }
    keptCopy_ = NoteSideFile(path_).KeepCopy(theirs);
    return Saved::Kept;
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
    synced_ = held_.bytes;
    RememberFile();
}

void NoteFile::RememberFile() {
    onDisk_ = stampKnown_ = GetFileStamp(path_, stamp_);
    disk_ = held_.bytes;
}

void NoteFile::SideFileDone() {
    if (!sideFileStale_) return;
    NoteSideFile(path_).Remove();
    sideFileStale_ = false;
}

} // namespace tabulon

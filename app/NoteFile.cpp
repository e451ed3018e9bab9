#include "app/NoteFile.h"

#include <optional>

#include "app/NoteHistoryRules.h"
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
    if (keepHistory_) history_.emplace(path_);
    // What earlier runs set aside: the whole text of a failed save, and what
    // was typed while the note could not be read, which came after it.
    const std::optional<std::u16string> whole = NoteSideFile(path_, SideFileKind::Whole).Read();
    const std::optional<std::u16string> typed = NoteSideFile(path_, SideFileKind::Typed).Read();
    const bool aside = whole || typed;
    const SideFileKind asideKind = whole ? SideFileKind::Whole : SideFileKind::Typed;
    const std::u16string asideText =
        whole.value_or(u"") + (typed ? JoinedLines(*typed) : std::u16string());
    editorAside_ = SideFileKind::Typed;
    if (FileExists(path_)) {
        state_ = State::LoadFailed; // until the read below succeeds
        std::string bytes;
        std::u16string text;
        try {
            bytes = ReadWholeFile(path_);
            text = DecodeNote(bytes);
        } catch (const Exception&) {
            // Words set aside by an earlier run come back, so that the next
            // side-file write keeps them, as what they are.
            if (aside) {
                editor.SetText(asideText);
                editorAside_ = asideKind;
            }
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
        if (aside) {
            // Set-aside text that the note holds already changes nothing.
            const bool same =
                NoteFileBytes(asideKind == SideFileKind::Whole ? asideText
                                                               : text + JoinedLines(asideText),
                              true) == synced_;
            if (!same) {
                restoredAside_ = true;
                editor.SetText(BringBack(text, held_.bytes, asideText, asideKind));
            }
            sideFileStale_ = true;
        }
    } else {
        // Nothing on disk can be lost, so later writes may go ahead even if
        // this first one fails (e.g. the folder Data is missing).
        state_ = State::Ready;
        if (aside) {
            sideFileStale_ = true;
            restoredAside_ = !asideText.empty();
            editor.SetText(asideText);
        }
        Fetch(editor, false);
        WriteHeldBytes(false);
    }
}

std::u16string NoteFile::BringBack(const std::u16string& note, std::string_view noteBytes,
                                   const std::u16string& aside, SideFileKind kind) {
    // Which of the two is newer is never guessed: the note is kept either
    // way, and without a version of it, nothing of it is dropped.
    const bool kept = KeepVersion(noteBytes);
    if (kind == SideFileKind::Whole && kept) return aside;
    return note + JoinedLines(aside);
}

bool NoteFile::KeepVersion(std::string_view bytes) {
    if (!history_ || bytes.empty()) return true;
    try {
        history_->Keep(bytes);
        return true;
    } catch (const Exception& e) {
        if (historyError_.empty()) historyError_ = e.Message();
    } catch (const std::exception&) {
        if (historyError_.empty()) historyError_ = L"Out of memory";
    }
    return false;
}

std::optional<std::wstring> NoteFile::TakeHistoryError() {
    if (historyError_.empty() || historyErrorTaken_) return std::nullopt;
    historyErrorTaken_ = true;
    return historyError_;
}

void NoteFile::RestoreVersion(NoteEditor& editor, const std::wstring& versionPath) {
    const std::u16string text = DecodeNote(ReadWholeFile(versionPath));
    const std::string current = NoteFileBytes(editor.Text(), true);
    if (history_ && !current.empty()) history_->Keep(current);
    editor.SetText(text);
}

SideFileKind NoteFile::AsideKind() const {
    // A loaded note's editor holds the whole text; an unread one's holds what
    // was typed, unless it started from a whole text set aside earlier.
    return state_ == State::Ready ? SideFileKind::Whole : editorAside_;
}

std::wstring NoteFile::SidePath() const {
    return NoteSideFile(path_, AsideKind()).Path();
}

NoteFile::Saved NoteFile::SetAside(const NoteEditor& editor) {
    const std::u16string text = editor.Text();
    // An empty editor has nothing to keep, and must not empty a side file.
    if (text.empty()) return Saved::Nothing;
    const SideFileKind kind = AsideKind();
    NoteSideFile(path_, kind).Save(text);
    // The whole text holds what was typed aside before.
    if (kind == SideFileKind::Whole) NoteSideFile(path_, SideFileKind::Typed).Remove();
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
            std::string bytes;
            std::u16string note;
            try {
                bytes = ReadWholeFile(path_);
                note = DecodeNote(bytes);
            } catch (const EFOpenError&) {
                return SetAside(editor);
            }
            // Readable at last: the note comes first, then what was typed
            // meanwhile; both reach the file below.
            editor.SetText(BringBack(note, bytes, editor.Text(), editorAside_));
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
    if (!(exists && FileHoldsHeldBytes())) {
        // disk_ is the file's content as long as its stamp is ours.
        if (exists && history_ && stampKnown_ &&
            WriteKeepsVersion(history_->NewestTime(), NoteHistory::Now(), disk_, held_.bytes))
            KeepVersion(disk_);
        WriteHeldBytes(exists);
    }
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
        // Nothing typed here since: their text is the note now, as if
        // loaded, and ours a version.
        try {
            const std::u16string text = DecodeNote(theirs);
            KeepVersion(disk_);
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
    keptCopy_ = NoteSideFile(path_, SideFileKind::Typed).KeepCopy(theirs);
    // Their text is on disk now: a version, should one be due, is of it.
    disk_ = std::move(theirs);
    GetFileStamp(path_, stamp_);
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
    NoteSideFile(path_, SideFileKind::Whole).Remove();
    NoteSideFile(path_, SideFileKind::Typed).Remove();
    sideFileStale_ = false;
}

} // namespace tabulon

#pragma once
// The note file: loaded (or created) once at start, then written whole from
// the editor's text by the auto-save ticks (whenever the note or the file has
// changed) and on leaving the program.
#include <exception>
#include <optional>
#include <string>
#include <string_view>

#include "app/NoteHistory.h"
#include "app/NoteSideFile.h"
#include "platform/FileIO.h"

namespace tabulon {

// What the note file needs of the editor: its whole plain text, paragraphs
// separated by CR LF, and a flag that tells whether that text may have
// changed since the note file last took it.
class NoteEditor {
  public:
    virtual ~NoteEditor() = default;
    virtual std::u16string Text() const = 0;
    // Replaces the text and raises the modification flag.
    virtual void SetText(std::u16string_view text) = 0;
    // Raised by every change to the text; lowered by the note file when it
    // takes the text.
    virtual bool Modified() const = 0;
    virtual void SetModified(bool modified) = 0;
};

// Why the note is written: an auto-save tick trusts the editor's
// modification flag; leaving the program always takes the editor's text.
enum class SaveReason { Tick, Exit };

class NoteFile {
  public:
    // Without a history (for measuring what it costs), no version is kept.
    enum class Versions { Kept, None };
    explicit NoteFile(Versions versions = Versions::Kept)
        : keepHistory_(versions == Versions::Kept) {}

    // The note file's name under the program folder. The trailing blank is
    // dropped by the system when the file is opened: the file is content.ini.
    static constexpr const wchar_t* kRelativePath = L"Data\\content.ini ";

    // `programFolder` ends in a backslash.
    static std::wstring PathIn(const std::wstring& programFolder) {
        return programFolder + kRelativePath;
    }

    // Puts the note at `path` into the editor, or, when there is no file yet,
    // creates it from the editor's text. Throws EFOpenError or EFCreateError.
    // Text that an earlier run set aside (NoteSideFile) comes back into the
    // editor (RestoredAside() tells), after the note kept as a version:
    // typed while the note could not be read, it follows the note's text;
    // the whole text of a save that failed takes the note's place. Without
    // a version of the note, it follows the note's text as well. The side
    // files go once the note holds the editor's text. When the note cannot
    // be read, the editor gets the side files' text.
    void Load(const std::wstring& path, NoteEditor& editor);
    bool RestoredAside() const { return restoredAside_; }

    enum class Saved {
        Nothing, // no note loaded yet
        Note,    // the note file holds the editor's text
        Aside,   // the note could not be read (or written); the text went to the side file
        Taken,   // another program changed the note, nobody typed here: the editor took it
        Kept,    // both changed: ours is written, theirs was kept at KeptCopyPath()
    };

    // Writes the editor's text (one auto-save, or the save on leaving). Throws
    // EFOpenError when the
    // existing file cannot be read, EFCreateError when it cannot be written,
    // and whatever the editor throws when it cannot give its text; the file
    // is unchanged then. While a note that exists could not be loaded, it is
    // never written: each call tries to read it again, and while that fails
    // the text goes to the side file instead (Saved::Aside). Once it can be
    // read, the editor receives the note followed by what was typed meanwhile,
    // and that is written.
    //
    // A note that another program changed since our last read or write is
    // never overwritten unseen: with nothing typed here since, the editor
    // takes the new text (Saved::Taken), ours kept as a version first;
    // otherwise their text is first copied to
    // Data\content.<yyyyMMdd-HHmmss>.ini beside it (Saved::Kept).
    //
    // Before a write replaces the note on disk, that text is kept as a
    // version when the history's rules say so (NoteHistoryRules.h). A
    // version that cannot be written never stops the save (TakeHistoryError()).
    //
    // Taking the text out of the editor is the slow part of a save in a big
    // note, so a tick takes it only when the editor's flag says it changed,
    // and at least every kTicksPerFetch-th tick in case a change slipped past
    // the flag. A save whose bytes equal those last written, with the file
    // as that write left it, writes nothing.
    Saved Write(NoteEditor& editor, SaveReason reason = SaveReason::Tick);

    static constexpr int kTicksPerFetch = 6;

    // For leaving and for the end of the session, which must not be held up:
    // writes as Write does (taking the text whatever its flag) and, should
    // that fail, puts the text in the side file. Never throws.
    Saved WriteOrSetAside(NoteEditor& editor) noexcept;

    // Puts the editor's text in the side file, for a note that cannot be
    // written when the user leaves; the next start brings it back. Nothing
    // for an empty editor. Throws EFCreateError.
    Saved SetAside(const NoteEditor& editor);

    // Puts the text of the history's version at `versionPath` in the editor
    // (the next save writes it); the editor's text becomes a version first,
    // so the step can be taken back. Throws EFOpenError when the version
    // cannot be read, EFCreateError when the editor's text cannot be kept:
    // the editor is unchanged then.
    void RestoreVersion(NoteEditor& editor, const std::wstring& versionPath);

    // The history of the note (after Load); null without one.
    NoteHistory* History() { return history_ ? &*history_ : nullptr; }
    // The failure to keep a version, the first time one happens (once per
    // run: it is reported once); nothing otherwise.
    std::optional<std::wstring> TakeHistoryError();

    const std::wstring& Path() const { return path_; }
    // Where the side file of the kind the next SetAside writes is.
    std::wstring SidePath() const;
    // Where the last Saved::Kept (or Load) put the other program's text.
    const std::wstring& KeptCopyPath() const { return keptCopy_; }
    // True while writes are held back to protect a note that failed to load.
    bool Guarded() const { return state_ != State::Ready; }

  private:
    enum class State { Unset, Ready, LoadFailed };

    // The note's text from its bytes, or read again; throw EFOpenError.
    std::u16string DecodeNote(const std::string& bytes) const;
    std::u16string ReadNote() const;
    // Another program wrote the note since stamp_: takes or keeps its text.
    bool ChangedByOthers() const;
    Saved MergeOthersChange(NoteEditor& editor);

    // The bytes a write puts on disk for the editor's text as last taken.
    struct Held {
        std::string bytes;
        bool forExistingFile = false; // a new file gets the text as one line
        bool current = false;         // false: bytes are not (yet) the editor's text
    };

    bool NeedsFetch(const NoteEditor& editor, bool fileExists, SaveReason reason) const;
    void Fetch(NoteEditor& editor, bool fileExists);
    bool FileHoldsHeldBytes() const;
    void WriteHeldBytes(bool fileExists);
    void RememberFile(); // held_.bytes are now the file's content
    void SideFileDone(); // the note holds the editor's text
    // Keeps `bytes` as a version; false (the failure noted for
    // TakeHistoryError) when it cannot be written. Nothing for no text.
    bool KeepVersion(std::string_view bytes);
    // The editor's text when set-aside `aside` of `kind` comes back over the
    // note `note` (bytes `noteBytes`), which becomes a version first.
    std::u16string BringBack(const std::u16string& note, std::string_view noteBytes,
                             const std::u16string& aside, SideFileKind kind);
    SideFileKind AsideKind() const;

    std::wstring path_;
    State state_ = State::Unset;
    Held held_;
    bool onDisk_ = false; // the file held held_.bytes when it had stamp_
    FileStamp stamp_;
    bool stampKnown_ = false; // stamp_ and disk_ are those of our last read or write
    std::string disk_;        // the file's bytes then
    std::string synced_;      // the editor's text then, as bytes for an existing file
    int ticksSinceFetch_ = 0;
    bool restoredAside_ = false;
    bool sideFileStale_ = false; // the side file holds text the note is yet to take
    // While the note is unread: what the editor holds, for the side file.
    SideFileKind editorAside_ = SideFileKind::Typed;
    std::wstring keptCopy_;
    bool keepHistory_;
    std::optional<NoteHistory> history_;
    std::wstring historyError_;
    bool historyErrorTaken_ = false;
};

// Lets a repeated failure (an auto-save every 10 s) show one error box at a
// time: a failure while the box of an earlier one is still open (the box runs
// its own message loop, and timer ticks go on inside it) is dropped.
class SingleErrorBox {
  public:
    template <class Action, class Report> void Run(Action&& action, Report&& report) {
        try {
            action();
        } catch (...) {
            if (open_) return;
            open_ = true;
            struct Reset {
                bool& flag;
                ~Reset() { flag = false; }
            } reset{open_};
            report(std::current_exception());
        }
    }
    bool Open() const { return open_; }

  private:
    bool open_ = false;
};

} // namespace tabulon

#pragma once
// The note file: loaded (or created) once at start, then rewritten whole from
// the editor's text by every auto-save tick and by the close button.
#include <exception>
#include <string>
#include <string_view>

namespace tabulon {

// What the note file needs of the editor: its whole plain text, paragraphs
// separated by CR LF.
class NoteEditor {
  public:
    virtual ~NoteEditor() = default;
    virtual std::u16string Text() const = 0;
    virtual void SetText(std::u16string_view text) = 0;
};

class NoteFile {
  public:
    // The note file's name under the program folder. The trailing blank is
    // dropped by the system when the file is opened: the file is content.ini.
    static constexpr const wchar_t* kRelativePath = L"Data\\content.ini ";

    // `programFolder` ends in a backslash.
    static std::wstring PathIn(const std::wstring& programFolder) {
        return programFolder + kRelativePath;
    }

    // Puts the note at `path` into the editor, or, when there is no file yet,
    // creates it from the editor's text. Throws EFOpenError or EFCreateError.
    // When the note cannot be read, the editor gets the text that an earlier
    // run set aside (NoteSideFile), if any, so that it is not overwritten.
    void Load(const std::wstring& path, NoteEditor& editor);

    enum class Saved {
        Nothing, // no note loaded yet
        Note,    // the note file holds the editor's text
        Aside,   // the note could not be read; the text went to the side file
    };

    // Writes the editor's text (one auto-save). Throws EFOpenError when the
    // existing file cannot be read, EFCreateError when it cannot be written,
    // and whatever the editor throws when it cannot give its text; the file
    // is unchanged then. While a note that exists could not be loaded, it is
    // never written: each call tries to read it again, and while that fails
    // the text goes to the side file instead (Saved::Aside). Once it can be
    // read, the editor receives the note followed by what was typed meanwhile,
    // and that is written.
    Saved Write(NoteEditor& editor);

    // For the end of the session, which must not be held up: writes as Write
    // does and, should that fail, puts the text in the side file. Never throws.
    Saved WriteOrSetAside(NoteEditor& editor) noexcept;

    const std::wstring& Path() const { return path_; }
    std::wstring SidePath() const;
    // True while writes are held back to protect a note that failed to load.
    bool Guarded() const { return state_ != State::Ready; }

  private:
    enum class State { Unset, Ready, LoadFailed };

    // The note's text, read again; throws EFOpenError.
    std::u16string ReadNote() const;
    Saved SetAside(const NoteEditor& editor) const;

    std::wstring path_;
    State state_ = State::Unset;
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

#pragma once
// TApplication: the one application object. It owns the forms (destroyed
// last created first), runs the message loop with its message hook, shows
// the error box for exceptions that escape event handlers, and keeps a hidden
// window of its own that owns the forms that are never shown. The main form
// is the program's taskbar window: its button, thumbnail and Alt+Tab tile
// show the real window; the application window stays out of the taskbar.
#include "base/Exception.h"
#include "platform/Handles.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tabulon {

class TForm;

class TApplication {
  public:
    TApplication();
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    // Initialises COM (single-threaded apartment, OleInitialize) and creates
    // the application window. Call before any form is created.
    void Initialize();
    const std::wstring& Title() const { return title_; }
    void SetTitle(std::wstring title);
    // The application window: hidden, owner of the forms other than the main one.
    HWND Handle() const { return wnd_.Get(); }
    // The first form created.
    TForm* MainForm() const { return mainForm_; }

    // Creates a form of type T and takes ownership. `ref` is assigned before
    // the form's creation handler runs; an exception in that handler is
    // reported at once and the form stays.
    template <class T> void CreateForm(T*& ref) {
        auto form = std::make_unique<T>();
        ref = form.get();
        AdoptForm(std::move(form));
    }

    // Shows the main form and takes messages until a terminate request;
    // then destroys the forms.
    void Run();
    // Runs `task` once, the first time Run finds the message queue empty: the
    // main form has been shown and painted by then, so work that can wait no
    // longer delays the window. Tasks run in the order they were given.
    void WhenIdle(std::function<void()> task);
    // Runs the waiting tasks now (Run does this when the queue is empty).
    void RunIdleTasks();
    bool HasIdleTasks() const { return !idleTasks_.empty(); }
    // Passes one message through the hook and, unless handled, dispatches it.
    void ProcessMessage(MSG& msg);
    // Asks the loop to end (posts the quit message).
    void Terminate();
    // Closes the main form as its close command does (it may refuse), or
    // ends the loop when there is none.
    void CloseMainForm();
    bool Terminated() const { return terminated_; }
    // Destroys the forms, last created first, each after its destroy handler.
    void DestroyForms();

    // Minimises the main form to its taskbar button and restores it from there.
    void Minimize();
    void Restore();
    bool Minimized() const;

    // The error box: message (see ErrorBoxText), title as caption, stop icon, OK.
    void ShowException(const std::wstring& message);
    // A message for the user: title as caption, information icon, OK; over
    // the main window as the error box is. One at a time: a notice while
    // another is up is dropped.
    void ShowNotice(const std::wstring& message);
    // A yes-or-no question, "yes" the default button: true for yes.
    bool Ask(const std::wstring& question);

    // The application message hook: sees every queued message before it is
    // dispatched; returning true drops the message.
    std::function<bool(MSG&)> OnMessage;

  private:
    void AdoptForm(std::unique_ptr<TForm> form);
    static LRESULT CALLBACK AppWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT HandleAppMessage(UINT msg, WPARAM wp, LPARAM lp);
    // A box over the main window when it is on the screen, else one that
    // stands alone.
    int ShowBox(const std::wstring& text, UINT type);

    std::wstring title_;
    WindowHandle wnd_;
    bool oleInitialized_ = false;
    std::vector<std::unique_ptr<TForm>> forms_;
    std::vector<std::function<void()>> idleTasks_;
    TForm* mainForm_ = nullptr;
    bool terminated_ = false;
    bool noticeOpen_ = false;
};

extern TApplication Application;

// Reports an exception escaping `f` in the error box. Every event handler
// dispatch goes through here.
template <class F> void Guarded(F&& f) noexcept {
    try {
        f();
    } catch (const Exception& e) {
        Application.ShowException(e.Message());
    } catch (const std::exception& e) {
        std::string what = e.what();
        Application.ShowException(std::wstring(what.begin(), what.end()));
    } catch (...) {
        Application.ShowException(L"Unknown error");
    }
}

} // namespace tabulon

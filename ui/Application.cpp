#include "ui/Application.h"

#include "base/ErrorText.h"
#include "platform/FileIO.h"
#include "ui/Form.h"
#include "platform/SingleInstance.h"
#include "platform/WorkFolder.h"

#include <ole2.h>

namespace tabulon {

TApplication Application;

TApplication::TApplication() = default;

TApplication::~TApplication() {
    // Forms left over when Run never ran (tests, a failed start) go first,
    // while COM is still up.
    DestroyForms();
    wnd_.Reset();
    if (oleInitialized_) ::OleUninitialize();
}

void TApplication::Initialize() {
    if (!oleInitialized_) {
        // The embedded browser needs a single-threaded apartment on this thread.
        const HRESULT hr = ::OleInitialize(nullptr);
        oleInitialized_ = SUCCEEDED(hr);
    }
    if (wnd_) return;
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &AppWndProc;
    wc.hInstance = instance;
    wc.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(1));
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kAppWindowClass;
    ::RegisterClassExW(&wc);
    // A zero-sized popup that is never shown; a tool window, so that nothing
    // ever gives it a taskbar button or an Alt+Tab tile of its own.
    HWND wnd =
        ::CreateWindowExW(WS_EX_TOOLWINDOW, kAppWindowClass, title_.c_str(),
                          WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                          ::GetSystemMetrics(SM_CXSCREEN) / 2, ::GetSystemMetrics(SM_CYSCREEN) / 2,
                          0, 0, nullptr, nullptr, instance, nullptr);
    if (!wnd) throw Exception(L"Cannot create the application window");
    wnd_.Reset(wnd);
}

void TApplication::SetTitle(std::wstring title) {
    title_ = std::move(title);
    if (wnd_) ::SetWindowTextW(wnd_.Get(), title_.c_str());
}

void TApplication::AdoptForm(std::unique_ptr<TForm> form) {
    TForm* f = form.get();
    forms_.push_back(std::move(form));
    if (!mainForm_) mainForm_ = f;
    Guarded([f] { f->FormCreate(); });
}

void TApplication::Run() {
    if (mainForm_) mainForm_->Show();
    while (!terminated_) {
        MSG msg;
        // An empty queue means the shown form has painted (Wine also hands
        // the picture to the X server before PeekMessage reports nothing).
        if (!idleTasks_.empty() && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            RunIdleTasks();
            continue;
        }
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            terminated_ = true;
            break;
        }
        ProcessMessage(msg);
    }
    DestroyForms();
}

void TApplication::WhenIdle(std::function<void()> task) {
    idleTasks_.push_back(std::move(task));
}

void TApplication::RunIdleTasks() {
    // A task may add tasks of its own: those wait for the next empty queue.
    std::vector<std::function<void()>> tasks = std::move(idleTasks_);
    idleTasks_.clear();
    for (auto& task : tasks)
        Guarded(task);
}

void TApplication::ProcessMessage(MSG& msg) {
    bool handled = false;
    if (OnMessage) Guarded([&] { handled = OnMessage(msg); });
    if (handled) return;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
}

void TApplication::Terminate() {
    ::PostQuitMessage(0);
}

void TApplication::CloseMainForm() {
    if (mainForm_)
        mainForm_->Close();
    else
        Terminate();
}

void TApplication::DestroyForms() {
    idleTasks_.clear(); // they belong to the forms
    while (!forms_.empty()) {
        std::unique_ptr<TForm> form = std::move(forms_.back());
        forms_.pop_back();
        if (form.get() == mainForm_) mainForm_ = nullptr;
        Guarded([&] { form->FormDestroy(); });
        form.reset();
    }
}

void TApplication::Minimize() {
    if (mainForm_) mainForm_->Minimize();
}

void TApplication::Restore() {
    if (mainForm_) mainForm_->Show();
}

void TApplication::ShowNotice(const std::wstring& message) {
    // The box runs its own message loop, and timer ticks go on inside it: a
    // notice of a tick while one is up would stack a box every 10 s.
    if (noticeOpen_) return;
    noticeOpen_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{noticeOpen_};
    ShowBox(message, MB_OK | MB_ICONINFORMATION);
}

bool TApplication::Minimized() const {
    return mainForm_ && mainForm_->Minimized();
}

void TApplication::ShowException(const std::wstring& message) {
    ShowBox(ErrorBoxText(message), MB_OK | MB_ICONSTOP);
}

bool TApplication::Ask(const std::wstring& question) {
    return ShowBox(question, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1) == IDYES;
}

int TApplication::ShowBox(const std::wstring& text, UINT type) {
    // Over the main window when it is on the screen. Otherwise (during start,
    // or minimised) the box stands alone, with a taskbar button of its own,
    // so that it cannot hide behind other programs with no way back to it.
    HWND owner = nullptr;
    UINT modality = MB_TASKMODAL;
    if (mainForm_ && mainForm_->Showing() && !mainForm_->Minimized()) {
        owner = mainForm_->Handle();
        modality = MB_APPLMODAL;
    }
    return ::MessageBoxW(owner, text.c_str(), title_.c_str(), type | modality);
}

LRESULT TApplication::HandleAppMessage(UINT msg, WPARAM wp, LPARAM lp) {
    HWND wnd = wnd_.Get();
    if (msg == SingleInstance::WakeMessage()) {
        // A second start of the program on our note hands over to us.
        if (wp != SingleInstance::FolderKey(WorkFolder())) return 0;
        Restore();
        return kWakeAnswer;
    }
    switch (msg) {
    case WM_SYSCOMMAND:
        switch (wp & 0xFFF0) {
        case SC_MINIMIZE:
            Minimize();
            return 0;
        case SC_RESTORE:
            Restore();
            return 0;
        case SC_CLOSE:
            CloseMainForm();
            return 0;
        default:
            break;
        }
        break;
    case WM_CLOSE:
        // Closing the taskbar entry is closing the program: the main form
        // has its say first.
        CloseMainForm();
        return 0;
    case WM_QUERYENDSESSION:
        // Saved here, before the session may end; a failure never refuses it.
        if (mainForm_) mainForm_->FormEndSession();
        return TRUE;
    case WM_ENDSESSION:
        if (wp && mainForm_) {
            mainForm_->FormEndSession();
            Terminate();
        }
        return 0;
    case WM_SETFOCUS:
        if (mainForm_ && mainForm_->Showing()) ::SetFocus(mainForm_->Handle());
        return 0;
    default:
        break;
    }
    return ::DefWindowProcW(wnd, msg, wp, lp);
}

LRESULT CALLBACK TApplication::AppWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (Application.wnd_.Get() != wnd) return ::DefWindowProcW(wnd, msg, wp, lp);
    LRESULT result = 0;
    bool done = false;
    Guarded([&] {
        result = Application.HandleAppMessage(msg, wp, lp);
        done = true;
    });
    return done ? result : 0;
}

} // namespace tabulon

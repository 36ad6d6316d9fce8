#include "win/Window.h"

#include <exception>
#include <algorithm>
#include <new>
#include <optional>
#include <vector>

#include "win/MessageBox.h"

namespace mvpr::win {

namespace {
// Painting and what it sends run on the one window thread: a count, not a per-thread flag.
int paintDepth = 0;

struct PaintFailures {
    std::vector<std::string> pending;
    std::vector<std::string> reported;
};
PaintFailures& Failures() {
    static PaintFailures failures;
    return failures;
}

UINT ReportLaterMessage() {
    static const UINT message = RegisterWindowMessageA("MVPR.ReportPaintFailure");
    return message;
}

void ReportAfterPaint(HWND hwnd, std::string_view what) {
    PaintFailures& f = Failures();
    const std::string text(what);
    for (const auto* list : {&f.pending, &f.reported})
        if (std::find(list->begin(), list->end(), text) != list->end()) return;
    f.pending.push_back(text);
    PostMessageA(hwnd, ReportLaterMessage(), 0, 0);
}

void ReportPending(HWND hwnd) {
    PaintFailures& f = Failures();
    std::vector<std::string> now;
    now.swap(f.pending);
    for (auto& text : now) {
        f.reported.push_back(text);
        ReportUnhandled(hwnd, text);
    }
}
}  // namespace

Window::~Window() {
    if (hwnd_) {
        // Detach first: the messages of the destruction must not reach a half-destroyed object.
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    }
}

bool Window::RegisterClassOnce(const char* className, UINT style, HBRUSH background, HICON icon,
                               HCURSOR cursor) {
    HINSTANCE inst = GetModuleHandleA(nullptr);
    WNDCLASSEXA existing{sizeof existing};
    if (GetClassInfoExA(inst, className, &existing)) return true;
    WNDCLASSEXA wc{sizeof wc};
    wc.style = style;
    wc.lpfnWndProc = &Window::Procedure;
    wc.hInstance = inst;
    wc.hIcon = icon;
    wc.hIconSm = icon;
    wc.hCursor = cursor ? cursor : LoadCursorA(nullptr, MAKEINTRESOURCEA(32512) /* IDC_ARROW */);
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    return RegisterClassExA(&wc) != 0;
}

Window* Window::FromHandle(HWND hwnd) {
    return hwnd ? reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)) : nullptr;
}

HWND Window::Create(const char* className, const char* caption, DWORD style, DWORD exStyle, int x, int y,
                    int w, int h, HWND parent, HMENU menuOrId) {
    return CreateWindowExA(exStyle, className, caption, style, x, y, w, h, parent, menuOrId,
                           GetModuleHandleA(nullptr), this);
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    return Default(msg, wp, lp);
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Window* self = nullptr;
    if (msg == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = FromHandle(hwnd);
    }
    if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
    if (msg == ReportLaterMessage() && msg != 0) {
        ReportPending(hwnd);
        return 0;
    }
    const bool painting = msg == WM_PAINT || paintDepth > 0;
    LRESULT result = 0;
    std::optional<std::string> failure;
    try {
        if (msg == WM_PAINT) ++paintDepth;
        struct Leave {
            bool paint;
            ~Leave() {
                if (paint) --paintDepth;
            }
        } leave{msg == WM_PAINT};
        result = self->HandleMessage(msg, wp, lp);
    } catch (...) {
        failure = CurrentFailureText();
    }
    if (failure) {
        if (msg == WM_PAINT) ValidateRect(hwnd, nullptr);  // a paint that failed before BeginPaint
        if (painting)
            ReportAfterPaint(hwnd, *failure);
        else
            ReportUnhandled(hwnd, *failure);
    }
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->OnDestroyed();
    }
    return result;
}

std::string CurrentFailureText() {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return std::string(kOutOfMemory);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "Unexpected error";
    }
}

void ReportUnhandled(HWND owner, std::string_view what) {
    try {
        ShowMessage(owner, MsgKind::Error, what, MsgButtons::Ok, MessageCaption::ApplicationTitle);
    } catch (...) {
        // Nothing more can be done from here; never let it escape a window procedure.
    }
}

void NotifyParent(HWND control, WORD code) {
    SendMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
                 reinterpret_cast<LPARAM>(control));
}

POINT CenterInWorkArea(int width, int height) {
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return POINT{work.left + ((work.right - work.left) - width) / 2,
                 work.top + ((work.bottom - work.top) - height) / 2};
}

std::string GetText(HWND hwnd) {
    const int n = GetWindowTextLengthA(hwnd);
    if (n <= 0) return {};
    std::string s(static_cast<std::size_t>(n) + 1, '\0');
    const int got = GetWindowTextA(hwnd, s.data(), n + 1);
    s.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return s;
}

void SetText(HWND hwnd, std::string_view text) {
    SetWindowTextA(hwnd, std::string(text).c_str());
}

}  // namespace mvpr::win

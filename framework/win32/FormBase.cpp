#include "FormBase.h"

#include <windows.h>
#include <windowsx.h>

#include <algorithm>
#include <optional>

#include "Canvas.h"
#include "Captions.h"
#include "ControlBase.h"
#include "KuvitoError.h"
#include "Utf16.h"
#include "Win32Cursors.h"
#include "Win32MessageLoop.h"

namespace {

constexpr const wchar_t* className = L"kuvitoForm";

HWND hwndOf(std::uintptr_t id) {
    return reinterpret_cast<HWND>(id);
}

LRESULT CALLBACK formProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* form = reinterpret_cast<FormBase*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    // Messages before WM_NCCREATE, and those after the form has let go of
    // its window, are Windows' own business. Windows' own handling is the
    // dialog manager's: on a form with controls it keeps which button Enter
    // presses (the focused push button, else the default one) and the
    // focus across activation, as in Windows' own dialogs; a form without
    // controls never notices it.
    if (form == nullptr || form->desktopHandle().id != reinterpret_cast<std::uintptr_t>(hwnd))
        return DefDlgProcW(hwnd, message, wParam, lParam);
    // The form's handlers are the program's (movers, menu commands, the
    // dialogs' buttons): what they throw must not unwind through Windows'
    // frames, so it is shown and the message gets Windows' own handling.
    const std::optional<std::intptr_t> result = Win32MessageLoop::guarded(
        [&]() -> std::optional<std::intptr_t> { return form->handleMessage(message, wParam, lParam); });
    return result ? *result : DefDlgProcW(hwnd, message, wParam, lParam);
}

void registerClass() {
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        // Double clicks come as their own messages, as a control's
        // double-click event needs them.
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = formProc;
        // The dialog manager keeps its state in the window's extra bytes.
        wc.cbWndExtra = DLGWINDOWEXTRA;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = className;
        return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    if (!registered)
        throw KuvitoError(Captions::text("error.windowClass"));
}

// The styles of each frame. A form starts with the normal, resizable one.
struct Styles {
    DWORD style, exStyle;
};
Styles stylesOf(FormFrame frame, bool fixed) {
    switch (frame) {
    case FormFrame::none:
        return {static_cast<DWORD>(WS_POPUP), 0};
    case FormFrame::dialog:
        return {static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU), WS_EX_DLGMODALFRAME};
    case FormFrame::tool:
        return {static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | (fixed ? 0 : WS_THICKFRAME)),
                WS_EX_TOOLWINDOW};
    case FormFrame::normal:
    default:
        return {static_cast<DWORD>(fixed ? WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX
                                         : WS_OVERLAPPEDWINDOW),
                0};
    }
}

TShiftState shiftOf(WPARAM wParam) {
    TShiftState s = 0;
    if (wParam & MK_SHIFT)
        s |= Shift::ssShift;
    if (GetKeyState(VK_MENU) < 0)
        s |= Shift::ssAlt;
    if (wParam & MK_CONTROL)
        s |= Shift::ssCtrl;
    if (wParam & MK_LBUTTON)
        s |= Shift::ssLeft;
    if (wParam & MK_RBUTTON)
        s |= Shift::ssRight;
    if (wParam & MK_MBUTTON)
        s |= Shift::ssMiddle;
    return s;
}

} // namespace

FormBase::FormBase() {
    registerClass();
    const Styles styles = stylesOf(FormFrame::normal, false);
    HWND hwnd = CreateWindowExW(styles.exStyle, className, L"", styles.style, CW_USEDEFAULT, CW_USEDEFAULT, 0,
                                0, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (hwnd == nullptr)
        throw KuvitoError(Captions::text("error.window"));
    hwnd_ = reinterpret_cast<std::uintptr_t>(hwnd);
    setBackground(212, 208, 200);
}

FormBase::~FormBase() {
    for (ControlBase* control : controls_)
        control->surface_ = nullptr;
    HWND hwnd = hwndOf(hwnd_);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    DestroyWindow(hwnd);
}

void FormBase::show() {
    // Shown without taking activation: the forms shown this way are the
    // mascot window, coming back after a full-screen window or called to
    // the pointer, and the user's window keeps the keyboard. A modal dialog
    // comes to the front in its own loop (Win32Desktop::execModal).
    ShowWindow(hwndOf(hwnd_), SW_SHOWNA);
}

void FormBase::hide() {
    ShowWindow(hwndOf(hwnd_), SW_HIDE);
}

bool FormBase::close() {
    if (!closeRequested())
        return false;
    hide();
    if (onClosed_)
        onClosed_();
    return true;
}

bool FormBase::isVisible() const {
    return IsWindowVisible(hwndOf(hwnd_)) != FALSE;
}

void FormBase::update() {
    InvalidateRect(hwndOf(hwnd_), nullptr, FALSE);
}

int FormBase::outerWidth() const {
    RECT r{};
    GetWindowRect(hwndOf(hwnd_), &r);
    return r.right - r.left;
}

int FormBase::outerHeight() const {
    RECT r{};
    GetWindowRect(hwndOf(hwnd_), &r);
    return r.bottom - r.top;
}

int FormBase::clientWidth() const {
    RECT r{};
    GetClientRect(hwndOf(hwnd_), &r);
    return r.right;
}

int FormBase::clientHeight() const {
    RECT r{};
    GetClientRect(hwndOf(hwnd_), &r);
    return r.bottom;
}

void FormBase::resizeClient(int width, int height, bool) {
    // A fixed border has no sizing frame, so the user cannot resize; the
    // program still can.
    HWND hwnd = hwndOf(hwnd_);
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE)));
    SetWindowPos(hwnd, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string FormBase::windowCaption() const {
    HWND hwnd = hwndOf(hwnd_);
    std::wstring wide(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    wide.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, wide.data(), static_cast<int>(wide.size()))));
    if (wide.empty())
        return {};
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                          nullptr, nullptr);
    std::string text(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), bytes, nullptr,
                        nullptr);
    return text;
}

void FormBase::setWindowCaption(const std::string& caption) {
    SetWindowTextW(hwndOf(hwnd_), Utf16::fromUtf8(caption).c_str());
}

void FormBase::applyFrame(FormFrame frame, bool fixed) {
    HWND hwnd = hwndOf(hwnd_);
    const int width = clientWidth(), height = clientHeight();
    const Styles styles = stylesOf(frame, fixed);
    // Visibility stays as it is; a tool window that the desktop keeps off
    // the taskbar stays one whatever its frame.
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE));
    SetWindowLongPtrW(hwnd, GWL_STYLE, static_cast<LONG_PTR>((style & WS_VISIBLE) | styles.style));
    SetWindowLongPtrW(hwnd, GWL_EXSTYLE,
                      static_cast<LONG_PTR>((exStyle & ~WS_EX_DLGMODALFRAME) | styles.exStyle));
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The client area keeps its size, as it does on Qt.
    resizeClient(width, height, fixed);
}

void FormBase::setBackground(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    background_ = RGB(red, green, blue);
    update();
}

void FormBase::attach(ControlBase* control) {
    controls_.push_back(control);
    invalidate(*control, false);
}

void FormBase::detach(ControlBase* control) {
    invalidate(*control, false);
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
    if (pressed_ == control)
        pressed_ = nullptr;
}

void FormBase::restack(ControlBase* control, bool toTop) {
    auto it = std::find(controls_.begin(), controls_.end(), control);
    if (it == controls_.end())
        return;
    controls_.erase(it);
    controls_.insert(toTop ? controls_.end() : controls_.begin(), control);
    invalidate(*control, false);
}

void FormBase::invalidate(const ControlBase& control, bool now) {
    if (!control.shown_)
        return;
    HWND hwnd = hwndOf(hwnd_);
    const RECT r{control.left_, control.top_, control.left_ + control.width_, control.top_ + control.height_};
    InvalidateRect(hwnd, &r, FALSE);
    if (now)
        UpdateWindow(hwnd);
}

ControlBase* FormBase::controlAt(int x, int y) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        const ControlBase& c = **it;
        if (c.shown_ && c.takesPointer() && c.left_ <= x && x < c.left_ + c.width_ && c.top_ <= y &&
            y < c.top_ + c.height_)
            return *it;
    }
    return nullptr;
}

void FormBase::paint() {
    HWND hwnd = hwndOf(hwnd_);
    PAINTSTRUCT ps;
    HDC target = BeginPaint(hwnd, &ps);
    const int width = std::max(clientWidth(), 1), height = std::max(clientHeight(), 1);
    // The controls are drawn into a back buffer first, so the raster
    // operations of a transparent picture never show half done.
    HDC buffer = CreateCompatibleDC(target);
    HBITMAP bitmap = CreateCompatibleBitmap(target, width, height);
    HGDIOBJ old = SelectObject(buffer, bitmap);
    {
        HBRUSH brush = CreateSolidBrush(background_);
        const RECT all{0, 0, width, height};
        FillRect(buffer, &all, brush);
        DeleteObject(brush);
    }
    for (ControlBase* control : controls_) {
        if (!control->shown_ || control->width_ <= 0 || control->height_ <= 0)
            continue;
        const int saved = SaveDC(buffer);
        IntersectClipRect(buffer, control->left_, control->top_, control->left_ + control->width_,
                          control->top_ + control->height_);
        SetViewportOrgEx(buffer, control->left_, control->top_, nullptr);
        Canvas canvas(buffer);
        control->paint(canvas);
        RestoreDC(buffer, saved);
    }
    BitBlt(target, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
           ps.rcPaint.bottom - ps.rcPaint.top, buffer, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
    SelectObject(buffer, old);
    DeleteObject(bitmap);
    DeleteDC(buffer);
    EndPaint(hwnd, &ps);
}

void FormBase::mouse(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    const TShiftState shift = shiftOf(wParam);
    TMouseButton button = TMouseButton::mbLeft;
    switch (message) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
        button = TMouseButton::mbRight;
        break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
        button = TMouseButton::mbMiddle;
        break;
    default:
        break;
    }
    HWND hwnd = hwndOf(hwnd_);
    // The control under the pointer, or the one that took the press while
    // a button is held, as Qt hands a press's later events to its widget.
    ControlBase* target = pressed_ ? pressed_ : controlAt(x, y);
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        if (target == nullptr)
            return;
        if (pressed_ == nullptr) {
            pressed_ = target;
            SetCapture(hwnd);
        }
        if (message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK || message == WM_MBUTTONDBLCLK)
            target->pointerDoublePressed(button, shift, x - target->left_, y - target->top_);
        else
            target->pointerPressed(button, shift, x - target->left_, y - target->top_);
        return;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        if ((wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0) {
            pressed_ = nullptr;
            if (GetCapture() == hwnd)
                ReleaseCapture();
        }
        if (target)
            target->pointerReleased(button, shift, x - target->left_, y - target->top_);
        return;
    case WM_MOUSEMOVE:
        if (target)
            target->pointerMoved(shift, x - target->left_, y - target->top_);
        return;
    default:
        return;
    }
}

bool FormBase::setCursorFor(int x, int y) {
    const ControlBase* control = controlAt(x, y);
    const TCursor shape = control && control->cursor_ != Cursors::crDefault ? control->cursor_ : cursor_;
    SetCursor(win32Cursor(shape));
    return true;
}

std::intptr_t FormBase::handleMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    HWND hwnd = hwndOf(hwnd_);
    switch (message) {
    case WM_COMMAND:
    case WM_CTLCOLORSTATIC:
        if (const std::optional<std::intptr_t> answer = childMessage(message, wParam, lParam))
            return *answer;
        break;
    case WM_ERASEBKGND:
        // Painting fills the background itself, in the back buffer.
        return 1;
    case WM_PAINT:
        paint();
        return 0;
    case WM_CLOSE:
        close();
        return 0;
    case WM_SHOWWINDOW:
        // Only a show the program asked for (lParam 0), not the window
        // coming back with its owner.
        if (wParam && lParam == 0)
            shown();
        break;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            POINT p;
            GetCursorPos(&p);
            ScreenToClient(hwnd, &p);
            return setCursorFor(p.x, p.y);
        }
        break;
    case WM_CAPTURECHANGED:
        // A loop that took the pointer over (a drag of the window) ends the
        // press; its release never comes here.
        if (reinterpret_cast<HWND>(lParam) != hwnd)
            pressed_ = nullptr;
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_MOUSEMOVE:
        mouse(message, wParam, lParam);
        return 0;
    default:
        break;
    }
    return DefDlgProcW(hwnd, message, wParam, lParam);
}

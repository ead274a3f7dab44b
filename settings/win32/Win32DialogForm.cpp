#include "Win32DialogForm.h"

#include <windows.h>

Win32DialogForm::Win32DialogForm(Component* owner, const DialogDesign& design)
    : Form(owner), design_(design) {
    setName(design.name);
    setCaption(design.caption);
    // A title bar with a close box only, never resized by the user.
    setBorderStyle(TFormBorderStyle::bsDialog);
    setClientWidth(design.clientWidth);
    setClientHeight(design.clientHeight);
    if (design.stayOnTop)
        setFormStyle(TFormStyle::fsStayOnTop);
    built_ = std::make_unique<Win32DialogBuilder>(desktopHandle(), design);
}

Win32DialogForm::~Win32DialogForm() {
    // The controls go with the window, after this; they must not ask for
    // the brush once it is gone.
    built_.reset();
    if (brush_ != 0)
        ::DeleteObject(reinterpret_cast<HBRUSH>(brush_));
}

void Win32DialogForm::accept() {
    setResult(1);
    hide();
}

void Win32DialogForm::reject() {
    setResult(0);
    hide();
}

void Win32DialogForm::shown() {
    Form::shown();
    if (!design_.tabOrder.empty())
        if (const WindowHandle first = built_->control(design_.tabOrder.front()); first.id != 0)
            ::SetFocus(reinterpret_cast<HWND>(first.id));
}

std::optional<std::intptr_t> Win32DialogForm::childMessage(unsigned message, std::uintptr_t wParam,
                                                           std::intptr_t lParam) {
    if (message == WM_COMMAND) {
        // Enter and Esc come as IDOK and IDCANCEL from the modal loop's
        // IsDialogMessageW; Esc in a dialog without a cancel button stands
        // for no control and does nothing.
        if (HIWORD(wParam) != BN_CLICKED)
            return std::nullopt;
        const ControlDesign* target = built_->commandTarget(LOWORD(wParam));
        if (target != nullptr && target->kind == ControlKind::PushButton)
            clicked(target->name);
        return 0;
    }
    if (message == WM_CTLCOLORSTATIC) {
        // Labels, option buttons, check boxes, group boxes and the track
        // bars ask here what to paint their background with: the form's
        // colour, which the form paints its own background in.
        const auto dc = reinterpret_cast<HDC>(wParam);
        if (brush_ == 0)
            brush_ = reinterpret_cast<std::uintptr_t>(::CreateSolidBrush(backgroundColour()));
        ::SetBkColor(dc, backgroundColour());
        if (const auto colour = built_->textColour({static_cast<std::uintptr_t>(lParam)}))
            ::SetTextColor(dc, *colour);
        return static_cast<std::intptr_t>(brush_);
    }
    return std::nullopt;
}

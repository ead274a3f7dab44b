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
    // The dialog manager is told which button Enter presses when the focus
    // is on no push button; on a push button, Enter presses that one.
    for (const ControlDesign& c : design.controls)
        if (c.isDefault)
            ::SendMessageW(reinterpret_cast<HWND>(desktopHandle().id), DM_SETDEFID, IDOK, 0);
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
    focusFirstTabStop();
}

void Win32DialogForm::focusFirstTabStop() {
    // The focus goes where Tab would bring it first: the first tab stop,
    // which among option buttons is the selected one, since an option
    // button keeps its tab stop only while it is selected.
    for (const std::string& name : design_.tabOrder) {
        const auto control = reinterpret_cast<HWND>(built_->control(name).id);
        if (control != nullptr && (::GetWindowLongPtrW(control, GWL_STYLE) & WS_TABSTOP)) {
            ::SetFocus(control);
            return;
        }
    }
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

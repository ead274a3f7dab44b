// Placing the dialogs on Windows: a window's frame is part of it from the
// start, so the outer size (GetWindowRect, through Width and Height) is
// known before the dialog is shown, and it is placed once.

#include "DialogPlacement.h"

#include <windows.h>

#include "DesktopServices.h"
#include "Form.h"

namespace DialogPlacement {

void prepareModal(Form& dialog, Form& mascot, PlaceRule place) {
    // Owned by the mascot window: the dialog stays above it (also when the
    // mascot stays on top) and, as an owned window, gets no taskbar button.
    // Making it a tool window instead would give it the small caption.
    ::SetWindowLongPtrW(reinterpret_cast<HWND>(dialog.desktopHandle().id), GWLP_HWNDPARENT,
                        static_cast<LONG_PTR>(mascot.desktopHandle().id));
    const ScreenPoint at = place(dialog.Width(), dialog.Height());
    dialog.setTop(at.y);
    dialog.setLeft(at.x);
}

void bringForward(Form& dialog) {
    desktopWindows().setForegroundWindow(dialog.desktopHandle());
}

} // namespace DialogPlacement

#pragma once

#include <optional>

#include "WindowHandle.h"

// A dialog that the desktop can run modally (DesktopLoops::execModal): its
// own top-level window, and whether it has ended its run with a result.
class ModalDialog {
public:
    virtual ~ModalDialog() = default;

    // The dialog's window, which the modal loop shows and waits on.
    virtual WindowHandle dialogWindow() const = 0;
    // The run begins: no result yet, and Esc may close the dialog.
    virtual void beginModal() = 0;
    // The result the dialog ended with (a button's, or "cancel" for the
    // close box), nothing while it still runs.
    virtual std::optional<int> modalResult() const = 0;
};

#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Cursors.h"
#include "FormFrame.h"
#include "WindowHandle.h"

class ControlBase;

// The Windows side of a form: a top-level window (an HWND, made hidden with
// the form), with the same calls the shared Form makes of the Qt side, and
// the few widget calls the program makes of a form (show, hide, close,
// isVisible, update). Its controls have no windows of their own: the form
// paints them in their stacking order on WM_PAINT, into a back buffer, and
// hands each mouse message to the top-most shown control under the pointer
// (or to the one that took the press, until the buttons are up).
class FormBase {
public:
    virtual ~FormBase();
    FormBase(const FormBase&) = delete;
    FormBase& operator=(const FormBase&) = delete;

    // The window as the desktop knows it: its HWND.
    WindowHandle desktopHandle() const { return {hwnd_}; }

    void show();
    void hide();
    // Asks the form as the close box would; true when it closed.
    bool close();
    bool isVisible() const;
    // Repaints the window soon.
    void update();
    // The result a modal run ends with, as the dialogs set it.
    void setResult(int result) { result_ = result; }
    int result() const { return result_; }

    // Called once the form has closed (hidden by close() or its close box).
    // The program's main() ends its loop with the mascot window this way.
    void whenClosed(std::function<void()> onClosed) { onClosed_ = std::move(onClosed); }

    // The window's messages, as its window procedure hands them on.
    std::intptr_t handleMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

    // The controls on the form, from the bottom of the stack to the top.
    const std::vector<ControlBase*>& stackedControls() const { return controls_; }

protected:
    FormBase();

    int outerWidth() const;
    int outerHeight() const;
    int clientWidth() const;
    int clientHeight() const;
    void resizeClient(int width, int height, bool fixed);
    std::string windowCaption() const;
    void setWindowCaption(const std::string& caption);
    void applyFrame(FormFrame frame, bool fixed);
    // The back buffer is always filled with the form's colour, so that what
    // a clear form's controls leave unpainted never shows stale pixels.
    void stopFillingBackground() {}
    void setBackground(std::uint8_t red, std::uint8_t green, std::uint8_t blue);
    void showCursorShape(TCursor cursor) { cursor_ = cursor; }
    void setFontFamily(const std::string& family) { fontFamily_ = family; }
    void setFontPixelSize(int pixels) { fontPixels_ = pixels; }

    virtual bool closeRequested() { return true; }
    virtual void shown() {}
    // What the form's child windows tell their parent (WM_COMMAND from a
    // button, WM_CTLCOLORSTATIC asking for a static's colours): the dialogs
    // built of Windows' own controls answer these; nothing leaves them to
    // Windows.
    virtual std::optional<std::intptr_t> childMessage(unsigned, std::uintptr_t, std::intptr_t) {
        return std::nullopt;
    }
    // The form's background colour, a COLORREF.
    std::uint32_t backgroundColour() const { return background_; }

private:
    friend class ControlBase;
    void attach(ControlBase* control);
    void detach(ControlBase* control);
    void restack(ControlBase* control, bool toTop);
    void invalidate(const ControlBase& control, bool now);
    ControlBase* controlAt(int x, int y) const;
    void paint();
    void mouse(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
    bool setCursorFor(int x, int y);

    std::uintptr_t hwnd_ = 0;
    std::vector<ControlBase*> controls_;
    // The control that took a press gets the pointer until the buttons are up.
    ControlBase* pressed_ = nullptr;
    std::uint32_t background_ = 0; // COLORREF
    TCursor cursor_ = Cursors::crDefault;
    std::string fontFamily_;
    int fontPixels_ = 0;
    int result_ = 0;
    std::function<void()> onClosed_;
};

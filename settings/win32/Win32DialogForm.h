#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "DialogDesign.h"
#include "Form.h"
#include "Win32DialogBuilder.h"

// A dialog of Windows' own controls on the Win32 form: the form made a fixed
// dialog window of the design's caption and client size, the controls built
// on it by Win32DialogBuilder, and what those controls tell their parent
// answered here: a push button's command (a click, Enter for the default
// button, Esc for the cancel one) goes to clicked(), and the statics are
// drawn on the form's own colour (the blue label in its blue).
class Win32DialogForm : public Form {
public:
    Win32DialogForm(Component* owner, const DialogDesign& design);
    ~Win32DialogForm() override;

    const Win32DialogBuilder& controls() const { return *built_; }
    Win32DialogBuilder& controls() { return *built_; }

protected:
    // A push button of that name was pressed.
    virtual void clicked(const std::string& name) = 0;
    // Ends the modal run, as Qt's QDialog::accept and reject do: hidden,
    // with the result 1 or 0.
    void accept();
    void reject();

    // The keyboard starts on the first tab stop, as in Windows' own
    // dialogs.
    void shown() override;
    // Gives the keyboard to the first control Tab stops at; a dialog that
    // fills its controls as it is shown calls it again afterwards.
    void focusFirstTabStop();
    std::optional<std::intptr_t> childMessage(unsigned message, std::uintptr_t wParam,
                                              std::intptr_t lParam) override;

private:
    const DialogDesign& design_;
    std::unique_ptr<Win32DialogBuilder> built_;
    std::uintptr_t brush_ = 0; // HBRUSH in the form's colour, made on first use
};

#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "DialogDesign.h"
#include "WindowHandle.h"

// Builds a dialog described by a DialogDesign as Windows' own controls on a
// window the caller made and sized (its client area the design's): BUTTON
// for push buttons, option buttons, check boxes and group boxes, STATIC for
// panels, labels and the icon, and comctl32's track bar for sliders, in the
// Japanese UI font.
//
// Every control is a direct child of that window, at its place in the
// dialog's client area: a group box or a panel made a parent would keep its
// children's notifications to itself. The controls that take focus by Tab
// come first in the window's child order, in the design's tab order, each
// with a tab stop; the panels and group boxes lie under everything (each
// control clips its siblings above it), so that they never paint over what
// they frame.
//
// The window's message loop passes its messages through IsDialogMessageW, so
// that Tab and the arrow keys move between the controls and Enter and Esc
// arrive as WM_COMMAND with IDOK and IDCANCEL: the default button has the id
// IDOK and the cancel button IDCANCEL; commandTarget says which control a
// command id stands for. The blue label needs the window's
// WM_CTLCOLORSTATIC to ask textColour.
class Win32DialogBuilder {
public:
    Win32DialogBuilder(WindowHandle dialog, const DialogDesign& design);
    // The fonts go; the controls go with their window.
    ~Win32DialogBuilder();
    Win32DialogBuilder(const Win32DialogBuilder&) = delete;
    Win32DialogBuilder& operator=(const Win32DialogBuilder&) = delete;

    // The control of that name; 0 for none.
    WindowHandle control(const std::string& name) const;
    // The control a WM_COMMAND's id stands for: a button's own id, IDOK the
    // default button, IDCANCEL the cancel button. Null when it stands for
    // none, as Esc in a dialog without a cancel button.
    const ControlDesign* commandTarget(int commandId) const;
    // The text colour (a COLORREF) of a label drawn in a colour of its own.
    std::optional<std::uint32_t> textColour(WindowHandle control) const;

    // What an option button, check box or slider holds.
    bool isChecked(const std::string& name) const;
    void setChecked(const std::string& name, bool checked);
    int position(const std::string& name) const;
    // A slider clamps what is out of its range, as Qt's does.
    void setPosition(const std::string& name, int position);

    // The font face the controls were given: the first of the candidates
    // this system has.
    const std::wstring& fontFace() const { return face_; }
    // The faces tried, in order: the design font, Windows' Japanese UI
    // fonts, and the IPA fonts that fontconfig offers Wine.
    static std::vector<std::wstring> faceCandidates(const DialogDesign& design);

private:
    struct Made {
        const ControlDesign* design;
        WindowHandle window;
        int id;
    };
    std::uintptr_t fontFor(const ControlFont& font);

    const DialogDesign& design_;
    std::wstring face_;
    std::vector<Made> made_;
    std::map<std::pair<int, bool>, std::uintptr_t> fonts_;
};

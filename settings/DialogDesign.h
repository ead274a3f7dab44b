#pragma once

#include <string>
#include <vector>

// The settings dialog and the about box described as data, so that each
// toolkit builds the same controls from one description: the Qt side makes
// widgets of it, the Windows side child windows. Sizes are pixels at 96 dots
// per inch and are not scaled; texts are UTF-8.

enum class ControlKind { Panel, GroupBox, OptionButton, CheckBox, PushButton, Slider, Label, Image };

// How a label sets its text in its box.
enum class TextAlign { Left, Centre };

// A control's font: the dialog's face at this character height.
struct ControlFont {
    int pixels = 12;
    bool bold = false;
    bool operator==(const ControlFont&) const = default;
};

struct ControlDesign {
    std::string name; // the member the dialog knows the control by
    ControlKind kind = ControlKind::Label;
    std::string parent;                           // empty: the dialog itself
    int left = 0, top = 0, width = 0, height = 0; // in the parent's client area
    std::string caption;
    ControlFont font{};
    TextAlign align = TextAlign::Left;
    bool bevelled = false; // a panel's raised inner and lowered outer bevel
    bool blueText = false;
    bool checked = false;   // an option button or check box when created
    bool isDefault = false; // the push button Enter presses
    bool isCancel = false;  // the push button Esc presses
};

// A slider's range and its position when created; arrow and page keys move
// it by one.
struct SliderDesign {
    int minimum = 0;
    int maximum = 10;
    int position = 5;
};

struct DialogDesign {
    std::string name;
    std::string caption;
    int clientWidth = 0;
    int clientHeight = 0;
    bool stayOnTop = false;
    std::string fontFace;   // the design font, drawn by whatever stands in for it
    SliderDesign sliders{}; // shared by every slider of the dialog
    // Parents before their children; on Windows, where every control is a
    // child of the dialog, this is also the order they are painted in.
    std::vector<ControlDesign> controls;
    // The controls Tab visits, in order; the others take no focus by Tab.
    std::vector<std::string> tabOrder;

    // The control of that name, or null.
    const ControlDesign* find(const std::string& controlName) const;
};

// A control's left and top in the dialog's client area, adding up the
// offsets of the panels and group boxes it sits in.
struct DialogPoint {
    int x = 0, y = 0;
};
DialogPoint positionInDialog(const DialogDesign& dialog, const ControlDesign& control);

// A label's box widened to fit text `needed` pixels wide, as a self-sizing
// label would rather than clip its text: a left-aligned one grows to the
// right, a centred one on both sides. The design's widths are those of the
// design font's own glyphs; the fonts that stand in for it set some texts a
// pixel or two wider. Returns the new left and width.
struct LabelSpan {
    int left = 0, width = 0;
};
LabelSpan fitLabel(const ControlDesign& label, int needed);

// TFrmSettei and TFrmVer.
const DialogDesign& settingsDialogDesign();
const DialogDesign& aboutDialogDesign();

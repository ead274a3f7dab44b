#include "DialogDesign.h"

#include "Captions.h"
#include "MovementModes.h"

#include <iterator>

namespace {

ControlDesign control(ControlKind kind, const char* name, const char* parent, int left, int top, int width,
                      int height, const std::string& caption = "") {
    ControlDesign c;
    c.name = name;
    c.kind = kind;
    c.parent = parent;
    c.left = left;
    c.top = top;
    c.width = width;
    c.height = height;
    c.caption = caption;
    return c;
}

ControlDesign panel(const char* name, const char* parent, bool bevelled, int left, int top, int width,
                    int height, const std::string& caption) {
    ControlDesign c = control(ControlKind::Panel, name, parent, left, top, width, height, caption);
    c.bevelled = bevelled;
    c.align = TextAlign::Centre;
    return c;
}

ControlDesign centred(ControlDesign c) {
    c.align = TextAlign::Centre;
    return c;
}

// Where each mode's option button goes in its group box, in the order of
// kMovementModes. The group box and the dialog are sized for these five: a
// new mode needs a place here, and room for it.
struct OptionPlace {
    int left, top, width, height;
};
constexpr OptionPlace kOptionPlaces[] = {
    {7, 15, 133, 17}, {7, 35, 113, 17}, {7, 55, 131, 17}, {7, 74, 154, 17}, {7, 94, 113, 17},
};
static_assert(std::size(kOptionPlaces) == kMovementModes.size(),
              "every movement mode needs a place in the dialog");

DialogDesign makeSettingsDesign() {
    using K = ControlKind;
    DialogDesign d;
    d.name = "FrmSettei";
    d.caption = Captions::text("settings.title");
    d.clientWidth = 365;
    d.clientHeight = 198;
    d.stayOnTop = true;
    d.fontFace = "ＭＳ Ｐゴシック";
    auto& c = d.controls;
    c.push_back(panel("Panel1", "", true, 0, 0, 365, 166, " "));
    c.push_back(
        control(K::GroupBox, "GroupBox3", "Panel1", 8, 6, 163, 116, Captions::text("settings.movement")));
    for (std::size_t i = 0; i < kMovementModes.size(); ++i) {
        const std::string name = "RadioButton" + std::to_string(i + 1);
        const OptionPlace& at = kOptionPlaces[i];
        ControlDesign option = control(K::OptionButton, name.c_str(), "GroupBox3", at.left, at.top, at.width,
                                       at.height, Captions::text(kMovementModes[i].captionId));
        // The first option is selected when the dialog is created.
        option.checked = i == 0;
        c.push_back(option);
        d.tabOrder.push_back(name);
    }
    c.push_back(panel("Panel3", "Panel1", true, 8, 128, 163, 30, "\u3000"));
    c.push_back(
        control(K::CheckBox, "CbxTemae", "Panel3", 8, 7, 123, 17, Captions::text("settings.stayOnTop")));
    c.push_back(
        control(K::GroupBox, "GroupBox1", "Panel1", 177, 7, 179, 74, Captions::text("settings.speed")));
    c.push_back(control(K::Slider, "TrBar", "GroupBox1", 18, 21, 143, 25));
    c.push_back(control(K::Label, "Label2", "GroupBox1", 14, 48, 23, 12, Captions::text("settings.fast")));
    c.push_back(control(K::Label, "Label3", "GroupBox1", 144, 48, 23, 12, Captions::text("settings.slow")));
    c.push_back(
        control(K::GroupBox, "GroupBox2", "Panel1", 177, 84, 180, 74, Captions::text("settings.stepSize")));
    c.push_back(control(K::Slider, "TrBarIdouR", "GroupBox2", 18, 21, 143, 25));
    c.push_back(control(K::Label, "Label5", "GroupBox2", 16, 48, 23, 12, Captions::text("settings.large")));
    c.push_back(control(K::Label, "Label6", "GroupBox2", 137, 48, 34, 12, Captions::text("settings.small")));
    c.push_back(panel("Panel2", "", false, 0, 166, 365, 32, " "));
    ControlDesign ok =
        control(K::PushButton, "Button1", "Panel2", 96, 4, 77, 25, Captions::text("button.ok"));
    ok.isDefault = true;
    c.push_back(ok);
    ControlDesign cancel =
        control(K::PushButton, "Button2", "Panel2", 198, 4, 77, 25, Captions::text("button.cancel"));
    cancel.isCancel = true;
    c.push_back(cancel);
    for (const char* name : {"CbxTemae", "TrBar", "TrBarIdouR", "Button1", "Button2"})
        d.tabOrder.emplace_back(name);
    return d;
}

DialogDesign makeAboutDesign() {
    using K = ControlKind;
    DialogDesign d;
    d.name = "FrmVer";
    d.caption = Captions::text("about.title");
    d.clientWidth = 235;
    d.clientHeight = 161;
    d.fontFace = "ＭＳ Ｐゴシック";
    auto& c = d.controls;
    c.push_back(panel("Panel1", "", true, 0, 0, 235, 130, " "));
    c.push_back(control(K::Image, "Image1", "Panel1", 8, 6, 39, 39));
    ControlDesign title = control(K::Label, "Label1", "Panel1", 66, 12, 106, 16, Captions::text("app.title"));
    title.font = {16, true};
    c.push_back(title);
    c.push_back(control(K::Label, "Label2", "Panel1", 96, 32, 32, 12, "Ver1.0"));
    // The credit lines are centred in their boxes so that they sit under
    // the title whatever their length.
    c.push_back(centred(control(K::Label, "Label3", "Panel1", 50, 54, 127, 12, "Copyright © 2026")));
    c.push_back(centred(control(K::Label, "Label4", "Panel1", 66, 72, 97, 12, Captions::text("about.team"))));
    ControlDesign where =
        centred(control(K::Label, "Label5", "Panel1", 22, 88, 193, 12, Captions::text("about.what")));
    // Blue like a link, but plain text that does nothing when clicked.
    where.blueText = true;
    c.push_back(where);
    c.push_back(control(K::Label, "Label6", "Panel1", 24, 104, 189, 12, Captions::text("about.free")));
    c.push_back(panel("Panel2", "", false, 0, 130, 235, 31, " "));
    // The only button: Enter presses it, and with no cancel button Esc does
    // nothing.
    ControlDesign ok =
        control(K::PushButton, "Button1", "Panel2", 78, 4, 75, 25, Captions::text("button.ok"));
    ok.isDefault = true;
    c.push_back(ok);
    d.tabOrder = {"Button1"};
    return d;
}

} // namespace

const ControlDesign* DialogDesign::find(const std::string& controlName) const {
    for (const ControlDesign& c : controls)
        if (c.name == controlName)
            return &c;
    return nullptr;
}

DialogPoint positionInDialog(const DialogDesign& dialog, const ControlDesign& control) {
    DialogPoint at{control.left, control.top};
    // Bounded by the number of controls, so that a parent cycle in a broken
    // description cannot hang the builder.
    const ControlDesign* c = &control;
    for (std::size_t hops = 0; hops < dialog.controls.size() && !c->parent.empty(); ++hops) {
        c = dialog.find(c->parent);
        if (!c)
            break;
        at.x += c->left;
        at.y += c->top;
    }
    return at;
}

LabelSpan fitLabel(const ControlDesign& label, int needed) {
    const int extra = needed - label.width;
    if (extra <= 0)
        return {label.left, label.width};
    const int shift = label.align == TextAlign::Centre ? (extra + 1) / 2 : 0;
    return {label.left - shift, needed};
}

namespace {

// Each design is made once for the language in use, and again only when
// another language is chosen (which only tests do, between dialogs).
const DialogDesign& designFor(DialogDesign (*make)(), DialogDesign& design, std::string& language) {
    if (design.name.empty() || language != Captions::language()) {
        design = make();
        language = Captions::language();
    }
    return design;
}

} // namespace

const DialogDesign& settingsDialogDesign() {
    static DialogDesign design;
    static std::string language;
    return designFor(makeSettingsDesign, design, language);
}

const DialogDesign& aboutDialogDesign() {
    static DialogDesign design;
    static std::string language;
    return designFor(makeAboutDesign, design, language);
}

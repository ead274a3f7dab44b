// The two dialogs built as Windows' own controls on a plain window, read
// back through Windows: what each control is, its caption and place, the tab
// order, the track bars, the font Windows actually uses, and what Enter and
// Esc send.

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DialogDesign.h"
#include "MascotSettings.h"
#include "Utf16.h"
#include "Win32DialogBuilder.h"
#include "Win32SettingsValues.h"

namespace {

// The command ids the dialog window was sent, in order.
std::vector<int> commandsSeen;

LRESULT CALLBACK dialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND)
        commandsSeen.push_back(LOWORD(wParam));
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND hwndOf(WindowHandle w) {
    return reinterpret_cast<HWND>(w.id);
}

// A plain window whose client area is the design's, as the form gives it.
class DialogWindow {
public:
    explicit DialogWindow(const DialogDesign& design) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = dialogProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = L"kuvito dialog test";
        ::RegisterClassW(&wc);
        RECT r{0, 0, design.clientWidth, design.clientHeight};
        ::AdjustWindowRectEx(&r, WS_CAPTION | WS_SYSMENU, FALSE, WS_EX_DLGMODALFRAME);
        hwnd_ =
            ::CreateWindowExW(WS_EX_DLGMODALFRAME, wc.lpszClassName, L"", WS_CAPTION | WS_SYSMENU, 40, 40,
                              r.right - r.left, r.bottom - r.top, nullptr, nullptr, wc.hInstance, nullptr);
    }
    ~DialogWindow() { ::DestroyWindow(hwnd_); }
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;
    WindowHandle handle() const { return {reinterpret_cast<std::uintptr_t>(hwnd_)}; }
    HWND hwnd() const { return hwnd_; }

private:
    HWND hwnd_ = nullptr;
};

std::wstring classOf(HWND hwnd) {
    wchar_t name[64] = {};
    ::GetClassNameW(hwnd, name, 64);
    return name;
}

std::wstring textOf(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

// A control's rectangle in its dialog window's client area.
RECT rectIn(HWND parent, HWND control) {
    RECT r{};
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

struct DialogCase {
    const char* name;
    const DialogDesign& (*design)();
};

class BuiltDialog : public ::testing::TestWithParam<DialogCase> {
protected:
    const DialogDesign& design() const { return GetParam().design(); }
};

TEST_P(BuiltDialog, EveryControlIsWindowsOwnKindWithItsCaptionInsideItsFrame) {
    DialogWindow window(design());
    Win32DialogBuilder built(window.handle(), design());
    for (const ControlDesign& c : design().controls) {
        SCOPED_TRACE(c.name);
        const HWND hwnd = hwndOf(built.control(c.name));
        ASSERT_NE(hwnd, nullptr);
        EXPECT_EQ(::GetParent(hwnd), window.hwnd()) << "every control a child of the dialog itself";
        const LONG style = ::GetWindowLongW(hwnd, GWL_STYLE);
        const LONG buttonType = style & BS_TYPEMASK;
        switch (c.kind) {
        case ControlKind::Slider:
            EXPECT_EQ(classOf(hwnd), TRACKBAR_CLASSW);
            break;
        case ControlKind::Panel:
        case ControlKind::Label:
        case ControlKind::Image:
            EXPECT_EQ(classOf(hwnd), L"Static");
            break;
        case ControlKind::GroupBox:
            EXPECT_EQ(buttonType, BS_GROUPBOX);
            break;
        case ControlKind::OptionButton:
            EXPECT_EQ(buttonType, BS_AUTORADIOBUTTON);
            break;
        case ControlKind::CheckBox:
            EXPECT_EQ(buttonType, BS_AUTOCHECKBOX);
            break;
        case ControlKind::PushButton:
            EXPECT_EQ(buttonType, c.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
            break;
        }
        if (c.kind != ControlKind::Slider && c.kind != ControlKind::Image) {
            EXPECT_EQ(textOf(hwnd), Utf16::fromUtf8(c.caption));
        }
        if (c.kind == ControlKind::OptionButton || c.kind == ControlKind::CheckBox) {
            EXPECT_EQ(built.isChecked(c.name), c.checked);
        }
        if (c.kind == ControlKind::Image) {
            EXPECT_NE(::SendMessageW(hwnd, STM_GETIMAGE, IMAGE_ICON, 0), 0) << "the program's icon";
        }

        const RECT r = rectIn(window.hwnd(), hwnd);
        // Labels may grow to fit their text; everything else has its size.
        if (c.kind == ControlKind::Label) {
            EXPECT_GE(r.right - r.left, c.width);
        } else {
            EXPECT_EQ(r.right - r.left, c.width);
        }
        EXPECT_EQ(r.bottom - r.top, c.height);
        // Flattened onto the dialog, a control still lies in its panel or
        // group box, so each was moved by the offsets of all its frames.
        const RECT frame = c.parent.empty() ? RECT{0, 0, design().clientWidth, design().clientHeight}
                                            : rectIn(window.hwnd(), hwndOf(built.control(c.parent)));
        EXPECT_TRUE(inside(r, frame)) << "outside " << (c.parent.empty() ? "the dialog" : c.parent);
    }
}

TEST_P(BuiltDialog, TabStopsRunInTheDesignsTabOrderAndFramesLieUnderwhatTheyFrame) {
    DialogWindow window(design());
    Win32DialogBuilder built(window.handle(), design());
    std::vector<std::string> stops;
    std::vector<std::string> childOrder;
    for (HWND h = ::GetWindow(window.hwnd(), GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
        for (const ControlDesign& c : design().controls)
            if (hwndOf(built.control(c.name)) == h) {
                childOrder.push_back(c.name);
                if (::GetWindowLongW(h, GWL_STYLE) & WS_TABSTOP)
                    stops.push_back(c.name);
            }
    // Windows keeps the tab stop of a group of option buttons on the
    // selected one: Tab visits the group once, the arrow keys move in it.
    std::vector<std::string> expected;
    for (const std::string& name : design().tabOrder) {
        const ControlDesign* c = design().find(name);
        if (c->kind != ControlKind::OptionButton || c->checked)
            expected.push_back(name);
    }
    EXPECT_EQ(stops, expected);
    // A frame later in the child order than what it frames (lower in
    // Windows' z-order) is what keeps it from painting over its contents.
    auto place = [&](const std::string& name) {
        return std::find(childOrder.begin(), childOrder.end(), name) - childOrder.begin();
    };
    for (const ControlDesign& c : design().controls)
        if (!c.parent.empty()) {
            EXPECT_LT(place(c.name), place(c.parent)) << c.name << " under " << c.parent;
        }
}

TEST_P(BuiltDialog, ControlsUseTheFaceWindowsActuallyHasAtTheDesignHeight) {
    DialogWindow window(design());
    Win32DialogBuilder built(window.handle(), design());
    const auto candidates = Win32DialogBuilder::faceCandidates(design());
    EXPECT_NE(std::find(candidates.begin(), candidates.end(), built.fontFace()), candidates.end());
    for (const ControlDesign& c : design().controls) {
        // A bevelled panel is an etched frame, which draws no text and keeps
        // no font; the image and the track bars draw none either.
        if ((c.kind == ControlKind::Panel && c.bevelled) || c.kind == ControlKind::Image ||
            c.kind == ControlKind::Slider)
            continue;
        SCOPED_TRACE(c.name);
        const HWND hwnd = hwndOf(built.control(c.name));
        const auto font = reinterpret_cast<HFONT>(::SendMessageW(hwnd, WM_GETFONT, 0, 0));
        ASSERT_NE(font, nullptr);
        LOGFONTW lf{};
        ::GetObjectW(font, sizeof lf, &lf);
        EXPECT_EQ(lf.lfHeight, -c.font.pixels) << "the character height, not the cell's";
        EXPECT_EQ(lf.lfWeight >= FW_BOLD, c.font.bold);
        // The face Windows draws with is the one chosen, not a substitute.
        const HDC dc = ::GetDC(hwnd);
        const HGDIOBJ old = ::SelectObject(dc, font);
        wchar_t face[LF_FACESIZE] = {};
        ::GetTextFaceW(dc, LF_FACESIZE, face);
        ::SelectObject(dc, old);
        ::ReleaseDC(hwnd, dc);
        EXPECT_EQ(std::wstring(face), built.fontFace());
    }
}

// Enter and Esc as IsDialogMessageW turns them into commands, wherever the
// focus is: Enter is the default button, Esc the cancel button or nothing.
TEST_P(BuiltDialog, EnterPressesTheDefaultButtonAndEscTheCancelButtonIfAny) {
    DialogWindow window(design());
    Win32DialogBuilder built(window.handle(), design());
    const ControlDesign* defaultButton = nullptr;
    const ControlDesign* cancelButton = nullptr;
    for (const ControlDesign& c : design().controls) {
        if (c.isDefault)
            defaultButton = &c;
        if (c.isCancel)
            cancelButton = &c;
    }
    for (const WPARAM key : {WPARAM(VK_RETURN), WPARAM(VK_ESCAPE)}) {
        commandsSeen.clear();
        MSG msg{hwndOf(built.control(design().tabOrder.front())), WM_KEYDOWN, key, 0, 0, {}};
        EXPECT_TRUE(::IsDialogMessageW(window.hwnd(), &msg));
        ASSERT_EQ(commandsSeen.size(), 1u);
        EXPECT_EQ(built.commandTarget(commandsSeen.front()), key == VK_RETURN ? defaultButton : cancelButton);
    }
}

INSTANTIATE_TEST_SUITE_P(Dialogs, BuiltDialog,
                         ::testing::Values(DialogCase{"settings", &settingsDialogDesign},
                                           DialogCase{"about", &aboutDialogDesign}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(SettingsDialogOnWindows, TrackBarsRunFromZeroToTenByOnesAndClamp) {
    const DialogDesign& design = settingsDialogDesign();
    DialogWindow window(design);
    Win32DialogBuilder built(window.handle(), design);
    for (const char* name : {"TrBar", "TrBarIdouR"}) {
        SCOPED_TRACE(name);
        const HWND bar = hwndOf(built.control(name));
        EXPECT_EQ(::SendMessageW(bar, TBM_GETRANGEMIN, 0, 0), design.sliders.minimum);
        EXPECT_EQ(::SendMessageW(bar, TBM_GETRANGEMAX, 0, 0), design.sliders.maximum);
        EXPECT_EQ(built.position(name), design.sliders.position);
        EXPECT_EQ(::SendMessageW(bar, TBM_GETLINESIZE, 0, 0), 1);
        EXPECT_EQ(::SendMessageW(bar, TBM_GETPAGESIZE, 0, 0), 1);
        EXPECT_EQ(::SendMessageW(bar, TBM_GETTHUMBLENGTH, 0, 0), 15);
        const LONG style = ::GetWindowLongW(bar, GWL_STYLE);
        EXPECT_TRUE(style & TBS_AUTOTICKS);
        EXPECT_FALSE(style & (TBS_TOP | TBS_BOTH)) << "ticks below the bar only";
        EXPECT_FALSE(style & TBS_VERT);
        built.setPosition(name, 12);
        EXPECT_EQ(built.position(name), design.sliders.maximum);
        built.setPosition(name, -1);
        EXPECT_EQ(built.position(name), design.sliders.minimum);
    }
}

TEST(SettingsDialogOnWindows, ChoosingAnOptionClearsTheOthersAndLeavesTheCheckBox) {
    DialogWindow window(settingsDialogDesign());
    Win32DialogBuilder built(window.handle(), settingsDialogDesign());
    built.setChecked("CbxTemae", true);
    // A click, as Windows' own option buttons take it.
    ::SendMessageW(hwndOf(built.control("RadioButton4")), BM_CLICK, 0, 0);
    EXPECT_TRUE(built.isChecked("RadioButton4"));
    EXPECT_FALSE(built.isChecked("RadioButton1"));
    EXPECT_TRUE(built.isChecked("CbxTemae")) << "the check box is not one of the options";
    built.setChecked("RadioButton2", true);
    EXPECT_FALSE(built.isChecked("RadioButton4"));
}

// The settings as the Windows dialog shows them and as OK would store them,
// one showing after another on the same dialog, as the same mapping as on
// Linux gives them: the sliders clamped, a mode without an option keeping
// the option already selected.
TEST(SettingsDialogOnWindows, ShowsAndStoresTheSettingsThroughTheSharedMapping) {
    struct Case {
        MascotSettings settings;
        int speed, step;
        bool top;
        int mode;
    };
    const Case cases[] = {
        {{true, MovementMode::WalkOnWindow, 2, 8}, 2, 8, true, 4},
        {{false, MovementMode::WanderScreen, 0, 10}, 0, 10, false, 2},
        {{false, static_cast<MovementMode>(7), 12, -1}, 10, 0, false, 2},
        {{true, MovementMode::StepInPlace, 5, 5}, 5, 5, true, 5},
    };
    DialogWindow window(settingsDialogDesign());
    Win32DialogBuilder built(window.handle(), settingsDialogDesign());
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.settings.MoveMode));
        Win32SettingsValues::show(built, valuesToShow(c.settings, Win32SettingsValues::read(built)));
        const SettingsDialogValues stored = Win32SettingsValues::read(built);
        EXPECT_EQ(stored.speedPosition, c.speed);
        EXPECT_EQ(stored.stepPosition, c.step);
        EXPECT_EQ(stored.stayOnTop, c.top);
        EXPECT_EQ(moveModeOfOption(stored.option), c.mode);
    }
}

} // namespace

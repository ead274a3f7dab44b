#include "Win32DialogBuilder.h"

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>

#include "Utf16.h"

namespace {

// Ids of the controls that are not the default or cancel button.
constexpr int kFirstControlId = 100;
// The program's icon among its resources (packaging/windows).
constexpr int kProgramIconId = 1;

HWND hwndOf(WindowHandle w) {
    return reinterpret_cast<HWND>(w.id);
}

bool isContainer(ControlKind kind) {
    return kind == ControlKind::Panel || kind == ControlKind::GroupBox;
}

bool takesTab(const DialogDesign& design, const ControlDesign& c) {
    return std::find(design.tabOrder.begin(), design.tabOrder.end(), c.name) != design.tabOrder.end();
}

int CALLBACK noteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool systemHasFace(HDC dc, const std::wstring& face) {
    if (face.size() >= LF_FACESIZE)
        return false;
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    face.copy(wanted.lfFaceName, face.size());
    bool found = false;
    ::EnumFontFamiliesExW(dc, &wanted, noteFace, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

// The window class and style bits of each kind of control, before the tab
// stop and group bits.
struct KindStyle {
    const wchar_t* windowClass;
    DWORD style;
};

KindStyle styleOf(const ControlDesign& c) {
    switch (c.kind) {
    case ControlKind::Panel:
        // A panel's bevel (lowered outside, raised inside) is Windows' etched
        // edge; a panel without one is a plain, blank static.
        return {L"STATIC", c.bevelled ? DWORD(SS_ETCHEDFRAME) : DWORD(SS_CENTER | SS_NOPREFIX)};
    case ControlKind::GroupBox:
        return {L"BUTTON", BS_GROUPBOX};
    case ControlKind::OptionButton:
        return {L"BUTTON", BS_AUTORADIOBUTTON};
    case ControlKind::CheckBox:
        return {L"BUTTON", BS_AUTOCHECKBOX};
    case ControlKind::PushButton:
        return {L"BUTTON", c.isDefault ? DWORD(BS_DEFPUSHBUTTON) : DWORD(BS_PUSHBUTTON)};
    case ControlKind::Slider:
        // Horizontal, a tick at every position below the bar, and a thumb of
        // the length we give it.
        return {TRACKBAR_CLASSW, TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS | TBS_FIXEDLENGTH};
    case ControlKind::Label:
        return {L"STATIC", DWORD(c.align == TextAlign::Centre ? SS_CENTER : SS_LEFT) | SS_NOPREFIX};
    case ControlKind::Image:
        // The icon at its own size from the top-left corner.
        return {L"STATIC", SS_ICON};
    }
    return {L"STATIC", 0};
}

// The order the controls are made in, which is their child order: the tab
// stops in tab order, the other controls, then the panels and group boxes
// innermost first, so that each frame lies under what it frames.
std::vector<const ControlDesign*> creationOrder(const DialogDesign& design) {
    std::vector<const ControlDesign*> order;
    for (const std::string& name : design.tabOrder)
        if (const ControlDesign* c = design.find(name))
            order.push_back(c);
    for (const ControlDesign& c : design.controls)
        if (!isContainer(c.kind) && !takesTab(design, c))
            order.push_back(&c);
    for (auto it = design.controls.rbegin(); it != design.controls.rend(); ++it)
        if (isContainer(it->kind))
            order.push_back(&*it);
    return order;
}

} // namespace

std::vector<std::wstring> Win32DialogBuilder::faceCandidates(const DialogDesign& design) {
    return {Utf16::fromUtf8(design.fontFace),
            L"Yu Gothic UI",
            L"Meiryo UI",
            L"MS UI Gothic",
            L"IPAPGothic",
            L"IPAGothic"};
}

Win32DialogBuilder::Win32DialogBuilder(WindowHandle dialog, const DialogDesign& design) : design_(design) {
    const HWND parent = hwndOf(dialog);
    const INITCOMMONCONTROLSEX bars{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&bars);

    const HDC screen = ::GetDC(nullptr);
    const std::vector<std::wstring> candidates = faceCandidates(design);
    // None of them: the first, which Windows' font mapper matches as best
    // it can.
    face_ = candidates.front();
    for (const std::wstring& face : candidates)
        if (systemHasFace(screen, face)) {
            face_ = face;
            break;
        }

    const HINSTANCE instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    int nextId = kFirstControlId;
    bool previousWasOption = false;
    for (const ControlDesign* c : creationOrder(design)) {
        const KindStyle kind = styleOf(*c);
        DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | kind.style;
        const bool tab = takesTab(design, *c);
        if (tab)
            style |= WS_TABSTOP;
        // Each tab stop starts a group of its own, except an option button
        // after another: the options form one group, in which the arrow keys
        // move and selecting one clears the others.
        const bool option = c->kind == ControlKind::OptionButton;
        if (tab && !(option && previousWasOption))
            style |= WS_GROUP;
        previousWasOption = tab && option;

        const int id = c->isDefault ? IDOK : c->isCancel ? IDCANCEL : nextId++;
        const DialogPoint at = positionInDialog(design, *c);
        const std::wstring caption = Utf16::fromUtf8(c->caption);
        const HWND hwnd =
            ::CreateWindowExW(0, kind.windowClass, caption.c_str(), style, at.x, at.y, c->width, c->height,
                              parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        if (!hwnd)
            continue;
        // Children are made at the bottom of their siblings; saying so keeps
        // the child order the creation order whatever the system does.
        ::SetWindowPos(hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        const HFONT font = reinterpret_cast<HFONT>(fontFor(c->font));
        ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);

        switch (c->kind) {
        case ControlKind::OptionButton:
        case ControlKind::CheckBox:
            ::SendMessageW(hwnd, BM_SETCHECK, c->checked ? BST_CHECKED : BST_UNCHECKED, 0);
            break;
        case ControlKind::Slider:
            ::SendMessageW(hwnd, TBM_SETRANGEMIN, FALSE, design.sliders.minimum);
            ::SendMessageW(hwnd, TBM_SETRANGEMAX, FALSE, design.sliders.maximum);
            ::SendMessageW(hwnd, TBM_SETLINESIZE, 0, 1);
            ::SendMessageW(hwnd, TBM_SETPAGESIZE, 0, 1);
            ::SendMessageW(hwnd, TBM_SETTICFREQ, 1, 0);
            ::SendMessageW(hwnd, TBM_SETTHUMBLENGTH, 15, 0);
            ::SendMessageW(hwnd, TBM_SETPOS, TRUE, design.sliders.position);
            break;
        case ControlKind::Label: {
            // Widened to fit the text in the face that stands in for the
            // design font, as the Qt side does.
            SIZE extent{};
            const HGDIOBJ old = ::SelectObject(screen, font);
            ::GetTextExtentPoint32W(screen, caption.c_str(), static_cast<int>(caption.size()), &extent);
            ::SelectObject(screen, old);
            const LabelSpan span = fitLabel(*c, extent.cx);
            ::MoveWindow(hwnd, at.x - c->left + span.left, at.y, span.width, c->height, FALSE);
            break;
        }
        case ControlKind::Image: {
            // A program without the icon among its resources shows none.
            const HANDLE icon = ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kProgramIconId),
                                             IMAGE_ICON, 32, 32, LR_SHARED);
            if (icon)
                ::SendMessageW(hwnd, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
            // The static took the icon's size; the box is the design's.
            ::MoveWindow(hwnd, at.x, at.y, c->width, c->height, FALSE);
            break;
        }
        default:
            break;
        }
        made_.push_back({c, {reinterpret_cast<std::uintptr_t>(hwnd)}, id});
    }
    ::ReleaseDC(nullptr, screen);
}

Win32DialogBuilder::~Win32DialogBuilder() {
    for (const auto& [key, font] : fonts_)
        ::DeleteObject(reinterpret_cast<HFONT>(font));
}

std::uintptr_t Win32DialogBuilder::fontFor(const ControlFont& font) {
    const auto key = std::make_pair(font.pixels, font.bold);
    if (const auto it = fonts_.find(key); it != fonts_.end())
        return it->second;
    // A negative height asks for the character height, as the design gives
    // it, not the cell height.
    const HFONT made = ::CreateFontW(-font.pixels, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                                     FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                     DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face_.c_str());
    fonts_[key] = reinterpret_cast<std::uintptr_t>(made);
    return fonts_[key];
}

WindowHandle Win32DialogBuilder::control(const std::string& name) const {
    for (const Made& m : made_)
        if (m.design->name == name)
            return m.window;
    return {};
}

const ControlDesign* Win32DialogBuilder::commandTarget(int commandId) const {
    for (const Made& m : made_)
        if (m.id == commandId)
            return m.design;
    return nullptr;
}

std::optional<std::uint32_t> Win32DialogBuilder::textColour(WindowHandle window) const {
    for (const Made& m : made_)
        if (m.window == window && m.design->blueText)
            return RGB(0, 0, 255);
    return std::nullopt;
}

bool Win32DialogBuilder::isChecked(const std::string& name) const {
    return ::SendMessageW(hwndOf(control(name)), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32DialogBuilder::setChecked(const std::string& name, bool checked) {
    const HWND hwnd = hwndOf(control(name));
    const ControlDesign* c = design_.find(name);
    // Selecting an option clears the others, as a click would. Wine's auto
    // option buttons do that on BM_SETCHECK by themselves; Windows documents
    // it for clicks only, so it is not left to them.
    if (checked && c && c->kind == ControlKind::OptionButton)
        for (const Made& m : made_)
            if (m.design->kind == ControlKind::OptionButton && m.design->parent == c->parent)
                ::SendMessageW(hwndOf(m.window), BM_SETCHECK, BST_UNCHECKED, 0);
    ::SendMessageW(hwnd, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

int Win32DialogBuilder::position(const std::string& name) const {
    return static_cast<int>(::SendMessageW(hwndOf(control(name)), TBM_GETPOS, 0, 0));
}

void Win32DialogBuilder::setPosition(const std::string& name, int position) {
    ::SendMessageW(hwndOf(control(name)), TBM_SETPOS, TRUE, position);
}

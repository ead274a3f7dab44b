#include "Form.h"

#include <algorithm>

#include "DesktopWindows.h"
#include "ErrorDisplay.h"
#include "FormLoader.h"
#include "PlacementProperties.h"
#include "PropertyWriter.h"

namespace {

struct NamedColor {
    const char* name;
    std::int32_t value;
};
// The colour names stored layouts use; system colours are 0x80000000 plus
// their index (clBtnFace is COLOR_BTNFACE, 15).
constexpr NamedColor colorNames[] = {
    {"clBlack", 0x000000},    {"clMaroon", 0x000080},  {"clGreen", 0x008000},       {"clOlive", 0x008080},
    {"clNavy", 0x800000},     {"clPurple", 0x800080},  {"clTeal", 0x808000},        {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},   {"clRed", 0x0000FF},     {"clLime", 0x00FF00},        {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},     {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00},        {"clWhite", 0xFFFFFF},
    {"clBtnFace", -16777201}, {"clWindow", -16777211}, {"clWindowText", -16777208},
};

struct Rgb {
    std::uint8_t red, green, blue;
};
Rgb toRgb(std::int32_t color) {
    if (color < 0) {
        // System colours: the button face of the classic desktop, white for
        // window backgrounds, black for text.
        switch (color & 0xFF) {
        case 5:
            return {255, 255, 255};
        case 8:
            return {0, 0, 0};
        default:
            return {212, 208, 200};
        }
    }
    // Stored colours are 0x00BBGGRR.
    return {static_cast<std::uint8_t>(color & 0xFF), static_cast<std::uint8_t>((color >> 8) & 0xFF),
            static_cast<std::uint8_t>((color >> 16) & 0xFF)};
}

bool isFontPath(const std::string& path) {
    return path.rfind("Font.", 0) == 0;
}

} // namespace

Form::Form(Component* owner) : Component(owner) {
    setColor(color_);
}

Form::~Form() {
    // The owned components go first, while the form is still whole and
    // before the window base goes with its child windows.
    beginDestruction();
    destroyComponents();
}

WindowHandle Form::dialogWindow() const {
    return desktopHandle();
}

void Form::beginModal() {
    setResult(0);
}

std::optional<int> Form::modalResult() const {
    // A shown form is still running; the toolkit hides it as it ends.
    if (isVisible())
        return std::nullopt;
    return result();
}

void Form::loadLayout(const std::vector<std::uint8_t>& bytes) {
    FormLoader::loadForm(*this, bytes);
    doCreate();
}

void Form::doCreate() {
    TNotifyEvent handler = onCreate_;
    ErrorDisplay::guarded([&] { fire(handler, this); });
}

int Form::Left() const {
    return pendingMove_ ? pendingMove_->x : desktopWindows().windowPos(desktopHandle()).x;
}
int Form::Top() const {
    return pendingMove_ ? pendingMove_->y : desktopWindows().windowPos(desktopHandle()).y;
}
int Form::Width() const {
    return outerWidth();
}
int Form::Height() const {
    return outerHeight();
}

void Form::setLeft(int v) {
    if (v == Left())
        return;
    if (moveBatchDepth_ > 0)
        pendingMove_ = ScreenPoint{v, Top()};
    else
        desktopWindows().moveWindow(desktopHandle(), v, Top());
}

void Form::setTop(int v) {
    if (v == Top())
        return;
    if (moveBatchDepth_ > 0)
        pendingMove_ = ScreenPoint{Left(), v};
    else
        desktopWindows().moveWindow(desktopHandle(), Left(), v);
}

void Form::endMoveBatch() {
    if (moveBatchDepth_ == 0 || --moveBatchDepth_ > 0 || !pendingMove_)
        return;
    const ScreenPoint to = *pendingMove_;
    pendingMove_.reset();
    if (to != desktopWindows().windowPos(desktopHandle()))
        desktopWindows().moveWindow(desktopHandle(), to.x, to.y);
}

// The frame's share of the outer size, kept while the size changes.
void Form::setWidth(int v) {
    setClientSize(v - (Width() - clientWidth()), clientHeight());
}
void Form::setHeight(int v) {
    setClientSize(clientWidth(), v - (Height() - clientHeight()));
}
void Form::setClientWidth(int v) {
    setClientSize(v, clientHeight());
}
void Form::setClientHeight(int v) {
    setClientSize(clientWidth(), v);
}

bool Form::hasFixedBorder() const {
    return borderStyle_ == TFormBorderStyle::bsSingle || borderStyle_ == TFormBorderStyle::bsDialog ||
           borderStyle_ == TFormBorderStyle::bsToolWindow;
}

// A fixed border keeps the user from resizing, not the program.
void Form::setClientSize(int w, int h) {
    resizeClient(std::max(w, 0), std::max(h, 0), hasFixedBorder());
}

std::string Form::Caption() const {
    return windowCaption();
}
void Form::setCaption(const std::string& caption) {
    setWindowCaption(caption);
}

void Form::setFormStyle(TFormStyle style) {
    if (style == formStyle_)
        return;
    formStyle_ = style;
    // The desktop keeps the one record of "top-most" for every window, also
    // for a window whose stored layout says so before it exists.
    desktopWindows().setTopMost(desktopHandle(), style == TFormStyle::fsStayOnTop);
}

void Form::setBorderStyle(TFormBorderStyle style) {
    if (style == borderStyle_)
        return;
    borderStyle_ = style;
    FormFrame frame = FormFrame::normal;
    switch (style) {
    case TFormBorderStyle::bsNone:
        frame = FormFrame::none;
        break;
    case TFormBorderStyle::bsDialog:
        frame = FormFrame::dialog;
        break;
    case TFormBorderStyle::bsToolWindow:
    case TFormBorderStyle::bsSizeToolWin:
        frame = FormFrame::tool;
        break;
    default:
        break;
    }
    applyFrame(frame, hasFixedBorder());
}

void Form::setClearBrush() {
    if (clearBrush_)
        return;
    clearBrush_ = true;
    stopFillingBackground();
}

void Form::setColor(std::int32_t color) {
    color_ = color;
    colorName_.clear();
    for (const NamedColor& c : colorNames)
        if (c.value == color)
            colorName_ = c.name;
    const Rgb rgb = toRgb(color);
    setBackground(rgb.red, rgb.green, rgb.blue);
}

void Form::setCursorNumber(TCursor cursor) {
    cursor_ = cursor;
    showCursorShape(cursor);
}

bool Form::closeRequested() {
    TCloseAction action = TCloseAction::caHide;
    TCloseEvent handler = onClose_;
    ErrorDisplay::guarded([&] { fire(handler, this, action); });
    return action != TCloseAction::caNone;
}

void Form::shown() {
    TNotifyEvent handler = onShow_;
    ErrorDisplay::guarded([&] { fire(handler, this); });
}

bool Form::readProperty(const std::string& path, const FormValue& value) {
    if (readPlacementProperty(*this, path, value))
        return true;
    auto integer = [&] { return value.asInt32(); };
    if (path == "ClientWidth") {
        setClientWidth(integer());
    } else if (path == "ClientHeight") {
        setClientHeight(integer());
    } else if (path == "Caption") {
        setCaption(value.asString());
    } else if (path == "FormStyle") {
        if (value.type != FormValue::Type::Ident)
            throw KuvitoError("FormStyle の値が不正です", KuvitoError::Kind::Conversion);
        setFormStyle(value.text == "fsStayOnTop" ? TFormStyle::fsStayOnTop : TFormStyle::fsNormal);
    } else if (path == "BorderStyle") {
        static const char* names[] = {"bsNone",   "bsSingle",     "bsSizeable",
                                      "bsDialog", "bsToolWindow", "bsSizeToolWin"};
        int found = -1;
        for (int i = 0; i < 6; ++i)
            if (value.type == FormValue::Type::Ident && value.text == names[i])
                found = i;
        if (found < 0)
            throw KuvitoError("BorderStyle の値が不正です", KuvitoError::Kind::Conversion);
        setBorderStyle(static_cast<TFormBorderStyle>(found));
    } else if (path == "Color") {
        if (value.type == FormValue::Type::Ident) {
            bool known = false;
            for (const NamedColor& c : colorNames)
                if (value.text == c.name) {
                    setColor(c.value);
                    known = true;
                }
            if (!known)
                throw KuvitoError("色 " + value.text + " は存在しません", KuvitoError::Kind::Conversion);
        } else {
            setColor(integer());
        }
    } else if (path == "OnCreate") {
        readEvent(path, value, onCreate_);
    } else if (path == "OnClose") {
        readEvent(path, value, onClose_);
    } else if (path == "OnShow") {
        readEvent(path, value, onShow_);
    } else if (isFontPath(path) || path == "PixelsPerInch" || path == "TextHeight" || path == "Position" ||
               path == "OldCreateOrder" || path == "Scaled" || path == "Visible") {
        if (path == "Font.Name") {
            setFontFamily(value.asString());
        } else if (path == "Font.Height") {
            // A negative height is the character height in pixels, a positive
            // one the cell height; both are taken as the pixel size here.
            const std::int64_t h = value.asInt32();
            if (h != 0)
                setFontPixelSize(static_cast<int>(std::min<std::int64_t>(h < 0 ? -h : h, 1000)));
        }
        kept_.emplace_back(path, value);
    } else {
        return Component::readProperty(path, value);
    }
    return true;
}

void Form::writeProperties(PropertyWriter& writer) const {
    writer.write("Left", FormValue::fromInt(Left()));
    writer.write("Top", FormValue::fromInt(Top()));
    writer.write("Width", FormValue::fromInt(Width()));
    writer.write("Height", FormValue::fromInt(Height()));
    if (borderStyle_ != TFormBorderStyle::bsSizeable) {
        static const char* names[] = {"bsNone",   "bsSingle",     "bsSizeable",
                                      "bsDialog", "bsToolWindow", "bsSizeToolWin"};
        writer.write("BorderStyle", FormValue::fromIdent(names[static_cast<int>(borderStyle_)]));
    }
    writer.write("Caption", FormValue::fromString(Caption()));
    writer.write("ClientHeight", FormValue::fromInt(clientHeight()));
    writer.write("ClientWidth", FormValue::fromInt(clientWidth()));
    writer.write("Color", colorName_.empty() ? FormValue::fromInt(color_) : FormValue::fromIdent(colorName_));
    if (cursor_ != Cursors::crDefault) {
        const std::string name = Cursors::toName(cursor_);
        writer.write("Cursor", name.empty() ? FormValue::fromInt(cursor_) : FormValue::fromIdent(name));
    }
    if (formStyle_ == TFormStyle::fsStayOnTop)
        writer.write("FormStyle", FormValue::fromIdent("fsStayOnTop"));
    for (const auto& [path, value] : kept_)
        writer.write(path, value);
    Component::writeProperties(writer);
}

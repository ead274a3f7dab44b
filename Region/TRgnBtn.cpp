#include "TRgnBtn.h"

#include "KuvitoError.h"
#include "PictureProperty.h"
#include "PropertyWriter.h"

namespace {
void checkIndex(int index) {
    if (index < 1 || index > 3)
        throw KuvitoError("ｸﾞﾘﾌの番号が正しくありません");
}
} // namespace

TRgnBtn::TRgnBtn(Component* owner) : ShapedControl(owner) {
    setBounds(Left(), Top(), 25, 25);
}

TRgnBtn::~TRgnBtn() {
    // Those who hold a reference (the region list) recognise the control by
    // its class when told it goes away, so they are told while it still is one.
    beginDestruction();
}

const Picture& TRgnBtn::GetGlyph(int index) const {
    checkIndex(index);
    return glyphs_[static_cast<std::size_t>(index - 1)];
}

Picture& TRgnBtn::glyph(int index) {
    checkIndex(index);
    return glyphs_[static_cast<std::size_t>(index - 1)];
}

void TRgnBtn::SetGlyph(int index, const Picture& picture) {
    Picture& own = glyph(index);
    if (&picture == &own)
        return;
    own = picture;
    if (index != 1) {
        // The face may be showing; the outline and size stay as they are.
        update();
        return;
    }
    takeOutlineOf(own);
    if (isDesigning()) {
        setBounds(Left(), Top(), own.width(), own.height());
    } else {
        // At run time presses follow the new outline at once.
        BuildRgn();
    }
    update();
}

void TRgnBtn::setBounds(int left, int top, int width, int height) {
    const Picture& g = glyphs_[0];
    if (AutoSize_ && g.width() > 0 && g.height() > 0) {
        width = g.width();
        height = g.height();
    }
    Control::setBounds(left, top, width, height);
}

void TRgnBtn::setAutoSize(bool value) {
    AutoSize_ = value;
    const Picture& g = glyphs_[0];
    if (value && g.width() >= 1 && g.height() >= 1 && !isLoading()) {
        setBounds(Left(), Top(), g.width(), g.height());
        update();
    }
}

void TRgnBtn::BuildRgn() {
    buildOutline(glyphs_[0], "Glyph1", 0, 0, "ﾘｰｼﾞｮﾝが作成できません");
}

void TRgnBtn::loaded() {
    Control::loaded();
    if (!isDesigning())
        BuildRgn();
}

void TRgnBtn::mouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    Control::mouseDown(button, shift, x, y);
    if (!isDesigning() && RgnHandle() && RgnHandle()->contains(x, y)) {
        Pressed_ = true;
        update();
    }
}

void TRgnBtn::mouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    Control::mouseUp(button, shift, x, y);
    if (!isDesigning() && Pressed_) {
        Pressed_ = false;
        update();
    }
}

void TRgnBtn::pointerDoublePressed(TMouseButton button, TShiftState shift, int x, int y) {
    Control::pointerPressed(button, shift, x, y);
}

void TRgnBtn::paint(Canvas& canvas) {
    Control::paint(canvas);
    int index = 1;
    if (!isEnabled() && !glyphs_[2].empty())
        index = 3;
    else if (isEnabled() && Pressed_)
        index = 2;
    if (glyphs_[static_cast<std::size_t>(index - 1)].empty())
        return;
    // The face is stretched over the button like its outline, with the
    // glyph's bottom-left colour see-through; at the glyph's own size (which
    // AutoSize keeps) this is a plain 1:1 keyed copy.
    glyphDrawings_[static_cast<std::size_t>(index - 1)].drawTransparent(canvas, 0, 0, Width(), Height());
}

bool TRgnBtn::readOwnProperty(const std::string& path, const FormValue& value) {
    if (path != "Glyph1.Data" && path != "Glyph2.Data" && path != "Glyph3.Data")
        return false;
    glyph(path[5] - '0') = PictureProperty::read(value);
    return true;
}

void TRgnBtn::writePictures(PropertyWriter& writer) const {
    for (int i = 1; i <= 3; ++i)
        if (!GetGlyph(i).empty())
            writer.write("Glyph" + std::to_string(i) + ".Data", PictureProperty::write(GetGlyph(i)));
}

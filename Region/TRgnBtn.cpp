#include "TRgnBtn.h"

#include "RgnDataStorage.h"

#include "BitmapToRgnData.h"
#include "KuvitoError.h"
#include "PictureProperty.h"
#include "PropertyWriter.h"
#include "RgnRegion.h"

#include <QPainter>

#include <limits>

namespace {
void checkIndex(int index) {
    if (index < 1 || index > 3)
        throw KuvitoError("ｸﾞﾘﾌの番号が正しくありません");
}
} // namespace

TRgnBtn::TRgnBtn(Component* owner) : Control(owner) {
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
    FreeRgn();
    try {
        RgnDataSize_ = BitmapToRgnData(&own, RgnDataBuf_);
    } catch (...) {
        RgnDataSize_ = 0;
        RgnDataBuf_.reset();
        own.clear();
        repaint();
        throw;
    }
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

void TRgnBtn::ReadRgnData(const std::vector<std::uint8_t>& stream) {
    RgnDataStorage::read(name(), stream, RgnDataBuf_, RgnDataSize_);
}

void TRgnBtn::WriteRgnData(std::vector<std::uint8_t>& stream) const {
    RgnDataStorage::write(RgnDataBuf_, RgnDataSize_, stream);
}

void TRgnBtn::BuildRgn() {
    const Picture& g = glyphs_[0];
    if (!RgnDataBuf_)
        throw KuvitoError(name() + " のﾘｰｼﾞｮﾝ情報がありません");
    if (g.empty() || g.width() == 0 || g.height() == 0)
        throw KuvitoError(name() + ":Glyph1 のﾋﾞｯﾄﾏｯﾌﾟが正しくありません");
    RgnHandle_.reset();
    XFORM xform{0, 0, 0, 0, 0, 0};
    if (AutoSize_) {
        xform.eM11 = xform.eM22 = 1.0f;
    } else {
        xform.eM11 = static_cast<float>(Width()) / static_cast<float>(g.width());
        xform.eM22 = static_cast<float>(Height()) / static_cast<float>(g.height());
    }
    RgnHandle_ = RgnRegion::fromBlock(RgnDataBuf_.get(), static_cast<std::size_t>(RgnDataSize_), xform);
    if (!RgnHandle_)
        throw KuvitoError("ﾘｰｼﾞｮﾝが作成できません");
}

void TRgnBtn::FreeRgn() {
    RgnHandle_.reset();
    RgnDataBuf_.reset();
    RgnDataSize_ = 0;
}

void TRgnBtn::loaded() {
    Control::loaded();
    if (!isDesigning())
        BuildRgn();
}

void TRgnBtn::mouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    Control::mouseDown(button, shift, x, y);
    if (!isDesigning() && RgnHandle_ && RgnHandle_->contains(QPoint(x, y))) {
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

void TRgnBtn::mouseDoubleClickEvent(QMouseEvent* event) {
    Control::mousePressEvent(event);
}

void TRgnBtn::paint(QPainter& canvas) {
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
    glyphDrawings_[static_cast<std::size_t>(index - 1)].drawTransparent(canvas,
                                                                        QRect(0, 0, Width(), Height()));
}

bool TRgnBtn::readProperty(const std::string& path, const FormValue& value) {
    if (path == "AutoSize") {
        setAutoSize(value.asBool());
    } else if (path == "Glyph1.Data" || path == "Glyph2.Data" || path == "Glyph3.Data") {
        glyph(path[5] - '0') = PictureProperty::read(value);
    } else if (path == "RgnData") {
        RgnDataStorage::readProperty(name(), value, RgnDataBuf_, RgnDataSize_);
    } else if (!extras_.read(*this, path, value)) {
        return Control::readProperty(path, value);
    }
    return true;
}

void TRgnBtn::writeProperties(PropertyWriter& writer) const {
    PropertyWriter base;
    Control::writeProperties(base);
    auto [before, after] = ControlExtras::splitBeforeEvents(base.take());
    ControlExtras::writeAll(writer, before);
    if (AutoSize_)
        writer.write("AutoSize", FormValue::fromBool(true));
    extras_.writeBeforePictures(writer);
    for (int i = 1; i <= 3; ++i)
        if (!GetGlyph(i).empty())
            writer.write("Glyph" + std::to_string(i) + ".Data", PictureProperty::write(GetGlyph(i)));
    extras_.writeAfterPictures(writer);
    ControlExtras::writeAll(writer, after);
    std::vector<std::uint8_t> block;
    WriteRgnData(block);
    writer.write("RgnData", FormValue::fromBinary(std::move(block)));
}

#include "ShapedControl.h"

#include "BitmapToRgnData.h"
#include "KuvitoError.h"
#include "Picture.h"
#include "PropertyWriter.h"
#include "RgnDataBlock.h"
#include "RgnDataStorage.h"
#include "RgnTransform.h"

ShapedControl::ShapedControl(Component* owner) : Control(owner) {}

ShapedControl::~ShapedControl() = default;

void ShapedControl::ReadRgnData(const std::vector<std::uint8_t>& stream) {
    RgnDataStorage::read(name(), stream, RgnDataBuf_, RgnDataSize_);
}

void ShapedControl::WriteRgnData(std::vector<std::uint8_t>& stream) const {
    RgnDataStorage::write(RgnDataBuf_, RgnDataSize_, stream);
}

void ShapedControl::FreeRgn() {
    RgnHandle_.reset();
    RgnDataBuf_.reset();
    RgnDataSize_ = 0;
}

void ShapedControl::takeOutlineOf(Picture& picture) {
    FreeRgn();
    try {
        RgnDataSize_ = BitmapToRgnData(&picture, RgnDataBuf_);
    } catch (...) {
        RgnDataSize_ = 0;
        RgnDataBuf_.reset();
        picture.clear();
        repaint();
        throw;
    }
}

void ShapedControl::buildOutline(const Picture& picture, const char* pictureName, int left, int top,
                                 const char* failure) {
    if (!RgnDataBuf_)
        throw KuvitoError(name() + " のﾘｰｼﾞｮﾝ情報がありません");
    if (picture.empty() || picture.width() == 0 || picture.height() == 0)
        throw KuvitoError(name() + ":" + pictureName + " のﾋﾞｯﾄﾏｯﾌﾟが正しくありません");
    RgnHandle_.reset();
    RgnTransform xform{0, 0, 0, 0, 0, 0};
    if (AutoSize_) {
        xform.eM11 = xform.eM22 = 1.0f;
    } else {
        xform.eM11 = static_cast<float>(Width()) / static_cast<float>(picture.width());
        xform.eM22 = static_cast<float>(Height()) / static_cast<float>(picture.height());
    }
    xform.eDx = static_cast<float>(left);
    xform.eDy = static_cast<float>(top);
    const auto rects = RgnDataBlock::parse(RgnDataBuf_.get(), static_cast<std::size_t>(RgnDataSize_));
    const auto moved = rects ? RgnDataBlock::transformed(*rects, xform) : std::nullopt;
    if (!moved)
        throw KuvitoError(failure);
    // Scaling can make rectangles overlap or bands meet, so the outline is
    // brought to its banded form once here rather than on every frame switch.
    RgnHandle_ = RgnOutline::unionOf(*moved);
}

bool ShapedControl::readProperty(const std::string& path, const FormValue& value) {
    if (path == "AutoSize") {
        setAutoSize(value.asBool());
    } else if (path == "RgnData") {
        RgnDataStorage::readProperty(name(), value, RgnDataBuf_, RgnDataSize_);
    } else if (!readOwnProperty(path, value) && !extras_.read(*this, path, value)) {
        return Control::readProperty(path, value);
    }
    return true;
}

void ShapedControl::writeAfterPictures(PropertyWriter&) const {}

void ShapedControl::writeProperties(PropertyWriter& writer) const {
    PropertyWriter base;
    Control::writeProperties(base);
    auto [before, after] = ControlExtras::splitBeforeEvents(base.take());
    ControlExtras::writeAll(writer, before);
    if (AutoSize_)
        writer.write("AutoSize", FormValue::fromBool(true));
    extras_.writeBeforePictures(writer);
    writePictures(writer);
    extras_.writeAfterPictures(writer);
    writeAfterPictures(writer);
    ControlExtras::writeAll(writer, after);
    // Always stored, after every published value; empty without a block.
    std::vector<std::uint8_t> block;
    WriteRgnData(block);
    writer.write("RgnData", FormValue::fromBinary(std::move(block)));
}

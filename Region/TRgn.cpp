#include "TRgn.h"

#include "RgnDataStorage.h"

#include "BitmapToRgnData.h"
#include "KuvitoError.h"
#include "PictureProperty.h"
#include "PropertyWriter.h"
#include "RgnRegion.h"

#include <QPainter>

#include <limits>

TRgn::TRgn(Component* owner) : Control(owner) {
    setBounds(Left(), Top(), 105, 105);
}

TRgn::~TRgn() {
    // Those who hold a reference (the region list) recognise the control by
    // its class when told it goes away, so they are told while it still is one.
    beginDestruction();
}

void TRgn::setBounds(int left, int top, int width, int height) {
    if (AutoSize_ && picture_.width() > 0 && picture_.height() > 0) {
        width = picture_.width();
        height = picture_.height();
    }
    Control::setBounds(left, top, width, height);
}

void TRgn::setAutoSize(bool value) {
    if (value == AutoSize_)
        return;
    AutoSize_ = value;
    if (value && picture_.width() >= 1 && picture_.height() >= 1 && !isLoading()) {
        setBounds(Left(), Top(), picture_.width(), picture_.height());
        update();
    }
}

void TRgn::setTransparent(bool value) {
    if (value == Transparent_)
        return;
    Transparent_ = value;
    // The mask is made once when loading completes; a change afterwards
    // makes it here, so the control never paints from a stale or empty mask.
    if (value && !isLoading())
        MakeMask();
    update();
}

void TRgn::setShown(bool value) {
    if (value == Shown_)
        return;
    Shown_ = value;
    update();
}

void TRgn::setRgnBitmap(const Picture& picture) {
    if (&picture == &picture_)
        return;
    picture_ = picture;
    FreeRgn();
    try {
        RgnDataSize_ = BitmapToRgnData(&picture_, RgnDataBuf_);
    } catch (...) {
        RgnDataSize_ = 0;
        RgnDataBuf_.reset();
        picture_.clear();
        repaint();
        throw;
    }
    if (Transparent_ || isDesigning())
        MakeMask();
    if (isDesigning()) {
        setBounds(Left(), Top(), picture_.width(), picture_.height());
    } else {
        // At run time the new outline takes effect at once, as the picture
        // does; the region list picks it up at its next ApplyRgn.
        BuildRgn();
    }
    update();
}

void TRgn::ReadRgnData(const std::vector<std::uint8_t>& stream) {
    RgnDataStorage::read(name(), stream, RgnDataBuf_, RgnDataSize_);
}

void TRgn::WriteRgnData(std::vector<std::uint8_t>& stream) const {
    RgnDataStorage::write(RgnDataBuf_, RgnDataSize_, stream);
}

void TRgn::MakeMask() {
    if (picture_.empty())
        return;
    Picture work = picture_;
    work.setPixelFormat(Picture::PixelFormat::pfDevice);
    const int w = work.width(), h = work.height();
    const Picture::Rgb key = work.pixel(0, h - 1);
    Picture mask(w, h, Picture::PixelFormat::pf1bit); // index 1 is white
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (work.pixel(x, y) == key) {
                mask.setPixelIndex(x, y, 1);
                work.setPixel(x, y, Picture::Rgb{});
            }
        }
    }
    MaskBitmap_ = std::move(mask);
    ImageBitmap_ = std::move(work);
}

void TRgn::BuildRgn() {
    if (!RgnDataBuf_)
        throw KuvitoError(name() + " のﾘｰｼﾞｮﾝ情報がありません");
    if (picture_.empty() || picture_.width() == 0 || picture_.height() == 0)
        throw KuvitoError(name() + ":RgnBitmap のﾋﾞｯﾄﾏｯﾌﾟが正しくありません");
    RgnHandle_.reset();
    XFORM xform{0, 0, 0, 0, 0, 0};
    if (AutoSize_) {
        xform.eM11 = xform.eM22 = 1.0f;
    } else {
        xform.eM11 = static_cast<float>(Width()) / static_cast<float>(picture_.width());
        xform.eM22 = static_cast<float>(Height()) / static_cast<float>(picture_.height());
    }
    xform.eDx = static_cast<float>(Left());
    xform.eDy = static_cast<float>(Top());
    RgnHandle_ = RgnRegion::fromBlock(RgnDataBuf_.get(), static_cast<std::size_t>(RgnDataSize_), xform);
    if (!RgnHandle_)
        throw KuvitoError("ｳｨﾝﾄﾞｳﾘｰｼﾞｮﾝが作成できません");
}

void TRgn::FreeRgn() {
    RgnHandle_.reset();
    RgnDataBuf_.reset();
    RgnDataSize_ = 0;
}

void TRgn::loaded() {
    Control::loaded();
    if (Transparent_ || isDesigning())
        MakeMask();
    if (!isDesigning())
        BuildRgn();
}

void TRgn::paint(QPainter& canvas) {
    if (!Shown_)
        return;
    Control::paint(canvas);
    if (picture_.empty())
        return;
    const QRect bounds(0, 0, Width(), Height());
    if (!Transparent_ && !isDesigning()) {
        pictureDrawing_.drawStretched(canvas, bounds);
        return;
    }
    if (MaskBitmap_.empty() || ImageBitmap_.empty())
        return;
    // Qt has already composed what the parent drew under the control into
    // the surface, so the mask and the image act on it directly: the mask
    // blackens the figure's place and keeps the rest, the image puts the
    // figure's colours in and leaves the rest as it was.
    maskDrawing_.drawRop(canvas, bounds, RasterOp::SRCAND);
    imageDrawing_.drawRop(canvas, bounds, RasterOp::SRCINVERT);
}

bool TRgn::readProperty(const std::string& path, const FormValue& value) {
    if (path == "AutoSize") {
        setAutoSize(value.asBool());
    } else if (path == "Transparent") {
        Transparent_ = value.asBool();
    } else if (path == "RgnBitmap.Data") {
        // Read straight into the picture: the stored outline comes with it.
        picture_ = PictureProperty::read(value);
    } else if (path == "RgnData") {
        RgnDataStorage::readProperty(name(), value, RgnDataBuf_, RgnDataSize_);
    } else if (!extras_.read(*this, path, value)) {
        return Control::readProperty(path, value);
    }
    return true;
}

void TRgn::writeProperties(PropertyWriter& writer) const {
    PropertyWriter base;
    Control::writeProperties(base);
    auto [before, after] = ControlExtras::splitBeforeEvents(base.take());
    ControlExtras::writeAll(writer, before);
    if (AutoSize_)
        writer.write("AutoSize", FormValue::fromBool(true));
    extras_.writeBeforePictures(writer);
    if (!picture_.empty())
        writer.write("RgnBitmap.Data", PictureProperty::write(picture_));
    extras_.writeAfterPictures(writer);
    if (Transparent_)
        writer.write("Transparent", FormValue::fromBool(true));
    ControlExtras::writeAll(writer, after);
    // Always stored, after every published value; empty without a block.
    std::vector<std::uint8_t> block;
    WriteRgnData(block);
    writer.write("RgnData", FormValue::fromBinary(std::move(block)));
}

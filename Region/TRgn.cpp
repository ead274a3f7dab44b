#include "TRgn.h"

#include "PictureProperty.h"
#include "PropertyWriter.h"

TRgn::TRgn(Component* owner) : ShapedControl(owner) {
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
    // A frame not shown is not there for the pointer either, so the press
    // goes to what the user sees, wherever the hidden frames lie in the
    // stacking order.
    setTakesPointer(value);
    update();
}

void TRgn::setRgnBitmap(const Picture& picture) {
    if (&picture == &picture_)
        return;
    picture_ = picture;
    takeOutlineOf(picture_);
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
    buildOutline(picture_, "RgnBitmap", Left(), Top(), "ｳｨﾝﾄﾞｳﾘｰｼﾞｮﾝが作成できません");
}

void TRgn::loaded() {
    Control::loaded();
    if (Transparent_ || isDesigning())
        MakeMask();
    if (!isDesigning())
        BuildRgn();
}

void TRgn::paint(Canvas& canvas) {
    if (!Shown_)
        return;
    Control::paint(canvas);
    if (picture_.empty())
        return;
    if (!Transparent_ && !isDesigning()) {
        pictureDrawing_.drawStretched(canvas, 0, 0, Width(), Height());
        return;
    }
    if (MaskBitmap_.empty() || ImageBitmap_.empty())
        return;
    // The surface already holds what the parent drew under the control, so
    // the mask and the image act on it directly: the mask
    // blackens the figure's place and keeps the rest, the image puts the
    // figure's colours in and leaves the rest as it was.
    maskDrawing_.drawRop(canvas, 0, 0, Width(), Height(), RasterOp::sourceAnd);
    imageDrawing_.drawRop(canvas, 0, 0, Width(), Height(), RasterOp::sourceXor);
}

bool TRgn::readOwnProperty(const std::string& path, const FormValue& value) {
    if (path == "Transparent") {
        Transparent_ = value.asBool();
    } else if (path == "RgnBitmap.Data") {
        // Read straight into the picture: the stored outline comes with it.
        picture_ = PictureProperty::read(value);
    } else {
        return false;
    }
    return true;
}

void TRgn::writePictures(PropertyWriter& writer) const {
    if (!picture_.empty())
        writer.write("RgnBitmap.Data", PictureProperty::write(picture_));
}

void TRgn::writeAfterPictures(PropertyWriter& writer) const {
    if (Transparent_)
        writer.write("Transparent", FormValue::fromBool(true));
}

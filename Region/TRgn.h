#pragma once

#include "Picture.h"
#include "PictureDrawing.h"
#include "ShapedControl.h"

// A windowless picture control that carries the outline of its figure as a
// region-data block (stored as "RgnData" beside the picture). At run time the
// region object is built from the stored block when loading completes, so
// loading never scans pixels. TRgnList unites the outlines of the controls
// it shows into its form's window shape and tells each one whether to paint.
class TRgn : public ShapedControl {
public:
    explicit TRgn(Component* owner);
    ~TRgn() override;

    std::string className() const override { return "TRgn"; }

    // The picture; assigning copies it, works its outline out and, outside
    // design mode, builds the region object at once.
    const Picture& RgnBitmap() const { return picture_; }
    void setRgnBitmap(const Picture& picture);

    void setAutoSize(bool value) override;
    // Changing it at run time builds the mask the transparent painting needs.
    bool Transparent() const { return Transparent_; }
    void setTransparent(bool value);

    // For the region list: whether the control paints and takes the
    // pointer. Its outline (RgnHandle) is in the parent's client
    // coordinates.
    bool Shown() const { return Shown_; }
    void setShown(bool value);

    // The mask (1 where the picture has the key colour) and the picture with
    // every key-colour pixel black, made by MakeMask.
    const Picture& MaskBitmap() const { return MaskBitmap_; }
    const Picture& ImageBitmap() const { return ImageBitmap_; }
    void MakeMask();
    // Builds RgnHandle from the block, scaled to the control's size and
    // moved to its position as they are now.
    void BuildRgn();

    void setBounds(int left, int top, int width, int height) override;
    void loaded() override;

protected:
    void paint(Canvas& canvas) override;
    bool readOwnProperty(const std::string& path, const FormValue& value) override;
    void writePictures(PropertyWriter& writer) const override;
    void writeAfterPictures(PropertyWriter& writer) const override;

private:
    Picture picture_;
    Picture MaskBitmap_;
    Picture ImageBitmap_;
    PictureDrawing pictureDrawing_{picture_};
    PictureDrawing maskDrawing_{MaskBitmap_};
    PictureDrawing imageDrawing_{ImageBitmap_};
    bool Shown_ = true;
    bool Transparent_ = false;
};

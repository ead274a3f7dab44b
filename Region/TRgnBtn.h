#pragma once

#include "Picture.h"
#include "PictureDrawing.h"
#include "ShapedControl.h"

#include <array>

// A windowless push button drawn from up to three pictures (Glyph1 normal,
// Glyph2 pressed, Glyph3 disabled). A press shows the pressed picture only
// when it lands inside the outline of the figure in Glyph1; the outline is
// worked out when Glyph1 is assigned and stored as "RgnData".
class TRgnBtn : public ShapedControl {
public:
    explicit TRgnBtn(Component* owner);
    ~TRgnBtn() override;

    std::string className() const override { return "TRgnBtn"; }

    // Index 1 to 3.
    const Picture& GetGlyph(int index) const;
    void SetGlyph(int index, const Picture& picture);
    const Picture& Glyph1() const { return GetGlyph(1); }
    const Picture& Glyph2() const { return GetGlyph(2); }
    const Picture& Glyph3() const { return GetGlyph(3); }

    void setAutoSize(bool value) override;
    bool Pressed() const { return Pressed_; }

    // Builds the outline (RgnHandle) in the button's own coordinates.
    void BuildRgn();

    void setBounds(int left, int top, int width, int height) override;
    void loaded() override;

protected:
    void mouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void mouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    // No double clicks: a quick second press is another press.
    void pointerDoublePressed(TMouseButton button, TShiftState shift, int x, int y) override;
    void paint(Canvas& canvas) override;
    bool readOwnProperty(const std::string& path, const FormValue& value) override;
    void writePictures(PropertyWriter& writer) const override;

private:
    Picture& glyph(int index);

    std::array<Picture, 3> glyphs_;
    std::array<PictureDrawing, 3> glyphDrawings_{PictureDrawing(glyphs_[0]), PictureDrawing(glyphs_[1]),
                                                 PictureDrawing(glyphs_[2])};
    bool Pressed_ = false;
};

#pragma once

#include "Control.h"
#include "ControlExtras.h"
#include "Picture.h"
#include "PictureDrawing.h"

#include <QRegion>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

// A windowless push button drawn from up to three pictures (Glyph1 normal,
// Glyph2 pressed, Glyph3 disabled). A press shows the pressed picture only
// when it lands inside the outline of the figure in Glyph1; the outline is
// worked out when Glyph1 is assigned and stored as "RgnData".
class TRgnBtn : public Control {
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

    bool AutoSize() const { return AutoSize_; }
    void setAutoSize(bool value);
    bool Pressed() const { return Pressed_; }

    // The outline in the button's own coordinates.
    const std::optional<QRegion>& RgnHandle() const { return RgnHandle_; }
    const std::uint8_t* RgnDataBuf() const { return RgnDataBuf_.get(); }
    std::int32_t RgnDataSize() const { return RgnDataSize_; }
    void ReadRgnData(const std::vector<std::uint8_t>& stream);
    void WriteRgnData(std::vector<std::uint8_t>& stream) const;
    void BuildRgn();
    void FreeRgn();

    void setBounds(int left, int top, int width, int height) override;
    void loaded() override;
    bool readProperty(const std::string& path, const FormValue& value) override;
    void writeProperties(PropertyWriter& writer) const override;

protected:
    void mouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void mouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    // No double clicks: a quick second press is another press.
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paint(QPainter& canvas) override;

private:
    Picture& glyph(int index);

    bool AutoSize_ = false;
    std::array<Picture, 3> glyphs_;
    std::array<PictureDrawing, 3> glyphDrawings_{PictureDrawing(glyphs_[0]), PictureDrawing(glyphs_[1]),
                                                 PictureDrawing(glyphs_[2])};
    bool Pressed_ = false;
    std::unique_ptr<std::uint8_t[]> RgnDataBuf_;
    std::int32_t RgnDataSize_ = 0;
    std::optional<QRegion> RgnHandle_;
    ControlExtras extras_;
};

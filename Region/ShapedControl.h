#pragma once

#include "Control.h"
#include "ControlExtras.h"
#include "RgnOutline.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class Picture;

// What TRgn and TRgnBtn share: a windowless control whose figure's outline is
// worked out from a picture, stored as a region-data block (the "RgnData"
// value, kept as it was stored and checked only when a region is built from
// it) and turned into the outline the window takes; the AutoSize flag; and the published
// values that only need to survive a round trip (ControlExtras).
class ShapedControl : public Control {
public:
    ~ShapedControl() override;

    bool AutoSize() const { return AutoSize_; }
    virtual void setAutoSize(bool value) = 0;

    // The outline built from the block, or nothing before it is built.
    const std::optional<RgnOutline>& RgnHandle() const { return RgnHandle_; }
    // The stored outline block.
    const std::uint8_t* RgnDataBuf() const { return RgnDataBuf_.get(); }
    std::int32_t RgnDataSize() const { return RgnDataSize_; }
    void ReadRgnData(const std::vector<std::uint8_t>& stream);
    void WriteRgnData(std::vector<std::uint8_t>& stream) const;
    // Forgets the block and the region object.
    void FreeRgn();

    const ControlExtras& extras() const { return extras_; }

    bool readProperty(const std::string& path, const FormValue& value) override;
    // The base class's values, AutoSize, the pictures between the extras,
    // the control's own values, the events; RgnData always comes last.
    void writeProperties(PropertyWriter& writer) const override;

protected:
    explicit ShapedControl(Component* owner);

    // Reads a picture or another value of the control's own; false when the
    // path is none of them.
    virtual bool readOwnProperty(const std::string& path, const FormValue& value) = 0;
    // Writes the control's pictures, then its values that follow the extras.
    virtual void writePictures(PropertyWriter& writer) const = 0;
    virtual void writeAfterPictures(PropertyWriter& writer) const;

    // Works the outline of `picture` out into the block. When that fails the
    // block is gone, the picture is cleared and repainted as empty, and the
    // error goes on to the caller.
    void takeOutlineOf(Picture& picture);
    // Builds the outline from the block, scaled from the picture's size to
    // the control's (unless AutoSize) and moved by `left`, `top`. The messages
    // name the control and `pictureName`; `failure` is the message when the
    // block does not make a region.
    void buildOutline(const Picture& picture, const char* pictureName, int left, int top,
                      const char* failure);

    bool AutoSize_ = false;

private:
    std::unique_ptr<std::uint8_t[]> RgnDataBuf_;
    std::int32_t RgnDataSize_ = 0;
    std::optional<RgnOutline> RgnHandle_;
    ControlExtras extras_;
};

#pragma once

#include "BitmapToRgnData.h"
#include "ComponentRegistry.h"
#include "Form.h"
#include "FormWriter.h"
#include "PictureProperty.h"
#include "PictureText.h"
#include "PropertyWriter.h"
#include "Region.h"
#include "RgnDataBlock.h"
#include "SimulatedDesktop.h"
#include "StoredComponent.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

// A form that paints a known pattern, so that tests can see what shows
// through a control: magenta everywhere, a yellow stripe in rows 0 to 3.
class PaintedForm : public Form {
public:
    PaintedForm() : Form(nullptr) {}
    static constexpr QRgb background = 0xFFFF00FF;
    static constexpr QRgb stripe = 0xFFFFFF00;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), QColor::fromRgb(background));
        p.fillRect(QRect(0, 0, width(), 4), QColor::fromRgb(stripe));
    }
};

// Each test runs on a fresh simulated desktop with the region classes known.
class RegionFixture : public testing::Test {
protected:
    void SetUp() override {
        registerRegionClasses();
        auto simulated = std::make_unique<SimulatedDesktop>();
        sim = simulated.get();
        installDesktop(std::move(simulated));
    }

    // The outline block a picture gives.
    static std::vector<std::uint8_t> blockOf(Picture picture) {
        std::unique_ptr<std::uint8_t[]> buffer;
        const std::int32_t n = BitmapToRgnData(&picture, buffer);
        return {buffer.get(), buffer.get() + n};
    }

    struct RgnSetup {
        std::string name = "Rgn1";
        int left = 0, top = 0, width = 53, height = 87;
        std::optional<Picture> picture;
        std::optional<std::vector<std::uint8_t>> block; // default: the picture's outline
        bool autoSize = false;
        bool transparent = false;
    };

    // A TRgn as a stored layout holds it, in the order a form designer writes.
    static StoredComponent storedRgn(const RgnSetup& setup) {
        StoredComponent c;
        c.className = "TRgn";
        c.name = setup.name;
        c.properties.emplace_back("Left", FormValue::fromInt(setup.left));
        c.properties.emplace_back("Top", FormValue::fromInt(setup.top));
        c.properties.emplace_back("Width", FormValue::fromInt(setup.width));
        c.properties.emplace_back("Height", FormValue::fromInt(setup.height));
        if (setup.autoSize)
            c.properties.emplace_back("AutoSize", FormValue::fromBool(true));
        if (setup.picture)
            c.properties.emplace_back("RgnBitmap.Data", PictureProperty::write(*setup.picture));
        if (setup.transparent)
            c.properties.emplace_back("Transparent", FormValue::fromBool(true));
        std::vector<std::uint8_t> block;
        if (setup.block)
            block = *setup.block;
        else if (setup.picture)
            block = blockOf(*setup.picture);
        c.properties.emplace_back("RgnData", FormValue::fromBinary(block));
        return c;
    }

    static std::vector<std::uint8_t> layout(const std::vector<StoredComponent>& children) {
        StoredComponent root;
        root.className = "TForm";
        root.name = "Form1";
        root.properties.emplace_back("ClientWidth", FormValue::fromInt(120));
        root.properties.emplace_back("ClientHeight", FormValue::fromInt(200));
        root.children = children;
        return FormWriter::write(root);
    }

    // A 53 x 87 figure: a block from (10, 20) to (40, 87) with a notch and a
    // hole, on the background colour.
    static Picture frame() {
        Picture p(53, 87, Picture::PixelFormat::pf24bit);
        for (int y = 0; y < 87; ++y)
            for (int x = 0; x < 53; ++x) {
                const bool figure =
                    x >= 10 && x < 40 && y >= 20 && !(x >= 30 && y < 30) && !(x == 20 && y == 50);
                p.setPixel(x, y, figure ? PictureText::colourOf('g') : PictureText::colourOf('.'));
            }
        return p;
    }

    static QImage render(QWidget& widget) {
        return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    SimulatedDesktop* sim = nullptr;
};

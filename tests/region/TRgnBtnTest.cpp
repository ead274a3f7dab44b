#include "TRgnBtn.h"
#include "KuvitoError.h"
#include "RegionFixture.h"
#include "RgnRegion.h"

#include <QApplication>
#include <QMouseEvent>

namespace {

// A button 12 x 6 whose Glyph1 figure is a diamond-ish shape: rows 1 to 4,
// columns 3 to 8, background in the corners.
class TRgnBtnTest : public RegionFixture {
protected:
    void SetUp() override {
        RegionFixture::SetUp();
        form.resize(60, 60);
        btn = new TRgnBtn(&form);
        btn->setName("RgnBtn1");
        btn->setBounds(10, 10, 12, 6);
        btn->setOnMouseDown([&](Component*, TMouseButton, TShiftState, int, int) { ++downs; });
        btn->setOnClick([&](Component*) { ++clicks; });
        btn->SetGlyph(1, glyph('g'));
        btn->SetGlyph(2, glyph('r'));
    }

    static Picture glyph(char figure) {
        std::vector<std::string> rows{"............", "...ffffff...", "...ffffff...",
                                      "...ffffff...", "...ffffff...", "............"};
        for (auto& r : rows)
            for (auto& c : r)
                if (c == 'f')
                    c = figure;
        return PictureText::make(rows);
    }

    void mouse(QEvent::Type type, QPoint at) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(at), QPointF(btn->mapToGlobal(at)), Qt::LeftButton, held,
                          Qt::NoModifier);
        QApplication::sendEvent(btn, &event);
    }
    QRgb face(QPoint at) { return render(form).pixel(at + QPoint(10, 10)); }

    PaintedForm form;
    TRgnBtn* btn = nullptr;
    int downs = 0, clicks = 0;
    const QRgb green = qRgb(22, 235, 91);
    const QRgb red = qRgb('r', 10, 20);
};

TEST_F(TRgnBtnTest, ConstructedAt25By25) {
    TRgnBtn fresh(&form);
    EXPECT_EQ(QSize(fresh.Width(), fresh.Height()), QSize(25, 25));
    EXPECT_FALSE(fresh.Pressed());
    EXPECT_TRUE(fresh.Glyph1().empty());
}

TEST_F(TRgnBtnTest, PressInsideTheOutlineShowsGlyph2UntilRelease) {
    EXPECT_EQ(face({4, 2}), green);
    EXPECT_EQ(face({0, 0}), PaintedForm::background); // see-through corner
    mouse(QEvent::MouseButtonPress, {4, 2});
    EXPECT_TRUE(btn->Pressed());
    EXPECT_EQ(face({4, 2}), red);
    mouse(QEvent::MouseButtonRelease, {40, 40}); // released anywhere
    EXPECT_FALSE(btn->Pressed());
    EXPECT_EQ(face({4, 2}), green);
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(clicks, 0); // released outside the control
}

TEST_F(TRgnBtnTest, PressOutsideTheOutlineKeepsTheNormalFace) {
    mouse(QEvent::MouseButtonPress, {1, 1});
    EXPECT_EQ(downs, 1);
    EXPECT_FALSE(btn->Pressed());
    EXPECT_EQ(face({4, 2}), green);
    mouse(QEvent::MouseButtonRelease, {1, 1});
    EXPECT_EQ(clicks, 1); // the rectangle, not the outline, makes a click
}

TEST_F(TRgnBtnTest, DoublePressIsAnotherPress) {
    mouse(QEvent::MouseButtonPress, {4, 2});
    mouse(QEvent::MouseButtonRelease, {4, 2});
    mouse(QEvent::MouseButtonDblClick, {4, 2});
    EXPECT_EQ(downs, 2);
    EXPECT_TRUE(btn->Pressed());
}

TEST_F(TRgnBtnTest, EmptyGlyph2DrawsNothingWhileHeld) {
    btn->SetGlyph(2, Picture());
    mouse(QEvent::MouseButtonPress, {4, 2});
    EXPECT_EQ(face({4, 2}), PaintedForm::background);
}

TEST_F(TRgnBtnTest, DisabledShowsGlyph3OrElseGlyph1) {
    btn->setEnabled(false);
    EXPECT_EQ(face({4, 2}), green);
    btn->SetGlyph(3, glyph('k'));
    EXPECT_EQ(face({4, 2}), qRgb(31, 31, 31));
}

TEST_F(TRgnBtnTest, GlyphsTwoAndThreeLeaveTheOutline) {
    const std::uint8_t* block = btn->RgnDataBuf();
    const QRegion outline = RgnRegion::fromRects(btn->RgnHandle()->rects());
    btn->SetGlyph(3, glyph('k'));
    btn->SetGlyph(2, PictureText::make({"k.", ".."}));
    EXPECT_EQ(btn->RgnDataBuf(), block);
    EXPECT_EQ(RgnRegion::fromRects(btn->RgnHandle()->rects()), outline);
    EXPECT_EQ(QSize(btn->Width(), btn->Height()), QSize(12, 6));
    EXPECT_EQ(outline, QRegion(3, 1, 6, 4)); // in the button's own coordinates
}

TEST_F(TRgnBtnTest, FailedGlyph1LeavesNoOutline) {
    EXPECT_THROW(btn->SetGlyph(1, Picture()), KuvitoError);
    EXPECT_TRUE(btn->Glyph1().empty());
    EXPECT_EQ(btn->RgnDataBuf(), nullptr);
    mouse(QEvent::MouseButtonPress, {4, 2});
    EXPECT_FALSE(btn->Pressed());
}

TEST_F(TRgnBtnTest, AutoSizeTakesGlyph1Size) {
    btn->setBounds(10, 10, 40, 40);
    btn->setAutoSize(true);
    EXPECT_EQ(QSize(btn->Width(), btn->Height()), QSize(12, 6));
    btn->setWidth(30);
    EXPECT_EQ(btn->Width(), 12);
}

TEST_F(TRgnBtnTest, LoadingBuildsTheOutlineOrFails) {
    StoredComponent stored;
    stored.className = "TRgnBtn";
    stored.name = "RgnBtn7";
    stored.properties.emplace_back("Left", FormValue::fromInt(1));
    stored.properties.emplace_back("Width", FormValue::fromInt(24));
    stored.properties.emplace_back("Height", FormValue::fromInt(12));
    stored.properties.emplace_back("Glyph1.Data", PictureProperty::write(glyph('g')));
    stored.properties.emplace_back("RgnData", FormValue::fromBinary(blockOf(glyph('g'))));
    PaintedForm loaded;
    loaded.loadLayout(layout({stored}));
    auto* b = dynamic_cast<TRgnBtn*>(loaded.findComponent("RgnBtn7"));
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(RgnRegion::fromRects(b->RgnHandle()->rects()), QRegion(6, 2, 12, 8)); // scaled by 2, not moved
    PropertyWriter writer;
    b->writeProperties(writer);
    EXPECT_EQ(writer.properties().back().second.bytes, blockOf(glyph('g')));

    stored.properties.back().second = FormValue::fromBinary({});
    PaintedForm failing;
    try {
        failing.loadLayout(layout({stored}));
        FAIL();
    } catch (const KuvitoError& e) {
        EXPECT_STREQ(e.what(), "RgnBtn7 のﾘｰｼﾞｮﾝ情報がありません");
    }
}

} // namespace

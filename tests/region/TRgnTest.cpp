#include "TRgn.h"
#include "FormStorer.h"
#include "KuvitoError.h"
#include "PropertyWriter.h"
#include "RegionFixture.h"
#include "RgnRegion.h"

namespace {

class TRgnTest : public RegionFixture {
protected:
    TRgn* load(PaintedForm& form, const RgnSetup& setup) {
        form.loadLayout(layout({storedRgn(setup)}));
        return dynamic_cast<TRgn*>(form.findComponent(setup.name));
    }
    static QRegion expected(const Picture& picture, float scale, int left, int top) {
        const std::vector<std::uint8_t> block = blockOf(picture);
        const auto rects = RgnDataBlock::parse(block.data(), block.size());
        return RgnRegion::fromRects(*RgnDataBlock::transformed(
            *rects, RgnTransform{scale, 0, 0, scale, static_cast<float>(left), static_cast<float>(top)}));
    }
};

TEST_F(TRgnTest, ConstructedEmptyAndShown) {
    PaintedForm form;
    TRgn rgn(&form);
    EXPECT_EQ(rgn.Width(), 105);
    EXPECT_EQ(rgn.Height(), 105);
    EXPECT_TRUE(rgn.Shown());
    EXPECT_FALSE(rgn.AutoSize());
    EXPECT_FALSE(rgn.Transparent());
    EXPECT_EQ(rgn.RgnDataBuf(), nullptr);
    EXPECT_FALSE(rgn.RgnHandle().has_value());
    EXPECT_EQ(rgn.eraseBackground(), 1);
}

TEST_F(TRgnTest, LoadedRegionIsTheBlockMovedByLeftAndTop) {
    PaintedForm form;
    TRgn* rgn = load(form, {.left = 7, .top = 9, .picture = frame()});
    ASSERT_NE(rgn, nullptr);
    ASSERT_TRUE(rgn->RgnHandle().has_value());
    EXPECT_EQ(RgnRegion::fromRects(rgn->RgnHandle()->rects()), expected(frame(), 1, 7, 9));
    EXPECT_TRUE(rgn->RgnHandle()->contains(17, 29));
    EXPECT_FALSE(rgn->RgnHandle()->contains(27, 59)); // the hole at 20, 50
    EXPECT_EQ(rgn->RgnDataSize(), static_cast<std::int32_t>(blockOf(frame()).size()));
}

TEST_F(TRgnTest, RegionScaledToTheControlUnlessAutoSize) {
    PaintedForm scaledForm;
    TRgn* scaled = load(scaledForm, {.left = 3, .top = 4, .width = 106, .height = 174, .picture = frame()});
    EXPECT_EQ(RgnRegion::fromRects(scaled->RgnHandle()->rects()), expected(frame(), 2, 3, 4));

    // The stored size is read before the picture, so it stands; the region
    // keeps the picture's scale.
    PaintedForm autoForm;
    TRgn* autoSized = load(
        autoForm, {.left = 3, .top = 4, .width = 106, .height = 174, .picture = frame(), .autoSize = true});
    EXPECT_EQ(autoSized->Width(), 106);
    EXPECT_EQ(RgnRegion::fromRects(autoSized->RgnHandle()->rects()), expected(frame(), 1, 3, 4));
}

TEST_F(TRgnTest, AutoSizeKeepsThePictureSize) {
    PaintedForm form;
    TRgn* rgn = load(form, {.picture = frame(), .autoSize = true});
    rgn->setWidth(200);
    rgn->setBounds(5, 6, 10, 10);
    EXPECT_EQ(rgn->Width(), 53);
    EXPECT_EQ(rgn->Height(), 87);
    EXPECT_EQ(rgn->Left(), 5);

    TRgn plain(&form);
    plain.setRgnBitmap(frame());
    plain.setAutoSize(true);
    EXPECT_EQ(QSize(plain.Width(), plain.Height()), QSize(53, 87));
}

TEST_F(TRgnTest, MissingBlockOrPictureFailsTheLoading) {
    PaintedForm noBlock;
    try {
        noBlock.loadLayout(layout({storedRgn({.picture = frame(), .block = std::vector<std::uint8_t>{}})}));
        FAIL() << "loaded";
    } catch (const KuvitoError& e) {
        EXPECT_STREQ(e.what(), "Rgn1 のﾘｰｼﾞｮﾝ情報がありません");
    }
    auto* rgn = dynamic_cast<TRgn*>(noBlock.findComponent("Rgn1"));
    ASSERT_NE(rgn, nullptr);
    EXPECT_EQ(rgn->RgnDataBuf(), nullptr);
    EXPECT_EQ(rgn->RgnDataSize(), 0);

    PaintedForm noPicture;
    try {
        noPicture.loadLayout(layout({storedRgn({.name = "Rgn4", .block = blockOf(frame())})}));
        FAIL() << "loaded";
    } catch (const KuvitoError& e) {
        EXPECT_STREQ(e.what(), "Rgn4:RgnBitmap のﾋﾞｯﾄﾏｯﾌﾟが正しくありません");
    }

    // A block cut inside its last rectangle or inside its 32-byte header.
    std::vector<std::uint8_t> block = blockOf(frame());
    for (std::size_t size : {block.size() - 1, std::size_t{31}}) {
        SCOPED_TRACE(size);
        PaintedForm badBlock;
        try {
            badBlock.loadLayout(layout(
                {storedRgn({.picture = frame(),
                            .block = std::vector<std::uint8_t>(block.begin(), block.begin() + size)})}));
            FAIL() << "loaded";
        } catch (const KuvitoError& e) {
            EXPECT_STREQ(e.what(), "ｳｨﾝﾄﾞｳﾘｰｼﾞｮﾝが作成できません");
        }
    }
}

TEST_F(TRgnTest, StoredValuesComeBackByteForByte) {
    PaintedForm form;
    TRgn* rgn = load(form, {.left = 2, .picture = frame(), .transparent = true});
    const StoredComponent stored = FormStorer::storeTree(form).children.at(0);
    ASSERT_NE(stored.find("RgnData"), nullptr);
    EXPECT_EQ(stored.find("RgnData")->bytes, blockOf(frame()));
    EXPECT_EQ(stored.properties.back().first, "RgnData");
    EXPECT_EQ(PictureProperty::read(*stored.find("RgnBitmap.Data")), rgn->RgnBitmap());
    // The stored picture of a 53 x 87 frame: a count of 13974 and the file.
    EXPECT_EQ(stored.find("RgnBitmap.Data")->bytes.size(), 13978u);

    PaintedForm again;
    again.loadLayout(layout({stored}));
    EXPECT_EQ(FormStorer::storeTree(again).children.at(0), stored);

    // Without a block the value is stored empty.
    TRgn empty(&form);
    empty.setName("Rgn9");
    PropertyWriter writer;
    empty.writeProperties(writer);
    EXPECT_EQ(writer.properties().back().first, "RgnData");
    EXPECT_TRUE(writer.properties().back().second.bytes.empty());
}

TEST_F(TRgnTest, AssigningAPicture) {
    PaintedForm form;
    TRgn rgn(&form);
    rgn.setName("Rgn1");
    rgn.setBounds(4, 5, 53, 87);
    rgn.setRgnBitmap(frame());
    EXPECT_EQ(rgn.RgnDataSize(), static_cast<std::int32_t>(blockOf(frame()).size()));
    ASSERT_TRUE(rgn.RgnHandle().has_value()); // built at once at run time
    EXPECT_EQ(RgnRegion::fromRects(rgn.RgnHandle()->rects()), expected(frame(), 1, 4, 5));

    // The control's own picture changes nothing.
    const std::uint8_t* block = rgn.RgnDataBuf();
    rgn.setRgnBitmap(rgn.RgnBitmap());
    EXPECT_EQ(rgn.RgnDataBuf(), block);

    // An empty picture fails and leaves nothing behind.
    try {
        rgn.setRgnBitmap(Picture());
        FAIL();
    } catch (const KuvitoError& e) {
        EXPECT_STREQ(e.what(), "ﾋﾞｯﾄﾏｯﾌﾟが正しくｾｯﾄされていません");
    }
    EXPECT_TRUE(rgn.RgnBitmap().empty());
    EXPECT_EQ(rgn.RgnDataBuf(), nullptr);
    EXPECT_EQ(rgn.RgnDataSize(), 0);
    EXPECT_FALSE(rgn.RgnHandle().has_value());
}

TEST_F(TRgnTest, DesignModeSizesToThePictureAndBuildsNoRegion) {
    PaintedForm form;
    TRgn rgn(&form);
    rgn.setDesigning(true);
    rgn.setRgnBitmap(frame());
    EXPECT_EQ(QSize(rgn.Width(), rgn.Height()), QSize(53, 87));
    EXPECT_FALSE(rgn.RgnHandle().has_value());
    EXPECT_FALSE(rgn.MaskBitmap().empty());
}

TEST_F(TRgnTest, MaskMarksTheKeyColourAndImageBlackensIt) {
    PaintedForm form;
    TRgn rgn(&form);
    rgn.setTransparent(true);
    rgn.setRgnBitmap(PictureText::make({"g.k", "..."}));
    const Picture& mask = rgn.MaskBitmap();
    const Picture& image = rgn.ImageBitmap();
    EXPECT_EQ(mask.pixelFormat(), Picture::PixelFormat::pf1bit);
    EXPECT_EQ((std::vector<int>{mask.pixelIndex(0, 0), mask.pixelIndex(1, 0), mask.pixelIndex(2, 0)}),
              (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(image.pixel(1, 0), (Picture::Rgb{0, 0, 0}));
    EXPECT_EQ(image.pixel(0, 0), PictureText::colourOf('g'));
    EXPECT_EQ(image.pixel(2, 0), PictureText::colourOf('k'));
}

// Painting is checked on the form's rendered pixels.
class TRgnPainting : public TRgnTest {
protected:
    void SetUp() override {
        TRgnTest::SetUp();
        form.resize(120, 200);
    }
    PaintedForm form;
};

TEST_F(TRgnPainting, TransparentShowsWhatTheParentDrewUnderTheKeyColour) {
    TRgn* rgn = load(
        form, {.left = 0, .top = 0, .width = 106, .height = 174, .picture = frame(), .transparent = true});
    ASSERT_TRUE(rgn->Transparent());
    const QImage shot = render(form);
    const QRgb green = qRgb(22, 235, 91);
    EXPECT_EQ(shot.pixel(1, 1), PaintedForm::stripe);        // key pixel over the stripe
    EXPECT_EQ(shot.pixel(5, 100), PaintedForm::background);  // key pixel, left of the figure
    EXPECT_EQ(shot.pixel(40, 100), PaintedForm::background); // the hole at 20, 50, scaled by 2
    EXPECT_EQ(shot.pixel(41, 101), PaintedForm::background);
    EXPECT_EQ(shot.pixel(42, 100), green);
    EXPECT_EQ(shot.pixel(22, 42), green);
    EXPECT_EQ(shot.pixel(70, 50), PaintedForm::background);   // the notch
    EXPECT_EQ(shot.pixel(110, 100), PaintedForm::background); // outside the control

    // The same on a surface with an alpha channel: the raster operations
    // leave every pixel opaque.
    QImage argb(form.size(), QImage::Format_ARGB32_Premultiplied);
    argb.fill(Qt::transparent);
    form.render(&argb);
    EXPECT_EQ(argb.pixel(1, 1), PaintedForm::stripe);
    EXPECT_EQ(argb.pixel(42, 100), green);
    EXPECT_EQ(argb.pixel(40, 100), PaintedForm::background);
}

TEST_F(TRgnPainting, OpaqueDrawsTheWholePictureStretched) {
    load(form, {.width = 106, .height = 174, .picture = frame()});
    const QImage shot = render(form);
    const QRgb key = qRgb(0, 128, 192);
    EXPECT_EQ(shot.pixel(1, 1), key);
    EXPECT_EQ(shot.pixel(105, 173), key);
    EXPECT_EQ(shot.pixel(41, 101), key); // the hole shows the key colour
    EXPECT_EQ(shot.pixel(22, 42), qRgb(22, 235, 91));
    EXPECT_EQ(shot.pixel(106, 1), PaintedForm::stripe);
}

TEST_F(TRgnPainting, NotShownDrawsNothing) {
    for (bool transparent : {false, true}) {
        PaintedForm f;
        f.resize(120, 200);
        TRgn* rgn = load(f, {.picture = frame(), .transparent = transparent});
        rgn->setShown(false);
        const QImage shot = render(f);
        EXPECT_EQ(shot.pixel(22, 42), PaintedForm::background) << transparent;
        EXPECT_EQ(shot.pixel(1, 1), PaintedForm::stripe) << transparent;
    }
}

TEST_F(TRgnPainting, TransparentSwitchedOnAtRunTimeBuildsTheMask) {
    TRgn* rgn = load(form, {.picture = frame()});
    EXPECT_TRUE(rgn->MaskBitmap().empty());
    rgn->setTransparent(true);
    const QImage shot = render(form);
    EXPECT_EQ(shot.pixel(1, 1), PaintedForm::stripe);
    EXPECT_EQ(shot.pixel(11, 21), qRgb(22, 235, 91));
}

} // namespace

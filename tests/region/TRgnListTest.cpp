#include "TRgnList.h"
#include "KuvitoError.h"
#include "RegionFixture.h"
#include "RgnRegion.h"
#include "TRgn.h"

#include <QEvent>

namespace {

// A windowless control that is not a TRgn.
class OtherControl : public Control {
public:
    using Control::Control;
    std::string className() const override { return "TOther"; }
};

// Three frames with different outlines, all at 0, 0, an ordinary control
// created between them, and the list.
class TRgnListTest : public RegionFixture {
protected:
    void SetUp() override {
        RegionFixture::SetUp();
        form.resize(120, 200);
        for (int i = 0; i < 3; ++i) {
            rgns[i] = new TRgn(&form);
            rgns[i]->setName("Rgn" + std::to_string(i + 1));
            rgns[i]->setTransparent(true);
            rgns[i]->setBounds(0, 0, 53, 87);
            rgns[i]->setRgnBitmap(picture(i));
            if (i == 0) {
                other = new OtherControl(&form);
                other->setBounds(100, 100, 10, 10);
            }
        }
        list = new TRgnList(&form);
        list->setName("RgnList1");
    }

    // Frame i: a bar across rows 10 i to 10 i + 9, columns 5 i to 5 i + 29.
    static Picture picture(int i) {
        Picture p(53, 87, Picture::PixelFormat::pf24bit);
        for (int y = 0; y < 87; ++y)
            for (int x = 0; x < 53; ++x) {
                const bool figure = y >= 10 * i && y < 10 * i + 10 && x >= 5 * i && x < 5 * i + 30;
                p.setPixel(x, y,
                           figure ? PictureText::colourOf('a' + static_cast<char>(i))
                                  : PictureText::colourOf('.'));
            }
        return p;
    }
    QRegion outline(int i) const { return QRegion(5 * i, 10 * i, 30, 10); }
    int stackIndex(QWidget* w) const { return static_cast<int>(form.children().indexOf(w)); }
    std::vector<bool> shown() const { return {rgns[0]->Shown(), rgns[1]->Shown(), rgns[2]->Shown()}; }

    PaintedForm form;
    std::array<TRgn*, 3> rgns{};
    OtherControl* other = nullptr;
    TRgnList* list = nullptr;
};

TEST_F(TRgnListTest, ShapesTheWindowAsTheSelectedOutline) {
    int shows = 0;
    list->setOnShowWnd([&](Component* sender) {
        EXPECT_EQ(sender, list);
        EXPECT_EQ(sim->regionSetCount(form), 0); // raised before the region is set
        ++shows;
    });
    list->AddRgn(rgns[1]);
    list->ApplyRgn();
    EXPECT_EQ(sim->windowRegion(form), outline(1));
    EXPECT_EQ(sim->regionSetCount(form), 1);
    EXPECT_EQ(shows, 1);
    EXPECT_EQ(shown(), (std::vector<bool>{false, true, false}));
    EXPECT_EQ(form.BorderStyle(), Form::TFormBorderStyle::bsNone);
    EXPECT_TRUE(form.hasClearBrush());
    EXPECT_TRUE(list->selection().empty());

    // Only the selected frame paints.
    const QImage shot = render(form);
    EXPECT_EQ(shot.pixel(6, 11), qRgb('b', 10, 20));
    EXPECT_EQ(shot.pixel(1, 5), PaintedForm::background);
    EXPECT_EQ(shot.pixel(11, 21), PaintedForm::background);
}

TEST_F(TRgnListTest, UnionOfSeveralAndZOrder) {
    list->AddRgn(rgns[2]);
    list->AddRgn(rgns[0]);
    list->AddRgn(rgns[0]); // counted once
    list->ApplyRgn();
    EXPECT_EQ(sim->windowRegion(form), outline(0) + outline(2));
    EXPECT_EQ(shown(), (std::vector<bool>{true, false, true}));
    // Selected frames in front of unselected ones, in component order; the
    // other control in front of all of them.
    EXPECT_LT(stackIndex(rgns[1]), stackIndex(rgns[0]));
    EXPECT_LT(stackIndex(rgns[0]), stackIndex(rgns[2]));
    EXPECT_LT(stackIndex(rgns[2]), stackIndex(other));
    EXPECT_EQ(form.childAt(10, 20), rgns[2]); // where 0 and 2 overlap, the later one
}

// Switching frames, as every movement tick does, restacks nothing once the
// order shows right; frames not shown do not take the pointer, wherever
// they lie in the stack.
TEST_F(TRgnListTest, FrameSwitchesRestackNothingAndThePointerFindsTheShownFrame) {
    struct ZOrderCount : QObject {
        int changes = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            changes += e->type() == QEvent::ZOrderChange;
            return false;
        }
    } count;
    for (QWidget* w : {static_cast<QWidget*>(rgns[0]), static_cast<QWidget*>(rgns[1]),
                       static_cast<QWidget*>(rgns[2]), static_cast<QWidget*>(other)})
        w->installEventFilter(&count);
    list->AddRgn(rgns[2]);
    list->ApplyRgn();
    count.changes = 0;
    for (int i : {0, 1, 2, 0}) {
        list->AddRgn(rgns[i]);
        list->ApplyRgn();
        // Inside the outline, where all three frames' rectangles lie.
        EXPECT_EQ(form.childAt(outline(i).boundingRect().center()), rgns[i]) << i;
    }
    EXPECT_EQ(count.changes, 0);
}

TEST_F(TRgnListTest, EmptySelectionHidesEverything) {
    list->AddRgn(rgns[0]);
    list->ApplyRgn();
    int shows = 0;
    list->setOnShowWnd([&](Component*) { ++shows; });
    list->ApplyRgn(); // nothing added since: AutoClear emptied the selection
    EXPECT_EQ(shows, 1);
    ASSERT_TRUE(sim->windowRegion(form).has_value());
    EXPECT_TRUE(sim->windowRegion(form)->isEmpty());
    EXPECT_EQ(shown(), (std::vector<bool>{false, false, false}));
}

TEST_F(TRgnListTest, WithoutAutoClearTheSelectionAccumulates) {
    list->setAutoClear(false);
    list->AddRgn(rgns[0]);
    list->ApplyRgn();
    list->AddRgn(rgns[1]);
    list->ApplyRgn();
    EXPECT_EQ(sim->windowRegion(form), outline(0) + outline(1));
    EXPECT_EQ(shown(), (std::vector<bool>{true, true, false}));
    EXPECT_EQ(list->selection().size(), 2u);
}

TEST_F(TRgnListTest, ControlOfAnotherOwnerIsIgnored) {
    PaintedForm elsewhere;
    TRgn foreign(&elsewhere);
    foreign.setRgnBitmap(picture(0));
    foreign.setShown(false);
    list->AddRgn(&foreign);
    list->AddRgn(rgns[2]);
    list->ApplyRgn();
    EXPECT_EQ(sim->windowRegion(form), outline(2));
    EXPECT_FALSE(foreign.Shown());
}

TEST_F(TRgnListTest, DestroyedControlLeavesTheSelection) {
    list->setAutoClear(false);
    list->AddRgn(rgns[0]);
    list->AddRgn(rgns[1]);
    delete rgns[0];
    ASSERT_EQ(list->selection().size(), 1u);
    list->ApplyRgn();
    EXPECT_EQ(sim->windowRegion(form), outline(1));
}

TEST_F(TRgnListTest, StoredAutoClearOnlyWhenFalse) {
    PropertyWriter on;
    list->writeProperties(on);
    EXPECT_TRUE(on.properties().empty());
    list->readProperty("AutoClear", FormValue::fromBool(false));
    PropertyWriter off;
    list->writeProperties(off);
    ASSERT_EQ(off.properties().size(), 1u);
    EXPECT_EQ(off.properties()[0].first, "AutoClear");
}

TEST_F(TRgnListTest, RegistersTheThreeClasses) {
    EXPECT_TRUE(ComponentRegistry::instance().isRegistered("TRgn"));
    EXPECT_TRUE(ComponentRegistry::instance().isRegistered("TRgnList"));
    EXPECT_TRUE(ComponentRegistry::instance().isRegistered("TRgnBtn"));
    std::unique_ptr<Component> made(ComponentRegistry::instance().create("TRgnList", nullptr));
    EXPECT_EQ(made->className(), "TRgnList");
}

} // namespace

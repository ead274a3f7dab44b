// The mascot window's stored layout as the design-time tool writes it, and
// what the window makes of it when it loads.

#include "MascotFixture.h"
#include "RgnRegion.h"

#include "BitmapToRgnData.h"
#include "Form.h"
#include "FormReader.h"
#include "FormValue.h"
#include "KuvitoError.h"
#include "MascotLayout.h"
#include "Picture.h"
#include "RgnDataBlock.h"
#include "TIcon.h"
#include "TMenuItem.h"
#include "TPopupMenu.h"
#include "TRgn.h"
#include "TRgnList.h"
#include "TTaskTrayIcon.h"
#include "TTimer.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

using LayoutTest = MascotFixture;

const StoredComponent* child(const StoredComponent& parent, const std::string& name) {
    for (const StoredComponent& c : parent.children) {
        if (c.name == name)
            return &c;
        if (const StoredComponent* nested = child(c, name))
            return nested;
    }
    return nullptr;
}

TEST_F(LayoutTest, DesignedValuesOfTheWindow) {
    const StoredComponent root = FormReader::read(standInLayout());
    EXPECT_EQ(root.className, "TFrmMain");
    EXPECT_EQ(root.name, "FrmMain");
    ASSERT_NE(root.find("Left"), nullptr);
    EXPECT_EQ(root.find("Left")->asInt(), 213);
    EXPECT_EQ(root.find("Top")->asInt(), 111);
    EXPECT_EQ(root.find("OnCreate")->text, "FormCreate");
    EXPECT_EQ(root.find("OnClose")->text, "FormClose");
    const StoredComponent* list = child(root, "RgnList1");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->find("Left")->asInt(), 30);
    EXPECT_EQ(list->find("Top")->asInt(), 64);
    for (const char* name : {"Rgn1", "Rgn2", "Rgn3", "Rgn4", "Rgn5", "Rgn6"}) {
        SCOPED_TRACE(name);
        const StoredComponent* rgn = child(root, name);
        ASSERT_NE(rgn, nullptr);
        EXPECT_NE(rgn->find("RgnData"), nullptr) << "the outline is stored ready-made";
        EXPECT_NE(rgn->find("RgnBitmap.Data"), nullptr);
        EXPECT_EQ(rgn->find("OnMouseDown")->text, "Rgn1MouseDown");
        EXPECT_EQ(rgn->find("OnDblClick")->text, "Rgn1DblClick");
    }
}

TEST_F(LayoutTest, LoadedWindowHasItsDesignedComponents) {
    create();
    EXPECT_EQ(form->Caption(), "走れクヴィトくん");
    EXPECT_EQ(form->Width(), 112);
    EXPECT_EQ(form->Height(), 117);
    EXPECT_EQ(form->Cursor(), Cursors::crHandPoint);
    EXPECT_EQ(form->BorderStyle(), Form::TFormBorderStyle::bsNone) << "the first frame made it borderless";

    const std::array<TRgn*, 6> frames{form->Rgn1, form->Rgn2, form->Rgn3, form->Rgn4, form->Rgn5, form->Rgn6};
    const std::array<Picture, 6> pictures = standInFrames();
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i + 1);
        TRgn* rgn = frames[i];
        EXPECT_EQ(rgn->Left(), 0);
        EXPECT_EQ(rgn->Top(), 0);
        EXPECT_EQ(rgn->Width(), 53);
        EXPECT_EQ(rgn->Height(), 87);
        EXPECT_EQ(rgn->Cursor(), Cursors::crHandPoint);
        EXPECT_TRUE(rgn->Transparent());
        EXPECT_EQ(rgn->AutoSize(), i == 5);
        EXPECT_TRUE(rgn->OnMouseDown());
        EXPECT_TRUE(rgn->OnDblClick());
        // The stored outline is exactly what the picture gives.
        Picture copy = pictures[i];
        std::unique_ptr<std::uint8_t[]> expected;
        const std::int32_t size = BitmapToRgnData(&copy, expected);
        ASSERT_EQ(rgn->RgnDataSize(), size);
        EXPECT_EQ(std::memcmp(rgn->RgnDataBuf(), expected.get(), static_cast<std::size_t>(size)), 0);
        EXPECT_EQ(rgn->RgnBitmap(), pictures[i]);
    }
    // No two frames share an outline, so the tests can tell them apart.
    for (int i = 0; i < 6; ++i)
        for (int j = i + 1; j < 6; ++j)
            EXPECT_NE(*frames[i]->RgnHandle(), *frames[j]->RgnHandle());

    EXPECT_TRUE(form->Timer1->OnTimer());
    EXPECT_TRUE(form->Timer2->OnTimer());
    EXPECT_TRUE(form->RgnList1->AutoClear());
    EXPECT_EQ(form->TaskTrayIcon1->PopUpMenuR(), form->PopupMenu1);
    EXPECT_FALSE(form->TaskTrayIcon1->Icon().empty());

    const std::vector<TMenuItem*>& items = form->PopupMenu1->items();
    EXPECT_EQ(items, (std::vector<TMenuItem*>{form->N2, form->N3, form->FullScreen1, form->Autostart1,
                                              form->N1, form->Exit1}));
    EXPECT_EQ(form->N2->Caption(), "設定");
    EXPECT_EQ(form->FullScreen1->Caption(), "全画面のときは隠れる");
    EXPECT_TRUE(form->FullScreen1->OnClick());
    EXPECT_EQ(form->Autostart1->Caption(), "ログイン時に起動");
    EXPECT_TRUE(form->Autostart1->OnClick());
    EXPECT_TRUE(form->PopupMenu1->OnPopup());
    EXPECT_EQ(form->N3->Caption(), "バージョン情報(&A)");
    EXPECT_EQ(form->N1->Caption(), "-");
    EXPECT_EQ(form->Exit1->Caption(), "終了");
    EXPECT_TRUE(form->N2->OnClick());
    EXPECT_TRUE(form->N3->OnClick());
    EXPECT_FALSE(form->N1->OnClick());
    EXPECT_TRUE(form->Exit1->OnClick());
}

TEST_F(LayoutTest, FramesKeepTheirOrderAmongTheComponents) {
    create();
    std::vector<std::string> rgns;
    for (Component* c : form->components())
        if (dynamic_cast<TRgn*>(c))
            rgns.push_back(c->name());
    EXPECT_EQ(rgns, (std::vector<std::string>{"Rgn1", "Rgn2", "Rgn3", "Rgn4", "Rgn5", "Rgn6"}));
}

TEST_F(LayoutTest, StartsWithRgn3AsTheWindowShape) {
    create();
    EXPECT_EQ(shownFrame(), 3);
    const std::optional<QRegion> shape = sim->windowRegion(*form);
    ASSERT_TRUE(shape.has_value());
    EXPECT_EQ(*shape, RgnRegion::fromRects(form->Rgn3->RgnHandle()->rects()));
}

TEST_F(LayoutTest, EveryFrameSwitchKeepsThePlaceAndTakesTheFramesShape) {
    create(321, 123);
    sim->setCursorPos({900, 123});
    const std::array<TRgn*, 6> frames{form->Rgn1, form->Rgn2, form->Rgn3, form->Rgn4, form->Rgn5, form->Rgn6};
    for (int i = 0; i < 6; ++i) {
        form->ShowFrame(frames[i]);
        EXPECT_EQ(shownFrame(), i + 1);
        EXPECT_EQ(*sim->windowRegion(*form), RgnRegion::fromRects(frames[i]->RgnHandle()->rects()));
        EXPECT_EQ(left(), 321);
        EXPECT_EQ(top(), 123);
    }
}

// Collects the handler names the layout's event properties give and the
// names of its components.
void namesIn(const StoredComponent& stored, std::set<std::string>& handlers,
             std::set<std::string>& components) {
    for (const auto& [path, value] : stored.properties)
        if (path.rfind("On", 0) == 0 && value.type == FormValue::Type::Ident)
            handlers.insert(value.text);
    for (const StoredComponent& c : stored.children) {
        components.insert(c.name);
        namesIn(c, handlers, components);
    }
}

// The layout the program embeds binds handlers and components by name: each
// handler it names must be published, each component a member's, and each
// published handler must be one that some event names.
TEST_F(LayoutTest, BuiltInLayoutAndTheWindowAgreeOnEveryName) {
    form = std::make_unique<TFrmMain>(nullptr, MascotLayoutData());
    std::set<std::string> handlers;
    std::set<std::string> components;
    namesIn(FormReader::read(MascotLayoutData()), handlers, components);
    const std::vector<std::string> published = form->publishedMethodNames();
    const std::set<std::string> bound(form->boundComponentNames().begin(), form->boundComponentNames().end());
    for (const std::string& handler : handlers)
        EXPECT_TRUE(std::ranges::count(published, handler)) << handler << " is not published";
    for (const std::string& handler : published)
        EXPECT_TRUE(handlers.count(handler)) << handler << " is published but no event names it";
    for (const std::string& component : components)
        EXPECT_TRUE(bound.count(component)) << component << " is in the layout but no member points at it";
    EXPECT_EQ(bound.size(), form->boundComponentNames().size()) << "a component bound twice";
}

TEST_F(LayoutTest, BuiltInLayoutCarriesTheArtworkAndItsOutlines) {
    form = std::make_unique<TFrmMain>(nullptr, MascotLayoutData());
    const std::array<TRgn*, 6> frames{form->Rgn1, form->Rgn2, form->Rgn3, form->Rgn4, form->Rgn5, form->Rgn6};
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i + 1);
        Picture art =
            Picture::loadBmpFile(std::string(KUVITO_ART_DIR) + "/Rgn" + std::to_string(i + 1) + ".bmp");
        EXPECT_EQ(frames[i]->RgnBitmap(), art);
        std::unique_ptr<std::uint8_t[]> expected;
        const std::int32_t size = BitmapToRgnData(&art, expected);
        ASSERT_EQ(frames[i]->RgnDataSize(), size);
        EXPECT_EQ(std::memcmp(frames[i]->RgnDataBuf(), expected.get(), static_cast<std::size_t>(size)), 0);
        EXPECT_EQ(frames[i]->Width(), 53);
        EXPECT_EQ(frames[i]->Height(), 87);
        // The loaded region is exactly the stored rectangles (the frames
        // stand at 0, 0 at their picture's size), built without a pixel scan.
        auto rects = RgnDataBlock::parse(frames[i]->RgnDataBuf(), static_cast<std::size_t>(size));
        ASSERT_TRUE(rects.has_value());
        QRegion stored;
        for (const RgnRect& r : *rects)
            stored += QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
        ASSERT_TRUE(frames[i]->RgnHandle().has_value());
        EXPECT_EQ(RgnRegion::fromRects(frames[i]->RgnHandle()->rects()), stored);
    }
    EXPECT_EQ(shownFrame(), 3);
}

TEST_F(LayoutTest, UnreadableLayoutLeavesNoMainWindowBehind) {
    const std::vector<std::uint8_t> truncated(standInLayout().begin(), standInLayout().begin() + 100);
    EXPECT_THROW(TFrmMain(nullptr, truncated), KuvitoError);
    EXPECT_EQ(FrmMain, nullptr);
}

TEST_F(LayoutTest, MenuCommandsAreBoundToTheWindow) {
    create();
    // A handler that the window publishes is reachable through the item.
    bool closed = false;
    QObject::connect(form.get(), &QDialog::finished, [&] { closed = true; });
    form->show();
    form->Exit1->Click();
    EXPECT_FALSE(form->isVisible());
    (void)closed;
}

} // namespace

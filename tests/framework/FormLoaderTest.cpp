#include <gtest/gtest.h>

#include <QMenu>

#include "ComponentRegistry.h"
#include "FormLoader.h"
#include "FormReader.h"
#include "FormStorer.h"
#include "FormWriter.h"
#include "KuvitoError.h"
#include "QtMenu.h"
#include "SimulatedDesktop.h"
#include "TestComponents.h"
#include "TMenuItem.h"
#include "TPopupMenu.h"
#include "TTimer.h"

namespace {

StoredComponent node(std::string cls, std::string name,
                     std::vector<std::pair<std::string, FormValue>> props = {},
                     std::vector<StoredComponent> children = {}) {
    StoredComponent c;
    c.className = std::move(cls);
    c.name = std::move(name);
    c.properties = std::move(props);
    c.children = std::move(children);
    return c;
}

void registerTestClasses() {
    auto& r = ComponentRegistry::instance();
    r.registerClass("TProbe", [](Component* owner) { return new Probe(owner); });
    r.registerClass("TBoundsProbe", [](Component* owner) { return new BoundsProbe(owner); });
}

class FormLoaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto sim = std::make_unique<SimulatedDesktop>();
        desk = sim.get();
        installDesktop(std::move(sim));
        registerTestClasses();
        journal().clear();
    }
    SimulatedDesktop* desk = nullptr;
};

// The menu of the mascot window: items stored inside their popup menu.
StoredComponent menuLayout() {
    return node(
        "TTestForm", "FrmTest", {{"Caption", FormValue::fromString("走れクヴィトくん")}},
        {node("TTimer", "Timer1",
              {{"Interval", FormValue::fromInt(200)}, {"OnTimer", FormValue::fromIdent("Timer1Timer")}}),
         node("TPopupMenu", "PopupMenu1", {{"Left", FormValue::fromInt(30)}, {"Top", FormValue::fromInt(64)}},
              {node("TMenuItem", "N2",
                    {{"Caption", FormValue::fromString("設定")},
                     {"OnClick", FormValue::fromIdent("N2Click")}}),
               node("TMenuItem", "N1", {{"Caption", FormValue::fromString("-")}}),
               node("TMenuItem", "Exit1", {{"Caption", FormValue::fromString("終了")}})})});
}

} // namespace

TEST_F(FormLoaderTest, CreatesOwnedComponentsNestedByTheirStoredParent) {
    TestForm form;
    int ticks = 0, clicks = 0;
    form.publishMethod("Timer1Timer", TNotifyEvent([&](Component*) { ++ticks; }));
    form.publishMethod("N2Click", TNotifyEvent([&](Component*) { ++clicks; }));
    FormLoader::loadForm(form, FormWriter::write(menuLayout()));

    EXPECT_EQ(form.name(), "FrmTest");
    EXPECT_EQ(form.Caption(), "走れクヴィトくん");
    ASSERT_EQ(form.components().size(), 5u);
    std::vector<std::string> names;
    for (Component* c : form.components()) {
        names.push_back(c->name());
        EXPECT_EQ(c->owner(), &form);
        EXPECT_FALSE(c->isLoading());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Timer1", "PopupMenu1", "N2", "N1", "Exit1"}));

    auto* menu = dynamic_cast<TPopupMenu*>(form.findComponent("PopupMenu1"));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->items().size(), 3u);
    EXPECT_EQ(menu->items()[0]->name(), "N2");
    const QList<QAction*> actions = QtMenu::widgetOf(menu->menu()).actions();
    EXPECT_TRUE(actions[1]->isSeparator());
    EXPECT_EQ(actions[2]->text().toStdString(), "終了");
    EXPECT_EQ(menu->designLeft(), 30);

    actions[0]->trigger();
    EXPECT_EQ(clicks, 1);
    auto* timer = dynamic_cast<TTimer*>(form.findComponent("Timer1"));
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isRunning());
    desk->advance(400);
    EXPECT_EQ(ticks, 2);
}

TEST_F(FormLoaderTest, StoringWhatWasLoadedGivesTheSameLayoutBack) {
    TestForm form;
    form.publishMethod("Timer1Timer", TNotifyEvent([](Component*) {}));
    form.publishMethod("N2Click", TNotifyEvent([](Component*) {}));
    FormLoader::loadForm(form, FormWriter::write(menuLayout()));
    const StoredComponent stored = FormStorer::storeTree(form);
    ASSERT_EQ(stored.children.size(), 2u);
    EXPECT_EQ(stored.children[1].children.size(), 3u);

    TestForm again;
    again.publishMethod("Timer1Timer", TNotifyEvent([](Component*) {}));
    again.publishMethod("N2Click", TNotifyEvent([](Component*) {}));
    const auto bytes = FormWriter::write(stored);
    FormLoader::loadForm(again, bytes);
    EXPECT_EQ(FormStorer::storeForm(again), bytes);
}

TEST_F(FormLoaderTest, BinaryPropertiesArriveExactlyAndPropertiesComeWhileLoading) {
    std::vector<std::uint8_t> block(32 + 16, 0);
    block[0] = 32;
    block[4] = 1;
    Probe root(nullptr);
    const auto layout = node(
        "TProbe", "Root", {{"Number", FormValue::fromInt(1)}},
        {node("TProbe", "P1", {{"Number", FormValue::fromInt(2)}, {"Data", FormValue::fromBinary(block)}}),
         node("TProbe", "P2", {{"Data", FormValue::fromBinary({})}})});
    FormLoader::loadForm(root, FormWriter::write(layout));
    auto* p1 = dynamic_cast<Probe*>(root.findComponent("P1"));
    auto* p2 = dynamic_cast<Probe*>(root.findComponent("P2"));
    ASSERT_TRUE(p1 && p2);
    EXPECT_EQ(p1->data, block);
    EXPECT_TRUE(p2->data.empty());
    // Every property is read while loading; loaded() comes after all of
    // them, root first, then the components in component order.
    EXPECT_EQ(journal(), (std::vector<std::string>{"read Root.Number loading=1", "read P1.Number loading=1",
                                                   "loaded Root", "loaded P1", "loaded P2"}));
    // Written back: the binary value is the same bytes.
    const StoredComponent stored = FormStorer::storeTree(root);
    EXPECT_EQ(*stored.children[0].find("Data"), FormValue::fromBinary(block));
}

TEST_F(FormLoaderTest, UnknownClassOrPropertyIsAnErrorNamingIt) {
    struct Case {
        const char* label;
        StoredComponent layout;
        std::string mustMention;
    };
    const Case cases[] = {
        {"unknown class", node("TProbe", "Root", {}, {node("TNoSuchThing", "X1")}), "TNoSuchThing"},
        {"unknown property",
         node("TProbe", "Root", {}, {node("TProbe", "P1", {{"Colour", FormValue::fromInt(1)}})}),
         "P1.Colour"},
        {"unknown property of the root", node("TProbe", "Root", {{"Bogus", FormValue::fromInt(1)}}),
         "Root.Bogus"},
        {"value of the wrong type",
         node("TProbe", "Root", {}, {node("TProbe", "P1", {{"Number", FormValue::fromString("x")}})}),
         "P1.Number"},
        {"value out of range",
         node("TProbe", "Root", {}, {node("TProbe", "P1", {{"Number", FormValue::fromInt(1LL << 40)}})}),
         "P1.Number"},
        {"unpublished handler",
         node("TProbe", "Root", {}, {node("TProbe", "P1", {{"OnEvent", FormValue::fromIdent("Nope")}})}),
         "Nope"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Probe root(nullptr);
        try {
            FormLoader::loadForm(root, FormWriter::write(c.layout));
            ADD_FAILURE() << "loaded";
        } catch (const KuvitoError& e) {
            EXPECT_NE(std::string(e.what()).find(c.mustMention), std::string::npos) << e.what();
        }
        // What was created before the failure stays owned and not loading.
        EXPECT_FALSE(root.isLoading());
        for (Component* comp : root.components())
            EXPECT_FALSE(comp->isLoading());
    }
    EXPECT_THROW(ComponentRegistry::instance().create("TNoSuchThing", nullptr), KuvitoError);
}

TEST_F(FormLoaderTest, StoredSizeGoesThroughSetBounds) {
    TestForm form;
    FormLoader::loadForm(form,
                         FormWriter::write(node("TTestForm", "F", {},
                                                {node("TBoundsProbe", "B1",
                                                      {{"Left", FormValue::fromInt(5)},
                                                       {"Top", FormValue::fromInt(6)},
                                                       {"Width", FormValue::fromInt(53)},
                                                       {"Height", FormValue::fromInt(87)},
                                                       {"Cursor", FormValue::fromIdent("crHandPoint")}})})));
    auto* b = dynamic_cast<BoundsProbe*>(form.findComponent("B1"));
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->calls,
              (std::vector<std::vector<int>>{{5, 0, 0, 0}, {5, 6, 0, 0}, {5, 6, 53, 0}, {5, 6, 53, 87}}));
    EXPECT_EQ(b->parentWidget(), &form);
    EXPECT_EQ(b->geometry(), QRect(5, 6, 53, 87));
    EXPECT_EQ(b->Cursor(), Cursors::crHandPoint);
    EXPECT_EQ(b->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(FormLoaderTest, PopupMenuDestructionClearsReferencesAndGoesThroughTheDesktop) {
    TestForm form;
    auto* menu = new TPopupMenu(&form);
    auto* item = new TMenuItem(&form);
    item->setParentComponent(menu);
    item->setCaption("設定");
    int clicks = 0;
    item->setOnClick([&](Component*) {
        ++clicks;
        throw KuvitoError("失敗");
    });
    desk->setMenuScript(
        [](SimulatedDesktop&, QMenu& m, QPoint) { SimulatedDesktop::triggerAction(m, "設定"); });
    menu->Popup(10, 20);
    ASSERT_EQ(desk->menus().size(), 1u);
    EXPECT_EQ(desk->menus()[0].at, QPoint(10, 20));
    EXPECT_EQ(clicks, 1);
    ASSERT_EQ(desk->errorBoxes().size(), 1u);
    EXPECT_EQ(desk->errorBoxes()[0].text.toStdString(), "失敗.");

    auto* holder = new Probe(nullptr);
    holder->watched = menu;
    menu->freeNotification(holder);
    delete menu;
    EXPECT_EQ(holder->watched, nullptr);
    EXPECT_EQ(item->menu(), nullptr);
    delete holder;
}

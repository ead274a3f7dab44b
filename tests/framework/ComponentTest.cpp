#include <gtest/gtest.h>

#include <QPointer>

#include <cstdint>

#include "KuvitoError.h"
#include "TestComponents.h"

TEST(Component, OwnerKeepsCreationOrderAndDestroysLastFirst) {
    journal().clear();
    {
        Probe owner(nullptr, "owner");
        auto* a = new Probe(&owner, "a");
        auto* b = new Probe(&owner, "b");
        auto* c = new Probe(&owner, "c");
        a->setName("A");
        c->setName("C");
        ASSERT_EQ(owner.components(), (std::vector<Component*>{a, b, c}));
        EXPECT_EQ(owner.findComponent("C"), c);
        EXPECT_EQ(owner.findComponent(""), nullptr);
        EXPECT_EQ(b->owner(), &owner);
        EXPECT_EQ(b->root(), &owner);
        delete b; // leaves its owner's list
        EXPECT_EQ(owner.components(), (std::vector<Component*>{a, c}));
    }
    EXPECT_EQ(journal(), (std::vector<std::string>{"destroy b", "destroy owner", "destroy c", "destroy a"}));
}

TEST(Component, OwnerAndSiblingsAreToldOfARemoval) {
    Probe owner(nullptr);
    auto* holder = new Probe(&owner);
    auto* target = new Probe(&owner);
    // Only the address is compared once the component is gone.
    const auto gone = reinterpret_cast<std::uintptr_t>(target);
    delete target;
    ASSERT_EQ(owner.removed.size(), 1u);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(owner.removed[0]), gone);
    ASSERT_EQ(holder->removed.size(), 1u);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(holder->removed[0]), gone);
}

TEST(Component, FreeNotificationWorksAcrossOwnersAndBothWays) {
    Probe ownerA(nullptr), ownerB(nullptr);
    auto* holder = new Probe(&ownerA);
    auto* target = new Probe(&ownerB);
    holder->watched = target;
    target->freeNotification(holder); // the way round a holder may ask
    delete target;
    EXPECT_EQ(holder->watched, nullptr);

    // The other way round, and the link dies with the holder: destroying
    // the target afterwards tells nobody and touches nothing freed.
    auto* target2 = new Probe(&ownerB);
    auto* holder2 = new Probe(&ownerA);
    holder2->freeNotification(target2);
    delete holder2;
    delete target2;
}

TEST(Component, DesignModeReachesOwnedComponents) {
    Probe owner(nullptr);
    auto* child = new Probe(&owner);
    auto* grandChild = new Probe(child);
    owner.setDesigning(true);
    EXPECT_TRUE(child->isDesigning());
    EXPECT_TRUE(grandChild->isDesigning());
}

TEST(Component, WidgetComponentsAreDeletedExactlyOnce) {
    journal().clear();
    QPointer<QWidget> childWatch, grandWatch;
    {
        auto* form = new WidgetProbe(nullptr);
        form->setName("form");
        // Owned by the form and also its child widgets, one inside another:
        // both the owner and the widget parent would delete them.
        auto* panel = new WidgetProbe(form, form);
        panel->setName("panel");
        auto* inner = new WidgetProbe(form, panel);
        inner->setName("inner");
        childWatch = panel;
        grandWatch = inner;
        delete static_cast<Component*>(form);
    }
    EXPECT_TRUE(childWatch.isNull());
    EXPECT_TRUE(grandWatch.isNull());
    EXPECT_EQ(journal(), (std::vector<std::string>{"destroy widget inner", "destroy widget panel",
                                                   "destroy widget form"}));

    // A widget parent deleting an owned component first: the owner's list
    // no longer holds it.
    Probe owner(nullptr);
    auto* parent = new QWidget;
    auto* owned = new WidgetProbe(&owner, parent);
    delete parent;
    EXPECT_TRUE(owner.components().empty());
    (void)owned;
}

TEST(Component, AWidgetDeletedWithItsParentIsNotDeletedAgain) {
    // The panel is created after the control it holds, so last-first
    // destruction deletes the panel, and the panel its child control, which
    // the owner then must not delete a second time.
    journal().clear();
    {
        Probe owner(nullptr, "owner");
        auto* outer = new QWidget;
        auto* control = new WidgetProbe(&owner, outer);
        control->setName("control");
        auto* panel = new WidgetProbe(&owner);
        panel->setName("panel");
        control->setParent(panel);
        delete outer;
    }
    EXPECT_EQ(journal(),
              (std::vector<std::string>{"destroy owner", "destroy widget panel", "destroy widget control"}));
}

TEST(Component, TagIsStoredWhenNotZero) {
    Probe p(nullptr);
    EXPECT_TRUE(p.readProperty("Tag", FormValue::fromInt(42)));
    EXPECT_EQ(p.tag(), 42);
    EXPECT_FALSE(p.readProperty("Nothing", FormValue::fromInt(1)));
}

TEST(Component, HandlersBindByNameOnTheRoot) {
    Probe root(nullptr);
    auto* child = new Probe(&root);
    child->setName("Child");
    int calls = 0;
    Component* sender = nullptr;
    root.publishMethod("ChildEvent", TNotifyEvent([&](Component* s) {
                           ++calls;
                           sender = s;
                       }));
    ASSERT_TRUE(child->readProperty("OnEvent", FormValue::fromIdent("ChildEvent")));
    fire(child->onEvent, child);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(sender, child);
    EXPECT_EQ(child->eventNames().at("OnEvent"), "ChildEvent");

    // nil unbinds; an unknown name, a handler of another shape or a value
    // that is no name are errors that say which property.
    FormValue nil;
    nil.type = FormValue::Type::Nil;
    ASSERT_TRUE(child->readProperty("OnEvent", nil));
    EXPECT_FALSE(child->onEvent);
    EXPECT_EQ(child->eventNames().count("OnEvent"), 0u);
    try {
        child->readProperty("OnEvent", FormValue::fromIdent("Missing"));
        ADD_FAILURE();
    } catch (const KuvitoError& e) {
        EXPECT_NE(std::string(e.what()).find("Child.OnEvent"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("Missing"), std::string::npos);
    }
    root.publishMethod("WrongShape", TMouseEvent{[](Component*, TMouseButton, TShiftState, int, int) {}});
    EXPECT_THROW(child->readProperty("OnEvent", FormValue::fromIdent("WrongShape")), KuvitoError);
    EXPECT_THROW(child->readProperty("OnEvent", FormValue::fromInt(1)), KuvitoError);
}

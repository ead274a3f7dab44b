// The icon's mouse callbacks: foreground step, popup menus, event order and
// contained errors.

#include <QMenu>

#include "FormValue.h"
#include "KuvitoError.h"
#include "QtMenu.h"
#include "TPopupMenu.h"
#include "TrayTestSupport.h"

namespace {

class TrayEvents : public TrayFixture {
protected:
    void SetUp() override {
        TrayFixture::SetUp();
        tray_ = loadTray();
        sim().setCursorPos({700, 750});
        tray_->setOnClick([this](Component* s) { note(s, "Click"); });
        tray_->setOnDblClick([this](Component* s) { note(s, "DblClick"); });
        tray_->setOnMouseDown([this](Component* s, TMouseButton b, TShiftState sh, int x, int y) {
            note(s, "Down(" + std::to_string(int(b)) + "," + std::to_string(sh) + "," + std::to_string(x) +
                        "," + std::to_string(y) + ")");
        });
        tray_->setOnMouseUp([this](Component* s, TMouseButton b, TShiftState sh, int, int) {
            note(s, "Up(" + std::to_string(int(b)) + "," + std::to_string(sh) + ")");
        });
        tray_->setOnMouseMove([this](Component* s, TShiftState sh, int x, int y) {
            note(s, "Move(" + std::to_string(sh) + "," + std::to_string(x) + "," + std::to_string(y) + ")");
        });
        // A menu shows up in the log when it opens.
        sim().setMenuScript([this](SimulatedDesktop&, QMenu& menu, QPoint at) {
            log_.push_back("Menu(" + menu.objectName().toStdString() + "," + std::to_string(at.x()) + "," +
                           std::to_string(at.y()) +
                           ",fg=" + std::to_string(sim().foregroundRequests().size()) + ")");
        });
    }

    void note(Component* sender, std::string what) {
        EXPECT_EQ(sender, tray_) << "Sender is always the component";
        log_.push_back(std::move(what));
    }
    TPopupMenu* menu(const char* name) {
        auto* m = new TPopupMenu(form_.get());
        m->setName(name);
        QtMenu::widgetOf(m->menu()).setObjectName(QString::fromLatin1(name));
        return m;
    }
    void send(std::initializer_list<std::uint32_t> messages) {
        for (auto m : messages)
            ASSERT_TRUE(sim().sendTrayMessage(m));
    }

    TTaskTrayIcon* tray_ = nullptr;
    std::vector<std::string> log_;
};

using Log = std::vector<std::string>;

TEST_F(TrayEvents, LeftClickThenDoubleClickRaiseEventsInOrder) {
    send({513, 514, 515, 514});
    EXPECT_EQ(log_, (Log{"Down(0,8,700,750)", "Up(0,8)", "Click", "DblClick", "Down(0,64,700,750)", "Up(0,8)",
                         "Click"}));
    // Left down and the double-click each bring the owner form forward.
    EXPECT_EQ(sim().foregroundRequests(), (std::vector<const QWidget*>{form_.get(), form_.get()}));
    EXPECT_EQ(sim().pendingMessageRuns(), 2);
}

TEST_F(TrayEvents, StoredHandlerNamesBindEachToItsOwnEvent) {
    form_->publishMethod("TrayDown", TMouseEvent([this](Component*, TMouseButton, TShiftState, int, int) {
                             log_.push_back("StoredDown");
                         }));
    form_->publishMethod("TrayUp", TMouseEvent([this](Component*, TMouseButton, TShiftState, int, int) {
                             log_.push_back("StoredUp");
                         }));
    form_->publishMethod("TrayMove", TMouseMoveEvent([this](Component*, TShiftState, int, int) {
                             log_.push_back("StoredMove");
                         }));
    EXPECT_TRUE(tray_->readProperty("OnMouseDown", FormValue::fromIdent("TrayDown")));
    EXPECT_TRUE(tray_->readProperty("OnMouseMove", FormValue::fromIdent("TrayMove")));
    EXPECT_TRUE(tray_->readProperty("OnMouseUp", FormValue::fromIdent("TrayUp")));
    send({513, 512, 514});
    EXPECT_EQ(log_, (Log{"StoredDown", "StoredMove", "StoredUp", "Click"}));
}

struct ButtonCase {
    std::vector<std::uint32_t> messages;
    Log expected;
    std::size_t foreground;
};

class TrayButtons : public TrayEvents, public ::testing::WithParamInterface<ButtonCase> {};

TEST_P(TrayButtons, EachMouseMessageRaisesItsEvents) {
    const ButtonCase& c = GetParam();
    for (auto m : c.messages)
        ASSERT_TRUE(sim().sendTrayMessage(m));
    EXPECT_EQ(log_, c.expected);
    EXPECT_EQ(sim().foregroundRequests().size(), c.foreground);
    EXPECT_TRUE(sim().menus().empty()) << "no menu is set";
}

INSTANTIATE_TEST_SUITE_P(
    Table, TrayButtons,
    ::testing::Values(ButtonCase{{512}, {"Move(0,700,750)"}, 0},
                      ButtonCase{{516, 517}, {"Down(1,16,700,750)", "Up(1,16)", "Click"}, 1},
                      ButtonCase{{518}, {"DblClick", "Down(1,64,700,750)"}, 1},
                      ButtonCase{{519, 520}, {"Down(2,32,700,750)", "Up(2,32)", "Click"}, 0},
                      ButtonCase{{521}, {}, 0}, ButtonCase{{522, 511, 0}, {}, 0}),
    // Named after the messages sent, so that test names stay the same from
    // one run to the next.
    [](const auto& test) {
        std::string name = "messages";
        for (auto m : test.param.messages)
            name += "_" + std::to_string(m);
        return name;
    });

TEST_F(TrayEvents, RightDownBringsTheFormForwardThenOpensTheMenuAtThePointerBeforeMouseDown) {
    tray_->setPopUpMenuR(menu("PopupMenu1"));
    send({516});
    EXPECT_EQ(log_, (Log{"Menu(PopupMenu1,700,750,fg=1)", "Down(1,16,700,750)"}));
    ASSERT_EQ(sim().foregroundRequests().size(), 1u);
    EXPECT_EQ(sim().foregroundRequests()[0], form_.get());
}

TEST_F(TrayEvents, EachButtonOpensItsOwnMenu) {
    tray_->setPopUpMenuL(menu("Left"));
    tray_->setPopUpMenuR(menu("Right"));
    send({513, 516, 515, 519});
    EXPECT_EQ(log_, (Log{"Menu(Left,700,750,fg=1)", "Down(0,8,700,750)", "Menu(Right,700,750,fg=2)",
                         "Down(1,16,700,750)", "DblClick", "Down(0,64,700,750)", "Down(2,32,700,750)"}));
}

TEST_F(TrayEvents, PointerIsReadWhenTheMessageIsHandled) {
    sim().setCursorPos({10, 20});
    send({512});
    sim().setCursorPos({30, 40});
    send({512});
    EXPECT_EQ(log_, (Log{"Move(0,10,20)", "Move(0,30,40)"}));
}

TEST_F(TrayEvents, OneMenuServingBothButtonsIsDroppedFromBothWhenDestroyed) {
    TPopupMenu* both = menu("Both");
    tray_->setPopUpMenuL(both);
    tray_->setPopUpMenuR(both);
    TPopupMenu* other = menu("Other");
    delete both;
    EXPECT_EQ(tray_->PopUpMenuL(), nullptr);
    EXPECT_EQ(tray_->PopUpMenuR(), nullptr);
    send({513, 516});
    EXPECT_TRUE(sim().menus().empty());
    // Destroying an unrelated menu leaves a reference alone.
    tray_->setPopUpMenuR(menu("Kept"));
    delete other;
    ASSERT_NE(tray_->PopUpMenuR(), nullptr);
    EXPECT_EQ(tray_->PopUpMenuR()->name(), "Kept");
    // Menus owned elsewhere are dropped as well: the icon asked to be told.
    auto* left = new TPopupMenu(nullptr);
    auto* right = new TPopupMenu(nullptr);
    tray_->setPopUpMenuL(left);
    tray_->setPopUpMenuR(right);
    delete left;
    delete right;
    EXPECT_EQ(tray_->PopUpMenuL(), nullptr);
    EXPECT_EQ(tray_->PopUpMenuR(), nullptr);
}

TEST_F(TrayEvents, AnErrorFromAHandlerIsShownOnceAndContained) {
    tray_->setOnMouseUp(
        [](Component*, TMouseButton, TShiftState, int, int) { throw KuvitoError("トレイの失敗"); });
    EXPECT_NO_THROW(sim().sendTrayMessage(514));
    ASSERT_EQ(sim().errorBoxes().size(), 1u);
    EXPECT_EQ(sim().errorBoxes()[0].text.toStdString(), "トレイの失敗.");
    EXPECT_EQ(sim().errorBoxes()[0].title.toStdString(), "走れクヴィトくん");
    EXPECT_EQ(log_, Log{}) << "the rest of the step is skipped";
    // The component goes on working.
    send({519});
    EXPECT_EQ(log_, Log{"Down(2,32,700,750)"});
    EXPECT_EQ(sim().errorBoxes().size(), 1u);
}

TEST_F(TrayEvents, AnErrorWhileTheMenuIsOpenIsShownOnce) {
    tray_->setPopUpMenuR(menu("PopupMenu1"));
    sim().setMenuScript([](SimulatedDesktop&, QMenu&, QPoint) { throw KuvitoError("メニューの失敗"); });
    EXPECT_NO_THROW(sim().sendTrayMessage(516));
    ASSERT_EQ(sim().errorBoxes().size(), 1u);
    EXPECT_EQ(sim().errorBoxes()[0].text.toStdString(), "メニューの失敗.");
    EXPECT_EQ(log_, Log{});
}

TEST_F(TrayEvents, AComponentDestroyedByItsOwnHandlerStopsThere) {
    tray_->setOnMouseUp([this](Component*, TMouseButton, TShiftState, int, int) {
        log_.push_back("Up");
        delete tray_;
    });
    send({514});
    EXPECT_EQ(log_, Log{"Up"}) << "OnClick of a destroyed component must not run";
    EXPECT_FALSE(sim().trayIcon().has_value());
}

TEST_F(TrayEvents, WithoutAFormOwnerThereIsNoForegroundStep) {
    auto* loose = new TTaskTrayIcon(nullptr);
    loose->setLoading(true);
    loose->setVisible(true);
    delete tray_; // the simulated area shows one icon: let it be the loose one
    loose->loaded();
    bool down = false;
    loose->setOnMouseDown([&](Component*, TMouseButton, TShiftState, int, int) { down = true; });
    send({513});
    EXPECT_TRUE(down);
    EXPECT_TRUE(sim().foregroundRequests().empty());
    delete loose;
}

TEST_F(TrayEvents, AHostOpeningTheOfferedMenuBringsTheFormForwardFirst) {
    EXPECT_FALSE(sim().openHostMenu()) << "no menu offered yet";
    tray_->setPopUpMenuR(menu("PopupMenu1"));
    ASSERT_TRUE(sim().openHostMenu());
    EXPECT_EQ(sim().foregroundRequests(), (std::vector<const QWidget*>{form_.get()}));
    EXPECT_EQ(sim().pendingMessageRuns(), 1);
    EXPECT_TRUE(log_.empty())
        << "the host's menu is no mouse press, and the program opens no menu of its own";
}

} // namespace

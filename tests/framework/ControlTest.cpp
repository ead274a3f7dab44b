#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>

#include "KuvitoError.h"
#include "PropertyWriter.h"
#include "SimulatedDesktop.h"
#include "TestComponents.h"

namespace {

class ControlTest : public ::testing::Test {
protected:
    void SetUp() override { installDesktop(std::make_unique<SimulatedDesktop>()); }
};

void send(QWidget& w, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held,
          Qt::KeyboardModifiers mods = Qt::NoModifier, QPointF at = {3, 4}) {
    QMouseEvent e(type, at, w.mapToGlobal(at), button, held, mods);
    QCoreApplication::sendEvent(&w, &e);
}

} // namespace

TEST(ControlShift, ButtonsAndModifiersMapToFlags) {
    struct Case {
        Qt::MouseButtons buttons;
        Qt::KeyboardModifiers mods;
        bool dbl;
        TShiftState expected;
    };
    const Case cases[] = {
        {Qt::NoButton, Qt::NoModifier, false, 0},
        {Qt::LeftButton, Qt::NoModifier, false, Shift::ssLeft},
        {Qt::RightButton, Qt::ShiftModifier, false, Shift::ssRight | Shift::ssShift},
        {Qt::MiddleButton | Qt::LeftButton, Qt::ControlModifier | Qt::AltModifier, false,
         Shift::ssMiddle | Shift::ssLeft | Shift::ssCtrl | Shift::ssAlt},
        {Qt::LeftButton, Qt::NoModifier, true, Shift::ssLeft | Shift::ssDouble},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Control::shiftState(c.buttons, c.mods, c.dbl), c.expected);
}

TEST_F(ControlTest, MouseEventsInClassicOrder) {
    TestForm form;
    auto* control = new BoundsProbe(&form);
    control->setBounds(0, 0, 53, 87);
    std::vector<std::string> seen;
    control->setOnMouseDown([&](Component* s, TMouseButton b, TShiftState sh, int x, int y) {
        EXPECT_EQ(s, control);
        seen.push_back("down " + std::to_string(int(b)) + " " + std::to_string(sh) + " " + std::to_string(x) +
                       "," + std::to_string(y));
    });
    control->setOnMouseUp([&](Component*, TMouseButton b, TShiftState sh, int, int) {
        seen.push_back("up " + std::to_string(int(b)) + " " + std::to_string(sh));
    });
    control->setOnClick([&](Component*) { seen.push_back("click"); });
    control->setOnDblClick([&](Component*) { seen.push_back("dblclick"); });

    send(*control, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    send(*control, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
    send(*control, QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton);
    send(*control, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
    send(*control, QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton);
    send(*control, QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton);
    // A left release outside the control is no click.
    send(*control, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
    send(*control, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, Qt::NoModifier, {200, 4});
    EXPECT_EQ(seen, (std::vector<std::string>{"down 0 9 3,4", "click", "up 0 0", "dblclick", "down 0 72 3,4",
                                              "click", "up 0 0", "down 1 16 3,4", "up 1 0", "down 0 8 3,4",
                                              "up 0 0"}));
}

TEST_F(ControlTest, BringToFrontPaintsLastAndIsHitFirst) {
    TestForm form;
    form.resize(100, 100);
    auto* first = new BoundsProbe(&form);
    auto* second = new BoundsProbe(&form);
    first->setBounds(0, 0, 50, 50);
    second->setBounds(0, 0, 50, 50);
    EXPECT_EQ(form.childAt(10, 10), second); // later controls are on top
    first->bringToFront();
    EXPECT_EQ(form.childAt(10, 10), first);
    EXPECT_EQ(form.children().last(), first);
    EXPECT_EQ(first->eraseBackground(), 1);
}

TEST_F(ControlTest, VisibleSurvivesReparentingAndStoredValuesRoundTrip) {
    TestForm form;
    auto* control = new BoundsProbe(&form);
    ASSERT_TRUE(control->readProperty("Visible", FormValue::fromBool(false)));
    ASSERT_TRUE(control->readProperty("Hint", FormValue::fromString("ﾋﾝﾄ")));
    ASSERT_TRUE(control->readProperty("Cursor", FormValue::fromInt(-21)));
    ASSERT_TRUE(control->readProperty("Tag", FormValue::fromInt(7)));
    TestForm other;
    control->setParentComponent(&other);
    EXPECT_FALSE(control->Visible());
    EXPECT_TRUE(control->isHidden());
    PropertyWriter w;
    control->writeProperties(w);
    auto find = [&](const std::string& name) -> const FormValue* {
        for (const auto& [n, v] : w.properties())
            if (n == name)
                return &v;
        return nullptr;
    };
    ASSERT_TRUE(find("Visible") && find("Cursor") && find("Tag") && find("Hint"));
    EXPECT_EQ(*find("Cursor"), FormValue::fromIdent("crHandPoint"));
    EXPECT_EQ(find("Tag")->asInt(), 7);
    EXPECT_THROW(control->readProperty("Cursor", FormValue::fromIdent("crNoSuch")), KuvitoError);
}

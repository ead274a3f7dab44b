// Stepping aside for a full-screen window, and the tray menu's switch.

#include "MascotFixture.h"

#include "TMenuItem.h"
#include "TRgn.h"

#include <fstream>
#include <sstream>

namespace {

constexpr ScreenRect kPrimary{0, 0, 1024, 768}, kRight{1024, 0, 2048, 768}, kBelow{0, 768, 1024, 1536};

class FullScreenTest : public MascotFixture {
protected:
    void createShown(const std::string& ini, int left = 500) {
        writeIni("speed=0\nidour=0\n" + ini);
        create(left, 300);
        form->show();
    }
};

TEST_F(FullScreenTest, HidesOnlyForItsOwnMonitorAndOnlyWhenSwitchedOn) {
    // The monitor the character is on is the one its middle (x, y) is on.
    struct Case {
        const char* ini;
        ScreenRect monitor;
        int x, y;
        bool hidden;
    } const cases[] = {{"", kPrimary, 500, 300, true},
                       {"", kRight, 500, 300, false},
                       {"", kRight, 1024, 300, true},
                       {"", kRight, 1023, 300, false},
                       {"", kPrimary, 1024, 300, false},
                       {"", kBelow, 500, 768, true},
                       {"", kBelow, 500, 767, false},
                       {"", kPrimary, 500, 768, false},
                       {"zengamen=2\n", kPrimary, 500, 300, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.ini << c.monitor.left << "," << c.monitor.top << " " << c.x << "," << c.y);
        createShown(c.ini);
        place(c.x - form->Width() / 2, c.y - form->Height() / 2);
        sim->setFullScreenMonitor(c.monitor);
        EXPECT_EQ(form->isVisible(), !c.hidden);
        EXPECT_EQ(form->FullScreen1->Checked(), *c.ini == 0);
        form.reset();
    }
}

TEST_F(FullScreenTest, StandsStillWhileHiddenAndComesBackWhereItWas) {
    createShown("");
    sim->setCursorPos({900, 700});
    sim->setFullScreenMonitor(kPrimary);
    for (int i = 0; i < 3; ++i)
        tick();
    EXPECT_EQ(left(), 500);
    EXPECT_EQ(top(), 300);
    sim->setFullScreenMonitor(std::nullopt);
    EXPECT_TRUE(form->isVisible());
    tick();
    EXPECT_EQ(left(), 520) << "the chase goes on from there";
}

TEST_F(FullScreenTest, WalkingOntoThatMonitorHidesAtTheNextTick) {
    createShown("", 950);
    sim->setFullScreenMonitor(kRight);
    sim->setCursorPos({1500, 300});
    tick();
    ASSERT_TRUE(form->isVisible());
    tick();
    EXPECT_FALSE(form->isVisible());
}

TEST_F(FullScreenTest, TheMenuItemSwitchesAtOnceAndAddsOnlyItsKey) {
    createShown("temae=2\n");
    sim->setFullScreenMonitor(kPrimary);
    form->FullScreen1->Click();
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->FullScreen1->Checked());
    const auto ini = [this] {
        std::stringstream text;
        text << std::ifstream(dir / "kuvito.ini").rdbuf();
        return text.str();
    };
    EXPECT_EQ(ini(), "[kuvito]\nspeed=0\nidour=0\ntemae=2\nzengamen=2\n");
    form->FullScreen1->Click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(ini(), "[kuvito]\nspeed=0\nidour=0\ntemae=2\nzengamen=1\n");
}

TEST_F(FullScreenTest, WindowModeDoesNotStandOnAFullScreenWindow) {
    createShown("idou=4\n");
    sim->setForeground(sim->addWindow(kBelow));
    sim->setFullScreenMonitor(kBelow);
    tick();
    EXPECT_EQ(top(), 300) << "wandered instead of standing on the monitor's edge";
}

} // namespace

// Stepping aside for a full-screen window: hidden while the window in front
// fills the character's monitor, back where it was afterwards, and the tray
// menu's switch with its key in kuvito.ini.

#include "MascotFixture.h"

#include "TMenuItem.h"
#include "TRgn.h"

#include <fstream>
#include <sstream>

namespace {

constexpr ScreenRect kPrimary{0, 0, 1024, 768};
constexpr ScreenRect kRightOfPrimary{1024, 0, 2048, 768};
constexpr ScreenRect kBelowPrimary{0, 768, 1024, 1536};

class FullScreenTest : public MascotFixture {
protected:
    void createShown(const std::string& ini, int left = 500, int top = 300) {
        writeIni(ini);
        create(left, top);
        form->show();
    }
    std::string ini() const {
        std::ifstream in(dir / "kuvito.ini", std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
};

TEST_F(FullScreenTest, HidesOnlyForItsOwnMonitorAndOnlyWhenSwitchedOn) {
    struct Case {
        const char* what;
        std::string ini;
        ScreenRect monitor;
        int left;
        bool hidden;
    };
    const Case cases[] = {
        {"its monitor", "idou=1\n", kPrimary, 500, true},
        {"no key: on", "", kPrimary, 500, true},
        {"the other monitor", "idou=1\n", kRightOfPrimary, 500, false},
        {"its middle on the other monitor", "idou=1\n", kRightOfPrimary, 1000, true},
        {"switched off", "idou=1\nzengamen=2\n", kPrimary, 500, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        createShown(c.ini, c.left);
        sim->setFullScreenMonitor(c.monitor);
        EXPECT_EQ(form->isVisible(), !c.hidden) << "as the desktop reports it, before any tick";
        EXPECT_EQ(form->FullScreen1->Checked(), c.ini.find("zengamen=2") == std::string::npos);
        form.reset();
    }
}

TEST_F(FullScreenTest, StandsStillWhileHiddenAndReturnsWhereItWas) {
    createShown("idou=1\nspeed=0\n");
    sim->setCursorPos({900, 700});
    tick();
    const int l = left(), t = top();
    sim->setFullScreenMonitor(kPrimary);
    for (int i = 0; i < 5; ++i)
        tick();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(left(), l);
    EXPECT_EQ(top(), t);
    sim->setFullScreenMonitor(std::nullopt);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(left(), l);
    EXPECT_EQ(top(), t);
    tick();
    EXPECT_GT(left(), l) << "the chase goes on";
}

TEST_F(FullScreenTest, WalkingOntoTheMonitorHidesAtTheNextTick) {
    // No report comes when the character moves: the tick notices.
    createShown("idou=1\nspeed=0\nidour=0\n", 950, 300);
    sim->setFullScreenMonitor(kRightOfPrimary);
    sim->setCursorPos({1500, 300});
    tick();
    ASSERT_TRUE(form->isVisible());
    ASSERT_GT(left() + form->Width() / 2, kRightOfPrimary.left) << "its middle crossed over";
    tick();
    EXPECT_FALSE(form->isVisible());
}

TEST_F(FullScreenTest, TheMenuItemSwitchesAndStoresOnlyItsOwnKey) {
    const std::string before = "idou=1\nspeed=3\nidour=4\ntemae=2\n";
    createShown(before);
    sim->setFullScreenMonitor(kPrimary);
    ASSERT_FALSE(form->isVisible());
    form->FullScreen1->Click();
    EXPECT_TRUE(form->isVisible()) << "switched off, it comes back at once";
    EXPECT_FALSE(form->FullScreen1->Checked());
    EXPECT_EQ(ini(), "[kuvito]\n" + before + "zengamen=2\n");
    form->FullScreen1->Click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(form->FullScreen1->Checked());
    EXPECT_NE(ini().find("zengamen=1"), std::string::npos);
}

TEST_F(FullScreenTest, WindowModeDoesNotStandOnAFullScreenWindow) {
    // A full-screen window on the monitor below the character's has a top
    // it could reach, but it is a monitor's edge, not a window's.
    createShown("idou=4\n");
    sim->setForeground(sim->addWindow(kBelowPrimary));
    tick();
    ASSERT_EQ(top(), kBelowPrimary.top - form->Rgn1->Height()) << "an ordinary window there is walked on";
    place(500, 300);
    sim->setFullScreenMonitor(kBelowPrimary);
    tick();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(top(), 300);
}

} // namespace

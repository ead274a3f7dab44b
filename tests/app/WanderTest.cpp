// Modes 2, 3 and 4: wandering over the screen, along the taskbar and on the
// top edge of the window in front, with their clamps, turns and pauses.

#include "MascotFixture.h"

#include "Random.h"

namespace {

constexpr int W = 53;
constexpr int H = 87;
constexpr int SW = 1024;
constexpr int SH = 768;

class WanderTest : public MascotFixture {
protected:
    void createInMode(int mode, int left, int top) {
        writeIni("idou=" + std::to_string(mode) + "\n");
        create(left, top);
    }
    // The next tick draws r (and, for mode 2, v) as given.
    void seedDraws(int r, int v = 89) {
        seedWhere([r, v] { return Random(30) == r && Random(90) == v; });
    }
    void seedTurn() {
        seedWhere([] { return Random(30) == 0 && Random(90) >= 30; });
    }
    void seedPause() {
        seedWhere([] { return Random(30) == 1; });
    }
};

TEST_F(WanderTest, ScreenClampAtTheLeftEdgeTurnsRight) {
    createInMode(2, 0, 300);
    DirX = 2;
    seedPlainTick();
    tick();
    EXPECT_EQ(left(), 0);
    EXPECT_EQ(DirX, 1);
    EXPECT_EQ(shownFrame(), 6) << "a rightward frame";
    seedPlainTick();
    tick();
    EXPECT_EQ(left(), 10);
}

TEST_F(WanderTest, ScreenClampAtTheRightEdgeInTheSameTick) {
    createInMode(2, SW - W - 3, 300);
    seedPlainTick();
    tick();
    EXPECT_EQ(left(), SW - W);
    EXPECT_EQ(DirX, 2);
    EXPECT_EQ(shownFrame(), 4) << "a leftward frame";
}

TEST_F(WanderTest, ScreenClampsIncludeEquality) {
    struct Case {
        int left, dirX;
        int expectLeft, expectDirX;
    };
    // Landing exactly on an edge counts as reaching it; one pixel short
    // does not.
    for (const Case& c : {Case{10, 2, 0, 1}, Case{11, 2, 1, 2}, Case{SW - W - 10, 1, SW - W, 2},
                          Case{SW - W - 11, 1, SW - W - 1, 1}}) {
        SCOPED_TRACE(c.left);
        createInMode(2, c.left, 300);
        DirX = c.dirX;
        seedPlainTick();
        tick();
        EXPECT_EQ(left(), c.expectLeft);
        EXPECT_EQ(DirX, c.expectDirX);
        form.reset();
    }
}

TEST_F(WanderTest, TurnStepsTheNewWayInTheSameTick) {
    createInMode(2, 500, 300);
    seedTurn();
    tick();
    EXPECT_EQ(left(), 490);
    EXPECT_EQ(DirX, 2);
    seedTurn();
    tick();
    EXPECT_EQ(left(), 500);
    EXPECT_EQ(DirX, 1);
}

TEST_F(WanderTest, VerticalStepsAndTheirClamp) {
    struct Case {
        int top, dirY, v;
        int expectTop, expectDirY;
    };
    for (const Case& c : {
             Case{300, 2, 1, 310, 2},            // downward
             Case{300, 2, 29, 310, 2},           // the highest value that steps
             Case{300, 2, 30, 300, 2},           // no vertical step
             Case{300, 2, 0, 290, 1},            // reversal steps the new way
             Case{300, 1, 5, 290, 1},            // upward
             Case{300, 1, 0, 310, 2},            // reversal from upward
             Case{10, 1, 5, 0, 2},               // reaching the top edge exactly
             Case{5, 1, 5, 0, 2},                // past it
             Case{11, 1, 5, 1, 1},               // short of it
             Case{SH - H - 10, 2, 5, SH - H, 1}, // reaching the bottom exactly
             Case{SH - H - 11, 2, 5, SH - H - 1, 2},
             Case{-50, 2, 30, -50, 2}, // without a vertical step nothing pulls it back
             Case{-50, 2, 3, 0, 2},    // with one the clamp does
         }) {
        SCOPED_TRACE(testing::Message() << "top " << c.top << " v " << c.v);
        createInMode(2, 500, c.top);
        DirY = c.dirY;
        seedDraws(7, c.v);
        tick();
        EXPECT_EQ(top(), c.expectTop);
        EXPECT_EQ(DirY, c.expectDirY);
        EXPECT_EQ(left(), 510);
        form.reset();
    }
}

TEST_F(WanderTest, PauseTickMovesNothing) {
    createInMode(2, 500, 300);
    const std::size_t moves = moveCount();
    const int frame = shownFrame();
    seedPause();
    tick();
    EXPECT_EQ(moveCount(), moves);
    EXPECT_EQ(shownFrame(), frame);
    EXPECT_EQ(timer1Interval(), 0);
}

TEST_F(WanderTest, TaskbarAtTheBottomHoldsTopAlsoOnAPauseTick) {
    createInMode(3, 500, 100);
    for (int i = 0; i < 5; ++i) {
        seedPlainTick();
        tick();
        EXPECT_EQ(top(), 738 - H);
    }
    place(500, 100);
    seedPause();
    tick();
    EXPECT_EQ(timer1Interval(), 0);
    EXPECT_EQ(top(), 651);
    EXPECT_EQ(left(), 500);
}

TEST_F(WanderTest, TaskbarElsewhereStandsOnTheScreenBottom) {
    struct Case {
        std::optional<ScreenRect> taskbar;
        int expectTop;
    };
    for (const Case& c : {
             Case{ScreenRect{0, 0, 1024, 30}, SH - H},     // top
             Case{ScreenRect{994, 0, 1024, 768}, SH - H},  // right
             Case{ScreenRect{0, 0, 30, 768}, SH - H},      // left
             Case{std::nullopt, SH - H},                   // unknown: the screen's bottom
             Case{ScreenRect{0, 10, 1024, 40}, 10 - H},    // a top of 10 counts as bottom
             Case{ScreenRect{0, 9, 1024, 39}, SH - H},     // 9 does not
             Case{ScreenRect{0, 600, 1024, 640}, 600 - H}, // a bottom taskbar anywhere
         }) {
        SCOPED_TRACE(c.expectTop);
        sim->setTaskbarRect(c.taskbar);
        createInMode(3, 500, 100);
        seedPlainTick();
        tick();
        EXPECT_EQ(top(), c.expectTop);
        EXPECT_EQ(left(), 510);
        form.reset();
    }
}

TEST_F(WanderTest, TaskbarSideClassifies) {
    struct Case {
        std::optional<ScreenRect> taskbar;
        char side;
    };
    create();
    for (const Case& c : {Case{ScreenRect{0, 738, 1024, 768}, 'b'}, Case{ScreenRect{0, 0, 1024, 30}, 't'},
                          Case{ScreenRect{994, 0, 1024, 768}, 'r'}, Case{ScreenRect{0, 0, 30, 768}, 'l'},
                          Case{ScreenRect{10, 0, 40, 768}, 'r'}, Case{ScreenRect{9, 0, 40, 768}, 'l'},
                          Case{ScreenRect{0, 9, 30, 768}, 'l'}, Case{std::nullopt, 'b'}}) {
        sim->setTaskbarRect(c.taskbar);
        ScreenRect rect;
        EXPECT_EQ(TFrmMain::TaskbarSide(rect), c.side);
        if (!c.taskbar)
            EXPECT_EQ(rect.top, SH);
    }
}

TEST_F(WanderTest, TaskbarModeClampsToTheWholeScreenWidth) {
    sim->setTaskbarRect(ScreenRect{994, 0, 1024, 768});
    createInMode(3, SW - W - 5, 100);
    seedPlainTick();
    tick();
    EXPECT_EQ(left(), SW - W);
    EXPECT_EQ(DirX, 2);
}

TEST_F(WanderTest, WindowTopDecidesBetweenWalkingAndWandering) {
    struct Case {
        std::optional<ScreenRect> window;
        int expectTop;
    };
    for (const Case& c : {Case{ScreenRect{0, 10, 1024, 500}, 300},    // too high: a screen step
                          Case{ScreenRect{0, 11, 1024, 500}, 11 - H}, // walks, partly above the screen
                          Case{ScreenRect{0, 400, 1024, 700}, 400 - H},
                          Case{ScreenRect{0, -30, 1024, 700}, 300}, Case{std::nullopt, 300}}) {
        SCOPED_TRACE(c.expectTop);
        createInMode(4, 500, 300);
        if (c.window)
            sim->setForeground(sim->addWindow(*c.window));
        else
            sim->clearForeground();
        seedPlainTick(); // for the screen step: no vertical move either
        tick();
        EXPECT_EQ(top(), c.expectTop);
        EXPECT_EQ(left(), 510);
        form.reset();
    }
}

TEST_F(WanderTest, TheMascotItselfInFrontMeansWandering) {
    createInMode(4, 500, 300);
    sim->setForegroundWidget(form.get());
    seedDraws(7, 5);
    tick();
    EXPECT_EQ(left(), 510);
    EXPECT_EQ(top(), 310) << "a WanderScreen step, vertical one included";
}

TEST_F(WanderTest, JumpsOntoTheWindowFromEitherSide) {
    struct Case {
        int left, dirX;
        int expectLeft, expectDirX;
    };
    for (const Case& c :
         {Case{0, 1, 300, 1}, Case{0, 2, 300, 1}, Case{900, 1, 700 - W, 2}, Case{900, 2, 700 - W, 2}}) {
        SCOPED_TRACE(c.left);
        createInMode(4, c.left, 100);
        DirX = c.dirX;
        sim->setForeground(sim->addWindow({300, 400, 700, 600}));
        seedPlainTick();
        tick();
        EXPECT_EQ(top(), 400 - H);
        EXPECT_EQ(left(), c.expectLeft);
        EXPECT_EQ(DirX, c.expectDirX);
        form.reset();
    }
}

TEST_F(WanderTest, WindowNarrowerThanTheFrame) {
    // Stepping onto the window's left end sets Left to it, and the frame
    // then reaches past its right end as well.
    createInMode(4, 290, 100);
    sim->setForeground(sim->addWindow({300, 400, 330, 600}));
    seedPlainTick();
    tick();
    EXPECT_EQ(left(), 330 - W);
    EXPECT_EQ(DirX, 2);
    EXPECT_EQ(shownFrame(), 4);
}

TEST_F(WanderTest, WindowPastTheScreenCarriesTheCharacter) {
    createInMode(4, 1100, 100);
    sim->setForeground(sim->addWindow({900, 400, 1300, 600}));
    seedPlainTick();
    tick();
    EXPECT_EQ(left(), 1110) << "only the window's edges clamp";
}

TEST_F(WanderTest, WindowModePauseTickSetsTopFirst) {
    createInMode(4, 500, 100);
    sim->setForeground(sim->addWindow({300, 400, 700, 600}));
    seedPause();
    tick();
    EXPECT_EQ(timer1Interval(), 0);
    EXPECT_EQ(top(), 400 - H);
    EXPECT_EQ(left(), 500);
}

} // namespace

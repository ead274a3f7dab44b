// Modes 2, 3 and 4: wandering over the screen, along the taskbar and on the
// top edge of the window in front, with their clamps, turns and pauses.

#include "MascotFixture.h"

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
    void willTurn() { willDraw({kTurn}); }
    void willPause() { willDraw({kPause}); }
};

TEST_F(WanderTest, ScreenClampAtTheLeftEdgeTurnsRight) {
    createInMode(2, 0, 300);
    movement().DirX = Leftward;
    tick();
    EXPECT_EQ(left(), 0);
    EXPECT_EQ(movement().DirX, Rightward);
    EXPECT_EQ(shownFrame(), 6) << "a rightward frame";
    tick();
    EXPECT_EQ(left(), 10);
}

TEST_F(WanderTest, ScreenClampAtTheRightEdgeInTheSameTick) {
    createInMode(2, SW - W - 3, 300);
    tick();
    EXPECT_EQ(left(), SW - W);
    EXPECT_EQ(movement().DirX, Leftward);
    EXPECT_EQ(shownFrame(), 4) << "a leftward frame";
}

TEST_F(WanderTest, ScreenClampsIncludeEquality) {
    struct Case {
        int left;
        HorizontalHeading dirX;
        int expectLeft;
        HorizontalHeading expectDirX;
    };
    // Landing exactly on an edge counts as reaching it; one pixel short
    // does not.
    for (const Case& c : {Case{10, Leftward, 0, Rightward}, Case{11, Leftward, 1, Leftward},
                          Case{SW - W - 10, Rightward, SW - W, Leftward},
                          Case{SW - W - 11, Rightward, SW - W - 1, Rightward}}) {
        SCOPED_TRACE(c.left);
        createInMode(2, c.left, 300);
        movement().DirX = c.dirX;
        tick();
        EXPECT_EQ(left(), c.expectLeft);
        EXPECT_EQ(movement().DirX, c.expectDirX);
        form.reset();
    }
}

TEST_F(WanderTest, TurnStepsTheNewWayInTheSameTick) {
    createInMode(2, 500, 300);
    willTurn();
    tick();
    EXPECT_EQ(left(), 490);
    EXPECT_EQ(movement().DirX, Leftward);
    willTurn();
    tick();
    EXPECT_EQ(left(), 500);
    EXPECT_EQ(movement().DirX, Rightward);
}

TEST_F(WanderTest, VerticalStepsAndTheirClamp) {
    struct Case {
        int top;
        VerticalHeading dirY;
        int v;
        int expectTop;
        VerticalHeading expectDirY;
    };
    for (const Case& c : {
             Case{300, Downward, 1, 310, Downward},          // downward
             Case{300, Downward, 29, 310, Downward},         // the highest value that steps
             Case{300, Downward, 30, 300, Downward},         // no vertical step
             Case{300, Downward, 0, 290, Upward},            // reversal steps the new way
             Case{300, Upward, 5, 290, Upward},              // upward
             Case{300, Upward, 0, 310, Downward},            // reversal from upward
             Case{10, Upward, 5, 0, Downward},               // reaching the top edge exactly
             Case{5, Upward, 5, 0, Downward},                // past it
             Case{11, Upward, 5, 1, Upward},                 // short of it
             Case{SH - H - 10, Downward, 5, SH - H, Upward}, // reaching the bottom exactly
             Case{SH - H - 11, Downward, 5, SH - H - 1, Downward},
             Case{-50, Downward, 30, -50, Downward}, // without a vertical step nothing pulls it back
             Case{-50, Downward, 3, 0, Downward},    // with one the clamp does
         }) {
        SCOPED_TRACE(testing::Message() << "top " << c.top << " v " << c.v);
        createInMode(2, 500, c.top);
        movement().DirY = c.dirY;
        willDraw({7, c.v});
        tick();
        EXPECT_EQ(top(), c.expectTop);
        EXPECT_EQ(movement().DirY, c.expectDirY);
        EXPECT_EQ(left(), 510);
        form.reset();
    }
}

TEST_F(WanderTest, PauseTickMovesNothing) {
    createInMode(2, 500, 300);
    const std::size_t moves = moveCount();
    const int frame = shownFrame();
    willPause();
    tick();
    EXPECT_EQ(moveCount(), moves);
    EXPECT_EQ(shownFrame(), frame);
    EXPECT_EQ(timer1Interval(), 0);
}

TEST_F(WanderTest, TaskbarAtTheBottomHoldsTopAlsoOnAPauseTick) {
    createInMode(3, 500, 100);
    for (int i = 0; i < 5; ++i) {
        tick();
        EXPECT_EQ(top(), 738 - H);
    }
    place(500, 100);
    willPause();
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
        tick();
        EXPECT_EQ(top(), c.expectTop);
        EXPECT_EQ(left(), 510);
        form.reset();
    }
}

TEST_F(WanderTest, TaskbarSideClassifies) {
    struct Case {
        std::optional<ScreenRect> taskbar;
        TaskbarEdge side;
    };
    create();
    for (const Case& c :
         {Case{ScreenRect{0, 738, 1024, 768}, TaskbarEdge::Bottom},
          Case{ScreenRect{0, 0, 1024, 30}, TaskbarEdge::Top},
          Case{ScreenRect{994, 0, 1024, 768}, TaskbarEdge::Right},
          Case{ScreenRect{0, 0, 30, 768}, TaskbarEdge::Left},
          Case{ScreenRect{10, 0, 40, 768}, TaskbarEdge::Right},
          Case{ScreenRect{9, 0, 40, 768}, TaskbarEdge::Left},
          Case{ScreenRect{0, 9, 30, 768}, TaskbarEdge::Left}, Case{std::nullopt, TaskbarEdge::Bottom}}) {
        sim->setTaskbarRect(c.taskbar);
        ScreenRect rect;
        EXPECT_EQ(TFrmMain::TaskbarSide(rect), c.side);
        if (!c.taskbar) {
            EXPECT_EQ(rect.top, SH);
        }
    }
}

TEST_F(WanderTest, TaskbarModeClampsToTheWholeScreenWidth) {
    sim->setTaskbarRect(ScreenRect{994, 0, 1024, 768});
    createInMode(3, SW - W - 5, 100);
    tick();
    EXPECT_EQ(left(), SW - W);
    EXPECT_EQ(movement().DirX, Leftward);
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
        tick();
        EXPECT_EQ(top(), c.expectTop);
        EXPECT_EQ(left(), 510);
        form.reset();
    }
}

TEST_F(WanderTest, TheMascotItselfInFrontMeansWandering) {
    createInMode(4, 500, 300);
    sim->setForegroundWidget(form.get());
    willDraw({7, 5});
    tick();
    EXPECT_EQ(left(), 510);
    EXPECT_EQ(top(), 310) << "a WanderScreen step, vertical one included";
}

TEST_F(WanderTest, EachModeDrawsFromTheRangesOfItsRules) {
    // Thirty values decide pause and turn, ninety the vertical step.
    struct Case {
        int mode;
        std::vector<int> ranges;
    };
    for (const Case& c : {Case{2, {30, 90}}, Case{3, {30}}, Case{4, {30}}, Case{5, {30}}}) {
        SCOPED_TRACE(c.mode);
        createInMode(c.mode, 500, 300);
        sim->setForeground(sim->addWindow({300, 400, 700, 600}));
        tick();
        EXPECT_EQ(drawRanges(), c.ranges);
        form.reset();
    }
}

TEST_F(WanderTest, JumpsOntoTheWindowFromEitherSide) {
    struct Case {
        int left;
        HorizontalHeading dirX;
        int expectLeft;
        HorizontalHeading expectDirX;
    };
    // Stepping exactly onto an end of the window counts as reaching it, as
    // with the screen's edges.
    for (const Case& c :
         {Case{0, Rightward, 300, Rightward}, Case{0, Leftward, 300, Rightward},
          Case{900, Rightward, 700 - W, Leftward}, Case{900, Leftward, 700 - W, Leftward},
          Case{310, Leftward, 300, Rightward}, Case{700 - W - 10, Rightward, 700 - W, Leftward}}) {
        SCOPED_TRACE(c.left);
        createInMode(4, c.left, 100);
        movement().DirX = c.dirX;
        sim->setForeground(sim->addWindow({300, 400, 700, 600}));
        tick();
        EXPECT_EQ(top(), 400 - H);
        EXPECT_EQ(left(), c.expectLeft);
        EXPECT_EQ(movement().DirX, c.expectDirX);
        EXPECT_EQ(shownFrame(), c.expectDirX == Rightward ? 6 : 4) << "the frame follows the heading";
        form.reset();
    }
}

TEST_F(WanderTest, WindowNarrowerThanTheFrame) {
    // Stepping onto the window's left end sets Left to it, and the frame
    // then reaches past its right end as well.
    createInMode(4, 290, 100);
    sim->setForeground(sim->addWindow({300, 400, 330, 600}));
    tick();
    EXPECT_EQ(left(), 330 - W);
    EXPECT_EQ(movement().DirX, Leftward);
    EXPECT_EQ(shownFrame(), 4);
}

TEST_F(WanderTest, WindowPastTheScreenCarriesTheCharacter) {
    createInMode(4, 1100, 100);
    sim->setForeground(sim->addWindow({900, 400, 1300, 600}));
    tick();
    EXPECT_EQ(left(), 1110) << "only the window's edges clamp";
}

TEST_F(WanderTest, WindowModePauseTickSetsTopFirst) {
    createInMode(4, 500, 100);
    sim->setForeground(sim->addWindow({300, 400, 700, 600}));
    willPause();
    tick();
    EXPECT_EQ(timer1Interval(), 0);
    EXPECT_EQ(top(), 400 - H);
    EXPECT_EQ(left(), 500);
}

} // namespace

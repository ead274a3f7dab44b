// Mode 1 (chasing the pointer) and mode 5 (stepping in place), which follow
// the pointer rather than the random draws.

#include "MascotFixture.h"

namespace {

using ChaseTest = MascotFixture;

struct Chase {
    int dx, dy;             // pointer relative to the window before the tick
    int expectDx, expectDy; // where the window ends relative to where it was
    bool rightwardFrame;
};

TEST_F(ChaseTest, OneTickTowardsThePointer) {
    // s = 10: within 2 s on an axis the window lands on the pointer, farther
    // away it comes one step closer. The frame faces right only while the
    // pointer is still to the right after the move.
    const Chase cases[] = {
        {15, 0, 15, 0, false},   {25, 0, 10, 0, true},   {-15, 0, -15, 0, false}, {-25, 0, -10, 0, false},
        {20, 0, 20, 0, false},   {21, 0, 10, 0, true},   {5, 0, 5, 0, false},     {0, 15, 0, 15, false},
        {0, -25, 0, -10, false}, {30, 30, 10, 10, true}, {-3, 19, -3, 19, false}, {1, -1, 1, -1, false},
        {0, 20, 0, 20, false},
    };
    create();
    for (const Chase& c : cases) {
        SCOPED_TRACE(testing::Message() << "pointer at " << c.dx << "," << c.dy);
        place(500, 400);
        sim->setCursorPos({500 + c.dx, 400 + c.dy});
        tick();
        EXPECT_EQ(left(), 500 + c.expectDx);
        EXPECT_EQ(top(), 400 + c.expectDy);
        const int frame = shownFrame();
        if (c.rightwardFrame)
            EXPECT_TRUE(frame == 5 || frame == 6) << frame;
        else
            EXPECT_TRUE(frame == 3 || frame == 4) << frame;
    }
}

TEST_F(ChaseTest, OnThePointerItHopsInPlaceWithoutMoving) {
    create(300, 200);
    sim->setCursorPos({300, 200});
    const std::size_t moves = moveCount();
    std::vector<int> frames;
    for (int i = 0; i < 4; ++i) {
        tick();
        frames.push_back(shownFrame());
    }
    EXPECT_EQ(frames, (std::vector<int>{2, 1, 2, 1}));
    EXPECT_EQ(moveCount(), moves);
}

TEST_F(ChaseTest, WalkingFramesAlternateWithinAPair) {
    create(0, 0);
    sim->setCursorPos({1000, 0});
    std::vector<int> frames;
    for (int i = 0; i < 4; ++i) {
        tick();
        frames.push_back(shownFrame());
    }
    EXPECT_EQ(frames, (std::vector<int>{6, 5, 6, 5}));
}

TEST_F(ChaseTest, StepSizeZeroNeverMoves) {
    writeIni("idour=11\n");
    create(100, 100);
    sim->setCursorPos({400, 100});
    const std::size_t moves = moveCount();
    tick();
    EXPECT_EQ(shownFrame(), 6);
    sim->setCursorPos({50, 300});
    tick();
    EXPECT_EQ(shownFrame(), 3);
    sim->setCursorPos({100, 100});
    tick();
    EXPECT_EQ(shownFrame(), 2);
    EXPECT_EQ(left(), 100);
    EXPECT_EQ(top(), 100);
    // Snapping to a pointer 0 pixels away sets Left and Top to what they
    // are; the window stays put.
    EXPECT_LE(moveCount() - moves, 4u);
    for (std::size_t i = moves; i < moveCount(); ++i) {
        EXPECT_EQ(sim->moves()[i].left, 100);
        EXPECT_EQ(sim->moves()[i].top, 100);
    }
}

TEST_F(ChaseTest, ReachesPastTheScreenEdgeWithThePointer) {
    create(900, 600);
    sim->setCursorPos({1023, 767});
    for (int i = 0; i < 20; ++i)
        tick();
    EXPECT_EQ(left(), 1023);
    EXPECT_EQ(top(), 767);
}

TEST_F(ChaseTest, DrawsNoRandomNumbers) {
    create(100, 100);
    sim->setCursorPos({500, 500});
    willDraw({kPause});
    tick();
    tick();
    EXPECT_EQ(drawsLeft(), 1u) << "the scripted draw is still waiting";
}

using StepInPlaceTest = MascotFixture;

TEST_F(StepInPlaceTest, FacesThePointerWithoutMoving) {
    writeIni("idou=5\n");
    create(300, 300);
    const std::size_t moves = moveCount();
    struct Case {
        ScreenPoint pointer;
        std::vector<int> frames;
    };
    for (const Case& c : {Case{{301, 300}, {6, 5}}, Case{{300, 10}, {4, 3}}, Case{{299, 500}, {4, 3}},
                          Case{{300, 300}, {2, 1}}}) {
        SCOPED_TRACE(testing::Message() << c.pointer.x << "," << c.pointer.y);
        sim->setCursorPos(c.pointer);
        std::vector<int> frames;
        for (int i = 0; i < 2; ++i) {
            tick();
            frames.push_back(shownFrame());
        }
        EXPECT_EQ(frames, c.frames);
    }
    EXPECT_EQ(moveCount(), moves);
    EXPECT_EQ(movement().DirX, Rightward) << "stepping in place does not change the heading";
}

TEST_F(StepInPlaceTest, PausesLikeTheWanderingModes) {
    writeIni("idou=5\n");
    create(300, 300);
    sim->setCursorPos({301, 300});
    willDraw({kPause});
    const int frame = shownFrame();
    tick();
    EXPECT_EQ(timer1Interval(), 0);
    EXPECT_EQ(timer2Interval(), 300);
    EXPECT_EQ(shownFrame(), frame);
}

} // namespace

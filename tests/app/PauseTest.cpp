// The three states of the mascot: moving on Timer1, pausing on Timer2 for
// ten beats, and being dragged.

#include "MascotFixture.h"

#include "TRgn.h"
#include "TTimer.h"

namespace {

class PauseTest : public MascotFixture {
protected:
    // Mode 2 at the given speed index; the next tick begins a pause.
    void startPausingAt(int speedIndex) {
        writeIni("idou=2\nspeed=" + std::to_string(speedIndex) + "\n");
        create(400, 300);
        willDraw({kPause});
    }
};

TEST_F(PauseTest, TenBeatsAlternatingIdleFramesThenMovementResumes) {
    startPausingAt(5);
    const int frameBefore = shownFrame();
    const std::size_t movesBefore = moveCount();
    tick();
    // The tick that begins the pause moves nothing and shows no new frame.
    EXPECT_EQ(timer1Interval(), 0);
    EXPECT_EQ(timer2Interval(), 300);
    EXPECT_EQ(movement().PauseBeats, 0);
    EXPECT_EQ(shownFrame(), frameBefore);
    EXPECT_EQ(moveCount(), movesBefore);

    // Phase is 1 after creation, so the first beat flips it to 0: Rgn2.
    for (int beat = 1; beat <= 10; ++beat) {
        SCOPED_TRACE(beat);
        advance(299);
        EXPECT_EQ(movement().PauseBeats, beat - 1) << "a beat came early";
        advance(1);
        EXPECT_EQ(movement().PauseBeats, beat);
        EXPECT_EQ(shownFrame(), beat % 2 == 1 ? 2 : 1);
    }
    EXPECT_EQ(moveCount(), movesBefore);
    EXPECT_EQ(timer2Interval(), 0);
    EXPECT_EQ(timer1Interval(), 300);

    // Timer1's countdown starts afresh at the tenth beat.
    advance(299);
    EXPECT_EQ(left(), 400);
    EXPECT_EQ(movement().PauseBeats, 10);
    advance(1);
    EXPECT_EQ(left(), 410);
}

TEST_F(PauseTest, PauseKeepsThePeriodOfTheSpeed) {
    for (const auto& [index, period] : {std::pair{0, 50}, std::pair{10, 1000}}) {
        SCOPED_TRACE(index);
        startPausingAt(index);
        tick();
        EXPECT_EQ(timer2Interval(), period);
        advance(10LL * period - 1);
        EXPECT_EQ(movement().PauseBeats, 9);
        advance(1);
        EXPECT_EQ(movement().PauseBeats, 10);
        EXPECT_EQ(timer1Interval(), period);
        form.reset();
    }
}

TEST_F(PauseTest, ApplySettingsDuringAPauseEndsIt) {
    startPausingAt(5);
    tick();
    advance(3 * 300);
    ASSERT_EQ(movement().PauseBeats, 3);
    settings().SpeedIndex = 0; // as the settings dialog's OK would store
    form->ApplySettings();
    EXPECT_EQ(timer2Interval(), 0);
    EXPECT_EQ(timer1Interval(), 50);
    EXPECT_EQ(movement().PauseBeats, 3) << "ApplySettings leaves the count alone";
    const int frame = shownFrame();
    advance(50);
    EXPECT_EQ(left(), 410);
    EXPECT_NE(shownFrame(), frame);
    EXPECT_EQ(movement().PauseBeats, 3);
}

TEST_F(PauseTest, PressOnTheCharacterEndsAPauseAndRestartsTheCountdown) {
    startPausingAt(5);
    tick();
    advance(2 * 300 + 100);
    form->Rgn1MouseDown(form->Rgn2, TMouseButton::mbLeft, Shift::ssLeft, 10, 20);
    EXPECT_EQ(timer2Interval(), 0);
    EXPECT_EQ(timer1Interval(), 300);
    advance(299);
    EXPECT_EQ(left(), 400);
    advance(1);
    EXPECT_EQ(left(), 410);
}

TEST_F(PauseTest, PauseGoesOnBeatingDuringADragAndItsEndRestartsMovement) {
    startPausingAt(5);
    tick();
    int beatsSeen = -1;
    bool timer1RanBeforeRelease = false;
    sim->setDragScript([&](SimulatedDesktop& s, QWidget&, QPoint) {
        s.advance(10 * 300);
        beatsSeen = movement().PauseBeats;
        timer1RanBeforeRelease = form->Timer1->Interval() == 300;
        s.releaseButton();
    });
    form->Rgn1MouseDown(form->Rgn1, TMouseButton::mbLeft, Shift::ssLeft, 5, 5);
    EXPECT_EQ(beatsSeen, 10);
    EXPECT_TRUE(timer1RanBeforeRelease);
    EXPECT_EQ(timer1Interval(), 300);
    EXPECT_EQ(timer2Interval(), 0);
}

// The character used to freeze for good when the stored speed index mapped
// to no period: a pause or a drag stopped Timer1 and ApplySettings left it
// stopped. It now resumes at the period Timer1 last ran at.
TEST_F(PauseTest, UnmappedSpeedResumesAtTheLastPeriodAfterAPause) {
    startPausingAt(12);
    EXPECT_EQ(timer1Interval(), 200);
    tick();
    ASSERT_EQ(timer1Interval(), 0);
    EXPECT_EQ(timer2Interval(), 200);
    advance(10 * 200);
    EXPECT_EQ(timer2Interval(), 0);
    EXPECT_EQ(timer1Interval(), 200);
    advance(200);
    EXPECT_EQ(left(), 410);
}

TEST_F(PauseTest, UnmappedSpeedResumesAtTheLastPeriodAfterADrag) {
    writeIni("speed=-1\nidou=2\n");
    create(400, 300);
    settings().SpeedIndex = 3; // a valid index met at run time becomes the period to keep
    form->ApplySettings();
    settings().SpeedIndex = -1;
    form->ApplySettings();
    ASSERT_EQ(timer1Interval(), 200);
    settings().SpeedIndex = 9;
    form->ApplySettings();
    settings().SpeedIndex = 77;
    form->Rgn1MouseDown(form->Rgn3, TMouseButton::mbLeft, Shift::ssLeft, 5, 5);
    EXPECT_EQ(timer1Interval(), 800);
}

TEST_F(PauseTest, ChaseMouseNeverPauses) {
    create(0, 0);
    for (int i = 0; i < 600; ++i) {
        sim->setCursorPos({(i * 37) % 1024, (i * 53) % 768});
        tick();
        ASSERT_EQ(timer2Interval(), 0);
        ASSERT_EQ(timer1Interval(), 300);
    }
}

} // namespace

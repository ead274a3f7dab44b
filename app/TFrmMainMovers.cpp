// The movers of the mascot window and the rules they share. Every test
// reads Left and Top as the previous step left them, and every set is an
// immediate move of the window, so the order of the lines below is the
// behaviour.

#include "TFrmMain.h"

#include "DesktopServices.h"
#include "TRgn.h"
#include "TTimer.h"

#include <cstdint>
#include <cstdlib>

namespace {

// The chance of a pause is one draw in thirty; the value 1 starts it and the
// value 0 turns the character around.
constexpr int kDraws = 30;
constexpr int kPauseDraw = 1;
constexpr int kTurnDraw = 0;
// In WanderScreen one draw of ninety decides the vertical step: below 30 the
// character steps up or down, and 0 reverses its vertical heading.
constexpr int kVerticalDraws = 90;
constexpr int kVerticalStepBelow = 30;
// Taskbar edges within this many pixels of the screen's top or left count as
// lying on that edge; window tops up to this value count as unusable.
constexpr int kEdgeSlack = 10;

bool within(int a, int b, int s) {
    return std::llabs(static_cast<long long>(a) - b) <= s;
}

// Which end of its walking area a clamp put the character against.
enum class Edge { None, Low, High };

// Puts a frame of `size` at `position` back inside low..high: reaching an
// end (equality included) or passing it puts the frame on that end. The high
// end is tested last, so it wins where the area is narrower than the frame.
Edge clampSpan(int& position, int size, int low, int high) {
    Edge touched = Edge::None;
    if (position <= low) {
        position = low;
        touched = Edge::Low;
    }
    if (position + size >= high) {
        position = high - size;
        touched = Edge::High;
    }
    return touched;
}

} // namespace

TFrmMain::Mover TFrmMain::moverFor(MovementMode mode) {
    // Without a default, a mode added to MovementMode without a mover here
    // is a warning (an error in CI); a test checks every row of
    // kMovementModes against this.
    switch (mode) {
    case MovementMode::ChaseMouse:
        return &TFrmMain::ChaseMouse;
    case MovementMode::WanderScreen:
        return &TFrmMain::WanderScreen;
    case MovementMode::WanderTaskbar:
        return &TFrmMain::WanderTaskbar;
    case MovementMode::WalkOnWindow:
        return &TFrmMain::WalkOnWindow;
    case MovementMode::StepInPlace:
        return &TFrmMain::StepInPlace;
    }
    return nullptr;
}

void TFrmMain::StartPause() {
    movement().PauseBeats = 0;
    Timer2->setInterval(Timer1->Interval());
    Timer1->setInterval(0);
}

void TFrmMain::TurnOrStep(int r) {
    const int s = movement().StepSize;
    HorizontalHeading& DirX = movement().DirX;
    if (DirX == HorizontalHeading::Rightward) {
        if (r == kTurnDraw) {
            setLeft(Left() - s);
            DirX = HorizontalHeading::Leftward;
        } else {
            setLeft(Left() + s);
        }
    } else {
        if (r == kTurnDraw) {
            setLeft(Left() + s);
            DirX = HorizontalHeading::Rightward;
        } else {
            setLeft(Left() - s);
        }
    }
}

void TFrmMain::clampHorizontal() {
    clampSideways(0, desktopQueries().screenSize().width);
}

void TFrmMain::clampToWindow(const ScreenRect& window) {
    clampSideways(window.left, window.right);
}

void TFrmMain::clampSideways(int low, int high) {
    int left = Left();
    const Edge edge = clampSpan(left, frameWidth(), low, high);
    if (edge == Edge::None)
        return;
    setLeft(left);
    movement().DirX = edge == Edge::Low ? HorizontalHeading::Rightward : HorizontalHeading::Leftward;
}

void TFrmMain::clampVertical() {
    int top = Top();
    const Edge edge = clampSpan(top, frameHeight(), 0, desktopQueries().screenSize().height);
    if (edge == Edge::None)
        return;
    setTop(top);
    movement().DirY = edge == Edge::Low ? VerticalHeading::Downward : VerticalHeading::Upward;
}

void TFrmMain::WalkFrame(bool rightward) {
    unsigned char& Phase = movement().Phase;
    Phase ^= 1;
    if (rightward)
        ShowFrame(Phase == 1 ? Rgn5 : Rgn6);
    else
        ShowFrame(Phase == 1 ? Rgn3 : Rgn4);
}

void TFrmMain::IdleFrame() {
    unsigned char& Phase = movement().Phase;
    Phase ^= 1;
    ShowFrame(Phase == 1 ? Rgn1 : Rgn2);
}

TaskbarEdge TFrmMain::TaskbarSide() {
    ScreenRect rect;
    return TaskbarSide(rect);
}

TaskbarEdge TFrmMain::TaskbarSide(ScreenRect& rect) {
    const ScreenSize screen = desktopQueries().screenSize();
    const int SH = screen.height;
    // Without a taskbar to go by, the screen's own bottom edge serves: the
    // character then stands on the bottom of the screen and dialogs sit in
    // the bottom-right corner.
    rect = desktopQueries().taskbarRect().value_or(ScreenRect{0, SH, screen.width, SH});
    if (rect.top >= kEdgeSlack)
        return TaskbarEdge::Bottom;
    if (SH > rect.bottom)
        return TaskbarEdge::Top;
    if (rect.left >= kEdgeSlack)
        return TaskbarEdge::Right;
    return TaskbarEdge::Left;
}

void TFrmMain::ChaseMouse() {
    const ScreenPoint pointer = desktopQueries().cursorPos();
    const int px = pointer.x;
    const int py = pointer.y;
    if (Left() == px && Top() == py) {
        IdleFrame();
        return;
    }
    const int s = movement().StepSize;
    if (Left() < px)
        setLeft(Left() + s);
    if (Left() > px)
        setLeft(Left() - s);
    if (Top() < py)
        setTop(Top() + s);
    if (Top() > py)
        setTop(Top() - s);
    if (within(Left(), px, s))
        setLeft(px);
    if (within(Top(), py, s))
        setTop(py);
    WalkFrame(Left() < px);
}

bool TFrmMain::pauseOrStep() {
    const int r = draws_->draw(kDraws);
    if (r == kPauseDraw) {
        StartPause();
        return true;
    }
    TurnOrStep(r);
    return false;
}

void TFrmMain::WanderScreen() {
    if (pauseOrStep())
        return;
    clampHorizontal();
    const int v = draws_->draw(kVerticalDraws);
    if (v < kVerticalStepBelow) {
        const int s = movement().StepSize;
        VerticalHeading& DirY = movement().DirY;
        if (DirY == VerticalHeading::Downward) {
            if (v == 0) {
                setTop(Top() - s);
                DirY = VerticalHeading::Upward;
            } else {
                setTop(Top() + s);
            }
        } else {
            if (v == 0) {
                setTop(Top() + s);
                DirY = VerticalHeading::Downward;
            } else {
                setTop(Top() - s);
            }
        }
        clampVertical();
    }
    WalkFrame(movement().DirX == HorizontalHeading::Rightward);
}

void TFrmMain::WanderTaskbar() {
    ScreenRect taskbar;
    const TaskbarEdge side = TaskbarSide(taskbar);
    const int H = frameHeight();
    if (side == TaskbarEdge::Bottom)
        setTop(taskbar.top - H);
    else
        setTop(desktopQueries().screenSize().height - H);
    if (pauseOrStep())
        return;
    clampHorizontal();
    WalkFrame(movement().DirX == HorizontalHeading::Rightward);
}

void TFrmMain::WalkOnWindow() {
    const std::optional<ForegroundWindow> front = desktopQueries().foregroundWindow();
    // A full-screen window in front has no top to stand on: its top edge is
    // a monitor's, and the character would stand on the monitor above.
    if (!front || desktopQueries().fullScreenMonitor()) {
        WanderScreen();
        return;
    }
    const ScreenRect rect = front->rect;
    // A front window whose top is level with the character's is, as a rule,
    // the mascot window itself (after a click or a drag); a top at the
    // screen's upper edge leaves no room to stand on. Either way the
    // character wanders instead.
    if (rect.top == Top() || rect.top <= kEdgeSlack) {
        WanderScreen();
        return;
    }
    setTop(rect.top - frameHeight());
    if (pauseOrStep())
        return;
    clampToWindow(rect);
    WalkFrame(movement().DirX == HorizontalHeading::Rightward);
}

void TFrmMain::StepInPlace() {
    const int r = draws_->draw(kDraws);
    if (r == kPauseDraw) {
        StartPause();
        return;
    }
    const ScreenPoint pointer = desktopQueries().cursorPos();
    if (Left() == pointer.x && Top() == pointer.y) {
        IdleFrame();
        return;
    }
    WalkFrame(Left() < pointer.x);
}

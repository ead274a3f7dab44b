// The five movers of the mascot window and the rules they share. Every test
// reads Left and Top as the previous step left them, and every set is an
// immediate move of the window, so the order of the lines below is the
// behaviour.

#include "TFrmMain.h"

#include "DesktopServices.h"
#include "MascotSettings.h"
#include "Random.h"
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

} // namespace

void TFrmMain::StartPause() {
    PauseBeats = 0;
    Timer2->setInterval(Timer1->Interval());
    Timer1->setInterval(0);
}

void TFrmMain::TurnOrStep(int r) {
    const int s = StepSize;
    if (DirX == 1) {
        if (r == kTurnDraw) {
            setLeft(Left() - s);
            DirX = 2;
        } else {
            setLeft(Left() + s);
        }
    } else {
        if (r == kTurnDraw) {
            setLeft(Left() + s);
            DirX = 1;
        } else {
            setLeft(Left() - s);
        }
    }
}

void TFrmMain::ClampHorizontal() {
    const int W = frameWidth();
    if (Left() <= 0) {
        setLeft(0);
        DirX = 1;
    }
    const int SW = desktop().screenSize().width();
    if (Left() + W >= SW) {
        setLeft(SW - W);
        DirX = 2;
    }
}

void TFrmMain::ClampVertical() {
    const int H = frameHeight();
    if (Top() <= 0) {
        setTop(0);
        DirY = 2;
    }
    const int SH = desktop().screenSize().height();
    if (Top() + H >= SH) {
        setTop(SH - H);
        DirY = 1;
    }
}

void TFrmMain::ClampToWindow(const ScreenRect& window) {
    const int W = frameWidth();
    if (Left() <= window.left) {
        setLeft(window.left);
        DirX = 1;
    }
    if (Left() + W >= window.right) {
        setLeft(window.right - W);
        DirX = 2;
    }
}

void TFrmMain::WalkFrame(bool rightward) {
    Phase ^= 1;
    if (rightward)
        ShowFrame(Phase == 1 ? Rgn5 : Rgn6);
    else
        ShowFrame(Phase == 1 ? Rgn3 : Rgn4);
}

void TFrmMain::IdleFrame() {
    Phase ^= 1;
    ShowFrame(Phase == 1 ? Rgn1 : Rgn2);
}

char TFrmMain::TaskbarSide() {
    ScreenRect rect;
    return TaskbarSide(rect);
}

char TFrmMain::TaskbarSide(ScreenRect& rect) {
    const QSize screen = desktop().screenSize();
    const int SH = screen.height();
    // Without a taskbar to go by, the screen's own bottom edge serves: the
    // character then stands on the bottom of the screen and dialogs sit in
    // the bottom-right corner.
    rect = desktop().taskbarRect().value_or(ScreenRect{0, SH, screen.width(), SH});
    if (rect.top >= kEdgeSlack)
        return 'b';
    if (SH > rect.bottom)
        return 't';
    if (rect.left >= kEdgeSlack)
        return 'r';
    return 'l';
}

void TFrmMain::ChaseMouse() {
    const QPoint pointer = desktop().cursorPos();
    const int px = pointer.x();
    const int py = pointer.y();
    if (Left() == px && Top() == py) {
        IdleFrame();
        return;
    }
    const int s = StepSize;
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

void TFrmMain::WanderScreen() {
    const int r = Random(kDraws);
    if (r == kPauseDraw) {
        StartPause();
        return;
    }
    TurnOrStep(r);
    ClampHorizontal();
    const int v = Random(kVerticalDraws);
    if (v < kVerticalStepBelow) {
        const int s = StepSize;
        if (DirY == 2) {
            if (v == 0) {
                setTop(Top() - s);
                DirY = 1;
            } else {
                setTop(Top() + s);
            }
        } else {
            if (v == 0) {
                setTop(Top() + s);
                DirY = 2;
            } else {
                setTop(Top() - s);
            }
        }
        ClampVertical();
    }
    WalkFrame(DirX == 1);
}

void TFrmMain::WanderTaskbar() {
    ScreenRect taskbar;
    const char side = TaskbarSide(taskbar);
    const int H = frameHeight();
    if (side == 'b')
        setTop(taskbar.top - H);
    else
        setTop(desktop().screenSize().height() - H);
    const int r = Random(kDraws);
    if (r == kPauseDraw) {
        StartPause();
        return;
    }
    TurnOrStep(r);
    ClampHorizontal();
    WalkFrame(DirX == 1);
}

void TFrmMain::WalkOnWindow() {
    const std::optional<ForegroundWindow> front = desktop().foregroundWindow();
    if (!front) {
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
    const int r = Random(kDraws);
    if (r == kPauseDraw) {
        StartPause();
        return;
    }
    TurnOrStep(r);
    ClampToWindow(rect);
    WalkFrame(DirX == 1);
}

void TFrmMain::StepInPlace() {
    const int r = Random(kDraws);
    if (r == kPauseDraw) {
        StartPause();
        return;
    }
    const QPoint pointer = desktop().cursorPos();
    if (Left() == pointer.x() && Top() == pointer.y()) {
        IdleFrame();
        return;
    }
    WalkFrame(Left() < pointer.x());
}

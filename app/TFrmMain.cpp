#include "TFrmMain.h"

#include "Captions.h"
#include "DesktopServices.h"
#include "FormLoader.h"
#include "GeneratorDraws.h"
#include "SessionNotice.h"
#include "SettingsStore.h"
#include "TMenuItem.h"
#include "TPopupMenu.h"
#include "TRgn.h"
#include "TRgnList.h"
#include "TTaskTrayIcon.h"
#include "TTimer.h"

#include <array>

TFrmMain* FrmMain = nullptr;

namespace {

// Timer1's period for each SpeedIndex and the step for each StepIndex.
constexpr std::array<int, 11> kPeriods{50, 100, 150, 200, 250, 300, 400, 500, 600, 800, 1000};
constexpr std::array<int, 11> kSteps{20, 18, 16, 14, 12, 10, 8, 6, 4, 2, 1};
// A pause shows this many beats of the idle frames.
constexpr int kPauseBeats = 10;

bool isIndex(int value) {
    return value >= 0 && value < static_cast<int>(kPeriods.size());
}

} // namespace

TFrmMain::TFrmMain(Component* owner, const std::vector<std::uint8_t>& layout)
    : Form(owner), draws_(std::make_unique<GeneratorDraws>()) {
    // FormCreate already runs as the main window, so the global is set
    // first; a layout that cannot be loaded leaves no trace of this window.
    FrmMain = this;
    try {
        publishHandlers();
        FormLoader::loadForm(*this, layout);
        bindComponents();
        showCaptionsInUserLanguage();
    } catch (...) {
        FrmMain = nullptr;
        throw;
    }
    doCreate();
}

TFrmMain::~TFrmMain() {
    if (FrmMain == this)
        FrmMain = nullptr;
}

void TFrmMain::setDrawSource(std::unique_ptr<DrawSource> source) {
    draws_ = std::move(source);
}

void TFrmMain::publishHandlers() {
    publishMethod("FormCreate", TNotifyEvent([this](Component* s) { FormCreate(s); }));
    publishMethod("FormClose", TCloseEvent([this](Component* s, TCloseAction&) { FormClose(s); }));
    publishMethod("Timer1Timer", TNotifyEvent([this](Component* s) { Timer1Timer(s); }));
    publishMethod("Timer2Timer", TNotifyEvent([this](Component* s) { Timer2Timer(s); }));
    publishMethod("Rgn1DblClick", TNotifyEvent([this](Component* s) { Rgn1DblClick(s); }));
    publishMethod("N2Click", TNotifyEvent([this](Component* s) { N2Click(s); }));
    publishMethod("N3Click", TNotifyEvent([this](Component* s) { N3Click(s); }));
    publishMethod("Exit1Click", TNotifyEvent([this](Component* s) { Exit1Click(s); }));
    publishMethod("FullScreen1Click", TNotifyEvent([this](Component* s) { FullScreen1Click(s); }));
    publishMethod("Autostart1Click", TNotifyEvent([this](Component* s) { Autostart1Click(s); }));
    publishMethod("PopupMenu1Popup", TNotifyEvent([this](Component* s) { PopupMenu1Popup(s); }));
    publishMethod("Rgn1MouseDown", TMouseEvent([this](Component* s, TMouseButton b, TShiftState sh, int x,
                                                      int y) { Rgn1MouseDown(s, b, sh, x, y); }));
}

template <typename T> void TFrmMain::bind(T*& member, const char* name) {
    member = dynamic_cast<T*>(findComponent(name));
    if (!member)
        throw KuvitoError(this->name() + ": " + name + " がありません");
    boundComponentNames_.emplace_back(name);
}

void TFrmMain::bindComponents() {
    bind(Rgn1, "Rgn1");
    bind(Rgn2, "Rgn2");
    bind(RgnList1, "RgnList1");
    bind(Timer1, "Timer1");
    bind(TaskTrayIcon1, "TaskTrayIcon1");
    bind(PopupMenu1, "PopupMenu1");
    bind(Exit1, "Exit1");
    bind(N1, "N1");
    bind(N2, "N2");
    bind(Rgn3, "Rgn3");
    bind(N3, "N3");
    bind(Rgn4, "Rgn4");
    bind(Rgn5, "Rgn5");
    bind(Rgn6, "Rgn6");
    bind(Timer2, "Timer2");
    bind(FullScreen1, "FullScreen1");
    bind(Autostart1, "Autostart1");
}

void TFrmMain::showCaptionsInUserLanguage() {
    // The stored layout carries the Japanese captions it was built with, and
    // each of them is a row of the Japanese table: looking them up by that
    // text needs no list of which component shows what, and a menu item
    // added to the layout follows as soon as the tables have its caption
    // (until then it stays Japanese).
    setCaption(Captions::fromJapanese(Caption()));
    for (Component* component : components())
        if (auto* item = dynamic_cast<TMenuItem*>(component))
            item->setCaption(Captions::fromJapanese(item->Caption()));
}

void TFrmMain::FormCreate(Component*) {
    draws_->seed(desktopProgram().clockSeed());
    ShowFrame(Rgn3);
    movement().Phase = 1;
    ReadSettings();
    FullScreen1->setChecked(settings().hideForFullScreen);
    // Read again whenever the menu opens; this is for a notification area
    // that shows the menu without saying so first.
    PopupMenu1Popup(this);
    ApplySettings();
    movement().DirX = HorizontalHeading::Rightward;
    movement().DirY = VerticalHeading::Downward;
    // The desktop may report a full-screen window between ticks (and while
    // a pause holds Timer1); the window reached through the global is the
    // one alive then, if any.
    desktopQueries().watchFullScreen([] {
        if (FrmMain)
            FrmMain->followFullScreen();
    });
}

void TFrmMain::FormClose(Component*) {
    // Closing the main window ends the program; nothing is saved.
}

void TFrmMain::ApplySettings() {
    const MascotSettings& s = settings();
    Timer2->setInterval(0);
    if (desktopWindows().isTopMost(desktopHandle()) != s.StayOnTop)
        desktopWindows().setTopMost(desktopHandle(), s.StayOnTop);
    if (isIndex(s.SpeedIndex)) {
        Timer1->setInterval(kPeriods[s.SpeedIndex]);
    } else if (Timer1->Interval() == 0 && movePeriod_ != 0) {
        // An index that maps to no period keeps the period Timer1 had. A
        // pause or a drag has stopped Timer1 by now, and keeping "stopped"
        // would freeze the character for good, so it goes back to the
        // period it last ran at.
        Timer1->setInterval(movePeriod_);
    }
    if (Timer1->Interval() != 0)
        movePeriod_ = Timer1->Interval();
    if (isIndex(s.StepIndex))
        movement().StepSize = kSteps[s.StepIndex];
    tellSessionLimits();
}

void TFrmMain::ShowFrame(TRgn* rgn) {
    RgnList1->AddRgn(rgn);
    RgnList1->ApplyRgn();
}

void TFrmMain::Timer1Timer(Component*) {
    // The mover may set Left and Top several times; the window system is
    // sent only where the window ends up.
    beginMoveBatch();
    struct Close {
        TFrmMain* form;
        ~Close() { form->endMoveBatch(); }
    } close{this};
    followFullScreen();
    if (hiddenForFullScreen_)
        return;
    // A stored mode that names no mover leaves the character standing.
    if (const Mover mover = moverFor(settings().MoveMode))
        (this->*mover)();
}

void TFrmMain::Timer2Timer(Component*) {
    IdleFrame();
    int& beats = movement().PauseBeats;
    ++beats;
    if (beats >= kPauseBeats) {
        Timer2->setInterval(0);
        ApplySettings();
    }
}

void TFrmMain::followFullScreen() {
    bool covered = false;
    if (settings().hideForFullScreen) {
        if (const std::optional<ScreenRect> monitor = desktopQueries().fullScreenMonitor()) {
            // The monitor the character is on is the one its middle is on.
            const int x = Left() + Width() / 2;
            const int y = Top() + Height() / 2;
            covered = x >= monitor->left && x < monitor->right && y >= monitor->top && y < monitor->bottom;
        }
    }
    if (covered == hiddenForFullScreen_)
        return;
    hiddenForFullScreen_ = covered;
    if (covered)
        hide();
    else
        show();
}

int TFrmMain::frameWidth() const {
    return Rgn1->Width();
}

int TFrmMain::frameHeight() const {
    return Rgn1->Height();
}

void TFrmMain::offerMenuOnCharacter() {
    const std::string how = Captions::text("noTray.hint");
    for (TRgn* frame : {Rgn1, Rgn2, Rgn3, Rgn4, Rgn5, Rgn6}) {
        if (!frame)
            continue;
        // The press is the drag's; the menu comes with the release, so a
        // right-button click opens it and a left-button drag is unchanged.
        frame->setOnMouseUp([this](Component*, TMouseButton Button, TShiftState, int, int) {
            if (Button == TMouseButton::mbRight && PopupMenu1) {
                const ScreenPoint at = desktopQueries().cursorPos();
                PopupMenu1->Popup(at.x, at.y);
            }
        });
        frame->setHint(how);
    }
    desktopTray().showNotice(Captions::text("app.title"), Captions::text("noTray.notice"));
}

void TFrmMain::tellSessionLimits() {
    if (sessionLimitsTold_)
        return;
    const std::string text = SessionNotice::text(desktopQueries().sessionLimits(), settings().MoveMode);
    if (text.empty())
        return;
    sessionLimitsTold_ = true;
    desktopTray().showNotice(Captions::text("app.title"), text);
}

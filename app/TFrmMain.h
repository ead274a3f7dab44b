#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "DesktopServices.h"
#include "DrawSource.h"
#include "Events.h"
#include "Form.h"
#include "ProgramState.h"
#include "ScreenPoint.h"
#include "TaskbarEdge.h"

class TRgn;
class TRgnList;
class TTimer;
class TTaskTrayIcon;
class TPopupMenu;
class TMenuItem;

// TFrmMain (form "Main"): see docs/glossary.md for the names kept from the
// classic design. The mascot window: a borderless window shaped like the shown frame, moved
// about the screen on every tick of Timer1, pausing now and then for ten
// beats of Timer2. Its components come from the stored layout; the members
// below point at them once the layout is loaded, in the layout's component
// order. The settings it runs by and the movement state it carries from tick
// to tick are the program-wide ProgramState.
class TFrmMain : public Form {
public:
    // Loads the stored layout (the program passes the one built into it,
    // MascotLayoutData()), then runs OnCreate.
    TFrmMain(Component* owner, const std::vector<std::uint8_t>& layout);
    ~TFrmMain() override;

    std::string className() const override { return "TFrmMain"; }

    TRgn* Rgn1 = nullptr;                   // in-place frame, first of the pair
    TRgn* Rgn2 = nullptr;                   // in-place frame, second of the pair
    TRgnList* RgnList1 = nullptr;           // gives the window the shown frame's outline
    TTimer* Timer1 = nullptr;               // movement: one mover per tick
    TTaskTrayIcon* TaskTrayIcon1 = nullptr; // the notification-area icon
    TPopupMenu* PopupMenu1 = nullptr;       // the icon's right-button menu
    TMenuItem* Exit1 = nullptr;             // "終了": ends the program
    TMenuItem* N1 = nullptr;                // the menu's separator
    TMenuItem* N2 = nullptr;                // "設定": the settings dialog
    TRgn* Rgn3 = nullptr;                   // walking left, first frame
    TMenuItem* N3 = nullptr;                // "バージョン情報(&A)": the about dialog
    TRgn* Rgn4 = nullptr;                   // walking left, second frame
    TRgn* Rgn5 = nullptr;                   // walking right, first frame
    TRgn* Rgn6 = nullptr;                   // walking right, second frame
    TTimer* Timer2 = nullptr;               // pause: ten beats of the in-place frames
    TMenuItem* FullScreen1 = nullptr;       // "全画面のときは隠れる": a check item
    TMenuItem* Autostart1 = nullptr;        // "ログイン時に起動": a check item

    // Event handlers, bound by name from the stored layout.
    void FormCreate(Component* Sender);
    void FormClose(Component* Sender); // published as the form's OnClose
    void Timer1Timer(Component* Sender);
    void Timer2Timer(Component* Sender);
    void Rgn1MouseDown(Component* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void Rgn1DblClick(Component* Sender);
    void N2Click(Component* Sender);
    void N3Click(Component* Sender);
    void Exit1Click(Component* Sender);
    // Switches stepping aside for full-screen windows on or off and stores it.
    void FullScreen1Click(Component* Sender);
    // Adds or removes the system's entry that starts the program at login.
    // The mark shows what the system has afterwards, also when that failed.
    void Autostart1Click(Component* Sender);
    // Runs as the tray menu opens (the program's own popup or a menu the
    // notification area draws): the login entry may have been added or
    // removed by hand since, so its mark is read from the system each time.
    void PopupMenu1Popup(Component* Sender);

    // Ends any pause and turns the settings into top-most state, timer
    // period and step size.
    void ApplySettings();
    // Makes one frame the only one drawn and the window's outline.
    void ShowFrame(TRgn* rgn);

    // Hides the window while the window in front is full screen on the
    // monitor the character is on (unless the user switched that off) and
    // shows it again, where it was, once that is over. Run on every tick and
    // whenever the desktop reports a change.
    void followFullScreen();
    bool hiddenForFullScreen() const { return hiddenForFullScreen_; }

    // The movers, one for each row of kMovementModes; Timer1Timer runs the
    // one of MoveMode on each tick.
    void ChaseMouse();
    void WanderScreen();
    void WanderTaskbar();
    void WalkOnWindow();
    void StepInPlace();
    using Mover = void (TFrmMain::*)();
    // The mover of a mode, or null for a mode that has none.
    static Mover moverFor(MovementMode mode);

    // Which screen edge the taskbar lies on. The queried rectangle is handed
    // back through `rect`. When the desktop cannot tell where the taskbar
    // is, it counts as a bottom taskbar whose top is the screen's bottom
    // edge.
    static TaskbarEdge TaskbarSide();
    static TaskbarEdge TaskbarSide(ScreenRect& rect);
    // Where a dialog of outer size w x h goes: 30 pixels from the screen's
    // corner beside the taskbar. Returns Left, Top.
    static ScreenPoint PlaceNearTaskbar(int w, int h);

    unsigned char phase() const { return movement().Phase; }

    // The movers' random draws; the window starts with the program's
    // generator, which FormCreate seeds from the clock. Tests put in draws
    // of their own.
    DrawSource& draws() { return *draws_; }
    void setDrawSource(std::unique_ptr<DrawSource> source);

    // The names of the layout's components that members point at, in the
    // order bound. The layout names components and handlers by string; a
    // test holds the embedded layout to these and to the published handlers.
    const std::vector<std::string>& boundComponentNames() const { return boundComponentNames_; }

    // Without a notification area the tray menu cannot be reached, and with
    // it the only way to end the program. Then a right-button click on the
    // character opens the same menu, and the user is told so once.
    void offerMenuOnCharacter();
    // What a second start of the program asks of the running one: the
    // character comes to the pointer, on whichever monitor that is, and is
    // shown if it was hidden.
    void comeForward();

private:
    // A session that keeps from the program what the mode in effect needs
    // (the pointer, the front window: a Wayland one) is told to the user
    // the first time such a mode is in effect, once per run, with the
    // modes that still work.
    void tellSessionLimits();

    // Shared rules of the movers.
    void StartPause();
    void TurnOrStep(int r);
    // The wandering modes' one draw of thirty: either a pause begins (true;
    // the tick ends there) or the character turns or steps sideways.
    bool pauseOrStep();
    void clampHorizontal();
    void clampVertical();
    void clampToWindow(const ScreenRect& window);
    // Keeps the frame between x = low and x = high, turning it away from an
    // end it reaches.
    void clampSideways(int low, int high);
    void WalkFrame(bool rightward);
    void IdleFrame();

    int frameWidth() const;
    int frameHeight() const;
    void bindComponents();
    // The window's title and the menu's captions, stored in Japanese, in the
    // language the user reads.
    void showCaptionsInUserLanguage();
    // Points `member` at the layout's component `name`, which must exist.
    template <typename T> void bind(T*& member, const char* name);
    void publishHandlers();

    static MovementState& movement() { return programState().movement; }
    static MascotSettings& settings() { return programState().settings; }

    std::unique_ptr<DrawSource> draws_;
    // The period Timer1 last ran at, kept so that an ApplySettings that
    // cannot map SpeedIndex restarts a Timer1 that a pause or a drag has
    // stopped, instead of leaving the character frozen for good.
    int movePeriod_ = 0;
    bool sessionLimitsTold_ = false;
    // The window is hidden because of a full-screen window; the movers stand
    // still meanwhile, so that it comes back where it was.
    bool hiddenForFullScreen_ = false;
    std::vector<std::string> boundComponentNames_;
};

// The one mascot window, the program's main window.
extern TFrmMain* FrmMain;

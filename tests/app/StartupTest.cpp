// Start-up of the mascot window: the settings it reads, what ApplySettings
// makes of them, and the dispatch of movement ticks by mode.

#include "MascotFixture.h"

#include "Captions.h"
#include "GeneratorDraws.h"
#include "KuvitoError.h"
#include "MovementModes.h"
#include "ProgramStart.h"
#include "SettingsStore.h"
#include "TRgn.h"
#include "TTimer.h"

namespace {

using StartupTest = MascotFixture;

TEST_F(StartupTest, NoSettingsFileGivesTheDefaults) {
    create();
    EXPECT_TRUE(sim->isTopMost(*form));
    EXPECT_EQ(settings().MoveMode, MovementMode::ChaseMouse);
    EXPECT_EQ(timer1Interval(), 300);
    EXPECT_EQ(timer2Interval(), 0);
    EXPECT_EQ(movement().StepSize, 10);
    EXPECT_EQ(movement().DirX, Rightward);
    EXPECT_EQ(movement().DirY, Downward);
    EXPECT_EQ(form->phase(), 1);
    EXPECT_EQ(shownFrame(), 3);
    EXPECT_FALSE(iniExists()) << "start-up must not create the settings file";
}

TEST_F(StartupTest, GeneratorIsSeededFromTheClockAtCreation) {
    // Start-ups at different times draw what their own time gives.
    for (std::uint32_t seed : {4242u, 777u}) {
        sim->setClockSeed(seed);
        form = std::make_unique<TFrmMain>(nullptr, standInLayout());
        GeneratorDraws expected;
        expected.seed(seed);
        EXPECT_EQ(form->draws().draw(1 << 30), expected.draw(1 << 30)) << seed;
        form.reset();
    }
}

TEST_F(StartupTest, FirstTickComesOnePeriodAfterCreation) {
    create(100, 100);
    sim->setCursorPos({500, 100});
    advance(299);
    EXPECT_EQ(left(), 100);
    advance(1);
    EXPECT_EQ(left(), 110);
}

TEST_F(StartupTest, StoredTemaeDecidesTopMost) {
    struct Case {
        const char* line;
        bool topMost;
    };
    for (const Case& c : {Case{"temae=1\n", true}, Case{"temae=2\n", false}, Case{"temae=0\n", false},
                          Case{"temae=7\n", false}, Case{"temae=on\n", true}}) {
        SCOPED_TRACE(c.line);
        writeIni(c.line);
        create();
        EXPECT_EQ(sim->isTopMost(*form), c.topMost);
        form.reset();
    }
}

TEST_F(StartupTest, EveryIndexOfBothTables) {
    const int periods[11] = {50, 100, 150, 200, 250, 300, 400, 500, 600, 800, 1000};
    const int steps[11] = {20, 18, 16, 14, 12, 10, 8, 6, 4, 2, 1};
    create();
    for (int i = 0; i <= 10; ++i) {
        SCOPED_TRACE(i);
        settings().SpeedIndex = i;
        settings().StepIndex = 10 - i;
        form->ApplySettings();
        EXPECT_EQ(timer1Interval(), periods[i]);
        EXPECT_EQ(movement().StepSize, steps[10 - i]);
    }
    // The same values stored in the file give the same at start-up.
    form.reset();
    writeIni("speed=0\nidour=10\n");
    create();
    EXPECT_EQ(timer1Interval(), 50);
    EXPECT_EQ(movement().StepSize, 1);
}

TEST_F(StartupTest, OutOfRangeIndicesLeavePeriodAndStepAsTheyWere) {
    for (const char* ini :
         {"speed=11\nidour=11\n", "speed=-1\nidour=-1\n", "speed=12\nidour=-2147483648\n"}) {
        SCOPED_TRACE(ini);
        resetProgramState();
        writeIni(ini);
        create();
        EXPECT_EQ(timer1Interval(), 200) << "the designed period stays";
        EXPECT_EQ(movement().StepSize, 0);
        form.reset();
    }
    // At run time too: a valid setting followed by an invalid one keeps the
    // valid one's effect.
    create();
    settings().SpeedIndex = 2;
    settings().StepIndex = 2;
    form->ApplySettings();
    settings().SpeedIndex = 11;
    settings().StepIndex = -1;
    form->ApplySettings();
    EXPECT_EQ(timer1Interval(), 150);
    EXPECT_EQ(movement().StepSize, 16);
}

TEST_F(StartupTest, StepOutsideTheTableMovesNothingButFramesChange) {
    writeIni("idour=-1\nidou=2\n");
    create(500, 300);
    for (int i = 0; i < 40 && timer1Interval() > 0; ++i) {
        const int before = shownFrame();
        tick();
        if (timer1Interval() == 0)
            break;
        EXPECT_EQ(left(), 500);
        EXPECT_EQ(top(), 300);
        EXPECT_NE(shownFrame(), before);
    }
}

TEST_F(StartupTest, ModesOutsideOneToFiveDoNothing) {
    for (const char* ini : {"idou=0\n", "idou=6\n", "idou=9\n"}) {
        SCOPED_TRACE(ini);
        writeIni(ini);
        create(200, 200);
        sim->setCursorPos({600, 600});
        const std::size_t moves = moveCount();
        for (int i = 0; i < 20; ++i)
            tick();
        EXPECT_EQ(moveCount(), moves);
        EXPECT_EQ(shownFrame(), 3);
        EXPECT_EQ(timer1Interval(), 300) << "the timer goes on ticking";
        form.reset();
    }
}

// The settings dialog and the session notice go by the mode table; the
// ticks by the movers. Every row needs a caption and a mover, and the mover
// must read from the desktop what its row says.
TEST_F(StartupTest, EveryModeHasACaptionAndAMoverThatReadsWhatItsRowSays) {
    sim->setForeground(sim->addWindow({300, 300, 700, 500}));
    create(100, 100);
    for (const MovementModeRow& row : kMovementModes) {
        SCOPED_TRACE(static_cast<int>(row.mode));
        EXPECT_NE(Captions::find(*Captions::table(Captions::kJapanese), row.captionId), nullptr);
        ASSERT_NE(TFrmMain::moverFor(row.mode), nullptr);
        settings().MoveMode = row.mode;
        sim->clearReads();
        for (int i = 0; i < 5; ++i)
            tick();
        EXPECT_EQ(sim->reads().pointer > 0, row.reads.pointer);
        EXPECT_EQ(sim->reads().frontWindow > 0, row.reads.frontWindow);
        EXPECT_EQ(sim->reads().panel > 0, row.reads.panel);
    }
}

TEST_F(StartupTest, TopMostChangesOnlyWhenItDiffers) {
    create();
    const int sets = sim->topMostSetCount(*form);
    form->ApplySettings();
    EXPECT_EQ(sim->topMostSetCount(*form), sets);
    settings().StayOnTop = false;
    form->ApplySettings();
    EXPECT_FALSE(sim->isTopMost(*form));
    EXPECT_EQ(sim->topMostSetCount(*form), sets + 1);
    // What counts is the window's state, not what was last asked for.
    sim->windowManagerSetsTopMost(*form, true);
    form->ApplySettings();
    EXPECT_FALSE(sim->isTopMost(*form));
}

TEST_F(StartupTest, ChangeOfModeActsAtTheNextTickFromWhereTheWindowStands) {
    writeIni("idou=2\n");
    create(400, 300);
    tick();
    EXPECT_EQ(left(), 410);
    // The user drops the character somewhere else and picks mode 3.
    place(700, 100);
    settings().MoveMode = MovementMode::WanderTaskbar;
    form->ApplySettings();
    tick();
    EXPECT_EQ(left(), 710) << "DirX is kept across the change";
    EXPECT_EQ(top(), 738 - 87);
}

TEST_F(StartupTest, FailedWriteLeavesTheRunningMascotAlone) {
    writeIni("speed=5\nidour=5\ntemae=1\nidou=2\n");
    std::filesystem::permissions(dir / "kuvito.ini", std::filesystem::perms::owner_read);
    create(400, 300);
    // What the settings dialog's OK does: store, then apply.
    EXPECT_THROW(
        {
            WriteSettings(0, 0, false, 3);
            form->ApplySettings();
        },
        KuvitoError);
    EXPECT_EQ(timer1Interval(), 300);
    EXPECT_EQ(movement().StepSize, 10);
    EXPECT_TRUE(sim->isTopMost(*form));
    EXPECT_EQ(settings().MoveMode, MovementMode::WanderScreen);
}

// What every main() does with the mascot window once the desktop exists.
TEST_F(StartupTest, ProgramStartShowsTheWindowAtTheCornerOffTheTaskbarAndOffersTheMenuWithoutATray) {
    sim->setTrayAvailable(false);
    int shows = 0;
    form = ProgramStart::showMascotWindow(standInLayout(), [&shows](TFrmMain& window) {
        ++shows;
        window.show();
    });
    ASSERT_TRUE(form);
    EXPECT_EQ(FrmMain, form.get());
    EXPECT_EQ(shows, 1);
    EXPECT_EQ(left(), 0);
    EXPECT_EQ(top(), 0);
    EXPECT_TRUE(sim->wasHiddenBeforeShown(*form));
    EXPECT_EQ(sim->notices().size(), 1u) << "without a tray the user is told to right-click the character";

    // A window that cannot be made is shown as an error, never shown itself.
    form.reset();
    EXPECT_FALSE(ProgramStart::showMascotWindow({}, [](TFrmMain&) { ADD_FAILURE(); }));
    EXPECT_EQ(sim->errorBoxes().size(), 1u);
}

// One kuvito per session: the first start claims the session, and its
// character, hidden or not, comes to the pointer when a later start asks,
// on a monitor left of the primary too; a later start ends with 0.
TEST_F(StartupTest, LaterStartCallsTheRunningCharacterToThePointer) {
    EXPECT_FALSE(ProgramStart::joinRunningProgram());
    form = ProgramStart::showMascotWindow(standInLayout(), [](TFrmMain& window) { window.show(); });
    ASSERT_TRUE(form);
    form->hide();
    for (const ScreenPoint pointer : {ScreenPoint{-700, 400}, ScreenPoint{900, 20}}) {
        sim->setCursorPos(pointer);
        sim->askToComeForward();
        EXPECT_TRUE(form->isVisible());
        EXPECT_LT(left(), pointer.x);
        EXPECT_GT(left() + form->Width(), pointer.x);
        EXPECT_GT(top(), pointer.y) << "the pointer stays free for its next click";
        EXPECT_LT(top(), pointer.y + form->Height());
        EXPECT_EQ(sim->windowPos(form->desktopHandle()), (ScreenPoint{left(), top()}));
    }

    sim->setSessionHeldElsewhere(true);
    EXPECT_EQ(ProgramStart::joinRunningProgram(), 0);
    EXPECT_EQ(sim->comeForwardRequests(), 1);
}

} // namespace

namespace {

using NoTrayTest = MascotFixture;

TEST_F(NoTrayTest, RightClickOnTheCharacterOpensTheMenuAndTheUserIsTold) {
    create();
    form->offerMenuOnCharacter();
    ASSERT_EQ(sim->notices().size(), 1u);
    sim->setCursorPos({40, 50});
    form->Rgn3->OnMouseUp()(form->Rgn3, TMouseButton::mbLeft, 0, 5, 5);
    EXPECT_TRUE(sim->menus().empty()) << "a left release must not open the menu";
    form->Rgn3->OnMouseUp()(form->Rgn3, TMouseButton::mbRight, 0, 5, 5);
    ASSERT_EQ(sim->menus().size(), 1u);
    EXPECT_EQ(sim->menus().front().at, QPoint(40, 50));
    EXPECT_FALSE(form->Rgn6->Hint().empty());
}

} // namespace

namespace {

// On a Wayland session the program is told which modes cannot get what they
// go by; the user hears of it once, and only when the mode in effect is one.
struct SessionCase {
    const char* name;
    SessionLimits limits;
    int mode;
    bool told;
    const char* works = ""; // the modes the notice names as working
};

constexpr SessionLimits kX11{};
constexpr SessionLimits kWayland{true, true};
constexpr SessionLimits kPointerOnly{true, false};
constexpr SessionLimits kFrontWindowOnly{false, true};
constexpr SessionLimits kHelperAfterNewLogin{true, true, true};
constexpr SessionLimits kPanelOnly{false, false, false, true};
constexpr SessionLimits kHelperSwitchedOff{true, true, false, false, "kuvito@test"};

class SessionNoticeTest : public MascotFixture, public ::testing::WithParamInterface<SessionCase> {};

TEST_P(SessionNoticeTest, ToldOnlyWhenTheModeInEffectNeedsWhatTheSessionKeepsNamingTheModesThatWork) {
    const SessionCase& c = GetParam();
    sim->setSessionLimits(c.limits);
    writeIni("idou=" + std::to_string(c.mode) + "\n");
    create();
    ASSERT_EQ(sim->notices().size(), c.told ? 1u : 0u);
    if (!c.told)
        return;
    const QString& text = sim->notices().front().text;
    EXPECT_EQ(text.contains(QString::fromUtf8("ログイン")), c.limits.newLoginCompletesSetUp)
        << text.toStdString();
    EXPECT_EQ(text.contains(QStringLiteral("gnome-extensions enable kuvito@test")),
              c.limits.helperSwitchedOff != nullptr)
        << text.toStdString();
    const QString works = text.split('\n').back();
    // The lines before it name the modes that are limited, and only them.
    const QString limited = text.left(text.lastIndexOf('\n'));
    for (const MovementModeRow& row : kMovementModes) {
        const int mode = static_cast<int>(row.mode);
        const bool working = std::string(c.works).find(char('0' + mode)) != std::string::npos;
        const QString caption = QString::fromStdString(Captions::text(row.captionId));
        EXPECT_EQ(works.contains(caption), working) << "mode " << mode << " in: " << works.toStdString();
        // Quoted: a sentence may say what a mode's name says ("画面中をうろうろ").
        EXPECT_EQ(limited.contains(QString::fromUtf8("「") + caption), !working)
            << "mode " << mode << " in: " << limited.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, SessionNoticeTest,
    ::testing::Values(SessionCase{"x11_chase", kX11, 1, false}, SessionCase{"x11_window", kX11, 4, false},
                      SessionCase{"wayland_chase", kWayland, 1, true, "23"},
                      SessionCase{"wayland_wander", kWayland, 2, false},
                      SessionCase{"wayland_taskbar", kWayland, 3, false},
                      SessionCase{"wayland_window", kWayland, 4, true, "23"},
                      SessionCase{"wayland_step", kWayland, 5, true, "23"},
                      SessionCase{"pointer_only_window", kPointerOnly, 4, false},
                      SessionCase{"pointer_only_step", kPointerOnly, 5, true, "234"},
                      SessionCase{"front_window_only_chase", kFrontWindowOnly, 1, false},
                      SessionCase{"front_window_only_window", kFrontWindowOnly, 4, true, "1235"},
                      SessionCase{"helper_after_new_login_chase", kHelperAfterNewLogin, 1, true, "23"},
                      SessionCase{"helper_after_new_login_wander", kHelperAfterNewLogin, 2, false},
                      SessionCase{"helper_switched_off_window", kHelperSwitchedOff, 4, true, "23"},
                      SessionCase{"panel_only_taskbar", kPanelOnly, 3, true, "1245"},
                      SessionCase{"panel_only_chase", kPanelOnly, 1, false}),
    [](const auto& test) { return std::string(test.param.name); });

using SessionNoticeOnceTest = MascotFixture;

TEST_F(SessionNoticeOnceTest, ToldOnceWhenALimitedModeIsChosen) {
    sim->setSessionLimits(kWayland);
    writeIni("idou=2\n");
    create();
    EXPECT_TRUE(sim->notices().empty()) << "wandering the screen needs nothing the session keeps";
    // Each pause ends in ApplySettings, as does every confirmed settings
    // dialog: the notice must not come back with them.
    for (MovementMode mode :
         {MovementMode::ChaseMouse, MovementMode::WalkOnWindow, MovementMode::ChaseMouse}) {
        settings().MoveMode = mode;
        form->ApplySettings();
        form->ApplySettings();
    }
    EXPECT_EQ(sim->notices().size(), 1u);
}

} // namespace

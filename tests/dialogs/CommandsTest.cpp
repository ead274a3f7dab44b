// The mascot window's commands with the real window on the simulated
// desktop: dialog placement, the menu items, OK reaching the running mascot,
// and the drag.

#include <QMenu>

#include "../app/MascotFixture.h"
#include "DialogTestSupport.h"
#include "TFrmSettei.h"
#include "TFrmVer.h"
#include "TMenuItem.h"
#include "TRgn.h"
#include "TTaskTrayIcon.h"
#include "TTimer.h"

namespace {

struct PlaceCase {
    const char* name;
    std::optional<ScreenRect> taskbar;
    int left, top;
};

class PlaceNearTaskbar : public DialogFixture, public ::testing::WithParamInterface<PlaceCase> {};

TEST_P(PlaceNearTaskbar, PutsADialogThirtyPixelsFromTheCornerBesideTheTaskbar) {
    const PlaceCase& c = GetParam();
    sim().setScreenSize({1024, 768});
    sim().setTaskbarRect(c.taskbar);
    EXPECT_EQ(TFrmMain::PlaceNearTaskbar(300, 200), (ScreenPoint{c.left, c.top}));
}

INSTANTIATE_TEST_SUITE_P(Sides, PlaceNearTaskbar,
                         ::testing::Values(PlaceCase{"bottom", ScreenRect{0, 738, 1024, 768}, 694, 508},
                                           PlaceCase{"top", ScreenRect{0, 0, 1024, 30}, 694, 60},
                                           PlaceCase{"right", ScreenRect{994, 0, 1024, 768}, 664, 538},
                                           PlaceCase{"left", ScreenRect{0, 0, 30, 768}, 60, 538},
                                           // A top of exactly 10 is a bottom taskbar, 9 is not.
                                           PlaceCase{"topTenIsBottom", ScreenRect{0, 10, 1024, 40}, 694,
                                                     -220},
                                           PlaceCase{"topNineIsTop", ScreenRect{0, 9, 1024, 39}, 694, 69},
                                           // Not clamped to the screen.
                                           PlaceCase{"offScreen", ScreenRect{0, 100, 1024, 130}, 694, -130},
                                           // Without a taskbar the screen's bottom edge stands in.
                                           PlaceCase{"queryFails", std::nullopt, 694, 538}),
                         [](const auto& test) { return std::string(test.param.name); });

class Commands : public MascotFixture {
protected:
    void SetUp() override {
        MascotFixture::SetUp();
        ErrorDisplay::setTitle("走れクヴィトくん");
        create(100, 200);
    }
};

// The dialog's outer rectangle sits 30 pixels from the screen's right edge
// and 30 above the default bottom taskbar (top 738) of 1024 x 768, whatever
// frame the platform draws around it.
void expectBesideBottomTaskbar(const QDialog& dialog) {
    const QRect frame = dialog.frameGeometry();
    EXPECT_EQ(frame.x() + frame.width(), 1024 - 30);
    EXPECT_EQ(frame.y() + frame.height(), 738 - 30);
}

TEST_F(Commands, SettingsCommandPlacesTheDialogTopFirstShowsItModallyAndReleasesIt) {
    const std::size_t movesBefore = sim->moves().size();
    QPointer<QDialog> shown;
    TFrmSettei* during = nullptr;
    QPoint placed;
    sim->setModalScript([&](SimulatedDesktop&, QDialog& dialog) {
        shown = &dialog;
        during = FrmSettei;
        EXPECT_EQ(dialog.size(), QSize(365, 198));
        expectBesideBottomTaskbar(dialog);
        EXPECT_TRUE(sim->wasHiddenBeforeShown(dialog)) << "no taskbar button for a dialog either";
        // Modal to the mascot only, so that the tray menu stays reachable.
        EXPECT_EQ(dialog.windowModality(), Qt::WindowModal);
        EXPECT_EQ(dialog.parentWidget(), form.get());
        EXPECT_TRUE(dialog.isWindow());
        placed = dialog.frameGeometry().topLeft();
    });
    form->N2Click(form->N2);
    ASSERT_EQ(sim->modals().size(), 1u);
    EXPECT_EQ(sim->modals()[0].title.toStdString(), "走れクヴィトくんの設定");
    // Top is set first, then Left.
    std::vector<SimulatedDesktop::MoveRecord> moves(sim->moves().begin() + movesBefore, sim->moves().end());
    ASSERT_EQ(moves.size(), 2u);
    EXPECT_EQ(moves[0].top, placed.y());
    EXPECT_NE(moves[0].left, placed.x());
    EXPECT_EQ(moves[1].left, placed.x());
    EXPECT_EQ(moves[1].top, placed.y());
    EXPECT_NE(during, nullptr);
    EXPECT_EQ(FrmSettei, nullptr);
    EXPECT_TRUE(shown.isNull()) << "the dialog is released after it closes";
}

TEST_F(Commands, AboutCommandPlacesAndReleasesTheAboutBox) {
    sim->setTaskbarRect(ScreenRect{0, 0, 1024, 30});
    QPointer<QDialog> shown;
    sim->setModalScript([&](SimulatedDesktop&, QDialog& dialog) {
        shown = &dialog;
        EXPECT_EQ(FrmVer, &dialog);
        EXPECT_EQ(dialog.size(), QSize(235, 161));
        // Top-right corner, below a top taskbar.
        const QRect frame = dialog.frameGeometry();
        EXPECT_EQ(frame.x() + frame.width(), 1024 - 30);
        EXPECT_EQ(frame.y(), 60);
    });
    form->N3Click(form->N3);
    ASSERT_EQ(sim->modals().size(), 1u);
    EXPECT_EQ(sim->modals()[0].title.toStdString(), "バージョン情報");
    EXPECT_EQ(FrmVer, nullptr);
    EXPECT_TRUE(shown.isNull());
}

TEST_F(Commands, ASecondCommandWhileTheDialogIsOpenBringsItForwardInstead) {
    int opened = 0;
    sim->setModalScript([&](SimulatedDesktop&, QDialog& dialog) {
        ++opened;
        if (&dialog != FrmSettei)
            return; // the about box, opened from inside: just close it
        const std::size_t before = sim->foregroundRequests().size();
        form->N2Click(form->N2);
        ASSERT_EQ(sim->foregroundRequests().size(), before + 1);
        EXPECT_EQ(sim->foregroundRequests()[before], &dialog);
        form->N3Click(form->N3); // a different dialog may still open
    });
    form->N2Click(form->N2);
    EXPECT_EQ(opened, 2) << "one settings dialog and one about box";
    ASSERT_EQ(sim->modals().size(), 2u);
    EXPECT_EQ(sim->modals()[0].title.toStdString(), "バージョン情報");
    EXPECT_EQ(sim->modals()[1].title.toStdString(), "走れクヴィトくんの設定");
}

TEST_F(Commands, RightClickOnTheTrayIconOpensTheMenuWhoseItemOpensTheSettings) {
    sim->setCursorPos({1000, 750});
    sim->setMenuScript([](SimulatedDesktop&, QMenu& menu, QPoint) {
        EXPECT_TRUE(SimulatedDesktop::triggerAction(menu, QStringLiteral("設定")));
    });
    ASSERT_TRUE(sim->sendTrayMessage(TTaskTrayIcon::WM_RBUTTONDOWN));
    ASSERT_EQ(sim->menus().size(), 1u);
    EXPECT_EQ(sim->menus()[0].at, QPoint(1000, 750));
    ASSERT_EQ(sim->modals().size(), 1u);
    EXPECT_EQ(sim->modals()[0].title.toStdString(), "走れクヴィトくんの設定");
    ASSERT_FALSE(sim->foregroundRequests().empty());
    EXPECT_EQ(sim->foregroundRequests()[0], form.get());
}

TEST_F(Commands, OkAppliesToTheRunningMascotAtOnce) {
    ASSERT_TRUE(sim->isTopMost(*form));
    sim->setModalScript([](SimulatedDesktop&, QDialog&) {
        FrmSettei->TrBar->setValue(0);
        FrmSettei->TrBarIdouR->setValue(10);
        FrmSettei->CbxTemae->setChecked(false);
        FrmSettei->RadioButton5->setChecked(true);
        FrmSettei->Button1->click();
    });
    form->N2Click(form->N2);
    EXPECT_EQ(timer1Interval(), 50);
    EXPECT_EQ(movement().StepSize, 1);
    EXPECT_FALSE(sim->isTopMost(*form));
    EXPECT_EQ(settings().MoveMode, MovementMode::StepInPlace);
    EXPECT_TRUE(iniExists());
}

TEST_F(Commands, CancelLeavesTheMascotAsItWas) {
    const int period = timer1Interval();
    const int step = movement().StepSize;
    sim->setModalScript([](SimulatedDesktop&, QDialog&) {
        FrmSettei->TrBar->setValue(0);
        FrmSettei->CbxTemae->setChecked(false);
        FrmSettei->Button2->click();
    });
    form->N2Click(form->N2);
    EXPECT_EQ(timer1Interval(), period);
    EXPECT_EQ(movement().StepSize, step);
    EXPECT_TRUE(sim->isTopMost(*form));
    EXPECT_FALSE(iniExists());
}

TEST_F(Commands, ExitClosesTheMascotWindow) {
    form->show();
    bool finished = false;
    QObject::connect(form.get(), &QDialog::finished, [&] { finished = true; });
    form->Exit1Click(form->Exit1);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(finished) << "the program ends on the main window's end";
    EXPECT_FALSE(iniExists()) << "nothing is saved";
}

TEST_F(Commands, DragStopsTimer1KeepsAPauseBeatingAndReappliesAfterRelease) {
    // A pause in progress: Timer2 beats at the movement period.
    const int period = timer1Interval();
    form->Timer1->setInterval(0);
    form->Timer2->setInterval(period);
    movement().PauseBeats = 0;
    int beatsDuringDrag = 0;
    sim->setCursorPos({120, 230});
    sim->setDragScript([&](SimulatedDesktop& s, QWidget&, QPoint press) {
        EXPECT_EQ(press, QPoint(20, 30));
        EXPECT_EQ(timer1Interval(), 0) << "no movement tick during the drag";
        s.setCursorPos({420, 330});
        s.advance(3 * period);
        beatsDuringDrag = movement().PauseBeats;
        s.releaseButton();
    });
    form->Rgn1MouseDown(form->Rgn1, TMouseButton::mbLeft, Shift::ssLeft, 20, 30);
    EXPECT_EQ(beatsDuringDrag, 3) << "the pause goes on beating during the drag";
    EXPECT_EQ(left(), 400);
    EXPECT_EQ(top(), 300);
    // ApplySettings after the release: the pause is over, Timer1 runs again.
    EXPECT_EQ(timer2Interval(), 0);
    EXPECT_EQ(timer1Interval(), period);
    ASSERT_EQ(sim->drags().size(), 1u);
}

struct PressCase {
    const char* name;
    TMouseButton button;
    TShiftState shift;
    bool drags;
};

class Press : public Commands, public ::testing::WithParamInterface<PressCase> {};

TEST_P(Press, OnlyAHeldLeftButtonStartsADrag) {
    const PressCase& c = GetParam();
    form->Timer1->setInterval(0); // stopped, as in a pause: a drag restarts it
    form->Rgn1MouseDown(form->Rgn3, c.button, c.shift, 5, 5);
    EXPECT_EQ(sim->drags().size(), c.drags ? 1u : 0u);
    EXPECT_EQ(timer1Interval() != 0, c.drags);
}

INSTANTIATE_TEST_SUITE_P(Buttons, Press,
                         ::testing::Values(PressCase{"left", TMouseButton::mbLeft, Shift::ssLeft, true},
                                           PressCase{"right", TMouseButton::mbRight, Shift::ssRight, false},
                                           PressCase{"middle", TMouseButton::mbMiddle, Shift::ssMiddle,
                                                     false},
                                           // The held set decides, not the button that went down.
                                           PressCase{"rightWithLeftHeld", TMouseButton::mbRight,
                                                     Shift::ssRight | Shift::ssLeft, true},
                                           PressCase{"leftDoubleWithShiftKey", TMouseButton::mbLeft,
                                                     Shift::ssLeft | Shift::ssDouble | Shift::ssShift, true}),
                         [](const auto& test) { return std::string(test.param.name); });

} // namespace

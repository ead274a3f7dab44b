// The settings dialog: its controls, what it shows and what OK, Cancel, Esc
// and the close box do.

#include <QFontInfo>
#include <QStyle>

#include <filesystem>

#include "DialogTestSupport.h"
#include "TFrmSettei.h"

namespace {

namespace fs = std::filesystem;

const ControlRow kSetteiRows[] = {
    {"Panel1", "panel", "dialog", 0, 0, 365, 166, " "},
    {"GroupBox3", "groupbox", "Panel1", 8, 6, 163, 116, "動き"},
    {"RadioButton1", "radio", "GroupBox3", 7, 15, 133, 17, "マウスを追いかける"},
    {"RadioButton2", "radio", "GroupBox3", 7, 35, 113, 17, "画面中をうろうろ"},
    {"RadioButton3", "radio", "GroupBox3", 7, 55, 131, 17, "画面の下でうろうろ"},
    {"RadioButton4", "radio", "GroupBox3", 7, 74, 154, 17, "ウィンンドウの上でうろうろ"},
    {"RadioButton5", "radio", "GroupBox3", 7, 94, 113, 17, "足踏み"},
    {"Panel3", "panel", "Panel1", 8, 128, 163, 30, "\u3000"},
    {"CbxTemae", "checkbox", "Panel3", 8, 7, 123, 17, "常に手前に表示"},
    {"GroupBox1", "groupbox", "Panel1", 177, 7, 179, 74, "速さ"},
    {"TrBar", "slider", "GroupBox1", 18, 21, 143, 25, nullptr},
    {"Label2", "label", "GroupBox1", 14, 48, 23, 12, "速い"},
    {"Label3", "label", "GroupBox1", 144, 48, 23, 12, "遅い"},
    {"GroupBox2", "groupbox", "Panel1", 177, 84, 180, 74, "移動量"},
    {"TrBarIdouR", "slider", "GroupBox2", 18, 21, 143, 25, nullptr},
    {"Label5", "label", "GroupBox2", 16, 48, 23, 12, "多い"},
    {"Label6", "label", "GroupBox2", 137, 48, 34, 12, "少ない"},
    {"Panel2", "panel", "dialog", 0, 166, 365, 32, " "},
    {"Button1", "button", "Panel2", 96, 4, 77, 25, "OK(&O)"},
    {"Button2", "button", "Panel2", 198, 4, 77, 25, "ｷｬﾝｾﾙ(&C)"},
};

class SetteiLayout : public DialogFixture, public ::testing::WithParamInterface<ControlRow> {};

TEST_P(SetteiLayout, ControlMatchesItsRow) {
    TFrmSettei dialog(countApplied());
    expectRow(dialog, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Table, SetteiLayout, ::testing::ValuesIn(kSetteiRows),
                         [](const auto& test) { return std::string(test.param.name); });

using SetteiDialog = DialogFixture;

TEST_F(SetteiDialog, WindowIsAFixedStayOnTopDialogWithACloseBoxOnly) {
    TFrmSettei dialog(countApplied());
    EXPECT_EQ(dialog.windowTitle().toStdString(), "走れクヴィトくんの設定");
    EXPECT_EQ(dialog.size(), QSize(365, 198));
    EXPECT_EQ(dialog.minimumSize(), QSize(365, 198));
    EXPECT_EQ(dialog.maximumSize(), QSize(365, 198));
    const Qt::WindowFlags flags = dialog.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowTitleHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(flags & Qt::CustomizeWindowHint) << "else the window manager adds its own boxes";
    EXPECT_FALSE(dialog.testAttribute(Qt::WA_QuitOnClose)) << "closing a dialog must not end the program";
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(sim().isTopMost(dialog));
    EXPECT_TRUE(dialog.Button1->isDefault());
    EXPECT_FALSE(dialog.Button2->isDefault());
}

TEST_F(SetteiDialog, FontIsTheDesignFontAtTwelvePixelsRenderedAsIPAPGothic) {
    TFrmSettei dialog(countApplied());
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
        EXPECT_EQ(w->font().family().toStdString(), "ＭＳ Ｐゴシック") << w->objectName().toStdString();
        EXPECT_EQ(w->font().pixelSize(), 12) << w->objectName().toStdString();
    }
    EXPECT_EQ(QFontInfo(dialog.font()).family().toStdString(), "IPAPGothic");
}

TEST_F(SetteiDialog, SlidersRunFromZeroToTenWithATickAtEveryStep) {
    TFrmSettei dialog(countApplied());
    for (QSlider* s : {dialog.TrBar, dialog.TrBarIdouR}) {
        EXPECT_EQ(s->orientation(), Qt::Horizontal);
        EXPECT_EQ(s->minimum(), 0);
        EXPECT_EQ(s->maximum(), 10);
        EXPECT_EQ(s->value(), 5);
        EXPECT_EQ(s->singleStep(), 1);
        EXPECT_EQ(s->pageStep(), 1);
        EXPECT_EQ(s->tickPosition(), QSlider::TicksBelow);
        EXPECT_EQ(s->tickInterval(), 1);
        EXPECT_EQ(s->style()->pixelMetric(QStyle::PM_SliderLength, nullptr, s), 15) << "thumb length";
    }
}

TEST_F(SetteiDialog, OptionsAreExclusiveWithTheFirstSelectedAtCreation) {
    TFrmSettei dialog(countApplied());
    EXPECT_TRUE(dialog.RadioButton1->isChecked());
    dialog.RadioButton4->click();
    EXPECT_FALSE(dialog.RadioButton1->isChecked());
    EXPECT_EQ(dialog.selectedMoveMode(), 4);
    dialog.RadioButton2->click();
    EXPECT_FALSE(dialog.RadioButton4->isChecked());
    EXPECT_EQ(dialog.selectedMoveMode(), 2);
}

TEST_F(SetteiDialog, TabOrderRunsThroughOptionsCheckBoxSlidersAndButtons) {
    TFrmSettei dialog(countApplied());
    const QWidget* expected[] = {dialog.RadioButton1, dialog.RadioButton2, dialog.RadioButton3,
                                 dialog.RadioButton4, dialog.RadioButton5, dialog.CbxTemae,
                                 dialog.TrBar,        dialog.TrBarIdouR,   dialog.Button1,
                                 dialog.Button2};
    for (std::size_t i = 0; i + 1 < std::size(expected); ++i) {
        // Skip widgets that never take focus by tab (panels, labels).
        QWidget* next = expected[i]->nextInFocusChain();
        while (next != expected[i + 1] && !(next->focusPolicy() & Qt::TabFocus))
            next = next->nextInFocusChain();
        EXPECT_EQ(next, expected[i + 1]) << expected[i]->objectName().toStdString();
    }
}

struct ShowCase {
    const char* name;
    bool top;
    int mode, speed, step;
    bool shownTop;
    int shownMode, shownSpeed, shownStep;
};

class SetteiShow : public DialogFixture, public ::testing::WithParamInterface<ShowCase> {};

TEST_P(SetteiShow, OpensWithTheCurrentSettings) {
    const ShowCase& c = GetParam();
    setSettings(c.top, c.mode, c.speed, c.step);
    TFrmSettei dialog(countApplied());
    dialog.show();
    EXPECT_EQ(dialog.CbxTemae->isChecked(), c.shownTop);
    EXPECT_EQ(dialog.selectedMoveMode(), c.shownMode);
    EXPECT_EQ(dialog.TrBar->value(), c.shownSpeed);
    EXPECT_EQ(dialog.TrBarIdouR->value(), c.shownStep);
}

INSTANTIATE_TEST_SUITE_P(Table, SetteiShow,
                         ::testing::Values(ShowCase{"defaults", true, 1, 5, 5, true, 1, 5, 5},
                                           ShowCase{"allSet", false, 5, 0, 10, false, 5, 0, 10},
                                           ShowCase{"mode3", true, 3, 7, 2, true, 3, 7, 2},
                                           ShowCase{"speedAboveRange", true, 2, 12, 5, true, 2, 10, 5},
                                           ShowCase{"stepBelowRange", true, 4, 5, -1, true, 4, 5, 0},
                                           ShowCase{"modeOutsideRange", false, 7, 3, 3, false, 1, 3, 3},
                                           ShowCase{"modeZero", false, 0, 3, 3, false, 1, 3, 3}),
                         [](const auto& test) { return std::string(test.param.name); });

// Shows the dialog through the simulated desktop, letting `user` act on it.
template <typename User> int runModal(SimulatedDesktop& sim, TFrmSettei& dialog, User user) {
    sim.setModalScript([&](SimulatedDesktop&, QDialog&) { user(); });
    return desktopLoops().execModal(dialog);
}

TEST_F(SetteiDialog, OkWritesTheFileAndAppliesAtOnce) {
    setSettings(true, 1, 5, 5);
    TFrmSettei dialog(countApplied());
    const int result = runModal(sim(), dialog, [&] {
        dialog.TrBar->setValue(0);
        dialog.TrBarIdouR->setValue(10);
        dialog.CbxTemae->setChecked(false);
        dialog.RadioButton3->setChecked(true);
        dialog.Button1->click();
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(readFile(iniPath()), "[kuvito]\r\nspeed=0\r\nidour=10\r\ntemae=2\r\nidou=3\r\n");
    EXPECT_EQ(settings().SpeedIndex, 0);
    EXPECT_EQ(settings().StepIndex, 10);
    EXPECT_FALSE(settings().StayOnTop);
    EXPECT_EQ(static_cast<int>(settings().MoveMode), 3);
    EXPECT_EQ(applied_, 1);
}

TEST_F(SetteiDialog, OkStoresWhatTheDialogShowsForOutOfRangeSettings) {
    setSettings(true, 7, 12, -3);
    TFrmSettei dialog(countApplied());
    runModal(sim(), dialog, [&] { dialog.Button1->click(); });
    EXPECT_EQ(readFile(iniPath()), "[kuvito]\r\nspeed=10\r\nidour=0\r\ntemae=1\r\nidou=1\r\n");
    EXPECT_EQ(settings().SpeedIndex, 10);
    EXPECT_EQ(settings().StepIndex, 0);
    EXPECT_EQ(static_cast<int>(settings().MoveMode), 1);
    EXPECT_EQ(applied_, 1);
}

TEST_F(SetteiDialog, EnterPressesOk) {
    setSettings(true, 2, 4, 6);
    TFrmSettei dialog(countApplied());
    runModal(sim(), dialog, [&] { pressKey(dialog, Qt::Key_Return); });
    EXPECT_EQ(readFile(iniPath()), "[kuvito]\r\nspeed=4\r\nidour=6\r\ntemae=1\r\nidou=2\r\n");
    EXPECT_EQ(applied_, 1);
}

enum class Dismiss { CancelButton, Escape, CloseBox };

class SetteiDismiss : public DialogFixture, public ::testing::WithParamInterface<Dismiss> {};

TEST_P(SetteiDismiss, ChangesNothing) {
    setSettings(true, 2, 4, 6);
    TFrmSettei dialog(countApplied());
    const int result = runModal(sim(), dialog, [&] {
        dialog.TrBar->setValue(9);
        dialog.TrBarIdouR->setValue(1);
        dialog.CbxTemae->setChecked(false);
        dialog.RadioButton5->setChecked(true);
        switch (GetParam()) {
        case Dismiss::CancelButton:
            dialog.Button2->click();
            break;
        case Dismiss::Escape:
            pressKey(dialog, Qt::Key_Escape);
            break;
        case Dismiss::CloseBox:
            dialog.close();
            break;
        }
        EXPECT_FALSE(dialog.isVisible()) << "the dialog closes by itself";
    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_FALSE(fs::exists(iniPath()));
    EXPECT_TRUE(settings().StayOnTop);
    EXPECT_EQ(static_cast<int>(settings().MoveMode), 2);
    EXPECT_EQ(settings().SpeedIndex, 4);
    EXPECT_EQ(settings().StepIndex, 6);
    EXPECT_EQ(applied_, 0);
}

INSTANTIATE_TEST_SUITE_P(Ways, SetteiDismiss,
                         ::testing::Values(Dismiss::CancelButton, Dismiss::Escape, Dismiss::CloseBox));

TEST_F(SetteiDialog, ReadOnlyFileShowsTheErrorAndKeepsTheDialogOpen) {
    const std::string before = "[kuvito]\r\nspeed=2\r\nidour=3\r\ntemae=1\r\nidou=2\r\n";
    {
        std::ofstream out(iniPath(), std::ios::binary);
        out << before;
    }
    fs::permissions(iniPath(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    setSettings(true, 2, 2, 3);
    TFrmSettei dialog(countApplied());
    bool stayedOpen = false;
    runModal(sim(), dialog, [&] {
        dialog.TrBar->setValue(8);
        dialog.RadioButton4->setChecked(true);
        dialog.Button1->click();
        stayedOpen = dialog.isVisible();
        // The user's values are still there to try again or cancel.
        EXPECT_EQ(dialog.TrBar->value(), 8);
        EXPECT_TRUE(dialog.RadioButton4->isChecked());
        dialog.Button2->click();
    });
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(sim().errorBoxes().size(), 1u);
    EXPECT_EQ(sim().errorBoxes()[0].text.toStdString(), iniPath() + " に書き込めません.");
    EXPECT_EQ(sim().errorBoxes()[0].title.toStdString(), "走れクヴィトくん");
    EXPECT_EQ(readFile(iniPath()), before);
    EXPECT_EQ(settings().SpeedIndex, 2);
    EXPECT_EQ(static_cast<int>(settings().MoveMode), 2);
    EXPECT_EQ(applied_, 0);
    fs::permissions(iniPath(), fs::perms::owner_all, fs::perm_options::add);
}

} // namespace

// The two dialogs on the Win32 form, run modally by the Win32 desktop and
// answered from the keyboard as a user would: Enter and Esc reach the form as
// IsDialogMessageW's commands, and the form must hand them to the dialog.
// Needs a display.
#include "TFrmSettei.h"
#include "TFrmVer.h"

#include "DesktopServices.h"
#include "ProgramState.h"
#include "Win32Desktop.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

// The Win32 desktop with the program's folder somewhere of the test's own,
// where the settings dialog writes its kuvito.ini.
class DialogTestDesktop : public Win32Desktop {
public:
    explicit DialogTestDesktop(std::filesystem::path folder) : folder_(std::move(folder)) {}
    std::string executablePath() const override { return (folder_ / "kuvito.exe").string(); }

private:
    std::filesystem::path folder_;
};

// Once the modal loop runs: the keys, posted to the control that has the
// keyboard, as the user would press them, and then the close box, so that a
// dialog the keys did not end ends all the same (with the close box's 0).
void pressSoon(std::vector<WPARAM> keys) {
    static std::vector<WPARAM> pending;
    pending = std::move(keys);
    ::SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR timer, DWORD) {
        ::KillTimer(nullptr, timer);
        const HWND focus = ::GetFocus();
        for (const WPARAM key : pending) {
            ::PostMessageW(focus, WM_KEYDOWN, key, 0);
            ::PostMessageW(focus, WM_KEYUP, key, 0);
        }
        ::PostMessageW(::GetAncestor(focus, GA_ROOT), WM_CLOSE, 0, 0);
    });
}

class Win32Dialogs : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("kuvito-dialogs-" + std::to_string(::GetCurrentProcessId()));
        std::filesystem::create_directories(folder_);
        installDesktop(std::make_unique<DialogTestDesktop>(folder_));
        resetProgramState();
        MascotSettings& settings = programState().settings;
        settings = {true, MovementMode::WalkOnWindow, 3, 7};
    }
    void TearDown() override {
        installDesktop(nullptr);
        std::filesystem::remove_all(folder_);
    }
    std::filesystem::path ini() const { return folder_ / "kuvito.ini"; }

    std::filesystem::path folder_;
};

TEST_F(Win32Dialogs, SettingsEnterStoresAndAppliesEscChangesNothing) {
    struct Case {
        std::vector<WPARAM> keys;
        int result;
        bool stored;
    };
    // Esc ends the dialog at once: the Enter after it finds no dialog.
    for (const Case& c : {Case{{VK_ESCAPE, VK_RETURN}, 0, false}, Case{{VK_RETURN}, 1, true}}) {
        SCOPED_TRACE(c.keys.front());
        std::filesystem::remove(ini());
        int applied = 0;
        TFrmSettei dialog([&] { ++applied; });
        pressSoon(c.keys);
        EXPECT_EQ(desktopLoops().execModal(dialog), c.result);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(applied, c.stored ? 1 : 0);
        ASSERT_EQ(std::filesystem::exists(ini()), c.stored);
        if (c.stored) {
            std::ifstream in(ini(), std::ios::binary);
            const std::string text{std::istreambuf_iterator<char>(in), {}};
            // The settings the dialog was filled with on showing, stored
            // as they came, in the Linux program's bytes.
            EXPECT_EQ(text, "[kuvito]\r\nspeed=3\r\nidour=7\r\ntemae=1\r\nidou=4\r\n");
        }
    }
}

TEST_F(Win32Dialogs, EnterPressesTheFocusedButtonElseOkWhichKeepsItsBorder) {
    struct Case {
        std::vector<WPARAM> keys;
        int result;
    };
    // Tab leaves the option buttons for the check box, then the sliders,
    // OK and ｷｬﾝｾﾙ; the close box ends a dialog the keys left open.
    const WPARAM t = VK_TAB;
    for (const Case& c : {Case{{t}, 0}, Case{{t, t, t, t, t, VK_RETURN}, 0}, Case{{t, VK_RETURN}, 1}}) {
        SCOPED_TRACE(c.keys.size());
        std::filesystem::remove(ini());
        TFrmSettei dialog([] {});
        pressSoon(c.keys);
        EXPECT_EQ(desktopLoops().execModal(dialog), c.result);
        EXPECT_EQ(std::filesystem::exists(ini()), c.result == 1);
        const HWND ok = ::GetDlgItem(reinterpret_cast<HWND>(dialog.desktopHandle().id), IDOK);
        if (c.keys.size() == 1) {
            EXPECT_EQ(::GetWindowLongPtrW(ok, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
        }
    }
}

TEST_F(Win32Dialogs, AboutBoxIgnoresEscAndClosesOnEnter) {
    TFrmVer dialog;
    // Esc first: having no cancel button, the box must still be open for
    // the Enter that follows.
    pressSoon({VK_ESCAPE, VK_RETURN});
    EXPECT_EQ(desktopLoops().execModal(dialog), 1);
    EXPECT_FALSE(dialog.isVisible());
}

} // namespace

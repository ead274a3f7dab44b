// The popup menu as Windows holds it, read back with GetMenuItemInfoW, and
// the menu shown and closed in Windows' own menu loop. Needs a display.
#include "Win32Menu.h"
#include "MessagePump.h"
#include "TestWindow.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Shown {
    UINT id;
    bool separator;
    std::wstring text;
    bool checked;
    bool enabled;
    bool operator==(const Shown&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Shown& s) {
    return out << s.id << (s.separator ? " separator" : "") << " text of " << s.text.size() << " units"
               << (s.checked ? " checked" : "") << (s.enabled ? "" : " disabled");
}

// What Windows shows, item by item.
std::vector<Shown> shown(const Win32Menu& menu) {
    HMENU h = reinterpret_cast<HMENU>(menu.handle());
    std::vector<Shown> items;
    for (int n = 0; n < ::GetMenuItemCount(h); ++n) {
        wchar_t text[64] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 63;
        if (!::GetMenuItemInfoW(h, static_cast<UINT>(n), TRUE, &info))
            break;
        items.push_back({info.wID, (info.fType & MFT_SEPARATOR) != 0, text, (info.fState & MFS_CHECKED) != 0,
                         (info.fState & MFS_DISABLED) == 0});
    }
    return items;
}

// The program's tray menu.
struct TrayMenu {
    Win32Menu menu;
    int settings = menu.appendItem("設定");
    int about = menu.appendItem("バージョン情報(&A)");
    int line = menu.appendSeparator();
    int exit = menu.appendItem("終了");
};

TEST(Win32Menu, ItemsAreShownWithTheirCaptionsAndStates) {
    TrayMenu m;
    m.menu.setChecked(m.settings, true);
    m.menu.setEnabled(m.exit, false);
    // Numbers that name no item change nothing.
    for (const int none : {0, 5, -1}) {
        m.menu.setChecked(none, true);
        m.menu.setEnabled(none, false);
        m.menu.setCaption(none, "x");
        m.menu.setVisible(none, false);
    }
    EXPECT_EQ(shown(m.menu),
              (std::vector<Shown>{{1, false, L"\u8a2d\u5b9a", true, true},
                                  {2, false, L"\u30d0\u30fc\u30b8\u30e7\u30f3\u60c5\u5831(&A)", false, true},
                                  {3, true, L"", false, true},
                                  {4, false, L"\u7d42\u4e86", false, false}}));
    m.menu.setChecked(m.settings, false);
    m.menu.setEnabled(m.exit, true);
    m.menu.setCaption(m.about, "About");
    EXPECT_EQ(shown(m.menu), (std::vector<Shown>{{1, false, L"\u8a2d\u5b9a", false, true},
                                                 {2, false, L"About", false, true},
                                                 {3, true, L"", false, true},
                                                 {4, false, L"\u7d42\u4e86", false, true}}));
}

TEST(Win32Menu, AHiddenItemComesBackInItsPlaceWithWhatChangedMeanwhile) {
    TrayMenu m;
    m.menu.setVisible(m.about, false);
    m.menu.setVisible(m.line, false);
    m.menu.setChecked(m.about, true);
    m.menu.setEnabled(m.about, false);
    m.menu.setCaption(m.about, "About");
    const auto ids = [&] {
        std::vector<UINT> result;
        for (const Shown& s : shown(m.menu))
            result.push_back(s.id);
        return result;
    };
    EXPECT_EQ(ids(), (std::vector<UINT>{1, 4}));
    m.menu.setVisible(m.line, true);
    EXPECT_EQ(ids(), (std::vector<UINT>{1, 3, 4}));
    m.menu.setVisible(m.settings, false);
    m.menu.setVisible(m.about, true);
    m.menu.setVisible(m.about, true); // already shown: not a second time
    EXPECT_EQ(ids(), (std::vector<UINT>{2, 3, 4}));
    EXPECT_EQ(shown(m.menu).front(), (Shown{2, false, L"About", true, false}));
}

// Keys posted from a timer that ticks inside the menu's own loop stand in
// for the user.
class Win32MenuPopup : public ::testing::Test {
protected:
    static void CALLBACK act(HWND, UINT, UINT_PTR timer, DWORD) {
        ::KillTimer(nullptr, timer);
        frontDuringMenu_ = ::GetForegroundWindow();
        if (keys_.empty()) {
            ::EndMenu();
            return;
        }
        for (const WPARAM key : keys_)
            ::PostMessageW(owner_, WM_KEYDOWN, key, 0);
    }

    int popupWith(std::vector<WPARAM> keys) {
        keys_ = std::move(keys);
        owner_ = owner.hwnd();
        ::SetTimer(nullptr, 0, 50, act);
        return m.menu.popup({200, 200}, owner.id());
    }

    // Whether the owner was sent WM_NULL after the menu closed.
    bool nullPosted() {
        bool found = false;
        MSG msg;
        while (::PeekMessageW(&msg, owner.hwnd(), 0, 0, PM_REMOVE))
            found = found || msg.message == WM_NULL;
        return found;
    }

    TestWindow owner{{10, 10, 60, 97}};
    TrayMenu m;
    static inline HWND owner_ = nullptr;
    static inline HWND frontDuringMenu_ = nullptr;
    static inline std::vector<WPARAM> keys_;
};

TEST_F(Win32MenuPopup, TheChosenItemIsReturnedAndTheOwnerIsInFront) {
    // Shown but not activated: the popup itself brings it to the front.
    ::ShowWindow(owner.hwnd(), SW_SHOWNOACTIVATE);
    ASSERT_NE(::GetForegroundWindow(), owner.hwnd());
    EXPECT_EQ(popupWith({VK_DOWN, VK_DOWN, VK_RETURN}), m.about);
    EXPECT_EQ(frontDuringMenu_, owner.hwnd());
    EXPECT_TRUE(nullPosted());
}

TEST_F(Win32MenuPopup, AMenuClosedWithoutAChoiceReturnsNone) {
    ASSERT_TRUE(owner.bringToFront());
    EXPECT_EQ(popupWith({}), 0);
    EXPECT_TRUE(nullPosted());
}

} // namespace

// The Win32 desktop as the program uses it: its nested loops in Windows' own
// message queue, the notification icon's record and message window, and the
// tray component with its menu on top of them. Needs a display with a
// notification area.
#include "Win32Desktop.h"

// The tray component comes before Windows' own headers, whose WM_ macros
// would rename its message constants.
#include "TIcon.h"
#include "TMenuItem.h"
#include "TPopupMenu.h"
#include "TTaskTrayIcon.h"

#include "MessagePump.h"
#include "ModalDialog.h"
#include "TestWindow.h"
#include "Win32NotifyIcon.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <vector>

namespace {

// Runs once, from a timer that ticks inside whatever loop is running then:
// the test's stand-in for the user.
class Soon {
public:
    explicit Soon(std::function<void()> act) {
        act_ = std::move(act);
        ::SetTimer(nullptr, 0, 50, tick);
    }

private:
    static void CALLBACK tick(HWND, UINT, UINT_PTR timer, DWORD) {
        ::KillTimer(nullptr, timer);
        const std::function<void()> act = std::move(act_);
        act();
    }
    static inline std::function<void()> act_;
};

void postKeys(std::vector<WPARAM> keys) {
    const HWND front = ::GetForegroundWindow();
    for (const WPARAM key : keys)
        ::PostMessageW(front, WM_KEYDOWN, key, 0);
}

class TestDialog : public ModalDialog {
public:
    WindowHandle dialogWindow() const override { return {window.id()}; }
    void beginModal() override { result.reset(); }
    std::optional<int> modalResult() const override { return result; }

    TestWindow window{{100, 100, 300, 200}};
    std::optional<int> result;
};

TEST(Win32DesktopLoops, AModalRunDisablesTheOtherWindowsUntilItEnds) {
    struct Case {
        const char* what;
        bool quit; // the program is told to end during the run
        int expected;
    };
    for (const Case c :
         {Case{"ended by the dialog", false, 7}, Case{"ended by a quit message", true, IDCANCEL}}) {
        SCOPED_TRACE(c.what);
        Win32Desktop desk;
        TestWindow owner{{10, 10, 60, 97}};
        ASSERT_TRUE(owner.bringToFront());
        TestDialog dialog;
        bool ownerEnabled = true, dialogShown = false;
        Soon act([&] {
            ownerEnabled = ::IsWindowEnabled(owner.hwnd());
            dialogShown = ::IsWindowVisible(dialog.window.hwnd());
            if (c.quit)
                ::PostQuitMessage(3);
            else
                dialog.result = 7;
        });
        EXPECT_EQ(desk.execModal(dialog), c.expected);
        EXPECT_FALSE(ownerEnabled);
        EXPECT_TRUE(dialogShown);
        EXPECT_TRUE(::IsWindowEnabled(owner.hwnd()));
        EXPECT_FALSE(::IsWindowVisible(dialog.window.hwnd()));
        MSG msg;
        EXPECT_EQ(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0, c.quit)
            << "a quit message is left for the program's own loop";
    }
}

void click(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    ::SendInput(1, &input, sizeof input);
}

TEST(Win32DesktopLoops, ADraggedWindowFollowsThePointerUntilTheButtonIsUp) {
    Win32Desktop desk;
    TestWindow window{{100, 100, 150, 187}};
    ASSERT_TRUE(window.bringToFront());
    ::SetCursorPos(110, 120);
    click(MOUSEEVENTF_LEFTDOWN);
    Soon act([&] {
        ::SetCursorPos(300, 250);
        click(MOUSEEVENTF_LEFTUP);
    });
    desk.dragWindow({window.id()}, {10, 20});
    RECT r{};
    ::GetWindowRect(window.hwnd(), &r);
    EXPECT_EQ(r.left, 290);
    EXPECT_EQ(r.top, 230);
    EXPECT_NE(::GetCapture(), window.hwnd()) << "the capture is let go";
}

TEST(Win32DesktopLoops, APoppedUpMenuRunsTheChosenItemsHandler) {
    struct Case {
        const char* what;
        std::vector<WPARAM> keys; // none: the menu is closed
        std::vector<int> chosen;
    };
    const Case cases[] = {
        {"the separator is passed over", {VK_DOWN, VK_DOWN, VK_RETURN}, {3}},
        {"closed without a choice", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Win32Desktop desk;
        TestWindow owner{{10, 10, 60, 97}};
        ASSERT_TRUE(owner.bringToFront());
        std::unique_ptr<NativeMenu> menu = desk.createMenu();
        menu->appendItem("設定(&S)");
        menu->appendSeparator();
        menu->appendItem("終了(&X)");
        std::vector<int> chosen;
        menu->setOnChoose([&](int item) { chosen.push_back(item); });
        Soon act([&] { c.keys.empty() ? (void)::EndMenu() : postKeys(c.keys); });
        desk.popupMenu(*menu, {200, 200});
        EXPECT_EQ(chosen, c.chosen);
    }
}

TEST(Win32DesktopLoops, PendingMessagesAreHandledAndTheQuitIsLeftForTheProgram) {
    Win32Desktop desk;
    std::vector<unsigned> heard;
    const std::uintptr_t window =
        desk.createMessageWindow([&](unsigned message, std::uintptr_t, std::intptr_t) {
            heard.push_back(message);
            return std::intptr_t{0};
        });
    ASSERT_NE(window, 0u);
    ::PostMessageW(reinterpret_cast<HWND>(window), WM_USER + 5, 0, 0);
    ::PostQuitMessage(0);
    ::PostMessageW(reinterpret_cast<HWND>(window), WM_USER + 6, 0, 0);
    desk.processPendingMessages();
    // Windows hands out the quit only once the queue is otherwise empty.
    EXPECT_EQ(heard, (std::vector<unsigned>{WM_USER + 5, WM_USER + 6}));
    MSG msg;
    EXPECT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    desk.destroyMessageWindow(window);
}

TEST(Win32DesktopTray, TheRecordReachesTheNotificationAreaAndGoesWithItsWindow) {
    Win32Desktop desk;
    ASSERT_TRUE(desk.notificationAreaAvailable());
    std::vector<unsigned> heard;
    const std::uintptr_t window =
        desk.createMessageWindow([&](unsigned message, std::uintptr_t, std::intptr_t) {
            heard.push_back(message);
            return std::intptr_t{message == WM_QUERYENDSESSION};
        });
    ASSERT_NE(window, 0u);
    NotifyIconData data;
    data.hWnd = window;
    data.hIcon = {reinterpret_cast<std::uintptr_t>(::LoadIconW(nullptr, MAKEINTRESOURCEW(32512)))};
    std::strcpy(data.szTip, "くゔぃと");
    EXPECT_TRUE(desk.shellNotifyIcon(TrayOperation::NIM_ADD, data));
    EXPECT_FALSE(desk.shellNotifyIcon(TrayOperation::NIM_ADD, data)) << "already there";
    EXPECT_TRUE(desk.notificationAreaAvailable()) << "an icon added twice is no refused icon";
    EXPECT_TRUE(desk.shellNotifyIcon(TrayOperation::NIM_MODIFY, data));

    // The handler hears the icon's callback and the end of the session, and
    // Windows answers the rest.
    const HWND hwnd = reinterpret_cast<HWND>(window);
    EXPECT_EQ(::SendMessageW(hwnd, WM_QUERYENDSESSION, 0, 0), 1);
    ::SendMessageW(hwnd, 1124, 1, 513);
    ::SendMessageW(hwnd, WM_NULL, 0, 0);
    EXPECT_EQ(heard, (std::vector<unsigned>{WM_QUERYENDSESSION, 1124}));

    desk.destroyMessageWindow(window);
    Win32NotifyIcon::Record record;
    record.window = window;
    EXPECT_FALSE(Win32NotifyIcon::apply(Win32NotifyIcon::Operation::Delete, record))
        << "the icon went with its window";
}

TEST(Win32DesktopTray, AnIconTheTaskbarRefusedWaitsForTheNextTaskbarAndTheMenuGoesElsewhere) {
    Win32Desktop desk;
    const std::uintptr_t window =
        desk.createMessageWindow([](unsigned, std::uintptr_t, std::intptr_t) { return std::intptr_t{0}; });
    ASSERT_NE(window, 0u);
    NotifyIconData data;
    data.hWnd = window;
    data.hIcon = {reinterpret_cast<std::uintptr_t>(::LoadIconW(nullptr, MAKEINTRESOURCEW(32512)))};
    // The taskbar refuses an icon it already shows: one put there behind the
    // desktop's back.
    Win32NotifyIcon::Record record;
    record.window = window;
    record.icon = data.hIcon.id;
    ASSERT_TRUE(Win32NotifyIcon::apply(Win32NotifyIcon::Operation::Add, record));
    EXPECT_FALSE(desk.shellNotifyIcon(TrayOperation::NIM_ADD, data));
    EXPECT_FALSE(desk.notificationAreaAvailable()) << "the menu must be offered elsewhere";
    ASSERT_TRUE(Win32NotifyIcon::apply(Win32NotifyIcon::Operation::Delete, record));

    // Explorer announces a new taskbar to every top-level window.
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND each, LPARAM message) {
            ::SendMessageW(each, static_cast<UINT>(message), 0, 0);
            return TRUE;
        },
        static_cast<LPARAM>(::RegisterWindowMessageW(L"TaskbarCreated")));
    EXPECT_TRUE(desk.notificationAreaAvailable());
    EXPECT_TRUE(Win32NotifyIcon::apply(Win32NotifyIcon::Operation::Delete, record))
        << "the new taskbar did not get the icon";
    desk.destroyMessageWindow(window);
}

TEST(Win32DesktopTray, TheNoticeDoesNotWaitForTheUser) {
    Win32Desktop desk;
    desk.showNotice("走れクヴィトくん", "お知らせ");
    // The call has returned while the box is still to come. It comes on
    // another thread, so a timer of this one's wakes the wait now and then.
    const UINT_PTR wake = ::SetTimer(nullptr, 0, 50, nullptr);
    HWND box = nullptr;
    EXPECT_TRUE(pumpUntil([&] { return (box = ::FindWindowW(L"#32770", L"走れクヴィトくん")) != nullptr; }));
    if (box) {
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(pumpUntil([&] { return !::IsWindow(box); }));
    }
    ::KillTimer(nullptr, wake);
}

std::vector<std::uint8_t> iconFile() {
    std::ifstream in(KUVITO_ICON_FILE, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(Win32DesktopTray, IconFilesDecodeIntoAnIconOrAreRefused) {
    const std::vector<std::uint8_t> good = iconFile();
    ASSERT_GT(good.size(), 22u);
    std::vector<std::uint8_t> pastTheEnd = good;
    pastTheEnd[6 + 12] = 0xFF; // the first image's offset, far beyond the file
    pastTheEnd[6 + 15] = 0x7F;
    pastTheEnd.resize(6 + 16); // and the only image left
    pastTheEnd[4] = 1;
    pastTheEnd[5] = 0;
    std::vector<std::uint8_t> headerOnly(good.begin(), good.begin() + 6);
    TIcon icon;
    icon.loadFromIcoFile(good);
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(reinterpret_cast<HICON>(icon.handle().id), &info));
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    for (const auto* bad : {&pastTheEnd, &headerOnly}) {
        EXPECT_THROW(icon.loadFromIcoFile(*bad), KuvitoError);
        EXPECT_EQ(icon.data(), good) << "a refused file leaves the icon as it was";
    }
}

// The tray component on the Win32 desktop: its icon is shown, and a right
// click pops its menu up, whose item runs its handler.
TEST(Win32DesktopTray, TheTrayComponentShowsItsIconAndItsMenuRunsTheItem) {
    installDesktop(std::make_unique<Win32Desktop>());
    {
        TestWindow owner{{10, 10, 60, 97}};
        ASSERT_TRUE(owner.bringToFront());
        TPopupMenu menu(nullptr);
        auto* settings = new TMenuItem(&menu);
        settings->setCaption("設定(&S)");
        settings->setParentComponent(&menu);
        int clicks = 0;
        settings->setOnClick([&](Component*) { ++clicks; });
        TTaskTrayIcon tray(nullptr);
        TIcon icon;
        icon.loadFromIcoFile(iconFile());
        tray.setIcon(icon);
        tray.setHint("走れクヴィトくん");
        tray.setPopUpMenuR(&menu);
        tray.loaded();
        Win32NotifyIcon::Record record;
        record.window = tray.handle();
        EXPECT_FALSE(Win32NotifyIcon::apply(Win32NotifyIcon::Operation::Add, record))
            << "it is shown already";

        Soon act([] { postKeys({VK_DOWN, VK_RETURN}); });
        // The callback with the right button's press (WM_RBUTTONDOWN).
        ::SendMessageW(reinterpret_cast<HWND>(tray.handle()), TTaskTrayIcon::WM_TRAYICON, 1, 516);
        EXPECT_EQ(clicks, 1);
    }
    installDesktop(nullptr);
}

} // namespace

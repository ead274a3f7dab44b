#include "E2eSupport.h"

#include <filesystem>
#include <sstream>
#include <sys/stat.h>
#include <sys/times.h>
#include <unistd.h>

namespace {
constexpr int SW = 1024, PanelTop = 738;

long cpuTicks(int pid) {
    std::string stat = readFile("/proc/" + std::to_string(pid) + "/stat");
    auto close = stat.rfind(')');
    if (close == std::string::npos)
        return -1;
    std::istringstream in(stat.substr(close + 2));
    std::string field;
    long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && in >> field; ++i) {
        if (i == 14)
            utime = std::stol(field);
        if (i == 15)
            stime = std::stol(field);
    }
    return utime + stime;
}
} // namespace

TEST(Drag, TheWindowFollowsThePointerAndMovementResumes) {
    VirtualDesktop desktop;
    XClient x(desktop.display());
    // Stepping in place: the window stays put unless dragged.
    MascotProcess mascot(desktop, iniFile(1, 5, 0, 0));
    auto w = mascot.waitForWindow(x);
    ASSERT_NE(w, 0u) << mascot.log();
    // The window manager may still place the new window; the drag starts
    // from where it stays.
    auto g = formRect(x, w);
    ASSERT_TRUE(eventually([&] {
        const auto before = g;
        sleepMs(100);
        g = formRect(x, w);
        return g.x == before.x && g.y == before.y;
    }));
    // Grab the character by its belly, where every frame has figure pixels.
    int gx = g.x + 26, gy = g.y + 65;
    desktop.run("xdotool mousemove " + std::to_string(gx) + " " + std::to_string(gy) + " mousedown 1");
    sleepMs(200);
    for (int i = 1; i <= 10; ++i) {
        desktop.run("xdotool mousemove " + std::to_string(gx + 30 * i) + " " + std::to_string(gy + 20 * i));
        sleepMs(40);
    }
    desktop.screenshot(artifactPath("dragging"));
    desktop.run("xdotool mouseup 1");
    auto after = formRect(x, w);
    EXPECT_TRUE(eventually([&] {
        after = formRect(x, w);
        return after.x == g.x + 300 && after.y == g.y + 200;
    })) << "dropped at "
        << after.x << "," << after.y << ", grabbed at " << g.x << "," << g.y;
    // Movement resumes: the frames change again after the release.
    std::set<int> frames;
    for (int i = 0; i < 20; ++i) {
        frames.insert(shownFrame(x, w));
        sleepMs(50);
    }
    EXPECT_GT(frames.size(), 1u);
    desktop.screenshot(artifactPath("dropped"));
}

TEST(Menu, SettingsDialogWritesTheFileAndAppliesAtOnce) {
    VirtualDesktop desktop;
    XClient x(desktop.display());
    MascotProcess mascot(desktop, std::nullopt);
    auto w = mascot.waitForWindow(x);
    ASSERT_NE(w, 0u) << mascot.log();
    ASSERT_TRUE(eventually([&] { return !mascot.trayIcons(x).empty(); }));
    ASSERT_TRUE(x.hasState(w, "_NET_WM_STATE_ABOVE"));

    clickTrayIcon(desktop, x, mascot, 3);
    desktop.screenshot(artifactPath("menu"));
    // The first item is "設定".
    desktop.run("xdotool key Down Return");
    XClient::Window dialog = 0;
    ASSERT_TRUE(eventually([&] { return (dialog = findWindow(x, mascot, "走れクヴィトくんの設定")) != 0; }));
    // The dialog is placed again once the window manager has framed it.
    auto frame = x.geometry(x.topLevel(dialog));
    EXPECT_TRUE(eventually([&] {
        frame = x.geometry(x.topLevel(dialog));
        return frame.x == SW - frame.width - 30 && frame.y == PanelTop - frame.height - 30;
    })) << "placed at "
        << frame.x << "," << frame.y;
    desktop.screenshot(artifactPath("settings"));

    // Untick "常に手前に表示" (the check box sits at 16, 135 in the client
    // area) and confirm with Enter.
    auto client = x.geometry(dialog);
    desktop.run("xdotool mousemove " + std::to_string(client.x + 24) + " " + std::to_string(client.y + 143) +
                " click 1");
    sleepMs(200);
    desktop.run("xdotool key Return");
    ASSERT_TRUE(eventually([&] { return findWindow(x, mascot, "走れクヴィトくんの設定") == 0; }));
    EXPECT_EQ(readFile(mascot.iniPath()), "[kuvito]\r\nspeed=5\r\nidour=5\r\ntemae=2\r\nidou=1\r\n");
    EXPECT_TRUE(eventually([&] { return !x.hasState(w, "_NET_WM_STATE_ABOVE"); }));
    EXPECT_EQ(mascot.waitForWindow(x, 1), w) << "the window was re-created";
    expectCleanLog(mascot.log());
}

TEST(Menu, AboutBoxOpensAndEnterClosesIt) {
    VirtualDesktop desktop;
    XClient x(desktop.display());
    MascotProcess mascot(desktop, iniFile(1, 5, 5, 5));
    ASSERT_NE(mascot.waitForWindow(x), 0u) << mascot.log();
    ASSERT_TRUE(eventually([&] { return !mascot.trayIcons(x).empty(); }));
    clickTrayIcon(desktop, x, mascot, 3);
    desktop.run("xdotool key Down Down Return");
    ASSERT_TRUE(eventually([&] { return findWindow(x, mascot, "バージョン情報") != 0; }));
    sleepMs(300);
    desktop.screenshot(artifactPath("about"));
    desktop.run("xdotool key Return");
    EXPECT_TRUE(eventually([&] { return findWindow(x, mascot, "バージョン情報") == 0; }));
    EXPECT_TRUE(mascot.running());
}

TEST(Menu, StartAtLoginWritesTheSessionsEntryForThisProgramAndUntickingRemovesIt) {
    VirtualDesktop desktop;
    XClient x(desktop.display());
    MascotProcess mascot(desktop, iniFile(1, 5, 5, 5));
    ASSERT_NE(mascot.waitForWindow(x), 0u) << mascot.log();
    ASSERT_TRUE(eventually([&] { return !mascot.trayIcons(x).empty(); }));
    const std::string entry = desktop.dir() + "/config/autostart/kuvito.desktop";
    const std::string program =
        std::filesystem::weakly_canonical(std::filesystem::path(mascot.iniPath()).parent_path() / "kuvito");
    for (const bool ticks : {true, false}) {
        clickTrayIcon(desktop, x, mascot, 3);
        desktop.screenshot(artifactPath(ticks ? "login-unticked" : "login-ticked"));
        // The fourth item is "ログイン時に起動".
        desktop.run("xdotool key Down Down Down Down Return");
        ASSERT_TRUE(eventually([&] { return std::filesystem::exists(entry) == ticks; })) << ticks;
        if (ticks) {
            EXPECT_NE(readFile(entry).find("\nExec=" + program + "\n"), std::string::npos) << readFile(entry);
        }
    }
    EXPECT_TRUE(mascot.running());
    expectCleanLog(mascot.log());
}

TEST(Menu, ExitEndsTheProgramAndTheIconGoes) {
    VirtualDesktop desktop;
    XClient x(desktop.display());
    MascotProcess mascot(desktop, iniFile(1, 5, 5, 5));
    ASSERT_NE(mascot.waitForWindow(x), 0u) << mascot.log();
    ASSERT_TRUE(eventually([&] { return !mascot.trayIcons(x).empty(); }));
    clickTrayIcon(desktop, x, mascot, 3);
    // Five steps down skip the separator and land on "終了".
    desktop.run("xdotool key Down Down Down Down Down Return");
    EXPECT_TRUE(mascot.waitForExit(50));
    desktop.screenshot(artifactPath("after-exit"));
    EXPECT_TRUE(mascot.trayIcons(x).empty());
    EXPECT_FALSE(std::filesystem::exists(mascot.iniPath() + ".new"));
}

TEST(Failure, ReadOnlyIniShowsTheErrorAndTheProgramGoesOn) {
    VirtualDesktop desktop;
    XClient x(desktop.display());
    const std::string ini = iniFile(1, 5, 5, 5);
    MascotProcess mascot(desktop, ini);
    chmod(mascot.iniPath().c_str(), 0444);
    ASSERT_NE(mascot.waitForWindow(x), 0u) << mascot.log();
    ASSERT_TRUE(eventually([&] { return !mascot.trayIcons(x).empty(); }));
    clickTrayIcon(desktop, x, mascot, 3);
    desktop.run("xdotool key Down Return");
    ASSERT_TRUE(eventually([&] { return findWindow(x, mascot, "走れクヴィトくんの設定") != 0; }));
    sleepMs(300);
    desktop.run("xdotool key Return");
    XClient::Window box = 0;
    // The error box carries the program's title, like the mascot and its
    // tray icon; it is the one wider than both.
    ASSERT_TRUE(eventually([&] {
        for (auto w : x.windowsOfPid(mascot.pid()))
            if (x.isViewable(w) && x.name(w) == "走れクヴィトくん" && x.geometry(w).width > 150)
                box = w;
        return box != 0;
    }));
    sleepMs(300);
    desktop.screenshot(artifactPath("error-box"));
    desktop.run("xdotool key Return");
    sleepMs(300);
    EXPECT_NE(findWindow(x, mascot, "走れクヴィトくんの設定"), 0u) << "the dialog must stay open";
    EXPECT_EQ(readFile(mascot.iniPath()), ini);
    EXPECT_TRUE(mascot.running());
}

TEST(Failure, WithoutANotificationAreaTheProgramRunsAndSaysHowToEndIt) {
    VirtualDesktop desktop(VirtualDesktop::Options{.panel = false});
    XClient x(desktop.display());
    MascotProcess mascot(desktop, iniFile(1, 5, 5, 5));
    auto w = mascot.waitForWindow(x);
    ASSERT_NE(w, 0u) << mascot.log();
    // The user is told, in a box on the screen, how to reach the menu.
    auto viewable = [&] {
        int n = 0;
        for (auto win : x.windowsOfPid(mascot.pid()))
            n += x.isViewable(win) && x.geometry(win).width > 150;
        return n;
    };
    ASSERT_TRUE(eventually([&] { return viewable() == 1; })) << "no notice";
    sleepMs(300);
    desktop.screenshot(artifactPath("no-tray"));
    desktop.run("xdotool key Return");
    ASSERT_TRUE(eventually([&] { return viewable() == 0; }));
    EXPECT_TRUE(mascot.running());

    // With no tray the character's own right-button menu is the way out.
    auto g = formRect(x, w);
    desktop.run("xdotool mousemove " + std::to_string(g.x + 26) + " " + std::to_string(g.y + 65) +
                " click 3");
    ASSERT_TRUE(eventually([&] { return viewable() == 1; })) << "no menu";
    desktop.screenshot(artifactPath("no-tray-menu"));
    desktop.run("xdotool key Down Down Down Down Down Return");
    EXPECT_TRUE(mascot.waitForExit(50));
}

TEST(Hygiene, AtRestThereIsNoBusyLoop) {
    VirtualDesktop desktop;
    XClient x(desktop.display());
    MascotProcess mascot(desktop, iniFile(1, 5, 10, 5));
    ASSERT_NE(mascot.waitForWindow(x), 0u) << mascot.log();
    sleepMs(1000);
    long before = cpuTicks(mascot.pid());
    sleepMs(5000);
    long used = cpuTicks(mascot.pid()) - before;
    long hz = sysconf(_SC_CLK_TCK);
    // A tick a second costs microseconds; a busy loop would use seconds.
    EXPECT_LT(used, hz / 4) << "CPU ticks used in 5 s at rest: " << used;
    expectCleanLog(mascot.log());
}

TEST(Menu, StoredNotInFrontHoldsFromTheStartAndTheBoxTogglesTheSameWindow) {
    VirtualDesktop desktop;
    XClient x(desktop.display());
    // Stepping in place never moves the window, so it stays where it starts.
    MascotProcess mascot(desktop, iniFile(2, 5, 5, 5));
    auto w = mascot.waitForWindow(x);
    ASSERT_NE(w, 0u) << mascot.log();
    ASSERT_TRUE(eventually([&] { return !mascot.trayIcons(x).empty(); }));
    // All states are stated together when the window is mapped.
    ASSERT_TRUE(eventually([&] { return x.hasState(w, "_NET_WM_STATE_SKIP_TASKBAR"); }));
    EXPECT_FALSE(x.hasState(w, "_NET_WM_STATE_ABOVE")) << "temae=2 must not start in front";
    EXPECT_EQ(formRect(x, w).x, 0);
    EXPECT_EQ(formRect(x, w).y, 0);

    // Opens the settings dialog from the tray menu, clicks "常に手前に表示"
    // and confirms with Enter; each step waits for what it needs.
    const std::string title = "走れクヴィトくんの設定";
    auto toggleInFront = [&] {
        auto icons = mascot.trayIcons(x);
        ASSERT_FALSE(icons.empty());
        auto g = x.geometry(icons.front());
        desktop.run("xdotool mousemove " + std::to_string(g.x + g.width / 2) + " " +
                    std::to_string(g.y + g.height / 2) + " click 3");
        // The menu: a window of the program taller than the tray icon.
        ASSERT_TRUE(eventually([&] {
            for (auto win : x.windowsOfPid(mascot.pid()))
                if (win != w && x.isViewable(win) && x.geometry(win).height > 40)
                    return true;
            return false;
        })) << "no menu";
        // The first item is "設定".
        desktop.run("xdotool key Down Return");
        XClient::Window dialog = 0;
        ASSERT_TRUE(eventually([&] { return (dialog = findWindow(x, mascot, title)) != 0; }));
        ASSERT_TRUE(eventually([&] { return x.activeWindow() == dialog; }))
            << "the dialog never took the focus";
        auto client = x.geometry(dialog);
        desktop.run("xdotool mousemove " + std::to_string(client.x + 24) + " " +
                    std::to_string(client.y + 143) + " click 1 key Return");
        ASSERT_TRUE(eventually([&] { return findWindow(x, mascot, title) == 0; }));
    };

    toggleInFront();
    EXPECT_EQ(readFile(mascot.iniPath()), iniFile(1, 5, 5, 5));
    EXPECT_TRUE(eventually([&] { return x.hasState(w, "_NET_WM_STATE_ABOVE"); })) << "ticked: in front";
    desktop.screenshot(artifactPath("ticked"));
    toggleInFront();
    EXPECT_EQ(readFile(mascot.iniPath()), iniFile(2, 5, 5, 5));
    EXPECT_TRUE(eventually([&] { return !x.hasState(w, "_NET_WM_STATE_ABOVE"); }))
        << "unticked: not in front";
    EXPECT_EQ(mascot.waitForWindow(x, 1), w) << "the window was re-created";
    expectCleanLog(mascot.log());
}

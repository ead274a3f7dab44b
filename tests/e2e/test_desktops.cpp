// The mascot on desktops other than openbox with tint2: what users of Xfce,
// KDE or GNOME (StatusNotifierItem trays) meet first.

#include "Captions.h"
#include "E2eSupport.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <regex>

namespace {

// The bus name of the first StatusNotifierItem the panel's tray knows, or "".
std::string registeredItem(VirtualDesktop& desktop) {
    const std::string items = desktop.run(
        "gdbus call --session -d org.kde.StatusNotifierWatcher -o /StatusNotifierWatcher -m "
        "org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierWatcher RegisteredStatusNotifierItems");
    std::smatch m;
    return std::regex_search(items, m, std::regex("'(:[0-9.]+)")) ? m[1].str() : std::string();
}

struct MenuEntry {
    int id = 0;
    std::string label; // "-" for a separator
};

// The top level of an exported com.canonical.dbusmenu, in order.
std::vector<MenuEntry> exportedMenu(VirtualDesktop& desktop, const std::string& service,
                                    const std::string& path) {
    const std::string layout = desktop.run("gdbus call --session -d " + service + " -o " + path +
                                           " -m com.canonical.dbusmenu.GetLayout -- 0 1 '[]'");
    std::vector<MenuEntry> out;
    const std::regex entry(R"(<\((\d+), \{([^}]*)\})");
    for (auto it = std::sregex_iterator(layout.begin(), layout.end(), entry); it != std::sregex_iterator();
         ++it) {
        const std::string props = (*it)[2].str();
        std::smatch label;
        MenuEntry e{std::stoi((*it)[1].str()), "-"};
        if (props.find("'separator'") == std::string::npos &&
            std::regex_search(props, label, std::regex("'label': <'([^']*)'>")))
            e.label = label[1].str();
        out.push_back(e);
    }
    return out;
}

} // namespace

TEST(Xfce, TheTrayIconExportsTheMenuAndItsItemsRunTheCommands) {
    VirtualDesktop desktop(VirtualDesktop::Options{.session = VirtualDesktop::Session::Xfce});
    XClient x(desktop.display());
    MascotProcess mascot(desktop, iniFile(1, 5, 0, 0));
    const XClient::Window mascotWindow = mascot.waitForWindow(x);
    ASSERT_NE(mascotWindow, 0u) << mascot.log();
    std::string item;
    ASSERT_TRUE(eventually([&] { return !(item = registeredItem(desktop)).empty(); }))
        << "the icon never registered with the panel's tray";

    const std::string menuPath = desktop.run(
        "gdbus call --session -d " + item +
        " -o /StatusNotifierItem -m org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierItem Menu");
    std::smatch m;
    ASSERT_TRUE(std::regex_search(menuPath, m, std::regex("'(/[^']*)'"))) << menuPath;
    ASSERT_NE(m[1].str(), "/NO_DBUSMENU") << "the host would show no menu";
    const std::string path = m[1].str();

    const std::vector<MenuEntry> menu = exportedMenu(desktop, item, path);
    std::vector<std::string> labels;
    for (const auto& e : menu)
        labels.push_back(e.label);
    // dbusmenu marks the access key with "_": the host shows "バージョン情報(A)".
    EXPECT_EQ(labels, (std::vector<std::string>{"設定", "バージョン情報(_A)", "全画面のときは隠れる",
                                                "ログイン時に起動", "-", "終了"}));
    ASSERT_EQ(menu.size(), 6u);

    // Before the host shows the menu it asks for it (AboutToShow of the
    // menu's root); the mascot comes to the front then, as it does before
    // its own menu opens on other trays.
    const pid_t other = showXmessage(desktop, "300x100+400+300", "in front");
    ASSERT_TRUE(activateWindow(desktop, x, "xmessage").has_value());
    desktop.run("gdbus call --session -d " + item + " -o " + path +
                " -m com.canonical.dbusmenu.AboutToShow 0");
    // It comes to the front without taking the keyboard from the window the
    // user types in.
    EXPECT_TRUE(eventually([&] {
        const auto order = x.stackingOrder();
        const auto mine = std::find(order.begin(), order.end(), x.topLevel(mascotWindow));
        const auto front = x.activeWindow();
        const auto theirs = front ? std::find(order.begin(), order.end(), x.topLevel(*front)) : order.end();
        return mine != order.end() && theirs != order.end() && mine > theirs;
    })) << "the mascot did not come to the front as the host's menu opened";
    EXPECT_NE(x.activeWindow(), std::optional<XClient::Window>(mascotWindow))
        << "the mascot took the keyboard";
    desktop.stopProcess(other);

    auto click = [&](int id) {
        desktop.run("gdbus call --session -d " + item + " -o " + path +
                    " -m com.canonical.dbusmenu.Event -- " + std::to_string(id) + " clicked '<0>' 0");
    };
    click(menu[0].id);
    XClient::Window dialog = 0;
    ASSERT_TRUE(eventually([&] { return (dialog = findWindow(x, mascot, "走れクヴィトくんの設定")) != 0; }));
    desktop.screenshot(artifactPath("settings"));
    desktop.run("xdotool key --window " + std::to_string(dialog) + " Escape");
    ASSERT_TRUE(eventually([&] { return findWindow(x, mascot, "走れクヴィトくんの設定") == 0; }));

    click(menu[5].id);
    EXPECT_TRUE(mascot.waitForExit(50)) << "終了 must end the program";
}

namespace {

// The English table's text of an id, as dbusmenu marks an access key ("_").
std::string english(const char* id, bool asMenuLabel = false) {
    std::string text = Captions::find(*Captions::table("en"), id);
    if (asMenuLabel)
        std::replace(text.begin(), text.end(), '&', '_');
    return text;
}

// The environment's LANG for the programs a test starts while it lives.
class LangForPrograms {
public:
    explicit LangForPrograms(const char* lang) {
        if (const char* old = std::getenv("LANG"))
            old_ = old;
        setenv("LANG", lang, 1);
    }
    ~LangForPrograms() {
        if (old_)
            setenv("LANG", old_->c_str(), 1);
        else
            unsetenv("LANG");
    }

private:
    std::optional<std::string> old_;
};

class Language : public ::testing::TestWithParam<const char*> {};

} // namespace

// Outside Japanese (and C, which the other tests run in) the program speaks
// English: the menu the tray shows (read where an Xfce panel reads it) and
// the settings dialog.
TEST_P(Language, OutsideJapaneseTheMenuAndTheSettingsDialogAreEnglish) {
    VirtualDesktop desktop(VirtualDesktop::Options{.session = VirtualDesktop::Session::Xfce});
    XClient x(desktop.display());
    std::optional<MascotProcess> mascot;
    {
        const LangForPrograms lang(GetParam());
        mascot.emplace(desktop, iniFile(1, 5, 0, 0));
    }
    ASSERT_NE(mascot->waitForWindow(x), 0u) << mascot->log();
    std::string item;
    ASSERT_TRUE(eventually([&] { return !(item = registeredItem(desktop)).empty(); }));
    const std::string menuPath = desktop.run(
        "gdbus call --session -d " + item +
        " -o /StatusNotifierItem -m org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierItem Menu");
    std::smatch m;
    ASSERT_TRUE(std::regex_search(menuPath, m, std::regex("'(/[^']*)'"))) << menuPath;
    const std::vector<MenuEntry> menu = exportedMenu(desktop, item, m[1].str());
    std::vector<std::string> labels;
    for (const auto& e : menu)
        labels.push_back(e.label);
    EXPECT_EQ(labels,
              (std::vector<std::string>{english("menu.settings", true), english("menu.about", true),
                                        english("menu.hideFullScreen", true), english("menu.autostart", true),
                                        "-", english("menu.exit", true)}));
    ASSERT_FALSE(menu.empty());
    desktop.run("gdbus call --session -d " + item + " -o " + m[1].str() +
                " -m com.canonical.dbusmenu.Event -- " + std::to_string(menu[0].id) + " clicked '<0>' 0");
    EXPECT_TRUE(eventually([&] { return findWindow(x, *mascot, english("settings.title")) != 0; }));
    desktop.screenshot(artifactPath(std::string("settings-") + GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Locales, Language, ::testing::Values("en_US.UTF-8", "de_DE.UTF-8"),
                         [](const auto& test) { return std::string(test.param).substr(0, 2); });

namespace {
constexpr int MonitorWidth = 1024, PanelTop = 738, W = 53, H = 87;

// Where the window stands once it has stood still for 300 ms (within a
// deadline of five seconds): a window that only the user moves.
XClient::Rect restingRect(XClient& x, XClient::Window w) {
    XClient::Rect last = formRect(x, w);
    int still = 0;
    for (int i = 0; i < 100 && still < 6; ++i) {
        sleepMs(50);
        const XClient::Rect now = formRect(x, w);
        still = now.x == last.x && now.y == last.y ? still + 1 : 0;
        last = now;
    }
    return last;
}

// Where the window stands over a few dozen ticks.
std::vector<XClient::Rect> track(XClient& x, XClient::Window w, int samples) {
    std::vector<XClient::Rect> out;
    for (int i = 0; i < samples; ++i) {
        out.push_back(formRect(x, w));
        sleepMs(50);
    }
    return out;
}

class TwoMonitors : public ::testing::TestWithParam<VirtualDesktop::Monitors> {
protected:
    VirtualDesktop::Options options() const { return {.monitors = GetParam()}; }
    // The primary monitor's left edge on the X screen.
    int primaryLeft() const {
        return GetParam() == VirtualDesktop::Monitors::PrimaryRight ? MonitorWidth : 0;
    }
};
} // namespace

TEST_P(TwoMonitors, WanderingAndThePanelAreThePrimaryMonitors) {
    VirtualDesktop desktop(options());
    XClient x(desktop.display());
    {
        MascotProcess mascot(desktop, iniFile(1, 2, 0, 0));
        auto w = mascot.waitForWindow(x);
        ASSERT_NE(w, 0u) << mascot.log();
        sleepMs(300);
        for (const auto& g : track(x, w, 40)) {
            EXPECT_GE(g.x, primaryLeft());
            EXPECT_LE(g.x + W, primaryLeft() + MonitorWidth);
        }
        desktop.screenshot(artifactPath("wander"));
    }
    MascotProcess mascot(desktop, iniFile(1, 3, 0, 0));
    auto w = mascot.waitForWindow(x);
    ASSERT_NE(w, 0u) << mascot.log();
    ASSERT_TRUE(eventually([&] { return formRect(x, w).y + H == PanelTop; }));
    for (const auto& g : track(x, w, 30)) {
        EXPECT_EQ(g.y + H, PanelTop);
        EXPECT_GE(g.x, primaryLeft());
        EXPECT_LE(g.x + W, primaryLeft() + MonitorWidth);
    }
    desktop.screenshot(artifactPath("panel"));
}

TEST_P(TwoMonitors, TheChaseFollowsThePointerOntoTheOtherMonitorAndDialogsOpenOnThePrimary) {
    VirtualDesktop desktop(options());
    XClient x(desktop.display());
    MascotProcess mascot(desktop, iniFile(1, 1, 0, 0));
    auto w = mascot.waitForWindow(x);
    ASSERT_NE(w, 0u) << mascot.log();
    // The other monitor's middle.
    const int otherX = primaryLeft() == 0 ? MonitorWidth + 500 : 500;
    desktop.run("xdotool mousemove " + std::to_string(otherX) + " 300");
    EXPECT_TRUE(eventually(
        [&] {
            const auto g = formRect(x, w);
            return g.x <= otherX && otherX < g.x + 2 * W && g.y <= 300 && 300 < g.y + 2 * H;
        },
        100))
        << "the character stays at " << formRect(x, w).x << "," << formRect(x, w).y;
    desktop.screenshot(artifactPath("chase"));

    ASSERT_TRUE(eventually([&] { return !mascot.trayIcons(x).empty(); }));
    const auto icon = x.geometry(mascot.trayIcons(x).front());
    desktop.run("xdotool mousemove " + std::to_string(icon.x + icon.width / 2) + " " +
                std::to_string(icon.y + icon.height / 2) + " click 3");
    sleepMs(400);
    desktop.run("xdotool key Down Return");
    XClient::Window dialog = 0;
    ASSERT_TRUE(eventually([&] { return (dialog = findWindow(x, mascot, "走れクヴィトくんの設定")) != 0; }));
    sleepMs(300);
    desktop.screenshot(artifactPath("settings"));
    const auto frame = x.geometry(x.topLevel(dialog));
    // 30 pixels from the primary monitor's corner beside its panel.
    EXPECT_EQ(frame.x, primaryLeft() + MonitorWidth - frame.width - 30);
    EXPECT_EQ(frame.y, PanelTop - frame.height - 30);
    desktop.run("xdotool key Escape");
}

INSTANTIATE_TEST_SUITE_P(Desktops, TwoMonitors,
                         ::testing::Values(VirtualDesktop::Monitors::PrimaryLeft,
                                           VirtualDesktop::Monitors::PrimaryRight),
                         [](const auto& test) {
                             return std::string(test.param == VirtualDesktop::Monitors::PrimaryLeft
                                                    ? "PrimaryLeft"
                                                    : "PrimaryRight");
                         });

namespace {
// Makes xmessage the front window: the window manager's frame around it, or
// nothing when it never became the active window.
std::optional<XClient::Rect> xmessageInFront(VirtualDesktop& desktop, XClient& x) {
    const auto front = activateWindow(desktop, x, "xmessage");
    if (!front)
        return std::nullopt;
    return x.geometry(x.topLevel(*front));
}

class HighDensity : public ::testing::TestWithParam<double> {
protected:
    // A length of the character's frame in the X server's pixels.
    int device(int logical) const { return static_cast<int>(logical * GetParam() + 0.5); }
};
} // namespace

TEST_P(HighDensity, TheCharacterStandsOnTheFrontWindowAndFollowsTheDrag) {
    VirtualDesktop desktop(VirtualDesktop::Options{.scale = GetParam()});
    XClient x(desktop.display());
    {
        const pid_t msg = showXmessage(desktop, "400x150+300+300", "kuvito walks here");
        MascotProcess mascot(desktop, iniFile(1, 4, 0, 0));
        auto w = mascot.waitForWindow(x);
        ASSERT_NE(w, 0u) << mascot.log();
        const auto inFront = xmessageInFront(desktop, x);
        ASSERT_TRUE(inFront.has_value()) << "xmessage never became the active window";
        const XClient::Rect frame = *inFront;
        // The feet (the frame's bottom row) on the window's top edge, give
        // or take the rounding of one scaled pixel, and the character within
        // the window's width. The first tick on the window sets only the
        // height when it starts a pause (one in thirty): the character then
        // stands beside the window until the pause ends.
        auto onWindow = [&](const XClient::Rect& g) {
            return std::abs(g.y + device(H) - frame.y) <= 1 && g.x >= frame.x - 1 &&
                   g.x + device(W) <= frame.x + frame.width + 1;
        };
        XClient::Rect at;
        ASSERT_TRUE(eventually([&] { return onWindow(at = formRect(x, w)); }))
            << "character at " << at.x << "," << at.y << ", feet at " << at.y + device(H) << ", window at "
            << frame.x << "," << frame.y;
        for (const auto& g : track(x, w, 20))
            EXPECT_TRUE(onWindow(g)) << "character at " << g.x << "," << g.y << ", window at " << frame.x
                                     << "," << frame.y;
        // Drawn as Qt would draw it at this scale, also after its moves.
        EXPECT_EQ(frameInWindow(x, w).scale, GetParam());
        desktop.screenshot(artifactPath("on-window"));
        desktop.stopProcess(msg);
    }

    // Stepping in place, so that only the drag moves it: the window keeps
    // the pointer's distance all the way. On a busy machine the program and
    // the window manager lag behind the pointer, so each step waits for what
    // it expects, within a deadline, rather than for a fixed time.
    MascotProcess mascot(desktop, iniFile(1, 5, 0, 0));
    auto w = mascot.waitForWindow(x);
    ASSERT_NE(w, 0u) << mascot.log();
    const auto g = restingRect(x, w);
    const int gx = g.x + device(26), gy = g.y + device(65);
    desktop.run("xdotool mousemove " + std::to_string(gx) + " " + std::to_string(gy) + " mousedown 1");
    for (int i = 1; i <= 10; ++i) {
        desktop.run("xdotool mousemove " + std::to_string(gx + 30 * i) + " " + std::to_string(gy + 20 * i));
        sleepMs(40);
    }
    auto near = [](const XClient::Rect& r, int left, int top) {
        return std::abs(r.x - left) <= 2 && std::abs(r.y - top) <= 2;
    };
    XClient::Rect dragged;
    EXPECT_TRUE(eventually([&] { return near(dragged = formRect(x, w), g.x + 300, g.y + 200); }))
        << "the pointer moved by 300,200, the window by " << dragged.x - g.x << "," << dragged.y - g.y;
    desktop.screenshot(artifactPath("dragging"));
    desktop.run("xdotool mouseup 1");
    const auto released = restingRect(x, w);
    EXPECT_TRUE(near(released, dragged.x, dragged.y))
        << "jumped at the release from " << dragged.x << "," << dragged.y << " to " << released.x << ","
        << released.y;
}

INSTANTIATE_TEST_SUITE_P(Desktops, HighDensity, ::testing::Values(1.5, 2.0), [](const auto& test) {
    return std::string(test.param == 2.0 ? "Twice" : "OneAndAHalf");
});

TEST(I3, WanderingOnTheTaskbarStandsOnI3bar) {
    // i3 sets no work area and does not list i3bar among its clients; the
    // bar's own window still reserves the bottom edge.
    VirtualDesktop desktop(VirtualDesktop::Options{.session = VirtualDesktop::Session::I3});
    XClient x(desktop.display());
    std::smatch m;
    const std::string bar = desktop.run("xwininfo -root -tree | grep '\"i3bar for output'");
    ASSERT_TRUE(std::regex_search(bar, m, std::regex(R"((\d+)x(\d+)\+-?\d+\+-?\d+\s+\+(-?\d+)\+(-?\d+))")))
        << bar;
    const int barTop = std::stoi(m[4].str());
    MascotProcess mascot(desktop, iniFile(1, 3, 0, 0));
    auto w = mascot.waitForWindow(x);
    ASSERT_NE(w, 0u) << mascot.log();
    EXPECT_TRUE(eventually([&] { return formRect(x, w).y + H == barTop; }))
        << "feet at " << formRect(x, w).y + H << ", bar at " << barTop;
    desktop.screenshot(artifactPath("on-i3bar"));
}

TEST(I3, WalkingOnTheFrontWindowStandsOnItsTitleBar) {
    // i3 draws a title bar above the client and publishes no frame extents;
    // the character stands on the bar, not under it. A floating window keeps
    // the place it asks for (a tiled one would fill the screen).
    VirtualDesktop desktop(VirtualDesktop::Options{.session = VirtualDesktop::Session::I3});
    XClient x(desktop.display());
    const pid_t msg = showXmessage(desktop, "400x150+300+300", "kuvito walks here");
    desktop.run("i3-msg '[class=\"Xmessage\"] floating enable, move position 300 300' >/dev/null");
    MascotProcess mascot(desktop, iniFile(1, 4, 0, 0));
    auto w = mascot.waitForWindow(x);
    ASSERT_NE(w, 0u) << mascot.log();
    const auto frame = xmessageInFront(desktop, x);
    ASSERT_TRUE(frame.has_value()) << "xmessage never became the active window";
    const int clientTop = x.geometry(*x.activeWindow()).y;
    ASSERT_LT(frame->y, clientTop) << "i3 draws a title bar above the client";
    EXPECT_TRUE(eventually([&] { return formRect(x, w).y + H == frame->y; }))
        << "feet at " << formRect(x, w).y + H << ", title bar at " << frame->y << ", client at " << clientTop;
    desktop.screenshot(artifactPath("on-title-bar"));
    desktop.stopProcess(msg);
}

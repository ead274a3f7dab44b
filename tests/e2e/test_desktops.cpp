// The mascot on desktops other than openbox with tint2: what users of Xfce,
// KDE or GNOME (StatusNotifierItem trays) meet first.

#include "E2eSupport.h"

#include <regex>

namespace {

// A window of the program with the given title, viewable, or 0.
XClient::Window findWindow(XClient& x, MascotProcess& mascot, const std::string& title) {
    for (auto w : x.windowsOfPid(mascot.pid()))
        if (x.isViewable(w) && x.name(w) == title)
            return w;
    return 0;
}

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
    ASSERT_NE(mascot.waitForWindow(x), 0u) << mascot.log();
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
    // The host shows the access key with its own mark.
    EXPECT_EQ(labels, (std::vector<std::string>{"設定", "バージョン情報(_A)", "-", "終了"}));
    ASSERT_EQ(menu.size(), 4u);

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

    click(menu[3].id);
    EXPECT_TRUE(mascot.waitForExit(50)) << "終了 must end the program";
}

// The Debian package, built from this build tree, unpacked into a private
// root and checked with the desktop's own validators; then the unpacked
// program runs as an ordinary user with its folder read-only, as an
// installed program would.
#include "E2eSupport.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct Shell {
    int status;
    std::string out; // standard output and error together
};

Shell sh(const std::string& command) {
    Shell result{-1, {}};
    FILE* p = popen(("(" + command + ") 2>&1").c_str(), "r");
    if (!p)
        return result;
    char buffer[4096];
    std::size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, p)) > 0)
        result.out.append(buffer, n);
    const int status = pclose(p);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::set<std::string> lines(const std::string& text) {
    std::set<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            out.insert(line);
    return out;
}

// The user the unpacked program runs as when the tests run as root (root
// may write into any folder, so a read-only one would prove nothing).
constexpr const char* kTestUser = "kuvito-tests";

class Package : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        work_ = sh("mktemp -d -t kuvito-package.XXXXXX").out;
        work_.erase(work_.find_last_not_of('\n') + 1);
        const Shell built = sh(std::string(KUVITO_CPACK) + " --config " + KUVITO_BUILD_DIR +
                               "/CPackConfig.cmake -B " + work_ + "/out");
        ASSERT_EQ(built.status, 0) << built.out;
        deb_ = sh("ls " + work_ + "/out/kuvito_*.deb").out;
        deb_.erase(deb_.find_last_not_of('\n') + 1);
        const Shell unpacked = sh("dpkg-deb -x " + deb_ + " " + work_ + "/root");
        ASSERT_EQ(unpacked.status, 0) << unpacked.out;
    }
    static void TearDownTestSuite() {
        if (!work_.empty() && !std::getenv("KUVITO_E2E_KEEP"))
            sh("chmod -R u+w " + work_ + " && rm -rf " + work_);
    }
    static std::string root() { return work_ + "/root"; }

    static inline std::string work_;
    static inline std::string deb_;
};

TEST_F(Package, HoldsTheProgramAndWhatTheDesktopNeedsOfIt) {
    ASSERT_FALSE(deb_.empty());
    const std::string id = KUVITO_APPSTREAM_ID;
    EXPECT_EQ(lines(sh("cd " + root() + " && find . -type f | sort").out),
              (std::set<std::string>{
                  "./usr/bin/kuvito", "./usr/share/applications/" + id + ".desktop",
                  "./usr/share/gnome-shell/extensions/" KUVITO_EXTENSION_UUID "/extension.js",
                  "./usr/share/gnome-shell/extensions/" KUVITO_EXTENSION_UUID "/metadata.json",
                  "./usr/share/gnome-shell/extensions/" KUVITO_LEGACY_EXTENSION_UUID "/extension.js",
                  "./usr/share/gnome-shell/extensions/" KUVITO_LEGACY_EXTENSION_UUID "/metadata.json",
                  "./usr/share/kuvito/kwin/metadata.json", "./usr/share/kuvito/kwin/contents/code/main.js",
                  "./usr/share/doc/kuvito/changelog.gz", "./usr/share/doc/kuvito/copyright",
                  "./usr/share/icons/hicolor/32x32/apps/kuvito.png",
                  "./usr/share/icons/hicolor/64x64/apps/kuvito.png",
                  "./usr/share/icons/hicolor/128x128/apps/kuvito.png",
                  "./usr/share/icons/hicolor/256x256/apps/kuvito.png", "./usr/share/man/man6/kuvito.6.gz",
                  "./usr/share/metainfo/" + id + ".metainfo.xml"}));
    const std::string depends = sh("dpkg-deb -f " + deb_ + " Depends").out;
    for (const char* needed : {"libc6", "libqt6widgets6", "libx11-6", "fonts-ipafont-gothic"})
        EXPECT_NE(depends.find(needed), std::string::npos) << needed << " missing from: " << depends;
    for (const char* tool : {"gtest", "gmock", "benchmark", "clang", "xvfb", "openbox", "tint2", "xdotool",
                             "imagemagick", "cmake", "-dev"})
        EXPECT_EQ(depends.find(tool), std::string::npos) << tool << " in: " << depends;
    const Shell version = sh(root() + "/usr/bin/kuvito --version");
    EXPECT_EQ(version.out, "kuvito 1.0\n");
}

TEST_F(Package, PassesTheValidators) {
    const Shell desktop =
        sh("desktop-file-validate " + root() + "/usr/share/applications/" KUVITO_APPSTREAM_ID ".desktop");
    EXPECT_EQ(desktop.status, 0) << desktop.out;
    EXPECT_EQ(desktop.out.find("error"), std::string::npos) << desktop.out;
    const std::string entry = readFile(root() + "/usr/share/applications/" KUVITO_APPSTREAM_ID ".desktop");
    for (const char* line : {"\nName=Run, Kuvito!\n", "\nName[ja]=走れクヴィトくん\n", "\nIcon=kuvito\n",
                             "\nExec=kuvito\n", "\nCategories=Amusement;\n", "\nComment=", "\nComment[ja]="})
        EXPECT_NE(entry.find(line), std::string::npos) << line;

    const Shell metainfo = sh("appstreamcli validate --no-net " + root() + "/usr/share/metainfo/" +
                              KUVITO_APPSTREAM_ID + ".metainfo.xml");
    EXPECT_EQ(metainfo.status, 0) << metainfo.out;

    // The check lintian itself makes of manual pages: any warning of the
    // formatter is printed.
    const Shell manual = sh("LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z " +
                            root() + "/usr/share/man/man6/kuvito.6.gz >/dev/null");
    EXPECT_EQ(manual.status, 0);
    EXPECT_EQ(manual.out, "");
    const std::string page = sh("MANWIDTH=80 man -l " + root() + "/usr/share/man/man6/kuvito.6.gz").out;
    for (const char* topic : {"--version", "XDG_CONFIG_HOME/kuvito/kuvito.ini", "temae", "idou", "speed",
                              "idour", "EXIT STATUS", "設定", "終了"})
        EXPECT_NE(page.find(topic), std::string::npos) << topic;

    const Shell lintian = sh("lintian --no-tag-display-limit " + deb_);
    for (const std::string& line : lines(lintian.out))
        EXPECT_NE(line.rfind("E: ", 0), 0u) << line;
}

TEST_F(Package, IconsAreSharpEnlargementsOfTheIcon) {
    const std::string icons = root() + "/usr/share/icons/hicolor/";
    const std::string small = icons + "32x32/apps/kuvito.png";
    const std::string colours = sh("identify -format %k " + small).out;
    ASSERT_FALSE(colours.empty());
    for (int size : {64, 128, 256}) {
        const std::string s = std::to_string(size);
        const std::string large = icons + s + "x" + s + "/apps/kuvito.png";
        EXPECT_EQ(sh("identify -format %wx%h " + large).out, s + "x" + s);
        // Enlarging pixel for pixel adds no colour, and taking every n-th
        // pixel gives the small icon back exactly; a smoothed enlargement
        // fails both.
        EXPECT_EQ(sh("identify -format %k " + large).out, colours) << large;
        EXPECT_EQ(
            sh("convert " + large + " -sample 32x32 png:- | compare -metric AE " + small + " - null:").out,
            "0")
            << large;
    }
}

TEST_F(Package, InstalledProgramKeepsTheUsersSettingsAndLeavesItsFolderAlone) {
    const std::string bin = root() + "/usr/bin";
    const std::string home = work_ + "/home";
    const std::string config = home + "/.config";
    const std::string runtime = work_ + "/runtime";
    fs::create_directories(home);
    fs::create_directories(runtime);
    fs::permissions(runtime, fs::perms::owner_all);
    std::vector<std::string> prefix;
    if (::geteuid() == 0) {
        ASSERT_EQ(sh("id -u " + std::string(kTestUser) +
                     " >/dev/null 2>&1 || useradd --system --no-create-home "
                     "--shell /usr/sbin/nologin " +
                     kTestUser + " || id -u " + kTestUser)
                      .status,
                  0);
        ASSERT_EQ(sh(std::string("chown ") + kTestUser + " " + home + " " + runtime).status, 0);
        prefix = {"setpriv", std::string("--reuid=") + kTestUser, std::string("--regid=") + kTestUser,
                  "--init-groups"};
    }
    sh("chmod 755 " + work_ + " && chmod 555 " + bin);
    std::vector<std::string> argv = prefix;
    for (const std::string& arg : std::vector<std::string>{
             "env", "HOME=" + home, "XDG_CONFIG_HOME=" + config, "XDG_RUNTIME_DIR=" + runtime,
             "DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent", bin + "/kuvito"})
        argv.push_back(arg);

    VirtualDesktop desktop;
    XClient x(desktop.display());
    {
        MascotProcess mascot(desktop, argv, work_ + "/first.log");
        auto w = mascot.waitForWindow(x);
        ASSERT_NE(w, 0u) << mascot.log();
        ASSERT_TRUE(eventually([&] { return !mascot.trayIcons(x).empty(); }));
        EXPECT_TRUE(x.hasState(w, "_NET_WM_STATE_ABOVE"));
        clickTrayIcon(desktop, x, mascot, 3);
        desktop.run("xdotool key Down Return");
        XClient::Window dialog = 0;
        ASSERT_TRUE(
            eventually([&] { return (dialog = findWindow(x, mascot, "走れクヴィトくんの設定")) != 0; }));
        sleepMs(300);
        // Untick "常に手前に表示" and confirm.
        auto client = x.geometry(dialog);
        desktop.run("xdotool mousemove " + std::to_string(client.x + 24) + " " +
                    std::to_string(client.y + 143) + " click 1");
        sleepMs(200);
        desktop.screenshot(artifactPath("settings"));
        desktop.run("xdotool key Return");
        ASSERT_TRUE(eventually([&] { return findWindow(x, mascot, "走れクヴィトくんの設定") == 0; }))
            << mascot.log();
        EXPECT_EQ(readFile(config + "/kuvito/kuvito.ini"),
                  "[kuvito]\r\nspeed=5\r\nidour=5\r\ntemae=2\r\nidou=1\r\n")
            << mascot.log();
        EXPECT_EQ(lines(sh("ls -A " + bin).out), std::set<std::string>{"kuvito"});
        expectCleanLog(mascot.log());
    }
    // Started again, it reads the user's file: no longer on top.
    MascotProcess again(desktop, argv, work_ + "/second.log");
    auto w = again.waitForWindow(x);
    ASSERT_NE(w, 0u) << again.log();
    EXPECT_TRUE(eventually([&] { return !x.hasState(w, "_NET_WM_STATE_ABOVE"); })) << again.log();
    desktop.screenshot(artifactPath("restarted"));
}

} // namespace

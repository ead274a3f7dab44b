// The tray menu's "start at login" item over the session's desktop entry.

#include "MascotFixture.h"

#include "TMenuItem.h"
#include "TTaskTrayIcon.h"

#include <QMenu>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>

namespace fs = std::filesystem;

namespace {

class AutostartTest : public MascotFixture {
protected:
    void SetUp() override {
        MascotFixture::SetUp();
        const char* old = std::getenv("XDG_CONFIG_HOME");
        oldConfig_ = old ? std::optional<std::string>(old) : std::nullopt;
        ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
        entry = dir / "config" / "autostart" / "kuvito.desktop";
        writeIni("speed=0\n");
        create();
    }
    void TearDown() override {
        if (oldConfig_)
            ::setenv("XDG_CONFIG_HOME", oldConfig_->c_str(), 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
        MascotFixture::TearDown();
    }
    // Chooses the item in the menu the program pops up for the right
    // button, as the user does; errors are shown as the program shows them.
    void chooseInMenu() {
        const QString caption = QString::fromStdString(form->Autostart1->Caption());
        sim->setMenuScript([caption](SimulatedDesktop&, QMenu& menu, QPoint) {
            ASSERT_TRUE(SimulatedDesktop::triggerAction(menu, caption));
        });
        sim->sendTrayMessage(TTaskTrayIcon::WM_RBUTTONDOWN);
        sim->setMenuScript(nullptr);
    }
    std::string entryText() const {
        std::stringstream text;
        text << std::ifstream(entry).rdbuf();
        return text.str();
    }

    fs::path entry;

private:
    std::optional<std::string> oldConfig_;
};

TEST_F(AutostartTest, TickingWritesTheEntryForThisProgramAndUntickingRemovesIt) {
    EXPECT_FALSE(form->Autostart1->Checked());
    chooseInMenu();
    ASSERT_TRUE(fs::exists(entry));
    EXPECT_TRUE(form->Autostart1->Checked());
    EXPECT_NE(entryText().find("\nExec=" + fs::weakly_canonical(dir / "kuvito").string() + "\n"),
              std::string::npos)
        << entryText();
    chooseInMenu();
    EXPECT_FALSE(fs::exists(entry));
    EXPECT_FALSE(form->Autostart1->Checked());
    EXPECT_TRUE(sim->errorBoxes().empty());
}

TEST_F(AutostartTest, TheMarkIsReadFromTheSystemWheneverTheMenuOpens) {
    // Both ways the menu opens: the program pops it up for the right
    // button, or a notification area that draws it opens the offered menu.
    const std::function<void(SimulatedDesktop&)> opens[] = {
        [](SimulatedDesktop& s) { s.sendTrayMessage(TTaskTrayIcon::WM_RBUTTONDOWN); },
        [](SimulatedDesktop& s) { ASSERT_TRUE(s.openHostMenu()); }};
    for (const auto& open : opens) {
        chooseInMenu();
        ASSERT_TRUE(form->Autostart1->Checked());
        fs::remove(entry);
        open(*sim);
        EXPECT_FALSE(form->Autostart1->Checked()) << "removed by hand";
        std::ofstream(entry) << "[Desktop Entry]\n";
        open(*sim);
        EXPECT_TRUE(form->Autostart1->Checked()) << "added by hand";
        fs::remove(entry);
    }
}

TEST_F(AutostartTest, AnEntryThatCannotBeWrittenIsToldAndLeftUnticked) {
    // A file where the folder should be: nothing can be written below it.
    fs::create_directories(dir / "config");
    std::ofstream(dir / "config" / "autostart") << "";
    chooseInMenu();
    ASSERT_EQ(sim->errorBoxes().size(), 1u);
    EXPECT_NE(sim->errorBoxes()[0].text.toStdString().find(entry.string()), std::string::npos);
    EXPECT_FALSE(form->Autostart1->Checked());
}

} // namespace

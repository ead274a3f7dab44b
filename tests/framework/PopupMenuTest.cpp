// The desktop's menu behind a TPopupMenu follows its items after it was
// made: items changed, removed, moved to another menu and back, and a choice
// reaches the item it shows.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>

#include <string>
#include <vector>

#include "DesktopServices.h"
#include "QtMenu.h"
#include "SimulatedDesktop.h"
#include "TMenuItem.h"
#include "TPopupMenu.h"

namespace {

// The shown items: "-" for a line, "*" before a checked caption, brackets
// around a disabled one.
std::vector<std::string> shown(TPopupMenu& menu) {
    std::vector<std::string> items;
    for (QAction* action : QtMenu::widgetOf(menu.menu()).actions()) {
        if (!action->isVisible())
            continue;
        std::string text = action->isSeparator() ? "-" : action->text().toStdString();
        if (action->isChecked())
            text = "*" + text;
        if (!action->isEnabled())
            text = "(" + text + ")";
        items.push_back(text);
    }
    return items;
}

TMenuItem* item(TPopupMenu& menu, const std::string& caption) {
    auto* it = new TMenuItem(&menu);
    it->setCaption(caption);
    it->setParentComponent(&menu);
    return it;
}

using Items = std::vector<std::string>;

TEST(PopupMenu, TheDesktopsMenuFollowsItsItemsAfterItWasMade) {
    installDesktop(std::make_unique<SimulatedDesktop>());
    {
        TPopupMenu menu(nullptr), other(nullptr);
        TMenuItem* settings = item(menu, "設定");
        TMenuItem* exit = item(menu, "終了");
        EXPECT_EQ(shown(menu), (Items{"設定", "終了"}));
        TMenuItem* about = item(menu, "バージョン情報");
        int aboutClicks = 0;
        about->setOnClick([&](Component*) { ++aboutClicks; });

        exit->setCaption("-");
        settings->setChecked(true);
        about->setEnabled(false);
        EXPECT_EQ(shown(menu), (Items{"*設定", "-", "(バージョン情報)"}));
        exit->setCaption("終了");
        delete settings;
        EXPECT_EQ(shown(menu), (Items{"終了", "(バージョン情報)"}));

        other.add(about);
        EXPECT_EQ(shown(menu), (Items{"終了"}));
        EXPECT_EQ(shown(other), (Items{"(バージョン情報)"}));
        menu.add(about);
        about->setEnabled(true);
        EXPECT_EQ(shown(menu), (Items{"終了", "バージョン情報"}));
        EXPECT_EQ(shown(other), Items{});

        QList<QAction*> actions = QtMenu::widgetOf(menu.menu()).actions();
        actions.removeIf([](QAction* a) { return !a->isVisible(); });
        actions.back()->trigger();
        EXPECT_EQ(aboutClicks, 1) << "the choice reaches the item shown, back under a new number";
    }
    installDesktop(nullptr);
}

} // namespace

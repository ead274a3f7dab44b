#pragma once

#include "NativeMenu.h"

#include <memory>
#include <string>
#include <vector>

class QAction;
class QMenu;

// NativeMenu over a QMenu with one QAction per item. Triggering an action
// (the user's choice in the popped-up menu, in the copy a notification area
// shows, or a test's trigger()) chooses its item.
class QtMenu : public NativeMenu {
public:
    QtMenu();
    ~QtMenu() override;
    QtMenu(const QtMenu&) = delete;
    QtMenu& operator=(const QtMenu&) = delete;

    int appendItem(const std::string& caption) override;
    int appendSeparator() override;
    void setSeparator(int item, bool separator) override;
    void setCaption(int item, const std::string& caption) override;
    void setChecked(int item, bool checked) override;
    void setEnabled(int item, bool enabled) override;
    void setVisible(int item, bool visible) override;

    QMenu& widget() { return *menu_; }
    // The QMenu of a menu the Qt desktops made.
    static QMenu& widgetOf(NativeMenu& menu);
    static QMenu* widgetOf(NativeMenu* menu) { return menu ? &widgetOf(*menu) : nullptr; }

private:
    struct Item {
        std::string caption;
        bool separator = false;
        QAction* action = nullptr; // owned by the menu
    };
    Item* find(int item);
    int append(Item item);
    void showCaption(Item& item);

    std::unique_ptr<QMenu> menu_;
    std::vector<Item> items_; // items_[n - 1] is item n
};

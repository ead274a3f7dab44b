#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>

// A popup menu of the desktop's own kind (DesktopTray::createMenu). Items
// are numbered from 1 in the order they are appended; captions are UTF-8,
// with "&" before an item's access key ("バージョン情報(&A)"). A hidden item
// keeps its number and its place among the others, and comes back there
// when shown again. Choosing an item, in a menu the program pops up or in
// one a notification area draws itself, runs the choose handler with the
// item's number.
class NativeMenu {
public:
    using ChooseHandler = std::function<void(int item)>;

    virtual ~NativeMenu() = default;

    virtual int appendItem(const std::string& caption) = 0;
    virtual int appendSeparator() = 0;
    // An item turned into a separator line keeps its number, and comes back
    // with its caption and state when turned back.
    virtual void setSeparator(int item, bool separator) = 0;
    virtual void setCaption(int item, const std::string& caption) = 0;
    virtual void setChecked(int item, bool checked) = 0;
    virtual void setEnabled(int item, bool enabled) = 0;
    virtual void setVisible(int item, bool visible) = 0;

    void setOnChoose(ChooseHandler handler) { onChoose_ = std::move(handler); }
    // Runs the choose handler for an item, as choosing it does; nothing for
    // item 0 (nothing chosen). The handler may destroy the menu.
    void choose(int item) {
        if (item <= 0 || !onChoose_)
            return;
        const ChooseHandler handler = onChoose_;
        handler(item);
    }
    // Expires when the menu is destroyed: a loop that shows the menu can
    // tell whether it still exists once the loop is over.
    std::weak_ptr<const void> lifetime() const { return token_; }

private:
    ChooseHandler onChoose_;
    std::shared_ptr<const void> token_ = std::make_shared<int>(0);
};

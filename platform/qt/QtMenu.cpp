#include "QtMenu.h"

#include <QAction>
#include <QMenu>

QtMenu::QtMenu() : menu_(std::make_unique<QMenu>()) {}

QtMenu::~QtMenu() = default;

QMenu& QtMenu::widgetOf(NativeMenu& menu) {
    return static_cast<QtMenu&>(menu).widget();
}

QtMenu::Item* QtMenu::find(int item) {
    if (item < 1 || static_cast<std::size_t>(item) > items_.size())
        return nullptr;
    return &items_[static_cast<std::size_t>(item) - 1];
}

int QtMenu::append(Item item) {
    item.action = new QAction(menu_.get());
    items_.push_back(std::move(item));
    const int number = static_cast<int>(items_.size());
    showCaption(items_.back());
    // The menu may be destroyed by the handler; nothing of it is touched
    // after choose().
    QObject::connect(items_.back().action, &QAction::triggered, [this, number] { choose(number); });
    menu_->addAction(items_.back().action);
    return number;
}

void QtMenu::showCaption(Item& item) {
    // A separator shows as a line only; styles that draw a separator's text
    // would otherwise put its caption beside it.
    item.action->setSeparator(item.separator);
    item.action->setText(item.separator ? QString() : QString::fromStdString(item.caption));
}

int QtMenu::appendItem(const std::string& caption) {
    return append(Item{caption});
}

int QtMenu::appendSeparator() {
    Item separator;
    separator.separator = true;
    return append(std::move(separator));
}

void QtMenu::setSeparator(int item, bool separator) {
    if (Item* it = find(item)) {
        it->separator = separator;
        showCaption(*it);
    }
}

void QtMenu::setCaption(int item, const std::string& caption) {
    if (Item* it = find(item)) {
        it->caption = caption;
        showCaption(*it);
    }
}

void QtMenu::setChecked(int item, bool checked) {
    if (Item* it = find(item)) {
        it->action->setCheckable(checked);
        it->action->setChecked(checked);
    }
}

void QtMenu::setEnabled(int item, bool enabled) {
    if (Item* it = find(item))
        it->action->setEnabled(enabled);
}

void QtMenu::setVisible(int item, bool visible) {
    if (Item* it = find(item))
        it->action->setVisible(visible);
}

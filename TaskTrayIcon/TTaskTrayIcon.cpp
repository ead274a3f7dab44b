#include "TTaskTrayIcon.h"

#include <cstring>

#include "ComponentRegistry.h"
#include "ErrorDisplay.h"
#include "KuvitoError.h"
#include "ModalDialog.h"
#include "PropertyWriter.h"
#include "TIcon.h"
#include "TPopupMenu.h"

TTaskTrayIcon::TTaskTrayIcon(Component* owner)
    : Component(owner), icon_(std::make_unique<TIcon>()), alive_(std::make_shared<bool>(true)) {
    // The handler may outlive the component inside the desktop's bookkeeping
    // for a moment; the alive flag keeps a late message harmless.
    std::weak_ptr<bool> alive = alive_;
    handle_ = desktopTray().createMessageWindow(
        [this, alive](unsigned message, std::uintptr_t wParam, std::intptr_t lParam) -> std::intptr_t {
            auto flag = alive.lock();
            if (!flag || !*flag)
                return 0;
            return TrayWndProc(message, wParam, lParam);
        });
}

TTaskTrayIcon::~TTaskTrayIcon() {
    if (visible_)
        NotifyTray(TrayOperation::NIM_DELETE);
    *alive_ = false;
    icon_.reset();
    if (handle_ != 0)
        desktopTray().destroyMessageWindow(handle_);
}

void TTaskTrayIcon::setHint(const std::string& hint) {
    if (hint == hint_)
        return;
    hint_ = hint;
    if (visible_)
        NotifyTray(TrayOperation::NIM_MODIFY);
}

void TTaskTrayIcon::setIcon(const TIcon& icon) {
    if (&icon == icon_.get())
        return;
    icon_->assign(icon);
    if (visible_)
        NotifyTray(TrayOperation::NIM_MODIFY);
}

void TTaskTrayIcon::setPopUpMenuL(TPopupMenu* menu) {
    popUpMenuL_ = menu;
    pendingMenuL_.clear();
    if (menu)
        menu->freeNotification(this);
}

void TTaskTrayIcon::setPopUpMenuR(TPopupMenu* menu) {
    popUpMenuR_ = menu;
    pendingMenuR_.clear();
    if (menu)
        menu->freeNotification(this);
    offerMenu();
}

void TTaskTrayIcon::setVisible(bool on) {
    if (on == visible_)
        return;
    visible_ = on;
    NotifyTray(on ? TrayOperation::NIM_ADD : TrayOperation::NIM_DELETE);
}

TPopupMenu* TTaskTrayIcon::resolveMenu(const std::string& property, const std::string& menuName) {
    Component* found = owner() ? owner()->findComponent(menuName) : nullptr;
    if (!found && root() != owner())
        found = root()->findComponent(menuName);
    auto* menu = dynamic_cast<TPopupMenu*>(found);
    if (!menu)
        throw KuvitoError(name() + "." + property + ": メニュー " + menuName + " が見つかりません");
    return menu;
}

void TTaskTrayIcon::loaded() {
    // Resolve before the base clears the loading state, so that a missing
    // menu is reported as a loading error of this component.
    if (!pendingMenuL_.empty())
        setPopUpMenuL(resolveMenu("PopUpMenuL", pendingMenuL_));
    if (!pendingMenuR_.empty())
        setPopUpMenuR(resolveMenu("PopUpMenuR", pendingMenuR_));
    Component::loaded();
    if (visible_)
        NotifyTray(TrayOperation::NIM_ADD);
}

void TTaskTrayIcon::notification(Component* component, Operation operation) {
    Component::notification(component, operation);
    // Compared by address only: the menu is already being torn down when it
    // tells us, so its dynamic type can no longer be asked.
    if (operation != Operation::opRemove)
        return;
    if (component == popUpMenuL_)
        popUpMenuL_ = nullptr;
    if (component == popUpMenuR_) {
        popUpMenuR_ = nullptr;
        offerMenu();
    }
}

bool TTaskTrayIcon::readProperty(const std::string& path, const FormValue& value) {
    if (path == "Hint") {
        setHint(value.asString());
        return true;
    }
    if (path == "Icon.Data") {
        if (value.type != FormValue::Type::Binary)
            return false;
        TIcon loaded;
        try {
            loaded.readData(value.bytes);
        } catch (const KuvitoError&) {
            throw KuvitoError(name() + ":Icon のｱｲｺﾝが正しくありません", KuvitoError::Kind::InvalidPicture);
        }
        setIcon(loaded);
        return true;
    }
    if (path == "PopUpMenuL" || path == "PopUpMenuR") {
        std::string& pending = path == "PopUpMenuL" ? pendingMenuL_ : pendingMenuR_;
        if (value.type == FormValue::Type::Nil) {
            path == "PopUpMenuL" ? setPopUpMenuL(nullptr) : setPopUpMenuR(nullptr);
            return true;
        }
        if (value.type != FormValue::Type::Ident && !value.isString())
            return false;
        pending = value.type == FormValue::Type::Ident ? value.text : value.asString();
        return true;
    }
    if (path == "Visible") {
        setVisible(value.asBool());
        return true;
    }
    if (path == "OnClick")
        return readEvent(path, value, onClick_);
    if (path == "OnDblClick")
        return readEvent(path, value, onDblClick_);
    if (path == "OnMouseDown")
        return readEvent(path, value, onMouseDown_);
    if (path == "OnMouseUp")
        return readEvent(path, value, onMouseUp_);
    if (path == "OnMouseMove")
        return readEvent(path, value, onMouseMove_);
    return Component::readProperty(path, value);
}

void TTaskTrayIcon::writeProperties(PropertyWriter& writer) const {
    if (!hint_.empty())
        writer.write("Hint", FormValue::fromString(hint_));
    if (!icon_->empty())
        writer.write("Icon.Data", FormValue::fromBinary(icon_->writeData()));
    if (popUpMenuL_)
        writer.write("PopUpMenuL", FormValue::fromIdent(popUpMenuL_->name()));
    if (popUpMenuR_)
        writer.write("PopUpMenuR", FormValue::fromIdent(popUpMenuR_->name()));
    if (!visible_)
        writer.write("Visible", FormValue::fromBool(false));
    Component::writeProperties(writer);
}

void TTaskTrayIcon::copyTip(const std::string& text, char (&tip)[64]) {
    std::memset(tip, 0, sizeof tip);
    std::size_t length = std::min(text.size(), MaxTipBytes);
    // When the cut falls inside a character (the first byte left out is a
    // continuation byte), the whole character is left out.
    if (length < text.size())
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
            --length;
    std::memcpy(tip, text.data(), length);
}

NotifyIconData TTaskTrayIcon::notifyIconData() const {
    NotifyIconData data;
    data.cbSize = 88;
    data.hWnd = handle_;
    data.uID = 1;
    data.uFlags = 7;
    data.uCallbackMessage = WM_TRAYICON;
    data.hIcon = icon_->handle();
    copyTip(hint_, data.szTip);
    return data;
}

void TTaskTrayIcon::NotifyTray(TrayOperation operation) {
    // Nothing is shown while the component is designed or its stored values
    // are still arriving; loaded() adds the icon once they are all known.
    if (isDesigning() || isLoading())
        return;
    if (operation == TrayOperation::NIM_MODIFY && !visible_)
        return;
    const NotifyIconData data = notifyIconData();
    if (desktopTray().shellNotifyIcon(operation, data) && operation == TrayOperation::NIM_ADD)
        offerMenu();
}

void TTaskTrayIcon::offerMenu() {
    // Hosts that open an icon's menu themselves never send the right-button
    // press that would pop up PopUpMenuR, so they are given the menu to
    // show instead. Nothing to offer while no icon is shown.
    if (!visible_ || isDesigning() || isLoading() || handle_ == 0)
        return;
    // As the host opens it, the owner form comes to the front first and the
    // menu's OnPopup runs, as they do before the program opens the menu
    // itself for the right button.
    std::weak_ptr<bool> alive = alive_;
    desktopTray().setNotifyIconMenu(handle_, notifyIconData().uID,
                                    popUpMenuR_ ? &popUpMenuR_->menu() : nullptr, [this, alive] {
                                        auto flag = alive.lock();
                                        if (!flag || !*flag)
                                            return;
                                        ErrorDisplay::guarded([this, &flag] {
                                            foregroundStep();
                                            if (*flag && popUpMenuR_)
                                                popUpMenuR_->announcePopup();
                                        });
                                    });
}

std::intptr_t TTaskTrayIcon::TrayWndProc(unsigned message, std::uintptr_t /*wParam*/, std::intptr_t lParam) {
    if (message == WM_QUERYENDSESSION) {
        // The session is ending: take the icon away now, but keep Visible as
        // it is. The answer agrees to the log-off.
        NotifyTray(TrayOperation::NIM_DELETE);
        return 1;
    }
    if (message == WM_TRAYICON) {
        // A menu or handler error is shown once here and goes no further:
        // the callback counts as handled either way.
        ErrorDisplay::guarded([&] { handleMouse(lParam); });
        return 0;
    }
    return 0;
}

void TTaskTrayIcon::foregroundStep() {
    // The owner form goes to the front first, or the popup menu would not
    // close when the user clicks elsewhere. A form names its window through
    // its dialog side.
    auto* form = dynamic_cast<ModalDialog*>(owner());
    if (!form)
        return;
    desktopWindows().setForegroundWindow(form->dialogWindow());
    desktopLoops().processPendingMessages();
}

void TTaskTrayIcon::popup(TPopupMenu* menu, int x, int y) {
    if (menu)
        menu->Popup(x, y);
}

void TTaskTrayIcon::handleMouse(std::intptr_t mouseMessage) {
    const ScreenPoint pos = desktopQueries().cursorPos();
    const int x = pos.x;
    const int y = pos.y;
    // Each step may run nested message loops (the foreground step, an open
    // menu, a handler's dialog) in which this component can be destroyed;
    // after each one the rest is skipped if it was.
    const std::shared_ptr<bool> alive = alive_;
    auto gone = [&alive] { return !*alive; };
    using TMouseButton::mbLeft, TMouseButton::mbMiddle, TMouseButton::mbRight;

    switch (mouseMessage) {
    case WM_MOUSEMOVE:
        fire(onMouseMove_, this, TShiftState{0}, x, y);
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
        const bool left = mouseMessage == WM_LBUTTONDOWN;
        foregroundStep();
        if (gone())
            return;
        popup(left ? popUpMenuL_ : popUpMenuR_, x, y);
        if (gone())
            return;
        fire(onMouseDown_, this, left ? mbLeft : mbRight, left ? Shift::ssLeft : Shift::ssRight, x, y);
        break;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        const TMouseButton button = mouseMessage == WM_LBUTTONUP   ? mbLeft
                                    : mouseMessage == WM_RBUTTONUP ? mbRight
                                                                   : mbMiddle;
        const TShiftState flag = mouseMessage == WM_LBUTTONUP   ? Shift::ssLeft
                                 : mouseMessage == WM_RBUTTONUP ? Shift::ssRight
                                                                : Shift::ssMiddle;
        fire(onMouseUp_, this, button, flag, x, y);
        if (gone())
            return;
        fire(onClick_, this);
        break;
    }
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
        foregroundStep();
        if (gone())
            return;
        fire(onDblClick_, this);
        if (gone())
            return;
        fire(onMouseDown_, this, mouseMessage == WM_LBUTTONDBLCLK ? mbLeft : mbRight, Shift::ssDouble, x, y);
        break;
    case WM_MBUTTONDOWN:
        fire(onMouseDown_, this, mbMiddle, Shift::ssMiddle, x, y);
        break;
    default:
        // The middle double-click (521) and anything else: nothing.
        break;
    }
}

void registerTaskTrayIconClasses() {
    ComponentRegistry::instance().registerClass(
        "TTaskTrayIcon", [](Component* owner) -> Component* { return new TTaskTrayIcon(owner); });
}

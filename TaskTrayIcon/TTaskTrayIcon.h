#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "Component.h"
#include "DesktopServices.h"
#include "Events.h"

class TIcon;
class TPopupMenu;

// Keeps one icon in the taskbar's notification area while Visible, with a
// tip, a popup menu for each of the left and right buttons and mouse events.
// It talks to the notification area through a hidden message window of its
// own, so it needs no visible window. The icon is first added when loading
// from a stored layout completes, and removed when the component goes.
class TTaskTrayIcon : public Component {
public:
    // Messages of the hidden window.
    static constexpr unsigned WM_QUERYENDSESSION = 17;
    static constexpr unsigned WM_USER = 1024;
    static constexpr unsigned WM_TRAYICON = WM_USER + 100; // 1124, the icon's callback
    // Mouse messages the callback carries in its last parameter.
    static constexpr std::intptr_t WM_MOUSEMOVE = 512;
    static constexpr std::intptr_t WM_LBUTTONDOWN = 513;
    static constexpr std::intptr_t WM_LBUTTONUP = 514;
    static constexpr std::intptr_t WM_LBUTTONDBLCLK = 515;
    static constexpr std::intptr_t WM_RBUTTONDOWN = 516;
    static constexpr std::intptr_t WM_RBUTTONUP = 517;
    static constexpr std::intptr_t WM_RBUTTONDBLCLK = 518;
    static constexpr std::intptr_t WM_MBUTTONDOWN = 519;
    static constexpr std::intptr_t WM_MBUTTONUP = 520;
    // The tip field holds 64 bytes, the terminating zero included.
    static constexpr std::size_t MaxTipBytes = 63;

    explicit TTaskTrayIcon(Component* owner);
    ~TTaskTrayIcon() override;

    std::string className() const override { return "TTaskTrayIcon"; }

    // Published properties.
    const std::string& Hint() const { return hint_; }
    void setHint(const std::string& hint);
    // The component's own icon object; assigning copies into it.
    TIcon& Icon() { return *icon_; }
    const TIcon& Icon() const { return *icon_; }
    void setIcon(const TIcon& icon);
    TPopupMenu* PopUpMenuL() const { return popUpMenuL_; }
    void setPopUpMenuL(TPopupMenu* menu);
    TPopupMenu* PopUpMenuR() const { return popUpMenuR_; }
    void setPopUpMenuR(TPopupMenu* menu);
    bool Visible() const { return visible_; }
    void setVisible(bool on);

    const TNotifyEvent& OnClick() const { return onClick_; }
    void setOnClick(TNotifyEvent handler) { onClick_ = std::move(handler); }
    const TNotifyEvent& OnDblClick() const { return onDblClick_; }
    void setOnDblClick(TNotifyEvent handler) { onDblClick_ = std::move(handler); }
    const TMouseEvent& OnMouseDown() const { return onMouseDown_; }
    void setOnMouseDown(TMouseEvent handler) { onMouseDown_ = std::move(handler); }
    const TMouseEvent& OnMouseUp() const { return onMouseUp_; }
    void setOnMouseUp(TMouseEvent handler) { onMouseUp_ = std::move(handler); }
    const TMouseMoveEvent& OnMouseMove() const { return onMouseMove_; }
    void setOnMouseMove(TMouseMoveEvent handler) { onMouseMove_ = std::move(handler); }

    // The hidden window that receives the icon's messages (0 if the desktop
    // could not create one).
    std::uintptr_t handle() const { return handle_; }

    void loaded() override;
    void notification(Component* component, Operation operation) override;
    bool readProperty(const std::string& path, const FormValue& value) override;
    void writeProperties(PropertyWriter& writer) const override;

    // Adds, modifies or deletes the icon. Nothing happens in design mode,
    // while the stored layout is still being read, or for a modify while
    // not visible. A failing call is silent.
    void NotifyTray(TrayOperation operation);
    // The record NotifyTray hands to the notification area.
    NotifyIconData notifyIconData() const;
    // The hidden window's message handler.
    std::intptr_t TrayWndProc(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

    // Copies text into a zero-terminated tip field, keeping at most
    // MaxTipBytes bytes and never cutting a UTF-8 character in two.
    static void copyTip(const std::string& text, char (&tip)[64]);

private:
    void handleMouse(std::intptr_t mouseMessage);
    void foregroundStep();
    void offerMenu();
    void popup(TPopupMenu* menu, int x, int y);
    TPopupMenu* resolveMenu(const std::string& property, const std::string& menuName);

    std::string hint_;
    std::unique_ptr<TIcon> icon_;
    TPopupMenu* popUpMenuL_ = nullptr;
    TPopupMenu* popUpMenuR_ = nullptr;
    bool visible_ = true;
    std::uintptr_t handle_ = 0;
    TNotifyEvent onClick_;
    TNotifyEvent onDblClick_;
    TMouseEvent onMouseDown_;
    TMouseEvent onMouseUp_;
    TMouseMoveEvent onMouseMove_;

    // Menu names read from a stored layout, resolved once loading is
    // complete (the menu may come later in the layout than this component).
    std::string pendingMenuL_;
    std::string pendingMenuR_;
    // Cleared by the destructor. A popup menu's loop or a handler may
    // destroy the component while its message handler is still running;
    // the handler checks this before touching the component again.
    std::shared_ptr<bool> alive_;
};

// Makes "TTaskTrayIcon" known to stored layouts.
void registerTaskTrayIconClasses();

#pragma once

#include "DesktopServices.h"
#include "Win32Windows.h"

// The desktop the form test installs: the Win32 desktop's own window calls,
// which the form and its frames use, and nothing of the rest, which they
// never call. A failure shown as an error box fails the test.
class FormTestDesktop : public DesktopServices {
public:
    void hideFromTaskbar(WindowHandle window) override { windows_.hideFromTaskbar(window); }
    void moveWindow(WindowHandle window, int left, int top) override {
        windows_.moveWindow(window, left, top);
    }
    ScreenPoint windowPos(WindowHandle window) const override { return windows_.windowPos(window); }
    void setTopMost(WindowHandle window, bool on) override { windows_.setTopMost(window, on); }
    bool isTopMost(WindowHandle window) const override { return windows_.isTopMost(window); }
    void setWindowRegion(WindowHandle window, const std::vector<RgnRect>& region) override {
        windows_.setWindowRegion(window, region);
    }
    void setForegroundWindow(WindowHandle window) override { windows_.setForegroundWindow(window); }

    ScreenSize screenSize() const override { return {}; }
    ScreenPoint cursorPos() const override { return {}; }
    std::optional<ForegroundWindow> foregroundWindow() const override { return std::nullopt; }
    std::optional<ScreenRect> taskbarRect() const override { return std::nullopt; }
    SessionLimits sessionLimits() const override { return {}; }

    void dragWindow(WindowHandle, ScreenPoint) override {}
    int execModal(ModalDialog&) override { return 0; }
    void popupMenu(NativeMenu&, ScreenPoint) override {}
    void processPendingMessages() override {}

    std::unique_ptr<TimerSource> createTimer(std::function<void()>) override { return nullptr; }

    std::uintptr_t createMessageWindow(MessageHandler) override { return 0; }
    void destroyMessageWindow(std::uintptr_t) override {}
    bool shellNotifyIcon(TrayOperation, const NotifyIconData&) override { return false; }
    void setNotifyIconMenu(std::uintptr_t, std::uint32_t, NativeMenu*, std::function<void()>) override {}
    bool notificationAreaAvailable() const override { return false; }
    std::unique_ptr<NativeMenu> createMenu() override { return nullptr; }
    void showErrorBox(const std::string& title, const std::string& text) override;
    void showNotice(const std::string&, const std::string&) override {}

    std::string executablePath() const override { return {}; }
    std::uint32_t clockSeed() const override { return 0; }
    bool claimSession(std::function<void()>) override { return true; }
    std::string userLanguage() const override { return "ja"; }

private:
    Win32Windows windows_;
};

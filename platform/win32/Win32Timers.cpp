#include "Win32Timers.h"

#include "Win32MessageWindow.h"

#include <windows.h>

#include <map>

// The running timers by the id their last start gave them. Each start takes
// a fresh id: a WM_TIMER that Windows had already made for an earlier run
// (KillTimer leaves those in the queue) names an id that is no longer here,
// and is dropped, so a restart counts from zero and a stop is final.
struct Win32Timers::Shared {
    std::map<UINT_PTR, std::shared_ptr<std::function<void()>>> running;
    UINT_PTR nextId = 1;
    std::unique_ptr<Win32MessageWindow> window;

    HWND hwnd() const { return window ? reinterpret_cast<HWND>(window->handle()) : nullptr; }

    void tick(UINT_PTR id) {
        const auto it = running.find(id);
        if (it == running.end())
            return;
        // The handler may stop, restart or destroy its own timer.
        const std::shared_ptr<std::function<void()>> onTick = it->second;
        if (*onTick)
            (*onTick)();
    }
};

class Win32Timers::Source : public TimerSource {
public:
    Source(std::weak_ptr<Shared> shared, std::function<void()> onTick)
        : shared_(std::move(shared)), onTick_(std::make_shared<std::function<void()>>(std::move(onTick))) {}
    ~Source() override { stop(); }

    void start(int periodMs) override {
        stop();
        const std::shared_ptr<Shared> shared = shared_.lock();
        if (!shared || !shared->hwnd() || periodMs <= 0)
            return;
        const UINT_PTR id = shared->nextId++;
        if (::SetTimer(shared->hwnd(), id, static_cast<UINT>(periodMs), nullptr) == 0)
            return;
        shared->running[id] = onTick_;
        id_ = id;
    }

    void stop() override {
        if (id_ == 0)
            return;
        if (const std::shared_ptr<Shared> shared = shared_.lock()) {
            ::KillTimer(shared->hwnd(), id_);
            shared->running.erase(id_);
        }
        id_ = 0;
    }

private:
    std::weak_ptr<Shared> shared_;
    std::shared_ptr<std::function<void()>> onTick_;
    UINT_PTR id_ = 0;
};

Win32Timers::Win32Timers() : shared_(std::make_shared<Shared>()) {
    Shared* shared = shared_.get();
    shared_->window = std::make_unique<Win32MessageWindow>(
        [shared](unsigned message, std::uintptr_t wParam, std::intptr_t) -> std::optional<std::intptr_t> {
            if (message != WM_TIMER)
                return std::nullopt;
            shared->tick(wParam);
            return 0;
        });
}

Win32Timers::~Win32Timers() {
    // Destroying the window ends its timers; timers still held elsewhere
    // find the desktop gone.
    shared_->running.clear();
    shared_->window.reset();
}

std::unique_ptr<TimerSource> Win32Timers::createTimer(std::function<void()> onTick) {
    return std::make_unique<Source>(shared_, std::move(onTick));
}

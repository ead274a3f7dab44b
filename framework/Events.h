#pragma once

#include <cstdint>
#include <functional>

class Component;

// Mouse buttons as the event handlers receive them.
enum class TMouseButton : int { mbLeft = 0, mbRight = 1, mbMiddle = 2 };

// Held buttons and modifier keys, as a set of flags.
using TShiftState = std::uint32_t;
namespace Shift {
constexpr TShiftState ssShift = 1;
constexpr TShiftState ssAlt = 2;
constexpr TShiftState ssCtrl = 4;
constexpr TShiftState ssLeft = 8;
constexpr TShiftState ssRight = 16;
constexpr TShiftState ssMiddle = 32;
constexpr TShiftState ssDouble = 64;
} // namespace Shift

// Event handlers are bound callables; an empty one means "not assigned" and is
// never called.
using TNotifyEvent = std::function<void(Component* Sender)>;
using TMouseEvent =
    std::function<void(Component* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(Component* Sender, TShiftState Shift, int X, int Y)>;

// What a form does after its close handler: caNone keeps it open; the
// others close it (a closed main window ends the program).
enum class TCloseAction : int { caNone = 0, caHide = 1, caFree = 2, caMinimize = 3 };
using TCloseEvent = std::function<void(Component* Sender, TCloseAction& Action)>;

// Calls a handler only when one is assigned.
template <typename Handler, typename... Args> void fire(const Handler& handler, Args&&... args) {
    if (handler)
        handler(std::forward<Args>(args)...);
}

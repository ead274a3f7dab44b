// A pointer for tests on a Wayland compositor without input devices (sway on
// its headless backend, KWin on its virtual one): it joins the seat as a
// virtual pointer (wlroots' protocol) or sends KWin fake input, so that the
// compositor and its clients (XWayland among them) see motion and buttons as
// from a real mouse. X11's XTEST would move XWayland's own pointer only,
// which no Wayland window and no compositor ever sees. KWin offers its fake
// input only when it was started with KWIN_WAYLAND_NO_PERMISSION_CHECKS=1.
//
//   wlpointer WIDTH HEIGHT STEP...
//     move X Y      to X, Y of the WIDTH x HEIGHT output layout
//     press         the left button goes down ("press right": the right one)
//     release       the left button comes up ("release right": the right one)
//     sleep MS      waits, with the pointer kept on the seat
//
// The pointer leaves the seat when the program ends.

#include "fake-input-client-protocol.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

#include <wayland-client.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {

constexpr std::uint32_t kLeftButton = 0x110;  // BTN_LEFT
constexpr std::uint32_t kRightButton = 0x111; // BTN_RIGHT

wl_seat* seat = nullptr;
zwlr_virtual_pointer_manager_v1* manager = nullptr;
org_kde_kwin_fake_input* fakeInput = nullptr;

void onGlobal(void*, wl_registry* registry, std::uint32_t name, const char* interface,
              std::uint32_t version) {
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && !seat)
        seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    else if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
    else if (std::strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0)
        // Absolute motion came with version 3.
        fakeInput = static_cast<org_kde_kwin_fake_input*>(wl_registry_bind(
            registry, name, &org_kde_kwin_fake_input_interface, std::min<std::uint32_t>(version, 3)));
}

void onGlobalRemove(void*, wl_registry*, std::uint32_t) {}

std::uint32_t now() {
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: wlpointer WIDTH HEIGHT [move X Y | press | release | sleep MS]...\n");
        return 2;
    }
    const auto width = static_cast<std::uint32_t>(std::atoi(argv[1]));
    const auto height = static_cast<std::uint32_t>(std::atoi(argv[2]));
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        std::fprintf(stderr, "wlpointer: no Wayland display (WAYLAND_DISPLAY, XDG_RUNTIME_DIR)\n");
        return 1;
    }
    static const wl_registry_listener listener{onGlobal, onGlobalRemove};
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &listener, nullptr);
    wl_display_roundtrip(display);
    if (!manager && !fakeInput) {
        std::fprintf(stderr, "wlpointer: the compositor offers no virtual pointers\n");
        return 1;
    }
    zwlr_virtual_pointer_v1* pointer =
        manager ? zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, seat) : nullptr;
    if (!pointer)
        org_kde_kwin_fake_input_authenticate(fakeInput, "kuvito tests", "moves the pointer in a test");
    wl_display_roundtrip(display);
    // A seat that had no pointer gains one now; its clients ask for their
    // pointer objects when told so, and motion sent before then would enter
    // no surface of theirs (a first click on a bar would be lost).
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    for (int i = 3; i < argc; ++i) {
        const std::string step = argv[i];
        if (step == "move" && i + 2 < argc) {
            const auto x = static_cast<std::uint32_t>(std::atoi(argv[i + 1]));
            const auto y = static_cast<std::uint32_t>(std::atoi(argv[i + 2]));
            i += 2;
            if (pointer)
                zwlr_virtual_pointer_v1_motion_absolute(pointer, now(), x, y, width, height);
            else
                org_kde_kwin_fake_input_pointer_motion_absolute(fakeInput, wl_fixed_from_int(int(x)),
                                                                wl_fixed_from_int(int(y)));
        } else if (step == "press" || step == "release") {
            const bool right = i + 1 < argc && std::string(argv[i + 1]) == "right";
            i += right ? 1 : 0;
            const std::uint32_t state =
                step == "press" ? WL_POINTER_BUTTON_STATE_PRESSED : WL_POINTER_BUTTON_STATE_RELEASED;
            if (pointer)
                zwlr_virtual_pointer_v1_button(pointer, now(), right ? kRightButton : kLeftButton, state);
            else
                org_kde_kwin_fake_input_button(fakeInput, right ? kRightButton : kLeftButton, state);
        } else if (step == "sleep" && i + 1 < argc) {
            wl_display_flush(display);
            std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(argv[++i])));
            continue;
        } else {
            std::fprintf(stderr, "wlpointer: unknown step \"%s\"\n", step.c_str());
            return 2;
        }
        if (pointer)
            zwlr_virtual_pointer_v1_frame(pointer);
        wl_display_roundtrip(display);
    }
    if (pointer)
        zwlr_virtual_pointer_v1_destroy(pointer);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return 0;
}

#pragma once

#include <cstdint>
#include <string>

// The notification-area icon on Windows (Shell_NotifyIconW). The record is
// the program's classic one with the icon as an HICON and the tip as UTF-8.
// Its version is never raised, so Windows reports the icon's mouse activity
// in the classic form the program expects: the record's callback message to
// its window, the icon's id as wParam and the mouse message (512 to 521) as
// lParam, with nothing to translate.
class Win32NotifyIcon {
public:
    enum class Operation { Add = 0, Modify = 1, Delete = 2 };

    struct Record {
        std::uintptr_t window = 0; // the window that receives the callbacks
        std::uint32_t id = 1;
        std::uint32_t flags = 7; // message 1 | icon 2 | tip 4
        std::uint32_t callbackMessage = 1124;
        std::uintptr_t icon = 0; // an HICON, owned by the caller
        std::string tip;         // UTF-8; cut to what the field holds
    };

    // Whether Windows did it: an add fails when the (window, id) pair has an
    // icon already or no notification area is there to take it, a modify
    // or delete when there is no such icon.
    static bool apply(Operation operation, const Record& record);

    // The tip as the wide field holds it: at most 127 UTF-16 units, never
    // half a character.
    static std::wstring tipText(const std::string& tip);
};

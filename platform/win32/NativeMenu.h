#pragma once

#include "ScreenPoint.h"

#include <cstdint>
#include <string>

// A popup menu of the desktop's own kind. Items are numbered from 1 in the
// order they are appended; captions are UTF-8, with "&" before an item's
// access key ("バージョン情報(&A)"). A hidden item keeps its number and its
// place among the others, and comes back there when shown again.
class NativeMenu {
public:
    virtual ~NativeMenu() = default;

    virtual int appendItem(const std::string& caption) = 0;
    virtual int appendSeparator() = 0;
    virtual void setCaption(int item, const std::string& caption) = 0;
    virtual void setChecked(int item, bool checked) = 0;
    virtual void setEnabled(int item, bool enabled) = 0;
    virtual void setVisible(int item, bool visible) = 0;
    // Shows the menu at a screen point on behalf of the owner window and
    // returns when it closes: the item chosen, or 0 when none was.
    virtual int popup(ScreenPoint at, std::uintptr_t owner) = 0;
};

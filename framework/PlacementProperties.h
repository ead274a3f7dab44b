#pragma once

#include "Cursors.h"
#include "FormValue.h"

#include <string>

// Reads the stored values that forms and controls share: Left, Top, Width,
// Height and Cursor. False when the path is none of them. A template so that
// both, which share no base class with these setters, read them one way.
template <typename Target>
bool readPlacementProperty(Target& target, const std::string& path, const FormValue& value) {
    if (path == "Left")
        target.setLeft(value.asInt32());
    else if (path == "Top")
        target.setTop(value.asInt32());
    else if (path == "Width")
        target.setWidth(value.asInt32());
    else if (path == "Height")
        target.setHeight(value.asInt32());
    else if (path == "Cursor")
        target.setCursorNumber(Cursors::fromStored(value));
    else
        return false;
    return true;
}

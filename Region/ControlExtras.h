#pragma once

#include "Cursors.h"
#include "FormValue.h"

#include <string>
#include <utility>
#include <vector>

class Component;
class PropertyWriter;

// Published values of the shaped controls that the framework keeps for them
// but that change nothing in this program: the drag cursor and mode, the
// hint flags, the popup menu's name and the drag-and-drop events. They are
// read and written back so that a stored layout survives a round trip.
class ControlExtras {
public:
    enum class TDragMode { dmManual, dmAutomatic };

    TCursor DragCursor = Cursors::crDrag;
    TDragMode DragMode = TDragMode::dmManual;
    bool ParentShowHint = true;
    bool ShowHint = false;
    std::string PopupMenu; // the menu component's name, or empty

    // Reads one of the values above or a drag-and-drop event binding of
    // `owner`; false when the path is none of them.
    bool read(Component& owner, const std::string& path, const FormValue& value);
    // Writes the values that differ from their defaults, in published order;
    // those before and after `RgnBitmap`/the glyphs are split so callers can
    // put their pictures in between.
    void writeBeforePictures(PropertyWriter& writer) const;
    void writeAfterPictures(PropertyWriter& writer) const;

    // Splits what a base class wrote into the values before its Tag and
    // event bindings and those from there on, so that a control's own
    // published values can stand between them as their declaration order
    // puts them.
    using Values = std::vector<std::pair<std::string, FormValue>>;
    static std::pair<Values, Values> splitBeforeEvents(Values values);
    static void writeAll(PropertyWriter& writer, const Values& values);
};

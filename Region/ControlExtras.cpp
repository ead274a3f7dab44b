#include "ControlExtras.h"

#include "Component.h"
#include "KuvitoError.h"
#include "PropertyWriter.h"

#include <algorithm>

bool ControlExtras::read(Component& owner, const std::string& path, const FormValue& value) {
    if (path == "DragCursor") {
        if (value.type == FormValue::Type::Ident) {
            const auto cursor = Cursors::fromName(value.text);
            if (!cursor)
                throw KuvitoError("カーソル " + value.text + " は存在しません",
                                  KuvitoError::Kind::Conversion);
            DragCursor = *cursor;
        } else {
            DragCursor = static_cast<TCursor>(value.asInt());
        }
    } else if (path == "DragMode") {
        if (value.type != FormValue::Type::Ident || (value.text != "dmManual" && value.text != "dmAutomatic"))
            throw KuvitoError("DragMode の値が正しくありません", KuvitoError::Kind::Conversion);
        DragMode = value.text == "dmAutomatic" ? TDragMode::dmAutomatic : TDragMode::dmManual;
    } else if (path == "ParentShowHint") {
        ParentShowHint = value.asBool();
    } else if (path == "ShowHint") {
        ShowHint = value.asBool();
    } else if (path == "PopupMenu") {
        PopupMenu = value.type == FormValue::Type::Nil ? std::string() : value.asString();
    } else if (path == "OnDragDrop" || path == "OnDragOver" || path == "OnEndDrag" || path == "OnStartDrag") {
        // Dragging between controls is not part of this program: the binding
        // is only kept.
        if (value.type == FormValue::Type::Ident)
            owner.bindEventName(path, value.text);
    } else {
        return false;
    }
    return true;
}

void ControlExtras::writeBeforePictures(PropertyWriter& writer) const {
    if (DragCursor != Cursors::crDrag) {
        const std::string name = Cursors::toName(DragCursor);
        writer.write("DragCursor",
                     name.empty() ? FormValue::fromInt(DragCursor) : FormValue::fromIdent(name));
    }
    if (DragMode != TDragMode::dmManual)
        writer.write("DragMode", FormValue::fromIdent("dmAutomatic"));
}

void ControlExtras::writeAfterPictures(PropertyWriter& writer) const {
    if (!ParentShowHint)
        writer.write("ParentShowHint", FormValue::fromBool(false));
    if (!PopupMenu.empty())
        writer.write("PopupMenu", FormValue::fromIdent(PopupMenu));
    if (ShowHint)
        writer.write("ShowHint", FormValue::fromBool(true));
}

std::pair<ControlExtras::Values, ControlExtras::Values> ControlExtras::splitBeforeEvents(Values values) {
    const auto split = std::find_if(values.begin(), values.end(), [](const auto& v) {
        return v.first == "Tag" || v.first.rfind("On", 0) == 0;
    });
    Values after(std::make_move_iterator(split), std::make_move_iterator(values.end()));
    values.erase(split, values.end());
    return {std::move(values), std::move(after)};
}

void ControlExtras::writeAll(PropertyWriter& writer, const Values& values) {
    for (const auto& [name, value] : values)
        writer.write(name, value);
}

#pragma once

#include <cstdint>
#include <vector>

#include "StoredComponent.h"

// Writes a component tree as a binary stored layout, each value with the
// type code it carries. Standard library only. A tree the stream cannot
// express (an empty or over-long name, a short string over 255 bytes, an
// integer outside its type, a class name the reader would take for a
// prefix) throws KuvitoError instead of writing something that reads back
// differently.
class FormWriter {
public:
    static std::vector<std::uint8_t> write(const StoredComponent& root);
    // One value alone (type byte and content), as it stands after a
    // property name.
    static std::vector<std::uint8_t> writeValue(const FormValue& value);
};

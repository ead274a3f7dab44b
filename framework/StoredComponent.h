#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "FormValue.h"

// One component of a stored layout as the stream holds it: the optional
// prefix (flags, and a child position when flag 2 is set), class and
// instance name, its properties in stream order and its child components.
struct StoredComponent {
    enum Flags : std::uint8_t { ffInherited = 1, ffChildPos = 2, ffInline = 4 };

    bool hasPrefix = false;
    std::uint8_t flags = 0; // low four bits of the prefix byte
    FormValue childPos;     // an integer value, present when flags has ffChildPos
    std::string className;
    std::string name;
    std::vector<std::pair<std::string, FormValue>> properties;
    std::vector<StoredComponent> children;

    // The first value stored under `name`, or nullptr.
    const FormValue* find(const std::string& property) const;

    bool operator==(const StoredComponent& other) const = default;
};

#pragma once

#include <string>
#include <utility>
#include <vector>

#include "FormValue.h"

// Collects the stored properties of one component, in the order they are
// written (Component::writeProperties writes into it).
class PropertyWriter {
public:
    void write(const std::string& name, FormValue value) { properties_.emplace_back(name, std::move(value)); }
    const std::vector<std::pair<std::string, FormValue>>& properties() const { return properties_; }
    std::vector<std::pair<std::string, FormValue>> take() { return std::move(properties_); }

private:
    std::vector<std::pair<std::string, FormValue>> properties_;
};

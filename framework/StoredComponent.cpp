#include "StoredComponent.h"

const FormValue* StoredComponent::find(const std::string& property) const {
    for (const auto& [name, value] : properties)
        if (name == property)
            return &value;
    return nullptr;
}

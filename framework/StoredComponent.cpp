#include "StoredComponent.h"

const FormValue* StoredComponent::find(const std::string& property) const {
    for (const auto& [key, value] : properties)
        if (key == property)
            return &value;
    return nullptr;
}

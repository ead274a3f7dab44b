#pragma once

#include <cstdint>
#include <vector>

#include "StoredComponent.h"

class Component;

// The reverse of FormLoader: root and the components it owns, nested by
// their parent component, written with what each writeProperties gives.
class FormStorer {
public:
    static StoredComponent storeTree(const Component& root);
    static std::vector<std::uint8_t> storeForm(const Component& root);
};

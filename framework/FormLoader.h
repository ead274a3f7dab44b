#pragma once

#include <cstdint>
#include <vector>

class Component;

// Turns a stored layout into components: the top component's properties go
// to `root`, every other component is created through the registry, owned by
// `root`, given its stored parent (setParentComponent) and its name, and gets
// its stored properties through readProperty while it is loading. Then
// loaded() runs on root and on each of its components in component order.
// An unknown class or property throws KuvitoError naming it; components
// created before the failure stay owned by root.
class FormLoader {
public:
    static void loadForm(Component& root, const std::vector<std::uint8_t>& bytes);
};

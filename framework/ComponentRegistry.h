#pragma once

#include <functional>
#include <map>
#include <string>

class Component;

// Class name -> factory, for creating the components a stored layout names.
// The framework's own classes (TTimer, TPopupMenu, TMenuItem) are registered
// from the start; every other library registers its classes before a layout
// naming them is loaded.
class ComponentRegistry {
public:
    using Factory = std::function<Component*(Component* owner)>;

    static ComponentRegistry& instance();

    void registerClass(const std::string& className, Factory factory);
    bool isRegistered(const std::string& className) const;
    // Creates a component owned by `owner`; an unknown class throws
    // KuvitoError.
    Component* create(const std::string& className, Component* owner) const;

private:
    ComponentRegistry();
    std::map<std::string, Factory> factories_;
};

#include "ComponentRegistry.h"

#include "KuvitoError.h"
#include "TMenuItem.h"
#include "TPopupMenu.h"
#include "TTimer.h"

ComponentRegistry& ComponentRegistry::instance() {
    static ComponentRegistry registry;
    return registry;
}

// The framework's own classes are known from the start; registering them
// here instead of from static initialisers keeps them from being dropped by
// the linker with an unreferenced object file.
ComponentRegistry::ComponentRegistry() {
    registerClass("TTimer", [](Component* owner) { return new TTimer(owner); });
    registerClass("TPopupMenu", [](Component* owner) { return new TPopupMenu(owner); });
    registerClass("TMenuItem", [](Component* owner) { return new TMenuItem(owner); });
}

void ComponentRegistry::registerClass(const std::string& className, Factory factory) {
    factories_[className] = std::move(factory);
}

bool ComponentRegistry::isRegistered(const std::string& className) const {
    return factories_.count(className) != 0;
}

Component* ComponentRegistry::create(const std::string& className, Component* owner) const {
    auto it = factories_.find(className);
    if (it == factories_.end() || !it->second)
        throw KuvitoError("クラス " + className + " が見つかりません");
    return it->second(owner);
}

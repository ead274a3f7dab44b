#include "Region.h"

#include "ComponentRegistry.h"
#include "TRgn.h"
#include "TRgnBtn.h"
#include "TRgnList.h"

void registerRegionClasses() {
    ComponentRegistry& registry = ComponentRegistry::instance();
    registry.registerClass("TRgn", [](Component* owner) -> Component* { return new TRgn(owner); });
    registry.registerClass("TRgnList", [](Component* owner) -> Component* { return new TRgnList(owner); });
    registry.registerClass("TRgnBtn", [](Component* owner) -> Component* { return new TRgnBtn(owner); });
}

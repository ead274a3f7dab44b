#include "FormLoader.h"

#include <algorithm>

#include "Component.h"
#include "ComponentRegistry.h"
#include "FormReader.h"
#include "KuvitoError.h"

namespace {

void readProperties(Component& component, const StoredComponent& stored) {
    for (const auto& [path, value] : stored.properties) {
        bool known = false;
        try {
            known = component.readProperty(path, value);
        } catch (const KuvitoError& error) {
            if (error.kind() != KuvitoError::Kind::Conversion)
                throw;
            // A value of the wrong type: say where it was.
            throw KuvitoError(stored.name + "." + path + ": " + error.what(), KuvitoError::Kind::Conversion);
        }
        if (!known)
            throw KuvitoError(stored.name + "." + path + " プロパティは存在しません");
    }
}

// Creates the stored children of `parent`, all owned by root, depth first in
// stream order, which is also the order they join root's component list.
void createChildren(Component& root, Component& parent, const StoredComponent& stored,
                    std::vector<Component*>& created) {
    for (const StoredComponent& child : stored.children) {
        Component* component = ComponentRegistry::instance().create(child.className, &root);
        created.push_back(component);
        component->setLoading(true);
        component->setName(child.name);
        component->setParentComponent(&parent);
        readProperties(*component, child);
        createChildren(root, *component, child, created);
    }
}

} // namespace

void FormLoader::loadForm(Component& root, const std::vector<std::uint8_t>& bytes) {
    const StoredComponent tree = FormReader::read(bytes);
    std::vector<Component*> created;
    root.setLoading(true);
    try {
        if (!tree.name.empty())
            root.setName(tree.name);
        readProperties(root, tree);
        createChildren(root, root, tree, created);
    } catch (...) {
        // What was created stays owned by root; it just is no longer loading.
        root.setLoading(false);
        for (Component* c : root.components())
            c->setLoading(false);
        throw;
    }
    try {
        root.loaded();
        // loaded() may create or destroy components, so the list is read
        // again for each one and only components of this layout that still
        // exist get the call.
        for (std::size_t i = 0; i < root.components().size(); ++i) {
            Component* c = root.components()[i];
            if (std::find(created.begin(), created.end(), c) != created.end() && c->isLoading())
                c->loaded();
        }
    } catch (...) {
        root.setLoading(false);
        for (Component* c : root.components())
            c->setLoading(false);
        throw;
    }
}

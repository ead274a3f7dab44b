#include "FormStorer.h"

#include "Component.h"
#include "FormReader.h"
#include "FormWriter.h"
#include "KuvitoError.h"
#include "PropertyWriter.h"

namespace {

StoredComponent storeOne(const Component& root, const Component& component, int depth) {
    // Parent links that go round in a circle must not recurse forever.
    if (depth > FormReader::maxDepth)
        throw KuvitoError("フォームデータを書き込めません（入れ子が深すぎます）");
    StoredComponent stored;
    stored.className = component.className();
    stored.name = component.name();
    PropertyWriter writer;
    component.writeProperties(writer);
    stored.properties = writer.take();
    // Children: root's components whose structural parent is this one;
    // components without a parent sit directly under root.
    for (const Component* c : root.components()) {
        const Component* parent = c->parentComponent() ? c->parentComponent() : &root;
        if (parent == &component && c != &component)
            stored.children.push_back(storeOne(root, *c, depth + 1));
    }
    return stored;
}

} // namespace

StoredComponent FormStorer::storeTree(const Component& root) {
    return storeOne(root, root, 0);
}

std::vector<std::uint8_t> FormStorer::storeForm(const Component& root) {
    return FormWriter::write(storeTree(root));
}

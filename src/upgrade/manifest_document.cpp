#include "upgrade/manifest_document.h"

#include <algorithm>
#include <new>
#include <utility>

#include "upgrade/manifest_tree.h"

namespace qb {

namespace {

ManifestDocument* g_document = nullptr;

// The next step of a path; steps are split at '/' on character boundaries.
std::string_view NextStep(std::string_view path, size_t& position) {
    const size_t start = position;
    size_t i = start;
    while (i < path.size() && path[i] != '/') i += static_cast<unsigned char>(path[i]) >= 0x81 ? 2 : 1;
    i = std::min(i, path.size());
    position = i + 1;
    return path.substr(start, i - start);
}

size_t FindChild(const ManifestTree& tree, size_t parent, std::string_view name) {
    for (size_t child = tree.elements[parent].firstChild; child != ManifestTree::kNone;
         child = tree.elements[child].nextSibling) {
        if (tree.View(tree.elements[child].name) == name) return child;
    }
    return ManifestTree::kNone;
}

}  // namespace

void UnloadManifestDocument(ManifestDocument& document) {
    if (document.loaded == 1 && document.tree) delete document.tree;
    document.tree = nullptr;
    document.loaded = 0;
}

ManifestDocument* CreateManifestDocument() {
    g_document = new (std::nothrow) ManifestDocument();
    return g_document;
}

ManifestDocument* TheManifestDocument() { return g_document; }

void ReleaseManifestDocument() {
    if (!g_document) return;
    UnloadManifestDocument(*g_document);
    delete std::exchange(g_document, nullptr);
}

bool LoadFromBytes(ManifestDocument& document, std::string_view bytes) {
    if (bytes.empty()) return false;
    UnloadManifestDocument(document);
    auto* tree = new (std::nothrow) ManifestTree();
    if (!tree) return false;
    if (!ParseManifest(bytes, *tree)) {
        delete tree;
        return false;
    }
    document.tree = tree;
    document.loaded = 1;
    return true;
}

Text GetAttribute(const ManifestDocument& document, std::string_view path, std::string_view name) {
    if (path.empty() || name.empty() || document.loaded != 1 || !document.tree) return {};
    const ManifestTree& tree = *document.tree;
    size_t position = 0;
    if (NextStep(path, position) != tree.View(tree.elements[0].name)) return {};
    size_t element = 0;
    while (position <= path.size()) {
        element = FindChild(tree, element, NextStep(path, position));
        if (element == ManifestTree::kNone) return {};
    }
    const ManifestTree::Element& found = tree.elements[element];
    for (size_t k = 0; k < found.attributeCount; ++k) {
        const ManifestTree::Attribute& attribute = tree.attributes[found.firstAttribute + k];
        if (tree.View(attribute.name) == name) return DecodeEntities(tree.View(attribute.value));
    }
    return {};
}

}  // namespace qb

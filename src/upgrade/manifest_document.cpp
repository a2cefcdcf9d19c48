#include "upgrade/manifest_document.h"

#include <new>
#include <string>
#include <utility>
#include <vector>

namespace qb {

// Flat storage: freeing a deeply nested document is one loop, never a recursion.
struct ManifestTree {
    struct Element {
        std::string name;
        std::vector<std::pair<std::string, std::string>> attributes;
        int32_t parent = -1;
    };
    std::vector<Element> elements;
};

namespace {
ManifestDocument* g_document = nullptr;
}

ManifestDocument* CreateManifestDocument() {
    g_document = new (std::nothrow) ManifestDocument();
    return g_document;
}

ManifestDocument* TheManifestDocument() { return g_document; }

void ReleaseManifestDocument() {
    if (!g_document) return;
    if (g_document->loaded == 1 && g_document->tree) {
        delete g_document->tree;
        g_document->tree = nullptr;
        g_document->loaded = 0;
    }
    delete std::exchange(g_document, nullptr);
}

}  // namespace qb

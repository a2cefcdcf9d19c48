#pragma once

#include <cstdint>

namespace qb {

struct ManifestTree;  // the element tree of a loaded manifest

// The one manifest document of the process: created empty at start-up, released at exit.
struct ManifestDocument {
    int32_t loaded = 0;  // 1 when tree holds a document
    ManifestTree* tree = nullptr;
};

// Creates the process's holder; null when memory cannot be obtained.
ManifestDocument* CreateManifestDocument();

// The holder made by CreateManifestDocument, or null before it and after the release.
ManifestDocument* TheManifestDocument();

// Frees the tree when one is loaded, then the holder itself. Registered in the exit clean-up.
void ReleaseManifestDocument();

}  // namespace qb

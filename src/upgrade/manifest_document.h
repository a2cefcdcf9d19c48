#pragma once

#include <cstdint>
#include <string_view>

#include "base/text.h"

namespace qb {

struct ManifestTree;  // the element tree of a loaded manifest

// The one manifest document of the process: created empty at start-up, released at exit.
struct ManifestDocument {
    int32_t loaded = 0;  // 1 when tree holds a document
    ManifestTree* tree = nullptr;
};

// Where the release is described, and what it is described by.
inline constexpr std::string_view kReleaseElementPath = "最新版本/版本信息";
inline constexpr std::string_view kVersionAttribute = "版本号";
inline constexpr std::string_view kNotesAttribute = "升级说明";
inline constexpr std::string_view kDownloadAddressAttribute = "下载地址";
inline constexpr std::string_view kFileTitleAttribute = "文件标题";
inline constexpr std::string_view kFileNameAttribute = "文件名";

// Creates the process's holder; null when memory cannot be obtained.
ManifestDocument* CreateManifestDocument();

// The holder made by CreateManifestDocument, or null before it and after the release.
ManifestDocument* TheManifestDocument();

// Frees the tree when one is loaded, then the holder itself. Registered in the exit clean-up.
void ReleaseManifestDocument();

// Frees the tree, leaving the document empty.
void UnloadManifestDocument(ManifestDocument& document);

// Replaces the content by the parse of code page 936 text. Empty bytes change nothing and
// give false; otherwise the old tree goes first, so a failed load leaves the document empty.
bool LoadFromBytes(ManifestDocument& document, std::string_view bytes);

// The decoded value of one attribute of the element at path: "root/child/...", each step the
// first child of that name, one step the root itself. Empty when anything is missing.
Text GetAttribute(const ManifestDocument& document, std::string_view path, std::string_view name);

}  // namespace qb

// The reader over whatever a server can send: as program text straight in, and through the
// decode of the update check.
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_driver.h"
#include "upgrade/code_page_iconv.h"
#include "upgrade/manifest_decode.h"
#include "upgrade/manifest_document.h"
#include "upgrade/version_compare.h"

namespace {

using namespace qb;

constexpr std::string_view kPaths[] = {kReleaseElementPath, "最新版本", "最新版本/版本信息/说明", "a/b", "a"};
constexpr std::string_view kNames[] = {kVersionAttribute, kNotesAttribute, kDownloadAddressAttribute,
                                       kFileTitleAttribute, kFileNameAttribute, "a"};

void Check(bool holds) {
    if (!holds) std::abort();
}

struct Reading {
    bool loaded = false;
    std::vector<Text> values;
    bool operator==(const Reading&) const = default;
};

Reading Load(std::string_view bytes) {
    ManifestDocument document;
    Reading reading;
    reading.loaded = LoadFromBytes(document, bytes);
    Check(reading.loaded == (document.loaded == 1));
    Check(reading.loaded == (document.tree != nullptr));
    for (std::string_view path : kPaths) {
        for (std::string_view name : kNames) {
            Text value = GetAttribute(document, path, name);
            Check(reading.loaded || value.empty());
            (void)IsNewerVersion(value, 3.2);
            reading.values.push_back(std::move(value));
        }
    }
    UnloadManifestDocument(document);
    return reading;
}

}  // namespace

void FuzzOne(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Reading plain = Load(bytes);
    // Text before the root means nothing: the question mark a byte-order mark decodes to
    // must not change what reads.
    if (!bytes.empty()) Check(Load("?" + std::string(bytes)) == plain);

    IconvCodePageConverter converter;
    const Text text = DecodeManifestBytes(bytes, converter);
    Check(text.find('\0') == Text::npos);
    (void)Load(text);
}

#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qb {

// A loaded manifest, flat: elements and attributes sit in arrays and point into one copy of
// the text, so building and freeing a deeply nested document never recurses.
struct ManifestTree {
    static constexpr size_t kNone = static_cast<size_t>(-1);

    struct Span {
        size_t offset = 0;
        size_t length = 0;
    };
    struct Attribute {
        Span name;
        Span value;  // as written, between its quotes
    };
    struct Element {
        Span name;
        size_t firstAttribute = 0;  // this element's attributes are contiguous in attributes
        size_t attributeCount = 0;
        size_t firstChild = kNone;
        size_t lastChild = kNone;
        size_t nextSibling = kNone;
    };

    std::string text;  // the document with its comments removed
    std::vector<Element> elements;  // elements[0] is the root
    std::vector<Attribute> attributes;

    std::string_view View(Span span) const { return std::string_view(text).substr(span.offset, span.length); }
};

// Removes every comment; an opener with no closer after it is left as written.
std::string RemoveComments(std::string_view text);

// Fills an empty tree from code page 936 text; false when the text is not one well-formed element.
bool ParseManifest(std::string_view text, ManifestTree& tree);

// The value with its five entity references decoded in one pass; any other reference stays.
std::string DecodeEntities(std::string_view value);

}  // namespace qb

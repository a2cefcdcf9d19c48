#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "upgrade/manifest_tree.h"

namespace qb {

namespace {

constexpr size_t npos = std::string_view::npos;
constexpr std::string_view kCommentOpen = "<!--";
constexpr std::string_view kCommentClose = "-->";

// A byte of 0x81 or above starts a two-byte character: the byte after it is never markup,
// never a quote. A lead byte at the very end stands alone.
size_t CharWidth(std::string_view s, size_t i) {
    return static_cast<unsigned char>(s[i]) >= 0x81 && i + 1 < s.size() ? 2 : 1;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

size_t FindChar(std::string_view s, size_t from, char target) {
    for (size_t i = from; i < s.size(); i += CharWidth(s, i)) {
        if (s[i] == target) return i;
    }
    return npos;
}

size_t FindSequence(std::string_view s, size_t from, std::string_view target) {
    for (size_t i = from; i < s.size(); i += CharWidth(s, i)) {
        if (s[i] == target[0] && s.substr(i, target.size()) == target) return i;
    }
    return npos;
}

class Parser {
public:
    Parser(std::string_view text, ManifestTree& tree) : s_(text), tree_(tree) {}

    bool Run() {
        while (i_ < s_.size()) {
            // Text outside tags, before the root (a byte-order mark's question mark), between
            // elements or after the root, carries nothing.
            if (s_[i_] != '<') {
                i_ += CharWidth(s_, i_);
                continue;
            }
            if (i_ + 1 >= s_.size()) return false;
            const char next = s_[i_ + 1];
            const bool ok = next == '?' || next == '!' ? SkipMarkup() : next == '/' ? CloseElement() : OpenElement();
            if (!ok) return false;
        }
        return open_.empty() && !tree_.elements.empty();
    }

private:
    bool SkipMarkup() {
        const size_t close = FindChar(s_, i_ + 2, '>');
        if (close == npos) return false;
        i_ = close + 1;
        return true;
    }

    // End of the name that starts at p, or npos when a character no name may hold comes first.
    size_t ScanName(size_t p) const {
        while (p < s_.size()) {
            const char c = s_[p];
            if (IsSpace(c) || c == '>' || c == '/' || c == '=') return p;
            if (c == '<' || c == '"' || c == '\'') return npos;
            p += CharWidth(s_, p);
        }
        return p;
    }

    size_t SkipSpaces(size_t p) const {
        while (p < s_.size() && IsSpace(s_[p])) ++p;
        return p;
    }

    bool CloseElement() {
        const size_t start = i_ + 2;
        const size_t end = ScanName(start);
        if (end == npos || end == start || open_.empty()) return false;
        const size_t p = SkipSpaces(end);
        if (p >= s_.size() || s_[p] != '>') return false;
        if (tree_.View(tree_.elements[open_.back()].name) != s_.substr(start, end - start)) return false;
        open_.pop_back();
        i_ = p + 1;
        return true;
    }

    bool OpenElement() {
        if (open_.empty() && !tree_.elements.empty()) return false;  // a second top-level element
        const size_t nameStart = i_ + 1;
        size_t p = ScanName(nameStart);
        if (p == npos || p == nameStart) return false;

        ManifestTree::Element element;
        element.name = {nameStart, p - nameStart};
        element.firstAttribute = tree_.attributes.size();
        bool selfClosing = false;
        for (;;) {
            p = SkipSpaces(p);
            if (p >= s_.size()) return false;
            if (s_[p] == '>') {
                ++p;
                break;
            }
            if (s_[p] == '/') {
                if (p + 1 >= s_.size() || s_[p + 1] != '>') return false;
                p += 2;
                selfClosing = true;
                break;
            }
            const size_t attributeStart = p;
            p = ScanName(p);
            if (p == npos || p == attributeStart) return false;
            const ManifestTree::Span attributeName{attributeStart, p - attributeStart};
            p = SkipSpaces(p);
            if (p >= s_.size() || s_[p] != '=') return false;
            p = SkipSpaces(p + 1);
            if (p >= s_.size() || (s_[p] != '"' && s_[p] != '\'')) return false;
            const size_t valueStart = p + 1;
            const size_t valueEnd = FindChar(s_, valueStart, s_[p]);
            if (valueEnd == npos) return false;
            tree_.attributes.push_back({attributeName, {valueStart, valueEnd - valueStart}});
            p = valueEnd + 1;
        }
        element.attributeCount = tree_.attributes.size() - element.firstAttribute;
        if (HasDuplicateName(element)) return false;

        const size_t index = tree_.elements.size();
        tree_.elements.push_back(element);
        if (!open_.empty()) {
            ManifestTree::Element& parent = tree_.elements[open_.back()];
            if (parent.lastChild == ManifestTree::kNone) {
                parent.firstChild = index;
            } else {
                tree_.elements[parent.lastChild].nextSibling = index;
            }
            parent.lastChild = index;
        }
        if (!selfClosing) open_.push_back(index);
        i_ = p;
        return true;
    }

    bool HasDuplicateName(const ManifestTree::Element& element) const {
        const auto name = [&](size_t k) { return tree_.View(tree_.attributes[element.firstAttribute + k].name); };
        const size_t count = element.attributeCount;
        if (count <= 8) {
            for (size_t a = 0; a < count; ++a) {
                for (size_t b = a + 1; b < count; ++b) {
                    if (name(a) == name(b)) return true;
                }
            }
            return false;
        }
        // A server can send thousands of attributes on one element: sort instead of pairing.
        std::vector<std::string_view> names;
        names.reserve(count);
        for (size_t k = 0; k < count; ++k) names.push_back(name(k));
        std::sort(names.begin(), names.end());
        return std::adjacent_find(names.begin(), names.end()) != names.end();
    }

    std::string_view s_;
    ManifestTree& tree_;
    size_t i_ = 0;
    std::vector<size_t> open_;  // the open elements, innermost last: nesting without recursion
};

}  // namespace

std::string RemoveComments(std::string_view text) {
    if (text.find(kCommentOpen) == npos) return std::string(text);
    std::string out;
    out.reserve(text.size());
    // Once no closer follows an opener, none follows a later one either: without this, a
    // text full of openers would be searched to its end from each of them.
    bool closerAhead = true;
    size_t run = 0;
    size_t i = 0;
    while (i < text.size()) {
        if (closerAhead && text[i] == '<' && text.substr(i, kCommentOpen.size()) == kCommentOpen) {
            const size_t close = FindSequence(text, i + kCommentOpen.size(), kCommentClose);
            if (close != npos) {
                out.append(text.substr(run, i - run));
                i = close + kCommentClose.size();
                run = i;
                continue;
            }
            closerAhead = false;
        }
        i += CharWidth(text, i);
    }
    out.append(text.substr(run));
    return out;
}

bool ParseManifest(std::string_view text, ManifestTree& tree) {
    tree.text = RemoveComments(text);
    return Parser(tree.text, tree).Run();
}

std::string DecodeEntities(std::string_view value) {
    struct Entity {
        std::string_view reference;  // after the ampersand
        char character;
    };
    static constexpr Entity kEntities[] = {
        {"lt;", '<'}, {"gt;", '>'}, {"amp;", '&'}, {"apos;", '\''}, {"quot;", '"'},
    };
    if (value.find('&') == npos) return std::string(value);
    std::string out;
    out.reserve(value.size());
    size_t i = 0;
    while (i < value.size()) {
        if (value[i] == '&') {
            const std::string_view rest = value.substr(i + 1);
            const auto* entity = std::find_if(std::begin(kEntities), std::end(kEntities),
                                              [&](const Entity& e) { return rest.starts_with(e.reference); });
            if (entity != std::end(kEntities)) {
                out += entity->character;
                i += 1 + entity->reference.size();
                continue;
            }
        }
        const size_t width = CharWidth(value, i);
        out.append(value.substr(i, width));
        i += width;
    }
    return out;
}

}  // namespace qb

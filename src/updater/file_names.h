#pragma once

#include <string_view>
#include <vector>

#include "base/text.h"

namespace qb {

// Why a name from outside (an archive entry, the program to restart) cannot be used as a
// path below one of our folders.
enum class NameFault {
    None,
    Empty,
    Absolute,          // starts at a root: /x, \x, \\host\share
    Colon,             // a drive (C:x) or an alternate data stream (a:b)
    DotComponent,      // ., .., or any component made of dots and spaces only
    EmptyComponent,    // a//b
    TrailingDotOrSpace,
    Device,            // CON, NUL, COM1 ... with or without an extension
    BadCharacter,      // a control byte or one of < > " | ? *
    BadEncoding,       // not well-formed code page 936, or not representable in it
    Separator,         // a file name that must be bare holds a path
    Outside,           // resolves outside the folder it was meant for
};

// A relative path in code page 936, checked component by component as the file system
// will see it.
struct CheckedPath {
    NameFault fault = NameFault::None;
    std::vector<Text> components;
    bool isFolder = false;  // the name ended with a separator
};

// Separators are / and \ as single-byte characters only: a trail byte of 0x5C belongs to
// its two-byte character.
CheckedPath CheckRelativePath(std::string_view cp936);

// True for one component that names a file in a folder and nothing else.
NameFault CheckBareFileName(std::string_view cp936);

// Walks the characters, so a two-byte character whose trail byte is 0x5C is no backslash.
bool EndsWithBackslash(std::string_view cp936);

Text JoinComponents(const Text& folder, const std::vector<Text>& components, size_t count);
Text JoinComponents(const Text& folder, const std::vector<Text>& components);

// Why, for the log, in the program's language.
std::string_view DescribeNameFault(NameFault fault);

}  // namespace qb

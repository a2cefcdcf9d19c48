#pragma once

#include <string>
#include <string_view>

#include "base/codepage_check.h"

namespace qb {

// A program text: code page 936 bytes, passed unchanged to the ANSI calls.
using Text = std::string;

// Lead byte of a double-byte character in code page 936.
constexpr bool IsCp936LeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

// Tells whether a byte starts a double-byte character in the ANSI code page in force.
using LeadByteTest = bool (*)(unsigned char byte);

}  // namespace qb

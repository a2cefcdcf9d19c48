#pragma once

#include <span>

namespace qb {

// The publisher's public key as BCRYPT_ECCPUBLIC_BLOB, made from the release key file when
// the build was configured; empty in a build without a key.
std::span<const unsigned char> ReleasePublicKeyBlob();

}  // namespace qb

#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "base/text.h"

namespace qb {

using Sha256Digest = std::array<uint8_t, 32>;

// SHA-256 through CNG, fed piece by piece.
class Sha256Stream {
public:
    Sha256Stream();
    ~Sha256Stream();
    Sha256Stream(const Sha256Stream&) = delete;
    Sha256Stream& operator=(const Sha256Stream&) = delete;
    bool Add(const void* data, uint32_t size);
    std::optional<Sha256Digest> Finish();

private:
    void* algorithm_ = nullptr;
    void* hash_ = nullptr;
    bool failed_ = false;
};

// The download engine hashes the archive as it writes it, so the signature check after the
// last byte is one verification instead of a second pass over the whole file.
// Only a keyed updater checks signatures, so only it pays for the hashing.
void SetReceivedDigestWanted(bool wanted);
bool ReceivedDigestWanted();
void RememberReceivedDigest(const Text& path, const Sha256Digest& digest);
void ForgetReceivedDigest(const Text& path);
std::optional<Sha256Digest> ReceivedDigest(const Text& path);

}  // namespace qb

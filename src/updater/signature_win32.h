#pragma once

#include <span>

#include "updater/signature.h"

namespace qb {

// Verifies with the system's own cryptography (CNG), so no cryptographic code of ours
// stands between the archive and the program folder.
class CngSignatureVerifier final : public SignatureVerifier {
public:
    // An empty blob makes an unkeyed verifier.
    explicit CngSignatureVerifier(std::span<const unsigned char> publicKeyBlob) : key_(publicKeyBlob) {}
    bool Keyed() const override { return !key_.empty(); }
    VerifyResult Verify(const Text& file, const ReleaseSignature& signature) override;

private:
    std::span<const unsigned char> key_;
};

}  // namespace qb

#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "base/text.h"

namespace qb {

// ECDSA P-256 over the SHA-256 of the archive, r and s as 32 big-endian bytes each.
inline constexpr size_t kSignatureSize = 64;
using ReleaseSignature = std::array<uint8_t, kSignatureSize>;

// The signature rides in the fragment of the download address, which no server or proxy
// ever sees: "#sig=<86 base64url characters, no padding>", alone or among other
// "name=value" parameters separated by "&".
enum class SignatureField { Absent, Malformed, Present };

struct AddressSignature {
    SignatureField field = SignatureField::Absent;
    ReleaseSignature bytes{};
};

AddressSignature ReadAddressSignature(std::string_view address);

enum class VerifyResult { Valid, Invalid, Unreadable };

// Checks a file against the release key built into this updater, if there is one.
class SignatureVerifier {
public:
    virtual ~SignatureVerifier() = default;
    virtual bool Keyed() const = 0;
    virtual VerifyResult Verify(const Text& file, const ReleaseSignature& signature) = 0;
};

enum class SignatureVerdict {
    NotChecked,  // no key built in: the archive is taken as it always was
    Valid,
    RefusedUnsigned,
    RefusedMalformed,
    RefusedInvalid,
    RefusedUnreadable,
};

// Whether the archive downloaded from this address may be opened. A keyed updater opens
// nothing the publisher's key has not signed.
SignatureVerdict CheckArchiveSignature(SignatureVerifier& verifier, std::string_view address, const Text& archive);

inline bool MayInstall(SignatureVerdict verdict) {
    return verdict == SignatureVerdict::NotChecked || verdict == SignatureVerdict::Valid;
}

// The log's words for a verdict; empty for NotChecked, which leaves the log as it was.
std::string_view SignatureLogText(SignatureVerdict verdict);

}  // namespace qb

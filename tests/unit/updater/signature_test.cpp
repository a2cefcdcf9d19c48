#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes.h"
#include "updater/signature.h"

namespace qb {
namespace {

using test::FakeVerifier;

// Bytes 0x00 to 0x3F, and 21 times FB EF BE then FF: every character of the alphabet that
// differs from plain base64 shows up in one of the two.
const std::string kCounting = "AAECAwQFBgcICQoLDA0ODxAREhMUFRYXGBkaGxwdHh8gISIjJCUmJygpKissLS4vMDEyMzQ1Njc4OTo7PD0-Pw";
const std::string kDashes = std::string(84, '-') + "_w";

ReleaseSignature Counting() {
    ReleaseSignature bytes{};
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i);
    return bytes;
}

ReleaseSignature Dashes() {
    ReleaseSignature bytes{};
    for (size_t i = 0; i + 1 < bytes.size(); i += 3) {
        bytes[i] = 0xFB;
        bytes[i + 1] = 0xEF;
        bytes[i + 2] = 0xBE;
    }
    bytes[63] = 0xFF;
    return bytes;
}

TEST(ReadAddressSignature, FragmentsAsATable) {
    const std::string base = "http://h/r.zip";
    struct Case {
        const char* row;
        std::string address;
        SignatureField field;
        ReleaseSignature bytes;
    };
    std::string lastBitsSet = kCounting;
    lastBitsSet.back() = 'x';  // 'w' and 'x' decode alike; only 'w' is the spelling
    const Case cases[] = {
        {"no fragment", base, SignatureField::Absent, {}},
        {"an empty fragment", base + "#", SignatureField::Absent, {}},
        {"a fragment without sig=", base + "#part=2", SignatureField::Absent, {}},
        {"a parameter that only begins with sig", base + "#sigx=" + kCounting, SignatureField::Absent, {}},
        {"the signature alone", base + "#sig=" + kCounting, SignatureField::Present, Counting()},
        {"dash and underscore", base + "#sig=" + kDashes, SignatureField::Present, Dashes()},
        {"followed by other parameters", base + "#sig=" + kCounting + "&part=2&x", SignatureField::Present,
         Counting()},
        {"after other parameters", base + "#part=2&sig=" + kDashes, SignatureField::Present, Dashes()},
        {"a second # inside the fragment", "http://h/a#sig=" + kCounting + "#x",
         SignatureField::Malformed, {}},
        {"sig without a value", base + "#sig", SignatureField::Malformed, {}},
        {"sig=", base + "#sig=", SignatureField::Malformed, {}},
        {"one character short", base + "#sig=" + kCounting.substr(1), SignatureField::Malformed, {}},
        {"over-long", base + "#sig=" + kCounting + "AA", SignatureField::Malformed, {}},
        {"padded", base + "#sig=" + kCounting + "==", SignatureField::Malformed, {}},
        {"plain base64's + and /", base + "#sig=" + std::string(84, '+') + "/w", SignatureField::Malformed, {}},
        {"percent-encoded", base + "#sig=%41" + kCounting.substr(3), SignatureField::Malformed, {}},
        {"unused low bits set", base + "#sig=" + lastBitsSet, SignatureField::Malformed, {}},
        {"two signatures", base + "#sig=" + kCounting + "&sig=" + kCounting, SignatureField::Malformed, {}},
        {"a good one after a bad one", base + "#sig=x&sig=" + kCounting, SignatureField::Malformed, {}},
    };
    for (const Case& c : cases) {
        const AddressSignature read = ReadAddressSignature(c.address);
        EXPECT_EQ(read.field, c.field) << c.row;
        if (c.field == SignatureField::Present) {
            EXPECT_EQ(read.bytes, c.bytes) << c.row;
        }
    }
}

TEST(CheckArchiveSignature, KeyedOrNotAgainstUnsignedBadAndGood) {
    const std::string signedAddress = "http://h/r.zip#sig=" + kCounting;
    struct Case {
        const char* row;
        bool keyed;
        std::string address;
        VerifyResult result;  // what the key says, when it is asked
        SignatureVerdict verdict;
        bool asksTheKey;
    };
    const Case cases[] = {
        {"no key, unsigned", false, "http://h/r.zip", VerifyResult::Invalid, SignatureVerdict::NotChecked, false},
        {"no key, malformed", false, "http://h/r.zip#sig=x", VerifyResult::Invalid, SignatureVerdict::NotChecked,
         false},
        {"no key, bad", false, signedAddress, VerifyResult::Invalid, SignatureVerdict::NotChecked, false},
        {"no key, good", false, signedAddress, VerifyResult::Valid, SignatureVerdict::NotChecked, false},
        {"key, unsigned", true, "http://h/r.zip#part", VerifyResult::Valid, SignatureVerdict::RefusedUnsigned, false},
        {"key, malformed", true, "http://h/r.zip#sig=x", VerifyResult::Valid, SignatureVerdict::RefusedMalformed,
         false},
        {"key, bad", true, signedAddress, VerifyResult::Invalid, SignatureVerdict::RefusedInvalid, true},
        {"key, archive unreadable", true, signedAddress, VerifyResult::Unreadable,
         SignatureVerdict::RefusedUnreadable, true},
        {"key, good", true, signedAddress, VerifyResult::Valid, SignatureVerdict::Valid, true},
    };
    for (const Case& c : cases) {
        FakeVerifier verifier;
        verifier.keyed = c.keyed;
        verifier.result = c.result;
        const SignatureVerdict verdict = CheckArchiveSignature(verifier, c.address, "C:\\u\\temp1.zip");
        EXPECT_EQ(verdict, c.verdict) << c.row;
        ASSERT_EQ(verifier.calls.size(), c.asksTheKey ? 1u : 0u) << c.row;
        if (c.asksTheKey) {
            EXPECT_EQ(verifier.calls[0].first, "C:\\u\\temp1.zip") << c.row;
            EXPECT_EQ(verifier.calls[0].second, Counting()) << c.row;
        }
        // An unkeyed updater's log stays as it always was; a refusal always says why.
        EXPECT_EQ(SignatureLogText(verdict).empty(), verdict == SignatureVerdict::NotChecked) << c.row;
    }
}

}  // namespace
}  // namespace qb

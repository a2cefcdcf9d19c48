// The CNG verifier under Wine, with the key this build embeds and signatures made by OpenSSL.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "updater/release_key.h"
#include "win32/updater/signature_vectors.h"
#include "updater/signature_win32.h"

namespace qb {
namespace {

using namespace test;

ReleaseSignature FromBytes(const char* bytes) {
    ReleaseSignature signature{};
    for (size_t i = 0; i < signature.size(); ++i) signature[i] = static_cast<uint8_t>(bytes[i]);
    return signature;
}

std::string Payload() {
    std::string data(kPayloadSize, '\0');
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(PayloadByte(i));
    return data;
}

class CngVerifierTest : public ::testing::Test {
protected:
    void SetUp() override {
        char folder[MAX_PATH];
        ASSERT_NE(GetTempPathA(MAX_PATH, folder), 0u);
        path_ = std::string(folder) + "qb_signature_test.zip";
    }
    void TearDown() override { DeleteFileA(path_.c_str()); }

    void Write(const std::string& data) {
        std::ofstream file(path_, std::ios::binary | std::ios::trunc);
        file.write(data.data(), static_cast<std::streamsize>(data.size()));
        ASSERT_TRUE(file.good());
    }

    std::string path_;
};

TEST_F(CngVerifierTest, OnlyTheSignatureOfThisKeyOverTheseBytesPasses) {
    ASSERT_FALSE(ReleasePublicKeyBlob().empty()) << "the win32 build embeds the test key";
    const std::string payload = Payload();
    const ReleaseSignature good = FromBytes(kTestKeySignature);
    ReleaseSignature flippedSignature = good;
    flippedSignature[40] ^= 0x01;
    std::string flippedFirst = payload, flippedLast = payload;
    flippedFirst[0] ^= 0x01;
    flippedLast[payload.size() - 1] ^= 0x80;  // in the last, short read
    struct Case {
        const char* row;
        const std::string* archive;
        ReleaseSignature signature;
        VerifyResult result;
    };
    const Case cases[] = {
        {"good signature", &payload, good, VerifyResult::Valid},
        {"a flipped byte at the archive's start", &flippedFirst, good, VerifyResult::Invalid},
        {"a flipped byte at the archive's end", &flippedLast, good, VerifyResult::Invalid},
        {"a flipped byte in the signature", &payload, flippedSignature, VerifyResult::Invalid},
        {"signed by another key", &payload, FromBytes(kOtherKeySignature), VerifyResult::Invalid},
        {"all zeros", &payload, ReleaseSignature{}, VerifyResult::Invalid},
    };
    CngSignatureVerifier verifier(ReleasePublicKeyBlob());
    EXPECT_TRUE(verifier.Keyed());
    for (const Case& c : cases) {
        Write(*c.archive);
        EXPECT_EQ(verifier.Verify(path_, c.signature), c.result) << c.row;
    }
}

TEST_F(CngVerifierTest, AMissingArchiveIsUnreadableAndNoKeyIsUnkeyed) {
    CngSignatureVerifier verifier(ReleasePublicKeyBlob());
    EXPECT_EQ(verifier.Verify(path_ + ".missing", FromBytes(kTestKeySignature)), VerifyResult::Unreadable);
    EXPECT_FALSE(CngSignatureVerifier({}).Keyed());
}

TEST_F(CngVerifierTest, AKeyBlobThatDoesNotImportVerifiesNothing) {
    Write(Payload());
    std::vector<unsigned char> broken(ReleasePublicKeyBlob().begin(), ReleasePublicKeyBlob().end());
    broken[10] ^= 0x01;  // X no longer on the curve
    CngSignatureVerifier verifier(broken);
    EXPECT_EQ(verifier.Verify(path_, FromBytes(kTestKeySignature)), VerifyResult::Invalid);
}

}  // namespace
}  // namespace qb

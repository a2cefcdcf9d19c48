// The digest the download engine keeps of what it wrote, which the signature check uses
// instead of a second pass over the archive.
#include <gtest/gtest.h>

#include "updater/received_digest_win32.h"

namespace qb {
namespace {

TEST(ReceivedDigest, PiecesHashLikeTheWholeAndOnlyTheirFileUsesThem) {
    Sha256Stream stream;
    ASSERT_TRUE(stream.Add("a", 1));
    ASSERT_TRUE(stream.Add("bc", 2));
    const std::optional<Sha256Digest> digest = stream.Finish();
    ASSERT_TRUE(digest);
    const Sha256Digest abc = {0xba, 0x78, 0x16, 0xbf, 0x8f, 0x01, 0xcf, 0xea, 0x41, 0x41, 0x40,
                              0xde, 0x5d, 0xae, 0x22, 0x23, 0xb0, 0x03, 0x61, 0xa3, 0x96, 0x17,
                              0x7a, 0x9c, 0xb4, 0x10, 0xff, 0x61, 0xf2, 0x00, 0x15, 0xad};
    EXPECT_EQ(*digest, abc);
    EXPECT_FALSE(stream.Finish()) << "a finished hash gives nothing more";

    RememberReceivedDigest("C:\\u\\temp1.zip", *digest);
    EXPECT_EQ(ReceivedDigest("C:\\u\\temp1.zip"), digest);
    EXPECT_FALSE(ReceivedDigest("C:\\u\\other.zip")) << "another file must be hashed itself";
    ForgetReceivedDigest("C:\\u\\temp1.zip");
    EXPECT_FALSE(ReceivedDigest("C:\\u\\temp1.zip"));
}

}  // namespace
}  // namespace qb

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "bytes.h"
#include "upgrade/code_page_iconv.h"
#include "upgrade/manifest_decode.h"
#include "upgrade/manifest_document.h"

namespace qb {
namespace {

// A document of the test's own that frees what it loaded.
struct Document {
    ManifestDocument document;
    ~Document() { UnloadManifestDocument(document); }
    bool Load(std::string_view bytes) { return LoadFromBytes(document, bytes); }
    Text Read(std::string_view path, std::string_view name) const { return GetAttribute(document, path, name); }
    Text Version() const { return Read(kReleaseElementPath, kVersionAttribute); }
};

// The root with one release element holding the given attributes.
std::string WithRelease(std::string_view attributes) {
    return "<最新版本><版本信息 " + std::string(attributes) + "/></最新版本>";
}

const std::string kTypical =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "<最新版本>\r\n"
    "  <版本信息 版本号=\"3.3\" 升级说明=\"修正停靠\" 下载地址=\"http://127.0.0.1:18080/Quimbrel.zip\"\r\n"
    "        文件标题=\"Quimbrel 升级\" 文件名=\"Quimbrel.zip\"/>\r\n"
    "</最新版本>\r\n";

TEST(ManifestDocument, ReadsEveryFieldOfATypicalManifest) {
    Document d;
    ASSERT_TRUE(d.Load(kTypical));
    const struct {
        std::string_view attribute;
        std::string expected;
    } rows[] = {
        {kVersionAttribute, "3.3"},
        {kNotesAttribute, "修正停靠"},
        {kDownloadAddressAttribute, "http://127.0.0.1:18080/Quimbrel.zip"},
        {kFileTitleAttribute, "Quimbrel 升级"},
        {kFileNameAttribute, "Quimbrel.zip"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(d.Read(kReleaseElementPath, row.attribute), row.expected) << row.expected;
    }
    // The names are code page 936 bytes: 最新版本 / 版本信息 and 版本号.
    EXPECT_EQ(kReleaseElementPath, Bytes("d7eed0c2b0e6b1be 2f b0e6b1bed0c5cfa2"));
    EXPECT_EQ(kVersionAttribute, Bytes("b0e6b1bebac5"));
}

struct ReadRow {
    const char* name;
    std::string document;
    std::string path;
    std::string attribute;
    std::string expected;
};

void ExpectReads(const ReadRow* begin, const ReadRow* end) {
    for (const ReadRow* row = begin; row != end; ++row) {
        Document d;
        EXPECT_TRUE(d.Load(row->document)) << row->name;
        EXPECT_EQ(d.Read(row->path, row->attribute), row->expected) << row->name;
    }
}

const std::string kPath(kReleaseElementPath);
const std::string kVersion(kVersionAttribute);
const std::string kNotes(kNotesAttribute);

TEST(ManifestDocument, FindsTheReleaseElementOnlyWhereItBelongs) {
    const ReadRow rows[] = {
        {"root of another name", "<最新版><版本信息 版本号=\"3.3\"/></最新版>", kPath, kVersion, ""},
        {"release element not a direct child",
         "<最新版本><分组><版本信息 版本号=\"3.3\"/></分组></最新版本>", kPath, kVersion, ""},
        {"first of two release elements",
         "<最新版本><版本信息 版本号=\"3.3\"/><版本信息 版本号=\"4.0\"/></最新版本>", kPath, kVersion, "3.3"},
        {"first of that name among other children",
         "<最新版本><说明 版本号=\"9\"/><版本信息 版本号=\"3.3\"/></最新版本>", kPath, kVersion, "3.3"},
        {"path of one step reads the root",
         "<最新版本 版本号=\"5\"><版本信息 版本号=\"3.3\"/></最新版本>", "最新版本", kVersion, "5"},
        {"path deeper than the document", WithRelease("版本号=\"3.3\""), kPath + "/版本号", kVersion, ""},
        {"path with an empty last step", WithRelease("版本号=\"3.3\""), kPath + "/", kVersion, ""},
        {"path starting with a separator", WithRelease("版本号=\"3.3\""), "/" + kPath, kVersion, ""},
        {"empty path", WithRelease("版本号=\"3.3\""), "", kVersion, ""},
        {"empty attribute name", WithRelease("版本号=\"3.3\""), kPath, "", ""},
        {"attribute missing", WithRelease("文件名=\"a.zip\""), kPath, kVersion, ""},
        {"names compare as exact bytes", WithRelease("Version=\"3.3\""), kPath, "version", ""},
        {"element names compare as exact bytes", "<最新版本><版本信息 版本号=\"3.3\"/></最新版本>",
         "最新版本 /版本信息", kVersion, ""},
        {"single-quoted value", WithRelease("版本号='3.3'"), kPath, kVersion, "3.3"},
        {"spaces around the equals sign", WithRelease("版本号 = \"3.3\""), kPath, kVersion, "3.3"},
        {"empty value", WithRelease("版本号=\"\""), kPath, kVersion, ""},
        {"closing tag with space before its bracket", "<最新版本><版本信息 版本号=\"3.3\"></版本信息 ></最新版本>",
         kPath, kVersion, "3.3"},
    };
    ExpectReads(std::begin(rows), std::end(rows));
}

TEST(ManifestDocument, KeepsValuesAsWrittenAndDecodesTheFiveEntitiesOnRead) {
    const ReadRow rows[] = {
        {"value spanning a line break", WithRelease("升级说明=\"第一行\r\n第二行\""), kPath, kNotes,
         Bytes("b5dad2bbd0d0 0d0a b5dab6fed0d0")},
        {"the five entities", WithRelease("升级说明=\"&lt;&gt;&amp;&apos;&quot;\""), kPath, kNotes, "<>&'\""},
        {"one pass: an encoded ampersand before lt;", WithRelease("升级说明=\"&amp;lt;\""), kPath, kNotes, "&lt;"},
        {"unknown entity kept", WithRelease("升级说明=\"a&nbsp;b\""), kPath, kNotes, "a&nbsp;b"},
        {"decimal reference kept", WithRelease("升级说明=\"&#51;\""), kPath, kNotes, "&#51;"},
        {"hexadecimal reference kept", WithRelease("升级说明=\"&#x33;\""), kPath, kNotes, "&#x33;"},
        {"entity names are case-sensitive", WithRelease("升级说明=\"&LT;&Amp;\""), kPath, kNotes, "&LT;&Amp;"},
        {"reference without semicolon kept", WithRelease("升级说明=\"&lt &amp\""), kPath, kNotes, "&lt &amp"},
        {"lone ampersand at the end", WithRelease("升级说明=\"a&\""), kPath, kNotes, "a&"},
        {"ampersand inside a two-byte character is no reference",
         WithRelease("升级说明=\"" + Bytes("81") + "&lt;\""), kPath, kNotes, Bytes("81") + "&lt;"},
        {"angle brackets inside a quoted value", WithRelease("升级说明=\"a>b<c/>\""), kPath, kNotes, "a>b<c/>"},
        {"other quote inside a value", WithRelease("升级说明=\"it's\""), kPath, kNotes, "it's"},
        {"white space kept as written", WithRelease("版本号=\" 3.3 \""), kPath, kVersion, " 3.3 "},
    };
    ExpectReads(std::begin(rows), std::end(rows));
}

TEST(ManifestDocument, IgnoresCommentsDeclarationsAndTextOutsideElements) {
    const std::string release = "<版本信息 版本号=\"3.3\"/>";
    const ReadRow rows[] = {
        {"comment before the root", "<!-- 说明 -->" + WithRelease("版本号=\"3.3\""), kPath, kVersion, "3.3"},
        {"comment inside the root", "<最新版本><!-- a -->" + release + "<!-- b --></最新版本>", kPath, kVersion,
         "3.3"},
        {"comment after the root", WithRelease("版本号=\"3.3\"") + "<!-- end -->", kPath, kVersion, "3.3"},
        {"commented-out release element",
         "<最新版本><!-- <版本信息 版本号=\"9.9\"/> -->" + release + "</最新版本>", kPath, kVersion, "3.3"},
        {"comment inside a quoted value is removed", WithRelease("版本号=\"3.<!-- x -->3\""), kPath, kVersion, "3.3"},
        {"comment between attributes", WithRelease("<!-- c --> 版本号=\"3.3\""), kPath, kVersion, "3.3"},
        {"comment holding a quote", WithRelease("版本号=\"3.3\" <!-- \" -->"), kPath, kVersion, "3.3"},
        {"comment holding dashes", "<!-- a - b -- c --->" + WithRelease("版本号=\"3.3\""), kPath, kVersion, "3.3"},
        {"declaration with an encoding", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + WithRelease("版本号=\"3.3\""),
         kPath, kVersion, "3.3"},
        {"declaration without an encoding", "<?xml version=\"1.0\"?>\n" + WithRelease("版本号=\"3.3\""), kPath,
         kVersion, "3.3"},
        {"document type declaration", "<!DOCTYPE 最新版本>" + WithRelease("版本号=\"3.3\""), kPath, kVersion, "3.3"},
        {"decoded byte-order mark before the declaration",
         "?<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + WithRelease("版本号=\"3.3\""), kPath, kVersion, "3.3"},
        {"text between elements", "<最新版本>说明 > 文字" + release + "尾</最新版本>", kPath, kVersion, "3.3"},
        {"text after the root", WithRelease("版本号=\"3.3\"") + "\r\n尾", kPath, kVersion, "3.3"},
        {"element with content",
         "<最新版本><版本信息 版本号=\"3.3\">内容<说明/></版本信息></最新版本>", kPath, kVersion, "3.3"},
    };
    ExpectReads(std::begin(rows), std::end(rows));
}

// A byte of 0x81 or above takes the next byte with it, whatever that byte is.
TEST(ManifestDocument, TwoByteCharactersHideTheMarkupTheirSecondByteSpells) {
    const std::string lead = Bytes("81");
    const ReadRow rows[] = {
        {"second byte a quote: the value goes on", WithRelease("升级说明=\"" + lead + "\"\" 版本号=\"3.3\""), kPath,
         kNotes, lead + "\""},
        {"second byte a quote: the next attribute still reads",
         WithRelease("升级说明=\"" + lead + "\"\" 版本号=\"3.3\""), kPath, kVersion, "3.3"},
        {"second byte a less-than sign in text: no element starts",
         "<最新版本>" + lead + "<版本信息 版本号=\"3.3\"/></最新版本>", kPath, kVersion, ""},
        {"second byte a less-than sign in a value", WithRelease("升级说明=\"" + lead + "<\""), kPath, kNotes,
         lead + "<"},
        {"0xFF counts as a first byte too", "<最新版本>" + Bytes("ff") + "<版本信息 版本号=\"3.3\"/></最新版本>", kPath,
         kVersion, ""},
        {"first byte as the very last byte", WithRelease("版本号=\"3.3\"") + lead, kPath, kVersion, "3.3"},
        {"second byte a less-than sign before a comment opener: no comment",
         "<最新版本>" + lead + "<!-- <版本信息 版本号=\"3.3\"/> --></最新版本>", kPath, kVersion, "3.3"},
        {"names hold two-byte characters", "<最新版本><版本信息 " + Bytes("8141") + "=\"x\"/></最新版本>", kPath,
         Bytes("8141"), "x"},
    };
    ExpectReads(std::begin(rows), std::end(rows));
}

TEST(ManifestDocument, MalformedDocumentsLoadNothing) {
    const std::string lead = Bytes("81");
    const struct {
        const char* name;
        std::string document;
    } rows[] = {
        {"duplicate attribute in the release element", WithRelease("版本号=\"3.3\" 文件名=\"a\" 版本号=\"3.4\"")},
        {"duplicate attribute in another element",
         "<最新版本><版本信息 版本号=\"3.3\"/><其他 a=\"1\" a=\"2\"/></最新版本>"},
        {"duplicate attribute in the root", "<最新版本 a=\"1\" a=\"1\"><版本信息 版本号=\"3.3\"/></最新版本>"},
        {"unclosed element", "<最新版本><版本信息 版本号=\"3.3\">"},
        {"unclosed root", "<最新版本><版本信息 版本号=\"3.3\"/>"},
        {"wrong closing tag", "<最新版本><版本信息 版本号=\"3.3\"></最新版本>"},
        {"closing tag with nothing open", WithRelease("版本号=\"3.3\"") + "</最新版本>"},
        {"text with no element", "3.3"},
        {"declaration only", "<?xml version=\"1.0\"?>"},
        {"comment only", "<!-- <最新版本/> -->"},
        {"second top-level element", WithRelease("版本号=\"3.3\"") + "<最新版本/>"},
        {"unterminated markup", WithRelease("版本号=\"3.3\"") + "<?xml version=\"1.0\""},
        {"unterminated quote", "<最新版本><版本信息 版本号=\"3.3/></最新版本>"},
        {"attribute without a value", WithRelease("版本号")},
        {"attribute without quotes", WithRelease("版本号=3.3")},
        {"empty element name", "<><版本信息 版本号=\"3.3\"/></>"},
        {"space before the element name", "< 最新版本/>"},
        {"slash inside a tag", "<最新版本 / a=\"1\"/>"},
        {"less-than sign at the very end", WithRelease("版本号=\"3.3\"") + "<"},
        {"tag cut off after a first byte", "<最新版本 a=\"" + lead},
        {"element name cut off by the end", "<最新版本"},
        {"less-than sign inside a tag", "<最新版本 <版本信息/>"},
    };
    for (const auto& row : rows) {
        Document d;
        ASSERT_TRUE(d.Load(kTypical));
        EXPECT_FALSE(d.Load(row.document)) << row.name;
        EXPECT_EQ(d.document.loaded, 0) << row.name;
        EXPECT_EQ(d.document.tree, nullptr) << row.name;
        EXPECT_EQ(d.Version(), "") << row.name;
        EXPECT_EQ(d.Read(kReleaseElementPath, kFileNameAttribute), "") << row.name;
    }
}

TEST(ManifestDocument, EmptyBytesLeaveTheLastManifestInPlace) {
    Document d;
    EXPECT_FALSE(d.Load(""));
    EXPECT_EQ(d.Version(), "");

    ASSERT_TRUE(d.Load(kTypical));
    EXPECT_FALSE(d.Load(""));
    EXPECT_EQ(d.Version(), "3.3");
}

TEST(ManifestDocument, ALoadReplacesTheLastManifest) {
    Document d;
    ASSERT_TRUE(d.Load(kTypical));
    ASSERT_TRUE(d.Load(WithRelease("版本号=\"4.0\"")));
    EXPECT_EQ(d.Version(), "4.0");
    EXPECT_EQ(d.Read(kReleaseElementPath, kFileNameAttribute), "");
}

// The road of an update check: server bytes, decoded, loaded, read.
TEST(ManifestDocument, ReadsDecodedServerBytes) {
    const std::string utf8Manifest =
        Bytes("3c3f786d6c2076657273696f6e3d22312e302220656e636f64696e673d225554462d38223f3e0a")  // declaration
        + Bytes("3c e69c80e696b0e78988e69cac 3e")                                                  // <最新版本>
        + Bytes("3c e78988e69cace4bfa1e681af 20 e78988e69cace58fb7 3d 22 efbc93efbc8eefbc93 22 2f3e")
        + Bytes("3c2f e69c80e696b0e78988e69cac 3e");
    const struct {
        const char* name;
        std::string bytes;
        std::string expected;
    } rows[] = {
        {"without a byte-order mark", utf8Manifest, Bytes("a3b3 a3ae a3b3")},
        {"with a byte-order mark", Bytes("efbbbf") + utf8Manifest, Bytes("a3b3 a3ae a3b3")},
        {"with a zero byte after it", utf8Manifest + Bytes("00 3c3c"), Bytes("a3b3 a3ae a3b3")},
    };
    IconvCodePageConverter converter;
    for (const auto& row : rows) {
        Document d;
        EXPECT_TRUE(d.Load(DecodeManifestBytes(row.bytes, converter))) << row.name;
        EXPECT_EQ(d.Version(), row.expected) << row.name;
    }
}

TEST(ManifestDocument, DataStartingWithAZeroByteKeepsTheEarlierManifest) {
    IconvCodePageConverter converter;
    const std::string data = Bytes("00") + WithRelease("版本号=\"4.0\"");
    Document fresh;
    EXPECT_FALSE(fresh.Load(DecodeManifestBytes(data, converter)));
    EXPECT_EQ(fresh.Version(), "");

    Document earlier;
    ASSERT_TRUE(earlier.Load(kTypical));
    EXPECT_FALSE(earlier.Load(DecodeManifestBytes(data, converter)));
    EXPECT_EQ(earlier.Version(), "3.3");
}

// What a hostile server can send: nesting deep enough to overflow a recursive reader, and
// inputs that a naive one would take quadratic time over.
TEST(ManifestDocument, StandsHostileShapes) {
    constexpr size_t kDepth = 200000;
    std::string deep;
    for (size_t i = 0; i < kDepth; ++i) deep += "<最新版本>";
    for (size_t i = 0; i < kDepth; ++i) deep += "</最新版本>";
    {
        Document d;
        EXPECT_TRUE(d.Load("<最新版本 版本号=\"1\">" + deep + "</最新版本>"));
        EXPECT_EQ(d.Read("最新版本", kVersion), "1");
        EXPECT_EQ(d.Read("最新版本/最新版本/最新版本", kVersion), "");
    }
    {
        Document d;
        EXPECT_FALSE(d.Load(deep.substr(0, deep.size() / 2)));
    }

    constexpr int kAttributes = 50000;
    std::string many;
    for (int i = 0; i < kAttributes; ++i) many += " a" + std::to_string(i) + "=\"" + std::to_string(i) + "\"";
    {
        Document d;
        EXPECT_TRUE(d.Load(WithRelease(many)));
        EXPECT_EQ(d.Read(kPath, "a49999"), "49999");
    }
    {
        Document d;
        EXPECT_FALSE(d.Load(WithRelease(many + " a123=\"x\"")));
    }

    std::string openers;
    for (int i = 0; i < 250000; ++i) openers += "<!--";
    {
        Document d;
        EXPECT_TRUE(d.Load(WithRelease("版本号=\"3.3\"") + openers + ">"));
        EXPECT_EQ(d.Version(), "3.3");
    }
}

TEST(ManifestDocument, ReleaseFreesTheLoadedTreeAndTheHolderOnce) {
    ManifestDocument* document = CreateManifestDocument();
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(TheManifestDocument(), document);
    ASSERT_TRUE(LoadFromBytes(*document, kTypical));
    ReleaseManifestDocument();  // the leak checker tells if the tree stayed
    EXPECT_EQ(TheManifestDocument(), nullptr);
    ReleaseManifestDocument();
    EXPECT_EQ(TheManifestDocument(), nullptr);
}

}  // namespace
}  // namespace qb

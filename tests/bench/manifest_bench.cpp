// The manifest reader's throughput on a 1 MiB manifest and the cost of one whole read of a
// typical manifest (decode, load, four reads), each against a plain scan of the same bytes
// measured in the same run. Prints figures; asserts nothing.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

#include <time.h>

#include "upgrade/code_page_iconv.h"
#include "upgrade/manifest_decode.h"
#include "upgrade/manifest_document.h"
#include "upgrade/version_compare.h"

namespace {

using namespace qb;

// <chrono> holds a literal that code page 936 cannot encode, so the clock is the C one.
double Now() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

volatile size_t g_sink;  // keeps the measured work from being optimised away

// Seconds per call: the best of several rounds, each long enough for the clock.
template <typename Work>
double SecondsPerCall(Work&& work) {
    size_t calls = 1;
    for (;;) {
        const double start = Now();
        for (size_t i = 0; i < calls; ++i) work();
        if (Now() - start >= 0.05) break;
        calls *= 2;
    }
    double best = std::numeric_limits<double>::infinity();
    for (int round = 0; round < 7; ++round) {
        const double start = Now();
        for (size_t i = 0; i < calls; ++i) work();
        best = std::min(best, (Now() - start) / static_cast<double>(calls));
    }
    return best;
}

// The reference: one pass over the bytes looking for the one byte that starts markup.
size_t CountLessThan(std::string_view bytes) {
    size_t count = 0;
    const char* p = bytes.data();
    const char* end = p + bytes.size();
    while ((p = static_cast<const char*>(std::memchr(p, '<', static_cast<size_t>(end - p))))) {
        ++count;
        ++p;
    }
    return count;
}

// Program text of about the given size: release elements with Chinese values, entities
// and comments, as a long-lived server's manifest might grow.
std::string LargeManifest(size_t size) {
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<最新版本>\r\n";
    for (int n = 0; text.size() < size; ++n) {
        const std::string v = std::to_string(n);
        if (n % 8 == 0) text += "  <!-- 第" + v + "版 -->\r\n";
        text += "  <版本信息 版本号=\"3." + v + "\" 升级说明=\"修正停靠与淡出 &amp; 改进 &lt;界面&gt;\" 下载地址=\"http://"
                "127.0.0.1:18080/Quimbrel" + v + ".zip\" 文件标题=\"Quimbrel 升级\" 文件名=\"Quimbrel" + v + ".zip\"/>\r\n";
    }
    return text + "</最新版本>\r\n";
}

// A typical manifest as the server sends it: UTF-8 with a byte-order mark.
const std::string kTypicalUtf8 =
    "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "<\xE6\x9C\x80\xE6\x96\xB0\xE7\x89\x88\xE6\x9C\xAC>\r\n"                                  // <最新版本>
    "  <\xE7\x89\x88\xE6\x9C\xAC\xE4\xBF\xA1\xE6\x81\xAF"                                       // <版本信息
    " \xE7\x89\x88\xE6\x9C\xAC\xE5\x8F\xB7=\"3.3\""                                             // 版本号
    " \xE5\x8D\x87\xE7\xBA\xA7\xE8\xAF\xB4\xE6\x98\x8E=\"\xE4\xBF\xAE\xE6\xAD\xA3\xE5\x81\x9C"  // 升级说明="修正停靠"
    "\xE9\x9D\xA0\""
    " \xE4\xB8\x8B\xE8\xBD\xBD\xE5\x9C\xB0\xE5\x9D\x80=\"http://127.0.0.1:18080/Quimbrel.zip\""  // 下载地址
    " \xE6\x96\x87\xE4\xBB\xB6\xE6\xA0\x87\xE9\xA2\x98=\"Quimbrel\""                             // 文件标题
    " \xE6\x96\x87\xE4\xBB\xB6\xE5\x90\x8D=\"Quimbrel.zip\"/>\r\n"                               // 文件名
    "</\xE6\x9C\x80\xE6\x96\xB0\xE7\x89\x88\xE6\x9C\xAC>\r\n";

size_t ReadFour(const ManifestDocument& document) {
    const Text version = GetAttribute(document, kReleaseElementPath, kVersionAttribute);
    return IsNewerVersion(version, 3.2) + version.size() +
           GetAttribute(document, kReleaseElementPath, kNotesAttribute).size() +
           GetAttribute(document, kReleaseElementPath, kDownloadAddressAttribute).size() +
           GetAttribute(document, kReleaseElementPath, kFileNameAttribute).size();
}

}  // namespace

int main() {
    const std::string large = LargeManifest(1 << 20);
    ManifestDocument document;
    if (!LoadFromBytes(document, large) || GetAttribute(document, kReleaseElementPath, kVersionAttribute) != "3.0") {
        std::fprintf(stderr, "manifest_bench: the generated manifest does not read\n");
        return 1;
    }
    const double load = SecondsPerCall([&] { g_sink = g_sink + LoadFromBytes(document, large); });
    const double scan = SecondsPerCall([&] { g_sink = g_sink + CountLessThan(large); });
    const double megabytes = static_cast<double>(large.size()) / 1e6;
    std::printf("manifest reader, LoadFromBytes on a %.2f MB manifest (host, -O2):\n", megabytes);
    std::printf("  %.0f MB/s, memchr scan for '<' %.0f MB/s, ratio %.1f\n", megabytes / load, megabytes / scan,
                load / scan);

    IconvCodePageConverter converter;
    const Text decoded = DecodeManifestBytes(kTypicalUtf8, converter);
    if (!LoadFromBytes(document, decoded) || ReadFour(document) == 0) {
        std::fprintf(stderr, "manifest_bench: the typical manifest does not read\n");
        return 1;
    }
    const double whole = SecondsPerCall([&] {
        const Text text = DecodeManifestBytes(kTypicalUtf8, converter);
        g_sink = g_sink + LoadFromBytes(document, text) + ReadFour(document);
    });
    const double decode = SecondsPerCall([&] { g_sink = g_sink + DecodeManifestBytes(kTypicalUtf8, converter).size(); });
    const double read = SecondsPerCall([&] { g_sink = g_sink + LoadFromBytes(document, decoded) + ReadFour(document); });
    const double typicalScan = SecondsPerCall([&] { g_sink = g_sink + CountLessThan(kTypicalUtf8); });
    std::printf("one update-check read of a typical %zu-byte manifest: decode + load + four reads (host):\n",
                kTypicalUtf8.size());
    std::printf("  %.2f us (alone: decode with iconv %.2f us, load and reads %.2f us), memchr scan %.3f us, ratio %.0f\n",
                whole * 1e6, decode * 1e6, read * 1e6, typicalScan * 1e6, whole / typicalScan);
    UnloadManifestDocument(document);
    return 0;
}

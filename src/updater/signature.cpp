#include "updater/signature.h"

#include <optional>

namespace qb {

namespace {

constexpr std::string_view kSignatureName = "sig";
// 64 bytes in base64url without padding: 21 groups of four and one of two characters.
constexpr size_t kEncodedSize = (kSignatureSize * 8 + 5) / 6;

int Base64UrlValue(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '-') return 62;
    if (c == '_') return 63;
    return -1;
}

std::optional<ReleaseSignature> DecodeSignature(std::string_view encoded) {
    if (encoded.size() != kEncodedSize) return std::nullopt;
    ReleaseSignature bytes{};
    uint32_t bits = 0;
    int pending = 0;
    size_t out = 0;
    for (char c : encoded) {
        const int value = Base64UrlValue(c);
        if (value < 0) return std::nullopt;
        bits = (bits << 6) | static_cast<uint32_t>(value);
        pending += 6;
        if (pending >= 8) {
            pending -= 8;
            bytes[out++] = static_cast<uint8_t>(bits >> pending);
        }
        bits &= (1u << pending) - 1;
    }
    // One spelling per signature: the unused low bits of the last character are zero.
    if (bits != 0) return std::nullopt;
    return bytes;
}

}  // namespace

AddressSignature ReadAddressSignature(std::string_view address) {
    const size_t hash = address.find('#');
    if (hash == std::string_view::npos) return {};
    std::string_view fragment = address.substr(hash + 1);
    AddressSignature found;
    while (true) {
        const size_t amp = fragment.find('&');
        const std::string_view parameter = fragment.substr(0, amp);
        const size_t equals = parameter.find('=');
        if (parameter.substr(0, equals) == kSignatureName) {
            // A second signature could be read either way; neither is trusted.
            if (found.field != SignatureField::Absent || equals == std::string_view::npos) {
                return {SignatureField::Malformed, {}};
            }
            const std::optional<ReleaseSignature> bytes = DecodeSignature(parameter.substr(equals + 1));
            if (!bytes) return {SignatureField::Malformed, {}};
            found = {SignatureField::Present, *bytes};
        }
        if (amp == std::string_view::npos) break;
        fragment.remove_prefix(amp + 1);
    }
    return found;
}

SignatureVerdict CheckArchiveSignature(SignatureVerifier& verifier, std::string_view address, const Text& archive) {
    if (!verifier.Keyed()) return SignatureVerdict::NotChecked;
    const AddressSignature signature = ReadAddressSignature(address);
    switch (signature.field) {
        case SignatureField::Absent: return SignatureVerdict::RefusedUnsigned;
        case SignatureField::Malformed: return SignatureVerdict::RefusedMalformed;
        case SignatureField::Present: break;
    }
    switch (verifier.Verify(archive, signature.bytes)) {
        case VerifyResult::Valid: return SignatureVerdict::Valid;
        case VerifyResult::Invalid: return SignatureVerdict::RefusedInvalid;
        case VerifyResult::Unreadable: return SignatureVerdict::RefusedUnreadable;
    }
    return SignatureVerdict::RefusedInvalid;
}

std::string_view SignatureLogText(SignatureVerdict verdict) {
    switch (verdict) {
        case SignatureVerdict::NotChecked: return {};
        case SignatureVerdict::Valid: return "升级文件签名验证通过\r\n";
        case SignatureVerdict::RefusedUnsigned: return "拒绝安装升级文件：下载地址没有签名\r\n";
        case SignatureVerdict::RefusedMalformed: return "拒绝安装升级文件：签名格式无效\r\n";
        case SignatureVerdict::RefusedInvalid: return "拒绝安装升级文件：签名与文件不符，文件可能被篡改\r\n";
        case SignatureVerdict::RefusedUnreadable: return "拒绝安装升级文件：无法读取文件以验证签名\r\n";
    }
    return {};
}

}  // namespace qb

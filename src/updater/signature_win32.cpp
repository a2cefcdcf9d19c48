#include "updater/signature_win32.h"
#include "updater/received_digest_win32.h"

#include <windows.h>
#include <bcrypt.h>

#include <memory>
#include <optional>
#include <vector>

namespace qb {

namespace {

constexpr DWORD kReadChunk = 1 << 20;
constexpr size_t kSha256Size = 32;

struct AlgorithmCloser {
    void operator()(BCRYPT_ALG_HANDLE h) const { BCryptCloseAlgorithmProvider(h, 0); }
};
struct HashCloser {
    void operator()(BCRYPT_HASH_HANDLE h) const { BCryptDestroyHash(h); }
};
struct KeyCloser {
    void operator()(BCRYPT_KEY_HANDLE h) const { BCryptDestroyKey(h); }
};
struct FileCloser {
    void operator()(HANDLE h) const { CloseHandle(h); }
};
using Algorithm = std::unique_ptr<void, AlgorithmCloser>;
using Hash = std::unique_ptr<void, HashCloser>;
using Key = std::unique_ptr<void, KeyCloser>;
using File = std::unique_ptr<void, FileCloser>;

bool Succeeded(NTSTATUS status) { return status >= 0; }

Algorithm OpenAlgorithm(LPCWSTR id) {
    BCRYPT_ALG_HANDLE handle = nullptr;
    if (!Succeeded(BCryptOpenAlgorithmProvider(&handle, id, nullptr, 0))) return nullptr;
    return Algorithm(handle);
}

// The one-call BCryptHash is Windows 10 only; this road works from Windows 7.
std::optional<std::vector<UCHAR>> HashFile(const Text& path) {
    HANDLE opened = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return std::nullopt;
    const File file(opened);
    const Algorithm sha256 = OpenAlgorithm(BCRYPT_SHA256_ALGORITHM);
    if (!sha256) return std::nullopt;
    BCRYPT_HASH_HANDLE hashHandle = nullptr;
    if (!Succeeded(BCryptCreateHash(sha256.get(), &hashHandle, nullptr, 0, nullptr, 0, 0))) return std::nullopt;
    const Hash hash(hashHandle);
    std::vector<UCHAR> buffer(kReadChunk);
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.get(), buffer.data(), kReadChunk, &read, nullptr)) return std::nullopt;
        if (read == 0) break;
        if (!Succeeded(BCryptHashData(hash.get(), buffer.data(), read, 0))) return std::nullopt;
    }
    std::vector<UCHAR> digest(kSha256Size);
    if (!Succeeded(BCryptFinishHash(hash.get(), digest.data(), static_cast<ULONG>(digest.size()), 0))) {
        return std::nullopt;
    }
    return digest;
}

}  // namespace

VerifyResult CngSignatureVerifier::Verify(const Text& file, const ReleaseSignature& signature) {
    if (key_.empty()) return VerifyResult::Invalid;
    // The engine's digest of the bytes it wrote, when it has one for this file; else a pass.
    std::optional<std::vector<UCHAR>> digest;
    if (const std::optional<Sha256Digest> received = ReceivedDigest(file)) {
        digest.emplace(received->begin(), received->end());
    } else {
        digest = HashFile(file);
    }
    if (!digest) return VerifyResult::Unreadable;
    const Algorithm ecdsa = OpenAlgorithm(BCRYPT_ECDSA_P256_ALGORITHM);
    if (!ecdsa) return VerifyResult::Invalid;
    BCRYPT_KEY_HANDLE keyHandle = nullptr;
    // A key the build got wrong verifies nothing, which is the safe way to be wrong.
    if (!Succeeded(BCryptImportKeyPair(ecdsa.get(), nullptr, BCRYPT_ECCPUBLIC_BLOB, &keyHandle,
                                       const_cast<PUCHAR>(key_.data()), static_cast<ULONG>(key_.size()), 0))) {
        return VerifyResult::Invalid;
    }
    const Key key(keyHandle);
    ReleaseSignature bytes = signature;
    const NTSTATUS status = BCryptVerifySignature(key.get(), nullptr, const_cast<PUCHAR>(digest->data()),
                                                  static_cast<ULONG>(digest->size()), bytes.data(),
                                                  static_cast<ULONG>(bytes.size()), 0);
    return Succeeded(status) ? VerifyResult::Valid : VerifyResult::Invalid;
}

}  // namespace qb

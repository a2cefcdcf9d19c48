#include "updater/received_digest_win32.h"

#include <windows.h>
#include <bcrypt.h>

namespace qb {

namespace {

// A slim lock: the engine writes it from its worker, the check reads it on the window's thread.
SRWLOCK g_lock = SRWLOCK_INIT;

class Locked {
public:
    Locked() { AcquireSRWLockExclusive(&g_lock); }
    ~Locked() { ReleaseSRWLockExclusive(&g_lock); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;
};
Text g_path;
bool g_wanted = false;  // set once, before the download starts
std::optional<Sha256Digest> g_digest;

bool Succeeded(NTSTATUS status) { return status >= 0; }

}  // namespace

Sha256Stream::Sha256Stream() {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
    if (!Succeeded(BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0))) {
        failed_ = true;
        return;
    }
    algorithm_ = algorithm;
    if (!Succeeded(BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0))) {
        failed_ = true;
        return;
    }
    hash_ = hash;
}

Sha256Stream::~Sha256Stream() {
    if (hash_) BCryptDestroyHash(hash_);
    if (algorithm_) BCryptCloseAlgorithmProvider(algorithm_, 0);
}

bool Sha256Stream::Add(const void* data, uint32_t size) {
    if (failed_) return false;
    failed_ = !Succeeded(BCryptHashData(hash_, static_cast<PUCHAR>(const_cast<void*>(data)), size, 0));
    return !failed_;
}

std::optional<Sha256Digest> Sha256Stream::Finish() {
    if (failed_) return std::nullopt;
    Sha256Digest digest{};
    failed_ = true;  // a hash object finishes once
    if (!Succeeded(BCryptFinishHash(hash_, digest.data(), static_cast<ULONG>(digest.size()), 0))) return std::nullopt;
    return digest;
}

void SetReceivedDigestWanted(bool wanted) { g_wanted = wanted; }

bool ReceivedDigestWanted() { return g_wanted; }

void RememberReceivedDigest(const Text& path, const Sha256Digest& digest) {
    const Locked guard;
    g_path = path;
    g_digest = digest;
}

void ForgetReceivedDigest(const Text& path) {
    const Locked guard;
    if (g_path == path) g_digest.reset();
}

std::optional<Sha256Digest> ReceivedDigest(const Text& path) {
    const Locked guard;
    if (g_digest && g_path == path) return g_digest;
    return std::nullopt;
}

}  // namespace qb

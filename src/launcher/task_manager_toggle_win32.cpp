#include "launcher/task_manager_toggle_win32.h"

#include <cstring>

namespace qb {

namespace {

// Closes the key on every way out of a read or a write.
class OpenKey {
public:
    OpenKey() = default;
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    ~OpenKey() {
        if (key_) RegCloseKey(key_);
    }
    bool Open(HKEY root, const Text& path, REGSAM access) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(root, path.c_str(), 0, access, &key) != ERROR_SUCCESS) return false;
        key_ = key;
        return true;
    }
    bool Create(HKEY root, const Text& path) {
        HKEY key = nullptr;
        if (RegCreateKeyA(root, path.c_str(), &key) != ERROR_SUCCESS) return false;
        key_ = key;
        return true;
    }
    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

}  // namespace

HKEY RegistryRoot(PolicyRoot root) {
    switch (root) {
        case PolicyRoot::ClassesRoot:
            return HKEY_CLASSES_ROOT;
        case PolicyRoot::CurrentConfig:
            return HKEY_CURRENT_CONFIG;
        case PolicyRoot::CurrentUser:
            return HKEY_CURRENT_USER;
    }
    return nullptr;
}

RegistryPolicyStore::RegistryPolicyStore() : location_(SplitPolicyLocation(kPolicyLocation)) {}

int32_t RegistryPolicyStore::ReadPolicyValue(PolicyRoot root) {
    OpenKey key;
    if (!key.Open(RegistryRoot(root), location_.key, KEY_READ)) return 0;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.Get(), location_.valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        return 0;
    }
    if (type != REG_DWORD) return 0;
    // Zeroed first: a REG_DWORD shorter than four bytes leaves the rest as it was.
    BYTE data[4] = {};
    size = sizeof(data);
    if (RegQueryValueExA(key.Get(), location_.valueName.c_str(), nullptr, &type, data, &size) != ERROR_SUCCESS) {
        return 0;
    }
    int32_t value = 0;
    std::memcpy(&value, data, sizeof(value));
    return value;
}

bool RegistryPolicyStore::WritePolicyValue(PolicyRoot root, int32_t value) {
    OpenKey key;
    if (!key.Open(RegistryRoot(root), location_.key, KEY_WRITE) && !key.Create(RegistryRoot(root), location_.key)) {
        return false;
    }
    BYTE data[4];
    std::memcpy(data, &value, sizeof(data));
    return RegSetValueExA(key.Get(), location_.valueName.c_str(), 0, REG_DWORD, data, sizeof(data)) == ERROR_SUCCESS;
}

}  // namespace qb

// The policy store against Wine's real registry, under each of the three roots.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "launcher/task_manager_toggle_win32.h"

namespace qb {
namespace {

constexpr char kKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
constexpr char kValue[] = "DisableTaskMgr";

const char* Name(PolicyRoot root) {
    switch (root) {
        case PolicyRoot::ClassesRoot:
            return "HKEY_CLASSES_ROOT";
        case PolicyRoot::CurrentConfig:
            return "HKEY_CURRENT_CONFIG";
        case PolicyRoot::CurrentUser:
            return "HKEY_CURRENT_USER";
    }
    return "?";
}

bool KeyExists(HKEY root) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

void Store(HKEY root, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyA(root, kKey, &key), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key, kValue, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    RegCloseKey(key);
}

class PolicyStoreTest : public ::testing::TestWithParam<PolicyRoot> {
protected:
    void SetUp() override { Forget(); }
    void TearDown() override { Forget(); }  // the next test and the e2e tests share this prefix
    void Forget() {
        // Only our value, then the key if that left it empty: the prefix may hold others.
        HKEY key = nullptr;
        if (RegOpenKeyExA(root(), kKey, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, kValue);
            RegCloseKey(key);
        }
        (void)RegDeleteKeyA(root(), kKey);
    }
    HKEY root() const { return RegistryRoot(GetParam()); }

    RegistryPolicyStore store_;
};

TEST_P(PolicyStoreTest, MissingKeyReadsZeroAndIsCreatedOnWrite) {
    if (!KeyExists(root())) {
        EXPECT_EQ(store_.ReadPolicyValue(GetParam()), 0) << "missing key";
    }
    ASSERT_TRUE(store_.WritePolicyValue(GetParam(), 1));
    EXPECT_TRUE(KeyExists(root()));
    EXPECT_EQ(store_.ReadPolicyValue(GetParam()), 1);

    // Stored as a four-byte REG_DWORD.
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(root(), kKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD type = 0, data = 0, size = sizeof(data);
    EXPECT_EQ(RegQueryValueExA(key, kValue, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(data, 1u);

    ASSERT_TRUE(store_.WritePolicyValue(GetParam(), 0));
    EXPECT_EQ(store_.ReadPolicyValue(GetParam()), 0);
    ASSERT_TRUE(store_.WritePolicyValue(GetParam(), -2));
    EXPECT_EQ(store_.ReadPolicyValue(GetParam()), -2);
}

TEST_P(PolicyStoreTest, WhatReadsAsZero) {
    struct Row {
        const char* name;
        DWORD type;
        std::string bytes;
        int32_t expected;
    };
    const Row rows[] = {
        {"a string \"1\"", REG_SZ, std::string("1\0", 2), 0},
        {"a four-byte binary 1", REG_BINARY, std::string("\x01\0\0\0", 4), 0},
        {"a REG_DWORD 1", REG_DWORD, std::string("\x01\0\0\0", 4), 1},
        {"a REG_DWORD of two bytes reads those two", REG_DWORD, std::string("\x02\x01", 2), 0x0102},
    };
    for (const Row& row : rows) {
        Store(root(), row.type, row.bytes.data(), static_cast<DWORD>(row.bytes.size()));
        EXPECT_EQ(store_.ReadPolicyValue(GetParam()), row.expected) << row.name;
    }
    // The key there, the value not.
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(root(), kKey, 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    RegDeleteValueA(key, kValue);
    RegCloseKey(key);
    EXPECT_EQ(store_.ReadPolicyValue(GetParam()), 0) << "missing value";
}

INSTANTIATE_TEST_SUITE_P(EveryRoot, PolicyStoreTest,
                         ::testing::Values(PolicyRoot::ClassesRoot, PolicyRoot::CurrentConfig, PolicyRoot::CurrentUser),
                         [](const ::testing::TestParamInfo<PolicyRoot>& row) { return std::string(Name(row.param)); });

}  // namespace
}  // namespace qb

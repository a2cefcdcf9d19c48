// The guard's system calls against Wine's kernel objects.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/single_instance_win32.h"

namespace qb {
namespace {

Text UniqueName(const char* what) {
    return "QuimbrelGuardTest-" + std::to_string(GetCurrentProcessId()) + "-" + what;
}

TEST(Win32InstanceGuardHost, FindsCreatesAndNoticesARace) {
    Win32InstanceGuardHost host;
    const Text name = UniqueName("event");
    EXPECT_FALSE(host.OpenGuardEvent(name)) << "nothing of that name yet";
    EXPECT_EQ(host.CreateGuardEvent(name), EventCreation::Created);
    EXPECT_TRUE(host.OpenGuardEvent(name)) << "the event held by the first creation";
    EXPECT_FALSE(host.OpenGuardEvent(UniqueName("EVENT"))) << "names are case-sensitive";
    // A second creation of the same name is what a start at the same moment sees.
    EXPECT_EQ(host.CreateGuardEvent(name), EventCreation::AlreadyExisted);
}

TEST(Win32InstanceGuardHost, ANameHeldByAnotherKindOfObject) {
    Win32InstanceGuardHost host;
    const Text name = UniqueName("mutex");
    HANDLE mutex = CreateMutexA(nullptr, FALSE, name.c_str());
    ASSERT_NE(mutex, nullptr);
    EXPECT_FALSE(host.OpenGuardEvent(name));
    EXPECT_EQ(host.CreateGuardEvent(name), EventCreation::Failed);
    CloseHandle(mutex);
}

TEST(Win32InstanceGuardHost, TheFallbackNameIsAValidObjectName) {
    // An object name may not hold a backslash outside a namespace prefix: that is why
    // the fallback turns them into forward slashes.
    Win32InstanceGuardHost host;
    const Text name = GuardEventName("", {"C:\\Tools\\" + UniqueName("dir"), "Quimbrel.exe"});
    EXPECT_EQ(name.find('\\'), Text::npos);
    EXPECT_EQ(host.CreateGuardEvent(name), EventCreation::Created);
    EXPECT_TRUE(host.OpenGuardEvent(name));
}

}  // namespace
}  // namespace qb

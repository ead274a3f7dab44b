// The login entry of kuvito.exe as Windows' own registry calls see it: the
// value "kuvito" under the user's Run key, holding the program's quoted path.
#include "AutostartStore.h"

#include "KuvitoError.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The value as Windows has it; nullopt-like empty with found = false.
std::wstring runValue(bool& found) {
    wchar_t text[1024] = {};
    DWORD size = sizeof text;
    DWORD type = 0;
    found = ::RegGetValueW(HKEY_CURRENT_USER, kRunKey, L"kuvito", RRF_RT_ANY, &type, text, &size) ==
            ERROR_SUCCESS;
    EXPECT_TRUE(!found || type == REG_SZ) << "the Run key wants a plain string";
    return found ? std::wstring(text) : std::wstring();
}

class AutostartStoreWin32Test : public ::testing::Test {
protected:
    void TearDown() override { ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, L"kuvito"); }
};

TEST_F(AutostartStoreWin32Test, TickedHoldsTheQuotedPathUntickedOrRemovedByHandIsOff) {
    bool found = true;
    // Also with no Run key at all, as in a fresh profile.
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, L"kuvito");
    EXPECT_FALSE(AutostartStore::isOn());
    EXPECT_NO_THROW(AutostartStore::turnOff()) << "nothing there is no error";

    // A path beyond ASCII with a space, as under "Program Files".
    AutostartStore::turnOn("C:\\Program Files\\走れ くん\\kuvito.exe");
    EXPECT_EQ(runValue(found), L"\"C:\\Program Files\\走れ くん\\kuvito.exe\"");
    EXPECT_TRUE(AutostartStore::isOn());

    AutostartStore::turnOff();
    runValue(found);
    EXPECT_FALSE(found);
    EXPECT_FALSE(AutostartStore::isOn());

    AutostartStore::turnOn("C:\\kuvito\\kuvito.exe");
    ASSERT_EQ(::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, L"kuvito"), ERROR_SUCCESS);
    EXPECT_FALSE(AutostartStore::isOn()) << "removed by hand";
}

} // namespace

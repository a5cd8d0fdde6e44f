// Win32 code only: what the real registry adds to the shared registry tests:
// value types as Windows stores them, the 32-bit view, and error statuses.
#include <gtest/gtest.h>

#include "platform/RegistryUnderTest.h"
#include "platform/win32/Services_win32.h"
#include "platform/win32/Win32Util_win32.h"

namespace krv::win32 {
namespace {

class Win32RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto all = NativeRegistriesUnderTest();
    ASSERT_EQ(all.size(), 1u);
    under_test_ = all[0];
    reg_ = under_test_.make();
    root_ = under_test_.test_root;
  }
  void TearDown() override {
    if (reg_) reg_->DeleteKeyTree(Hive::CurrentUser, root_, nullptr);
  }

  // Writes a value straight through advapi32, as another program would.
  void RawSet(const std::string& name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Wide(root_).c_str(), 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_32KEY,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(key, Wide(name).c_str(), 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    RegCloseKey(key);
  }

  RegistryUnderTest under_test_;
  std::unique_ptr<Registry> reg_;
  std::string root_;
};

TEST_F(Win32RegistryTest, StringsWrittenByOthersReadUpToTheirFirstNul) {
  const struct {
    const char* name;
    std::wstring stored;
    DWORD size;  // bytes
    std::string expect;
  } cases[] = {
      {"OhneNul", L"abc", 6, "abc"},  {"MitNul", L"abc", 8, "abc"}, {"Doppelt", std::wstring(L"abc\0\0", 5), 10, "abc"},
      {"Ungerade", L"abc", 7, "abc"}, {"Leer", L"", 0, ""},
  };
  for (const auto& c : cases) RawSet(c.name, REG_SZ, c.stored.c_str(), c.size);
  for (const auto& c : cases) {
    RegValue got;
    std::string err;
    ASSERT_EQ(reg_->ReadValue(Hive::CurrentUser, root_, c.name, &got, &err), RegStatus::kOk) << err;
    EXPECT_EQ(got, RegValue::Sz(c.expect)) << c.name;
  }
}

// 32-bit Office writes HKLM\SOFTWARE in the 32-bit view; the 64-bit test build
// must land in the same place, which 64-bit Windows keeps below Wow6432Node.
TEST_F(Win32RegistryTest, LocalMachineGoesToThe32BitView) {
  if (!under_test_.local_machine_writable) GTEST_SKIP() << "HKEY_LOCAL_MACHINE is not writable here";
  std::string err;
  ASSERT_EQ(reg_->WriteValue(Hive::LocalMachine, root_, "Ansicht", RegValue::Dword(32), &err), RegStatus::kOk) << err;
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, Wide(root_).c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &key), ERROR_SUCCESS);
  RegCloseKey(key);
#ifdef _WIN64
  const std::string redirected = "Software\\Wow6432Node\\" + root_.substr(std::string("Software\\").size());
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, Wide(redirected).c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &key),
            ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_NE(RegOpenKeyExW(HKEY_LOCAL_MACHINE, Wide(root_).c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &key), ERROR_SUCCESS);
#endif
  EXPECT_EQ(reg_->DeleteKeyTree(Hive::LocalMachine, root_, &err), RegStatus::kOk) << err;
  EXPECT_FALSE(reg_->KeyExists(Hive::LocalMachine, root_));
}

}  // namespace
}  // namespace krv::win32

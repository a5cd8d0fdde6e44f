// Win32 code only: what the real registry adds to the shared tests: strings as others store them, the 32-bit view.
#include <gtest/gtest.h>

#include "platform/RegistryUnderTest.h"
#include "platform/win32/Services_win32.h"
#include "platform/win32/Win32Util_win32.h"

namespace krv::win32 {
namespace {

class Win32RegistryTest : public ::testing::Test {
 protected:
  void TearDown() override { reg_->DeleteKeyTree(Hive::CurrentUser, root_, nullptr); }

  RegistryUnderTest under_test_ = NativeRegistriesUnderTest().at(0);
  std::unique_ptr<Registry> reg_ = under_test_.make();
  std::string root_ = under_test_.test_root, err_;
};

TEST_F(Win32RegistryTest, StringsWrittenByOthersReadUpToTheirFirstNul) {
  HKEY key = nullptr;  // written straight through advapi32, as another program would
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Wide(root_).c_str(), 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_32KEY,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  for (const auto& [name, size] :
       {std::pair<const char*, DWORD>{"OhneNul", 6}, {"Doppelt", 10}, {"Ungerade", 7}, {"Leer", 0}}) {
    const auto* bytes = reinterpret_cast<const BYTE*>(L"abc\0\0");  // `size` bytes of it
    ASSERT_EQ(RegSetValueExW(key, Wide(name).c_str(), 0, REG_SZ, bytes, size), ERROR_SUCCESS);
    RegValue got;
    ASSERT_EQ(reg_->ReadValue(Hive::CurrentUser, root_, name, &got, &err_), RegStatus::kOk) << err_;
    EXPECT_EQ(got, RegValue::Sz(size ? "abc" : "")) << name;
  }
  RegCloseKey(key);
}

// 32-bit Office writes HKLM\SOFTWARE in the 32-bit view; the 64-bit test build must land in the same place.
TEST_F(Win32RegistryTest, LocalMachineGoesToThe32BitView) {
  if (!under_test_.local_machine_writable) GTEST_SKIP() << "HKEY_LOCAL_MACHINE is not writable here";
  ASSERT_EQ(reg_->WriteValue(Hive::LocalMachine, root_, "Ansicht", RegValue::Dword(32), &err_), RegStatus::kOk) << err_;
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, Wide(root_).c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &key), ERROR_SUCCESS);
  RegCloseKey(key);
  reg_->DeleteKeyTree(Hive::LocalMachine, root_, &err_);
}

}  // namespace
}  // namespace krv::win32

// The runner against the platform's real registry (advapi32 on Windows, the
// .reg-file store on POSIX), below a key of its own that is removed again.
#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "platform/Platform.h"
#include "runmdb/cuRunMDB.h"
#include "testing/FakeFileSystem.h"

namespace krv {
namespace {

std::string UniqueTestKey() {
  std::random_device random;
  const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
  return "Software\\KrvTest-runmdb-" + std::to_string(now) + "-" + std::to_string(random());
}

class NativeRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform_ = CreateNativePlatform();
    if (!platform_.registry) GTEST_SKIP() << "no native registry on this platform build";
    std::string err;
    ASSERT_EQ(platform_.registry->CreateKey(Hive::CurrentUser, key_, &err), RegStatus::kOk) << err;
  }
  void TearDown() override {
    if (!platform_.registry) return;
    std::string err;
    EXPECT_EQ(platform_.registry->DeleteKeyTree(Hive::CurrentUser, key_, &err), RegStatus::kOk) << err;
    EXPECT_FALSE(platform_.registry->KeyExists(Hive::CurrentUser, key_));
  }
  void Write(const std::string& sub, const std::string& name, const RegValue& value) {
    std::string err;
    ASSERT_EQ(platform_.registry->WriteValue(Hive::CurrentUser, key_ + "\\" + sub, name, value, &err), RegStatus::kOk)
        << err;
  }

  Platform platform_;
  const std::string key_ = UniqueTestKey();
  FakeFileSystem fs_;
};

TEST_F(NativeRegistryTest, ListsResolveThroughTheRealRegistry) {
  Write("Access", "Path", RegValue::Sz("E:\\Office\\"));
  Write("Access", "Expand", RegValue::ExpandSz("F:\\Office"));
  Write("Daten", "", RegValue::Sz("G:\\Korvella"));
  fs_.AddFile("E:\\Office\\Office10\\msaccess.exe");
  fs_.AddFile("F:\\Office\\msaccess.exe");
  fs_.AddFile("G:\\Korvella\\Daten\\krv25.mde");

  cuRunMDB runner(RunMdbContext{*platform_.registry, fs_, "C:\\Programme\\Korvella", "krv25", "krv25"});
  // The expandable string is not read, so the second entry decides.
  runner.SetAccRegListString("HKCU\\" + key_ + "\\Access\\Expand%|%hkey_current_user\\" + key_ +
                             "\\Access\\Path%|SubDir|%Office10");
  runner.SetDBRegListString("HKCU\\" + key_ + "\\Daten\\%|SubDir|%Daten%|Filename%|krv25.mde");
  runner.SetSystemDBUser("VZ");
  runner.SetSystemDBPwd("ZBNHte");
  ASSERT_TRUE(runner.GetCommandLine()) << runner.DebugLog();
  EXPECT_EQ(runner.CommandLine(),
            "\"E:\\Office\\Office10\\msaccess.exe\" \"G:\\Korvella\\Daten\\krv25.mde\" /user \"VZ\" /pwd \"ZBNHte\"");
  EXPECT_EQ(runner.CommandLineHiddenUserPW(),
            "\"E:\\Office\\Office10\\msaccess.exe\" \"G:\\Korvella\\Daten\\krv25.mde\" /user \"XXXX\" /pwd \"YYYY\"");

  const cuRunMDB_Helpers helpers(*platform_.registry, fs_);
  const int32_t hkcu = static_cast<int32_t>(0x80000001u);
  EXPECT_TRUE(helpers.RegValueExists(hkcu, key_ + "\\Access", "EXPAND"));
  EXPECT_FALSE(helpers.RegValueExists(hkcu, key_ + "\\Access", "Missing"));
  EXPECT_EQ(helpers.RegGetSettingString(hkcu, key_ + "\\Access\\", "path", "def"), "E:\\Office\\");
  EXPECT_EQ(helpers.RegGetSettingString(hkcu, key_ + "\\Nope", "Path", "def"), "def");
}

}  // namespace
}  // namespace krv

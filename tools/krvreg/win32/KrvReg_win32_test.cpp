// Win32 only: krvreg on the real registry, below a scratch key of this process.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>

#include "krvreg/KrvRegFiles.h"
#include "krvreg/KrvRegTestUtil.h"
#include "platform/Platform.h"
#include "testing/TempDir.h"

namespace krv {
namespace {

class KrvRegWin32Test : public ::testing::Test {
 protected:
  void SetUp() override {
    reg_ = CreateNativePlatform().registry;
    ASSERT_NE(reg_, nullptr);
    path_ = "Software\\krvreg-test-" + std::to_string(GetCurrentProcessId());
    key_ = "HKCU\\" + path_;
  }
  void TearDown() override {
    if (reg_) reg_->DeleteKeyTree(Hive::CurrentUser, path_, nullptr);
  }

  std::unique_ptr<Registry> reg_;
  std::string path_;
  std::string key_;
};

TEST_F(KrvRegWin32Test, ImportAndExportTheRegeditFixture) {
  const char* source = std::getenv("KRV_SOURCE_DIR");
  const std::string fixture =
      std::string(source != nullptr ? source : KRV_SOURCE_DIR_FALLBACK) + "/tools/krvreg/testdata/wine_export.reg";
  std::string original, why;
  ASSERT_TRUE(ReadWholeFile(fixture, &original, &why)) << why;
  // The fixture's keys, moved below the scratch key.
  std::string text = original;
  const std::u16string from = u"HKEY_CURRENT_USER\\Software\\Vantorel";
  const std::u16string to = u"HKEY_CURRENT_USER\\" + std::u16string(path_.begin(), path_.end());
  std::u16string wide(reinterpret_cast<const char16_t*>(text.data()), text.size() / 2);
  for (size_t at; (at = wide.find(from)) != std::u16string::npos;) wide.replace(at, from.size(), to);
  text.assign(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);

  TempDir dir;
  const std::string in = dir.native() + "\\in.reg";
  const std::string out = dir.native() + "\\out.reg";
  ASSERT_TRUE(WriteWholeFile(in, text, &why)) << why;
  const KrvRegRun imported = RunReg(*reg_, {"IMPORT", in});
  ASSERT_EQ(imported.code, 0) << imported.err;
  ASSERT_EQ(RunReg(*reg_, {"EXPORT", key_, out, "/y"}).code, 0);
  std::string exported;
  ASSERT_TRUE(ReadWholeFile(out, &exported, &why)) << why;
  EXPECT_EQ(exported, text);
}

}  // namespace
}  // namespace krv

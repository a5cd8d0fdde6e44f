// POSIX only: krvreg on the file-backed registry the starter uses.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "krvreg/KrvRegFiles.h"
#include "krvreg/KrvRegTestUtil.h"
#include "platform/posix/FileRegistry_posix.h"
#include "testing/TempDir.h"

namespace krv {
namespace {

constexpr char kDone[] = "The operation completed successfully.\n";

// Sets an environment variable for the life of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = getenv(name)) old_ = old;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (old_.empty()) {
      unsetenv(name_);
    } else {
      setenv(name_, old_.c_str(), 1);
    }
  }

 private:
  const char* name_;
  std::string old_;
};

TEST(KrvRegPosixTest, WorksOnTheStoreThatKrvRegistryDirNames) {
  TempDir dir;
  ScopedEnv env("KRV_REGISTRY_DIR", dir.native());
  {
    std::unique_ptr<Registry> reg = CreatePosixRegistry();
    EXPECT_EQ(RunReg(*reg, {"ADD", "HKCU\\Software\\Vantorel", "/v", "Größe", "/t", "REG_DWORD", "/d", "7"}).out,
              kDone);
    EXPECT_EQ(RunReg(*reg, {"ADD", "HKLM\\Software\\Vantorel", "/ve", "/d", "m"}).out, kDone);
  }
  EXPECT_TRUE(std::filesystem::exists(dir.native() + "/HKEY_CURRENT_USER.reg"));
  EXPECT_TRUE(std::filesystem::exists(dir.native() + "/HKEY_LOCAL_MACHINE.reg"));

  // A second process sees what the first wrote.
  std::unique_ptr<Registry> again = CreatePosixRegistry();
  const KrvRegRun query = RunReg(*again, {"QUERY", "HKCU\\Software\\Vantorel"});
  EXPECT_EQ(query.code, 0);
  EXPECT_EQ(query.out, "\nHKEY_CURRENT_USER\\Software\\Vantorel\n    Größe    REG_DWORD    0x7\n\n");
  EXPECT_EQ(RunReg(*again, {"DELETE", "HKCU\\Software\\Vantorel", "/f"}).code, 0);
  EXPECT_EQ(RunReg(*again, {"QUERY", "HKCU\\Software\\Vantorel"}).code, 1);
}

TEST(KrvRegPosixTest, ImportIntoTheFileStoreAndExportAgain) {
  TempDir dir;
  FileRegistry reg(dir.native() + "/user", dir.native() + "/machine");
  const std::string fixture = std::string(KRV_SOURCE_DIR_FALLBACK) + "/tools/krvreg/testdata/wine_export.reg";
  const KrvRegRun imported = RunReg(reg, {"IMPORT", fixture});
  ASSERT_EQ(imported.code, 0) << imported.err;

  // The store keeps the data across a reload from its file.
  FileRegistry reloaded(dir.native() + "/user", dir.native() + "/machine");
  const std::string out = dir.native() + "/out.reg";
  ASSERT_EQ(RunReg(reloaded, {"EXPORT", "HKCU\\Software\\Vantorel", out}).code, 0);
  std::string a, b, why;
  ASSERT_TRUE(ReadWholeFile(fixture, &a, &why)) << why;
  ASSERT_TRUE(ReadWholeFile(out, &b, &why)) << why;
  EXPECT_EQ(a, b);
}

}  // namespace
}  // namespace krv

// POSIX only: krvreg on the file-backed registry the starter uses.
#include <gtest/gtest.h>

#include "krvreg/KrvRegFiles.h"
#include "krvreg/KrvRegTestUtil.h"
#include "platform/posix/FileRegistry_posix.h"
#include "testing/TempDir.h"

namespace krv {
namespace {

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

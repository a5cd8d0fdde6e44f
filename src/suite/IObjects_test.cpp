#include "suite/IObjects.h"

#include <gtest/gtest.h>

#include "suite/SuiteNames.h"
#include "testing/FakeFileSystem.h"
#include "testing/FakeRegistry.h"
#include "testing/FakeSystem.h"

namespace krv {
namespace {

const std::string kOptions = std::string(kProductRoot) + "\\Options";

class IObjectsTest : public testing::Test {
 protected:
  void SetUp() override { sys.exe_path = "C:\\Programme\\Korvella\\krv25.exe"; }
  FakeRegistry reg;
  FakeFileSystem fs;
  FakeSystem sys;
  IObjects objects{reg, fs, sys};
};

TEST_F(IObjectsTest, BackendPathFromUserThenMachine) {
  EXPECT_EQ(objects.BackendPath(), "");
  reg.SetString(Hive::LocalMachine, kOptions, "BackendPath", "\\\\server\\daten\\krvdat25.mdb");
  EXPECT_EQ(objects.BackendPath(), "\\\\server\\daten\\krvdat25.mdb");
  reg.SetString(Hive::CurrentUser, kOptions, "BackendPath", "Daten\\krvdat25.mdb");
  EXPECT_EQ(objects.BackendPath(), "C:\\Programme\\Korvella\\Daten\\krvdat25.mdb");
  reg.SetString(Hive::CurrentUser, kOptions, "BackendPath", "D:\\krvdat25.mdb");
  EXPECT_EQ(objects.BackendPath(), "D:\\krvdat25.mdb");
}

TEST_F(IObjectsTest, VersionsFromSideFiles) {
  reg.SetString(Hive::CurrentUser, kOptions, "BackendPath", "D:\\Daten\\krvdat25.mdb");
  EXPECT_EQ(objects.BackendVersion(), "");
  EXPECT_EQ(objects.RequiredBackendVersion(), "");
  fs.AddFile("C:\\Programme\\Korvella\\krv25.mde");
  fs.AddFile("C:\\Programme\\Korvella\\krv25.mde.version",
             "; vom Setup geschrieben\r\n[Version]\r\nFile=2.5.3.0\r\nLibrary=2.5.0.12\r\nBackend=2.5.0.4\r\n");
  fs.AddFile("C:\\Programme\\Korvella\\krvlib25.mde");
  fs.AddFile("C:\\Programme\\Korvella\\krvlib25.mde.version", "[Version]\nFile=2.5.0.10\n");
  fs.AddFile("D:\\Daten\\krvdat25.mdb");
  fs.AddFile("D:\\Daten\\krvdat25.mdb.version", "[Version]\nFile=2.5.0.3\n");

  EXPECT_EQ(objects.FrontEndPath(), "C:\\Programme\\Korvella\\krv25.mde");
  EXPECT_EQ(objects.SuiteFilePath("krvwrk25.mdw"), "C:\\Programme\\Korvella\\krvwrk25.mdw");
  EXPECT_EQ(objects.FrontEndVersion(), "2.5.3.0");
  EXPECT_EQ(objects.RequiredLibraryVersion(), "2.5.0.12");
  EXPECT_EQ(objects.RequiredBackendVersion(), "2.5.0.4");
  EXPECT_EQ(objects.LibraryVersion(), "2.5.0.10");
  EXPECT_EQ(objects.BackendVersion(), "2.5.0.3");
  EXPECT_EQ(objects.VersionCompare(objects.RequiredBackendVersion(), objects.BackendVersion()), 2);
}

}  // namespace
}  // namespace krv

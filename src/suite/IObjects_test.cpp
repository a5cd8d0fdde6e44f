#include "suite/IObjects.h"

#include <gtest/gtest.h>

#include "suite/SuiteNames.h"
#include "testing/FakeFileSystem.h"
#include "testing/FakeRegistry.h"
#include "testing/FakeSystem.h"

namespace krv {
namespace {

TEST(IObjectsTest, BackendPathFromUserThenMachineRelativeToTheProgram) {
  const std::string options = std::string(kProductRoot) + "\\Options";
  FakeRegistry reg;
  FakeFileSystem fs;
  FakeSystem sys;
  sys.exe_path = "C:\\Programme\\Korvella\\krv25.exe";
  IObjects objects{reg, fs, sys};
  EXPECT_EQ(objects.BackendPath(), "");
  reg.SetString(Hive::LocalMachine, options, "BackendPath", "\\\\server\\daten\\krvdat25.mdb");
  EXPECT_EQ(objects.BackendPath(), "\\\\server\\daten\\krvdat25.mdb");
  reg.SetString(Hive::CurrentUser, options, "BackendPath", "Daten\\krvdat25.mdb");
  EXPECT_EQ(objects.BackendPath(), "C:\\Programme\\Korvella\\Daten\\krvdat25.mdb");
  reg.SetString(Hive::CurrentUser, options, "BackendPath", "D:\\krvdat25.mdb");
  EXPECT_EQ(objects.BackendPath(), "D:\\krvdat25.mdb");
}

}  // namespace
}  // namespace krv

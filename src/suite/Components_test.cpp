#include "suite/Components.h"

#include <gtest/gtest.h>

#include "testing/FakeRegistry.h"

namespace krv {
namespace {

// Reads fail the way a broken or locked hive does.
struct FailingRegistry : FakeRegistry {
  RegStatus status = RegStatus::kDenied;
  RegStatus ReadValue(Hive, const std::string&, const std::string&, RegValue*, std::string* err) override {
    if (err) *err = "RegQueryValueExW: failed";
    return status;
  }
};

TEST(CreateComponent, RegisteredWhenTheClsidKeyExistsInClassesRoot) {
  FakeRegistry reg;
  reg.CreateKey(Hive::ClassesRoot, "KrvLib25.krvLibrary\\CLSID", nullptr);  // no default value needed
  reg.CreateKey(Hive::ClassesRoot, "KRVInf25.krvInfo", nullptr);
  reg.SetString(Hive::LocalMachine, "Software\\Classes\\KrvHlp25.krvHelper\\CLSID", "", "{x}");
  EXPECT_EQ(CreateComponent(reg, "krvlib25.KRVLIBRARY").number, 0);
  EXPECT_EQ(CreateComponent(reg, "KRVInf25.krvInfo").number, kErrCannotCreateComponent);
  EXPECT_EQ(CreateComponent(reg, "KrvHlp25.krvHelper").number, kErrCannotCreateComponent);
  FailingRegistry failing;
  ComponentResult result = CreateComponent(failing, "KrvInt25.IObjects");
  EXPECT_EQ(result.number, kErrPermissionDenied);
  EXPECT_NE(result.description.find("KrvInt25.IObjects"), std::string::npos);
  failing.status = RegStatus::kFailed;
  result = CreateComponent(failing, "KrvInt25.IObjects");
  EXPECT_EQ(result.number, kErrUnspecified);
  EXPECT_NE(result.description.find("RegQueryValueExW"), std::string::npos);
}

}  // namespace
}  // namespace krv

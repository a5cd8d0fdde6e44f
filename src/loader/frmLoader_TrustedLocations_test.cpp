#include "loader/frmLoader_TrustedLocations.h"

#include <gtest/gtest.h>

#include "base/Text.h"
#include "base/cuAppError.h"
#include "loader/frmLoader.h"
#include "suite/IObjects.h"
#include "suite/krvLibrary.h"
#include "testing/FakeDialogs.h"
#include "testing/FakeFileSystem.h"
#include "testing/FakeProgressWindow.h"
#include "testing/FakeRegistry.h"
#include "testing/FakeSystem.h"

namespace krv {
namespace {

constexpr char kTrusted[] = "Software\\Microsoft\\Office\\10.0\\Access\\Security\\Trusted Locations";
constexpr char kLocation[] = "Software\\Microsoft\\Office\\10.0\\Access\\Security\\Trusted Locations\\Korvella II.5";
constexpr char kProg[] = "C:\\Programme\\Korvella\\";

// Refuses writes of one value name, as a registry that fails half-way would.
struct RefusingRegistry : FakeRegistry {
  std::string refused;
  RegStatus WriteValue(Hive hive, const std::string& key, const std::string& name, const RegValue& value,
                       std::string* err) override {
    if (IEquals(name, refused)) return RegStatus::kFailed;
    return FakeRegistry::WriteValue(hive, key, name, value, err);
  }
};

TEST(TrustedLocationsTest, WritesTheLocationOnceAndOnlyAMovedPathAgain) {
  const std::string hkcu = std::string("HKCU\\") + kTrusted;
  const struct {
    const char* name;
    std::string setting;
    const char* existing_path;  // null: no location key yet
    const char* refused;        // "*": HKCU is read-only; else a value name that cannot be written
    int error;                  // number raised, 0: none
    const char* path_after;     // null: no location key afterwards
    bool fresh;                 // all four values are ours (else the administrator's stay)
    int writes;                 // -1: not counted
  } cases[] = {
      {"setting empty", "", nullptr, "", 0, nullptr, false, 0},
      {"new key", hkcu, nullptr, "", 0, kProg, true, 4},
      {"long hive name", std::string("HKEY_CURRENT_USER\\") + kTrusted + "\\", nullptr, "", 0, kProg, true, 4},
      {"path differs in case only", hkcu, "c:\\programme\\KORVELLA\\", "", 0, "c:\\programme\\KORVELLA\\", false, 0},
      {"program folder moved", hkcu, "D:\\Alt\\", "", 0, kProg, false, 1},
      {"key without path", hkcu, "", "", 0, kProg, true, 4},
      {"no write access, key missing", hkcu, nullptr, "*", 70, nullptr, false, 0},
      {"no write access, path current", hkcu, kProg, "*", 0, kProg, false, 0},
      {"no write access, folder moved", hkcu, "D:\\Alt\\", "*", 70, "D:\\Alt\\", false, 0},
      {"failed write removes the new key", hkcu, nullptr, "AllowNetworkLocations", 75, nullptr, false, -1},
      {"failed write keeps an older key", hkcu, "", "Path", 75, "", true, -1},
      {"unknown hive", std::string("HKXX\\") + kTrusted, nullptr, "", 75, nullptr, false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RefusingRegistry reg;
    FakeFileSystem fs;
    FakeSystem sys;
    FakeDialogs dialogs;
    cuAppError err{dialogs, AppInfo{}};
    krvLibrary lib{reg, fs, sys};
    IObjects objects{reg, fs, sys};
    FakeProgressWindow::Log log;
    FakeProgressWindow window{&log};
    frmLoader loader(LoaderContext{err, lib, objects, sys, window, false, "krv25"}, {});

    reg.SetString(Hive::LocalMachine, "Software\\Vantorel\\Korvella\\10.25\\Options", "AccessTrustedLocationsKey",
                  c.setting);
    if (c.existing_path) {
      reg.SetString(Hive::CurrentUser, kLocation, "Path", c.existing_path);
      reg.SetString(Hive::CurrentUser, kLocation, "Description", "alt");
      reg.SetDword(Hive::CurrentUser, kLocation, "AllowSubfolders", 0);
    }
    if (std::string(c.refused) == "*") reg.read_only.insert(Hive::CurrentUser);
    reg.refused = c.refused;

    int raised = 0;
    try {
      EXPECT_TRUE(TrustedLocations(loader));
    } catch (const KrvError& e) {
      raised = e.number;
    }
    EXPECT_EQ(raised, c.error);
    EXPECT_TRUE(c.writes < 0 || reg.writes == c.writes) << reg.writes;
    ASSERT_EQ(reg.KeyExists(Hive::CurrentUser, kLocation), c.path_after != nullptr);
    if (!c.path_after) continue;
    RegValue v;
    reg.ReadValue(Hive::CurrentUser, kLocation, "Path", &v, nullptr);
    EXPECT_EQ(v, RegValue::Sz(c.path_after));
    reg.ReadValue(Hive::CurrentUser, kLocation, "Description", &v, nullptr);
    EXPECT_EQ(v, RegValue::Sz(c.fresh ? "Korvella II.5" : "alt"));
    reg.ReadValue(Hive::CurrentUser, kLocation, "AllowSubfolders", &v, nullptr);
    EXPECT_EQ(v, RegValue::Dword(c.fresh ? 1 : 0));
    EXPECT_EQ(reg.ValueExists(Hive::CurrentUser, kLocation, "AllowNetworkLocations"), c.fresh);
    if (c.fresh) {
      reg.ReadValue(Hive::CurrentUser, kLocation, "AllowNetworkLocations", &v, nullptr);
      EXPECT_EQ(v, RegValue::Dword(1));
    }
  }
}

}  // namespace
}  // namespace krv

#include "loader/frmLoader_TrustedLocations.h"

#include <gtest/gtest.h>

#include "base/cuAppError.h"
#include "loader/frmLoader.h"
#include "suite/IObjects.h"
#include "suite/krvLibrary.h"
#include "testing/StarterHarness.h"

namespace krv {
namespace {

constexpr char kTrusted[] = "Software\\Microsoft\\Office\\10.0\\Access\\Security\\Trusted Locations";
constexpr char kProg[] = "C:\\Programme\\Korvella\\";

// A location key that exists has "Path" as REG_EXPAND_SZ, "Description" "alt" and "AllowSubfolders" 0;
// "fresh" expects all four values as written by the step instead.
TEST(TrustedLocationsTest, WritesTheLocationOnceAndOnlyAMovedPathAgain) {
  const std::string hkcu = std::string("HKCU\\") + kTrusted;
  const struct {
    const char* name;
    std::string setting;
    const char* existing_path;  // null: no location key yet
    bool read_only;             // HKCU refuses writes
    int error;                  // number raised, 0: none
    const char* path_after;     // null: no location key afterwards
    bool fresh;
    int writes;
  } cases[] = {
      {"setting empty", "", nullptr, false, 0, nullptr, false, 0},
      {"new key", hkcu, nullptr, false, 0, kProg, true, 4},
      {"long hive name", std::string("HKEY_CURRENT_USER\\") + kTrusted + "\\", nullptr, false, 0, kProg, true, 4},
      {"path differs in case only", hkcu, "c:\\programme\\KORVELLA\\", false, 0, "c:\\programme\\KORVELLA\\", false, 0},
      {"program folder moved", hkcu, "D:\\Alt\\", false, 0, kProg, false, 1},
      {"key without path", hkcu, "", false, 0, kProg, true, 4},
      {"no write access, key missing", hkcu, nullptr, true, 70, nullptr, false, 0},
      {"no write access, path current", hkcu, kProg, true, 0, kProg, false, 0},
      {"no write access, folder moved", hkcu, "D:\\Alt\\", true, 70, "D:\\Alt\\", false, 0},
      {"unknown hive", std::string("HKXX\\") + kTrusted, nullptr, false, 75, nullptr, false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    StarterHarness h;
    FakeRegistry& reg = h.reg;
    cuAppError err{h.dialogs, AppInfo{}};
    krvLibrary lib{reg, h.fs, h.sys};
    IObjects objects{reg, h.fs, h.sys};
    FakeProgressWindow::Log log;
    FakeProgressWindow window{&log};
    frmLoader loader(LoaderContext{err, lib, objects, h.sys, window, false, "krv25"}, {});
    reg.SetString(Hive::LocalMachine, std::string(kHarnessRoot) + "\\Options", "AccessTrustedLocationsKey", c.setting);
    const std::string location = std::string(kTrusted) + "\\Korvella II.5";
    if (c.existing_path) {
      regtree_ops::WriteValue(reg.tree(Hive::CurrentUser), location, "Path", RegValue::ExpandSz(c.existing_path));
      reg.SetString(Hive::CurrentUser, location, "Description", "alt");
      reg.SetDword(Hive::CurrentUser, location, "AllowSubfolders", 0);
    }
    if (c.read_only) reg.read_only.insert(Hive::CurrentUser);

    int raised = 0;
    try {
      EXPECT_TRUE(TrustedLocations(loader));
    } catch (const KrvError& e) {
      raised = e.number;
    }
    EXPECT_EQ(raised, c.error);
    EXPECT_EQ(reg.writes, c.writes);
    ASSERT_EQ(reg.KeyExists(Hive::CurrentUser, location), c.path_after != nullptr);
    if (!c.path_after) continue;
    const auto value = [&](const char* name) {
      RegValue v;
      return reg.ReadValue(Hive::CurrentUser, location, name, &v, nullptr) == RegStatus::kOk ? v : RegValue::Raw(0, {});
    };
    EXPECT_EQ(value("Path").text, c.path_after);
    EXPECT_EQ(value("Description"), RegValue::Sz(c.fresh ? "Korvella II.5" : "alt"));
    EXPECT_EQ(value("AllowSubfolders"), RegValue::Dword(c.fresh ? 1 : 0));
    EXPECT_EQ(value("AllowNetworkLocations"), c.fresh ? RegValue::Dword(1) : RegValue::Raw(0, {}));
  }
}

}  // namespace
}  // namespace krv

#include "loader/frmLoader_TrustedLocations.h"

#include <gtest/gtest.h>

#include "base/cuAppError.h"
#include "loader/frmLoader.h"
#include "suite/IObjects.h"
#include "suite/krvLibrary.h"
#include "testing/LoaderWorld.h"

namespace krv {
namespace {

constexpr char kTrusted[] = "Software\\Microsoft\\Office\\10.0\\Access\\Security\\Trusted Locations";
constexpr char kProg[] = "C:\\Programme\\Korvella\\";

// An existing location key has "Path" as REG_EXPAND_SZ, "Description" "alt" and "AllowSubfolders" 0.
TEST(TrustedLocationsTest, WritesTheLocationOnceAndOnlyAMovedPathAgain) {
  const std::string hkcu = std::string("HKCU\\") + kTrusted, fresh = "|Korvella II.5|1|1", kept = "|alt|0|-";
  const struct {
    std::string setting;
    const char* existing_path;  // null: no location key yet
    bool read_only;             // HKCU refuses writes
    int error, writes;          // error: number raised
    std::string after;          // Path|Description|AllowSubfolders|AllowNetworkLocations; "": no key
  } cases[] = {
      {"", nullptr, false, 0, 0, ""},
      {hkcu, nullptr, false, 0, 4, kProg + fresh},
      {std::string("HKEY_CURRENT_USER\\") + kTrusted + "\\", nullptr, false, 0, 4, kProg + fresh},
      {hkcu, "c:\\programme\\KORVELLA\\", false, 0, 0, "c:\\programme\\KORVELLA\\" + kept},  // case only
      {hkcu, "D:\\Alt\\", false, 0, 1, kProg + kept},                                        // moved
      {hkcu, "", false, 0, 4, kProg + fresh},                                                // cut short
      {hkcu, nullptr, true, 70, 0, ""},
      {std::string("HKXX\\") + kTrusted, nullptr, false, 75, 0, ""},
  };
  const std::string location = std::string(kTrusted) + "\\Korvella II.5";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.setting + " " + (c.existing_path ? c.existing_path : "-"));
    LoaderWorld w;
    auto& [h, err, lib, objects, log, window] = w;
    frmLoader loader(LoaderContext{err, lib, objects, h.sys, window, false, "krv25"}, {});
    h.reg.SetString(Hive::LocalMachine, std::string(kHarnessRoot) + "\\Options", "AccessTrustedLocationsKey",
                    c.setting);
    if (c.existing_path) {
      regtree_ops::WriteValue(h.reg.tree(Hive::CurrentUser), location, "Path", RegValue::ExpandSz(c.existing_path));
      h.reg.SetString(Hive::CurrentUser, location, "Description", "alt");
      h.reg.SetDword(Hive::CurrentUser, location, "AllowSubfolders", 0);
    }
    if (c.read_only) h.reg.read_only.insert(Hive::CurrentUser);
    int raised = 0;
    try {
      EXPECT_TRUE(TrustedLocations(loader));
    } catch (const KrvError& e) {
      raised = e.number;
    }
    EXPECT_EQ(raised, c.error);
    EXPECT_EQ(h.reg.writes, c.writes);
    std::string after;
    for (const char* name : {"Path", "Description", "AllowSubfolders", "AllowNetworkLocations"})
      after += (*name == 'P' ? "" : "|") + lib.RegRead(Hive::CurrentUser, location, name, "-");
    EXPECT_EQ(h.reg.KeyExists(Hive::CurrentUser, location) ? after : "", c.after);
  }
}

}  // namespace
}  // namespace krv

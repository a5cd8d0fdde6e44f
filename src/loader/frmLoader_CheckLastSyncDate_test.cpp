#include <gtest/gtest.h>

#include "base/cuAppError.h"
#include "loader/frmLoader.h"
#include "suite/IObjects.h"
#include "suite/krvLibrary.h"
#include "testing/LoaderWorld.h"

namespace krv {
namespace {

const std::string kLoaderKey = std::string(kHarnessRoot) + "\\Loader";
constexpr char kVersionInfo[] = "C:\\Programme\\Korvella\\krvver25.exe";

TEST(UpdateReminderTest, RemindsAfterTheSetDaysByTheUsersRights) {
  // Today is 2026-12-06 (FakeSystem).
  const struct {
    const char* days;  // nullptr: not set (first start)
    const char* last;  // nullptr: not set
    bool admin = true, program = true;
    std::vector<int> answers{};
    bool go_on;
    std::vector<int> styles;  // of the boxes shown, in order
    std::string days_after;
  } cases[] = {
      {nullptr, "20251101000000", true, true, {}, true, {}, "120"},
      {"120", "20260808120000", true, true, {}, true, {}, "120"},
      {"120", "20260807235959", true, true, {kIdYes}, false, {52}, "120"},
      {"120", "20260807235959", true, true, {kIdNo, kIdNo}, true, {52, 292}, "120"},
      {"120", "2026-08-07T10:00:00", true, true, {kIdNo, kIdYes}, true, {52, 292}, "0"},
      {"120", "20260807", false, true, {kIdYes}, true, {52}, "120"},
      {"120", "07.08.2026", false, true, {kIdNo}, true, {52}, "0"},
      {"120", "2026-08-07", true, false, {}, true, {}, "120"},
      {"0", "20000101000000", true, true, {}, true, {}, "0"},
      {"120", nullptr, true, true, {}, true, {}, "120"},
      {"120", "gestern", true, true, {}, true, {}, "120"},
      {"120", "20270101000000", true, true, {}, true, {}, "120"},  // a future update: no reminder
      {"keine Zahl", "20000101000000", true, true, {}, true, {}, "keine Zahl"},
  };
  for (const auto& c : cases) {
    LoaderWorld w;
    auto& [h, err, lib, objects, log, window] = w;
    frmLoader loader(LoaderContext{err, lib, objects, h.sys, window, false, "krv25"}, {});
    if (c.days) h.reg.SetString(Hive::CurrentUser, kLoaderKey, "CheckLastSyncDate", c.days);
    if (c.last) h.reg.SetString(Hive::CurrentUser, std::string(kHarnessRoot) + "\\VersionInfo", "LastSyncDate", c.last);
    if (c.program) h.fs.AddFile(kVersionInfo);
    h.sys.admin = c.admin;
    h.dialogs.answers.assign(c.answers.begin(), c.answers.end());
    SCOPED_TRACE(std::string(c.days ? c.days : "-") + " " + (c.last ? c.last : "-"));

    EXPECT_EQ(CheckLastSyncDate(loader), c.go_on);
    EXPECT_EQ(log.lines, std::vector<std::string>{"Programmaktualität prüfen ..."});
    std::vector<std::string> boxes, want{err.MsgLoad(c.admin ? 193 : 205, 121), err.MsgLoad(194)};
    for (size_t i = 0; i < c.styles.size(); ++i) want[i] = std::to_string(c.styles[i]) + " " + want[i];
    for (const auto& box : h.dialogs.shown) boxes.push_back(std::to_string(box.style) + " " + box.text);
    want.resize(c.styles.size());
    EXPECT_EQ(boxes, want);
    EXPECT_EQ(lib.RegRead(Hive::CurrentUser, kLoaderKey, "CheckLastSyncDate", "-"), c.days_after);
    EXPECT_EQ(loader.result().File + loader.result().Args,
              c.go_on ? "" : "C:\\Programme\\Korvella\\krvver25.exe/AllowLoader");
    EXPECT_EQ(loader.result().Action, c.go_on ? kActionNothing : kActionVersionInfo);
  }
}

}  // namespace
}  // namespace krv

#include "settings/pRecentBackends.h"

#include <gtest/gtest.h>

#include <functional>

#include "testing/FakeRegistry.h"
#include "testing/FakeSettingsViews.h"

namespace krv {
namespace {

constexpr char kRoot[] = "Software\\Vantorel\\Korvella\\10.25";
const std::string kKey = std::string(kRoot) + "\\Loader\\RecentBackends";
const char* const kNames[] = {"MaxItems", "File 1", "File 2", "File 3"};

TEST(RecentBackendsTest, ListsLoadsAndWritesBack) {
  // Stored values as "MaxItems|File 1|File 2|File 3" ("-" none); the list shown with "*" before the selected entry.
  const struct {
    const char* name;
    const char* stored;  // nullptr: no key yet
    std::string current;
    std::function<void(pRecentBackends&)> act;
    std::string listed, after;
  } cases[] = {
      {"first use", nullptr, "D:\\a.mdb", {}, "*D:\\a.mdb", "8|D:\\a.mdb|-|-"},
      {"one entry whatever its case", "8|d:\\A.MDB", "D:\\a.mdb", {}, "*D:\\a.mdb", "8|D:\\a.mdb|-|-"},
      {"adding a listed path keeps its place", "8|D:\\a.mdb|E:\\b.mdb", "D:\\a.mdb",
       [](pRecentBackends& r) { r.ColAdd("e:\\B.mdb"); }, "D:\\a.mdb,*E:\\b.mdb", "8|D:\\a.mdb|E:\\b.mdb|-"},
      {"a new path goes first", "8|D:\\a.mdb", "D:\\a.mdb", [](pRecentBackends& r) { r.ColAdd("F:\\c.mdb"); },
       "*F:\\c.mdb,D:\\a.mdb", "8|F:\\c.mdb|D:\\a.mdb|-"},
      {"a removed entry is deleted", "8|D:\\a.mdb|E:\\b.mdb|F:\\c.mdb", "D:\\a.mdb",
       [](pRecentBackends& r) { r.ColRemove("F:\\c.mdb"); }, "*D:\\a.mdb,E:\\b.mdb", "8|D:\\a.mdb|E:\\b.mdb|-"},
      {"MaxItems bounds loading and writing", "2|D:\\a.mdb|E:\\b.mdb|F:\\c.mdb", "",
       [](pRecentBackends& r) { r.ColAdd("G:\\d.mdb"); }, "*G:\\d.mdb,D:\\a.mdb,E:\\b.mdb",
       "2|G:\\d.mdb|D:\\a.mdb|F:\\c.mdb"},
      {"MaxItems not a number writes nothing", "abc|E:\\b.mdb", "D:\\a.mdb", {}, "*D:\\a.mdb", "abc|E:\\b.mdb|-|-"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeRegistry reg;
    if (c.stored) {
      reg.tree(Hive::CurrentUser).Create(kKey);
      std::string rest = c.stored;
      for (const char* name : kNames) {
        if (rest.empty()) break;
        const size_t bar = rest.find('|');
        reg.SetString(Hive::CurrentUser, kKey, name, rest.substr(0, bar));
        rest = bar == std::string::npos ? "" : rest.substr(bar + 1);
      }
    }
    FakeSettingsView combo;
    {
      pRecentBackends recent(reg, kRoot, [&c] { return c.current; });
      recent.Init(combo);
      if (c.act) c.act(recent);
      std::string listed;
      for (size_t i = 0; i < combo.backends.size(); ++i)
        listed += (i ? "," : "") + std::string(int32_t(i) == combo.selected ? "*" : "") + combo.backends[i];
      EXPECT_EQ(listed, c.listed);
      EXPECT_EQ(combo.tip, combo.selected < 0 ? "" : combo.backends[size_t(combo.selected)]);
      EXPECT_TRUE(combo.backend_enabled);  // given back after selecting
    }
    std::string after;
    for (const char* name : kNames) {
      RegValue v;
      const bool exists = reg.ReadValue(Hive::CurrentUser, kKey, name, &v, nullptr) == RegStatus::kOk;
      after += (after.empty() ? "" : "|") + (exists ? v.text : "-");
    }
    EXPECT_EQ(after, c.after);
  }
}

}  // namespace
}  // namespace krv

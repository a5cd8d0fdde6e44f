#include "settings/pRecentBackends.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "testing/FakeRegistry.h"
#include "testing/FakeSettingsViews.h"

namespace krv {
namespace {

constexpr char kRoot[] = "Software\\Vantorel\\Korvella\\10.25";
const std::string kKey = std::string(kRoot) + "\\Loader\\RecentBackends";

class NoEvents final : public SettingsEvents {
  void KeyDown(int32_t, int32_t) override {}
  void ButtonClick(const std::string&) override {}
  void BackendClick() override {}
  void BrowseClick() override {}
  void CompressClick() override {}
  void DaysChange() override {}
  void QueryUnload(UnloadMode) override {}
};

TEST(RecentBackendsTest, ListsLoadsAndWritesBack) {
  using Values = std::vector<std::pair<std::string, std::string>>;
  struct Case {
    const char* name;
    std::optional<Values> stored;  // nullopt: no key yet
    std::string current;
    std::function<void(pRecentBackends&)> act;
    std::vector<std::string> listed;
    std::string selected;                      // "" none
    std::map<std::string, std::string> after;  // value name -> text, "-" deleted
  };
  const Case cases[] = {
      {"first use",
       std::nullopt,
       "D:\\a.mdb",
       {},
       {"D:\\a.mdb"},
       "D:\\a.mdb",
       {{"MaxItems", "8"}, {"File 1", "D:\\a.mdb"}}},
      {"one entry whatever its case",
       Values{{"MaxItems", "8"}, {"File 1", "d:\\A.MDB"}},
       "D:\\a.mdb",
       {},
       {"D:\\a.mdb"},
       "D:\\a.mdb",
       {{"File 1", "D:\\a.mdb"}}},
      {"adding a listed path keeps its place",
       Values{{"MaxItems", "8"}, {"File 1", "D:\\a.mdb"}, {"File 2", "E:\\b.mdb"}},
       "D:\\a.mdb",
       [](pRecentBackends& r) { r.ColAdd("e:\\B.mdb"); },
       {"D:\\a.mdb", "E:\\b.mdb"},
       "E:\\b.mdb",
       {}},
      {"a new path goes first",
       Values{{"MaxItems", "8"}, {"File 1", "D:\\a.mdb"}},
       "D:\\a.mdb",
       [](pRecentBackends& r) { r.ColAdd("F:\\c.mdb"); },
       {"F:\\c.mdb", "D:\\a.mdb"},
       "F:\\c.mdb",
       {{"File 1", "F:\\c.mdb"}, {"File 2", "D:\\a.mdb"}}},
      {"a removed entry is deleted",
       Values{{"MaxItems", "8"}, {"File 1", "D:\\a.mdb"}, {"File 2", "E:\\b.mdb"}, {"File 3", "F:\\c.mdb"}},
       "D:\\a.mdb",
       [](pRecentBackends& r) { r.ColRemove("F:\\c.mdb"); },
       {"D:\\a.mdb", "E:\\b.mdb"},
       "D:\\a.mdb",
       {{"File 1", "D:\\a.mdb"}, {"File 2", "E:\\b.mdb"}, {"File 3", "-"}}},
      {"MaxItems bounds loading and writing",
       Values{{"MaxItems", "2"}, {"File 1", "D:\\a.mdb"}, {"File 2", "E:\\b.mdb"}, {"File 3", "F:\\c.mdb"}},
       "",
       [](pRecentBackends& r) { r.ColAdd("G:\\d.mdb"); },
       {"G:\\d.mdb", "D:\\a.mdb", "E:\\b.mdb"},
       "G:\\d.mdb",
       {{"File 1", "G:\\d.mdb"}, {"File 2", "D:\\a.mdb"}, {"File 3", "F:\\c.mdb"}}},
      {"MaxItems not a number writes nothing",
       Values{{"MaxItems", "abc"}, {"File 1", "E:\\b.mdb"}},
       "D:\\a.mdb",
       {},
       {"D:\\a.mdb"},
       "D:\\a.mdb",
       {{"File 1", "E:\\b.mdb"}}},
      {"nothing at all", Values{{"MaxItems", "8"}}, "", {}, {}, "", {{"File 1", "-"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeRegistry reg;
    if (c.stored) {
      reg.tree(Hive::CurrentUser).Create(kKey);
      for (const auto& [name, value] : *c.stored) reg.SetString(Hive::CurrentUser, kKey, name, value);
    }
    NoEvents events;
    FakeSettingsView combo(events);
    {
      pRecentBackends recent(reg, kRoot, [&c] { return c.current; });
      recent.Init(combo);
      if (c.act) c.act(recent);
      EXPECT_EQ(combo.backends, c.listed);
      EXPECT_EQ(combo.selected < 0 ? "" : combo.backends[size_t(combo.selected)], c.selected);
      EXPECT_EQ(combo.tip, c.selected);
      EXPECT_TRUE(combo.backend_enabled);  // given back after selecting
    }
    for (const auto& [name, text] : c.after) {
      RegValue v;
      const bool exists = reg.ReadValue(Hive::CurrentUser, kKey, name, &v, nullptr) == RegStatus::kOk;
      EXPECT_EQ(exists ? v.text : "-", text) << name;
    }
  }
}

}  // namespace
}  // namespace krv

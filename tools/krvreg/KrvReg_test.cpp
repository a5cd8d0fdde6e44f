#include "krvreg/KrvReg.h"

#include <gtest/gtest.h>

#include <functional>

#include "base/Text.h"
#include "krvreg/KrvRegArgs.h"
#include "krvreg/KrvRegTestUtil.h"
#include "testing/FakeRegistry.h"

namespace krv {
namespace {

constexpr char kDone[] = "The operation completed successfully.\n";
constexpr char kCanceled[] = "The operation was canceled by the user.\n";
constexpr char kNotFound[] = "ERROR: The system was unable to find the specified registry key or value.\n";
constexpr char kDenied[] = "ERROR: Access is denied.\n";
constexpr char kBadNumber[] = "ERROR: Invalid syntax. Specify valid numeric value.\n";
constexpr char kT[] = "HKCU\\Software\\T";

// HKCU\Software\T with values of every kind, a subkey with a value and an
// empty key below that; HKLM is read-only as for a normal user.
void Fill(FakeRegistry& reg) {
  const Hive cu = Hive::CurrentUser;
  reg.SetString(cu, "Software\\T", "", "def");
  reg.SetString(cu, "Software\\T", "a", "hello");
  reg.SetDword(cu, "Software\\T", "d", 255);
  regtree_ops::WriteValue(reg.tree(cu), "Software\\T", "e", RegValue::ExpandSz("%PATH%x"));
  reg.SetString(cu, "Software\\T\\Sub", "x", "y");
  reg.tree(cu).Create("Software\\T\\Sub\\Deep");
  regtree_ops::WriteValue(reg.tree(cu), "Software\\T\\Bin", "b", RegValue::Raw(kRegBinary, {0x01, 0x02, 0xff}));
  regtree_ops::WriteValue(reg.tree(cu), "Software\\T\\Bin", "m",
                          RegValue::Raw(kRegMultiSz, {'a', 0, 0, 0, 0xfc, 0, 'b', 0, 0, 0, 0, 0}));
  regtree_ops::WriteValue(reg.tree(cu), "Software\\T\\Bin", "q",
                          RegValue::Raw(kRegQword, {0x34, 0x12, 0, 0, 0, 0, 0, 0}));
  reg.SetString(Hive::LocalMachine, "Software\\T", "a", "machine");
  reg.read_only.insert(Hive::LocalMachine);
  reg.writes = 0;
}

TEST(KrvRegKeyTest, TakesTheNamesRegExeTakes) {
  struct Case {
    const char* text;
    bool ok;
    Hive hive;
    const char* path;
  };
  const Case cases[] = {
      {"HKCU", true, Hive::CurrentUser, ""},
      {"hkey_local_machine\\Software\\\\Vantorel\\", true, Hive::LocalMachine, "Software\\Vantorel"},
      {"HKU\\.DEFAULT\\Software", true, Hive::Users, ".DEFAULT\\Software"},
      {"HKEY_CURRENT_USERS\\Software", false, Hive::CurrentUser, ""},
      {"Software\\Vantorel", false, Hive::CurrentUser, ""},
      {"\\\\server\\HKLM\\Software", false, Hive::CurrentUser, ""},
  };
  for (const Case& c : cases) {
    KrvRegKey key;
    ASSERT_EQ(ParseKrvRegKey(c.text, &key), c.ok) << c.text;
    if (!c.ok) continue;
    EXPECT_EQ(key.hive, c.hive) << c.text;
    EXPECT_EQ(key.path, c.path) << c.text;
  }
}

TEST(KrvRegTest, RefusesBadCommandLinesWithTheUsageHint) {
  const std::string syntax = "ERROR: Invalid syntax.\nType \"KRVREG ";
  const std::string key_name = "ERROR: Invalid key name.\nType \"KRVREG ";
  struct Case {
    std::vector<std::string> args;
    std::string err;
  };
  const Case cases[] = {
      {{}, syntax + "/?\" for usage.\n"},
      {{"/?", "QUERY"}, syntax + "/?\" for usage.\n"},
      {{"QUERY"}, syntax + "QUERY /?\" for usage.\n"},
      {{"query", "HKXX\\Software"}, key_name + "QUERY /?\" for usage.\n"},
      {{"QUERY", kT, "/v"}, syntax + "QUERY /?\" for usage.\n"},
      {{"QUERY", kT, "/s", "-S"}, syntax + "QUERY /?\" for usage.\n"},
      {{"ADD", kT, "/v", "a", "/v", "b"}, syntax + "ADD /?\" for usage.\n"},
      {{"DELETE", kT, "/va", "/v", "a"}, syntax + "DELETE /?\" for usage.\n"},
      {{"DELETE", kT, "/s"}, syntax + "DELETE /?\" for usage.\n"},
      {{"IMPORT"}, syntax + "IMPORT /?\" for usage.\n"},
      {{"EXPORT", kT}, syntax + "EXPORT /?\" for usage.\n"},
      {{"EXPORT", "Software", "x.reg"}, key_name + "EXPORT /?\" for usage.\n"},
  };
  for (const Case& c : cases) {
    FakeRegistry reg;
    Fill(reg);
    const KrvRegRun run = RunReg(reg, c.args);
    const std::string shown = c.args.empty() ? "(none)" : c.args[0];
    EXPECT_EQ(run.code, 1) << shown;
    EXPECT_EQ(run.err, c.err) << shown;
    EXPECT_EQ(run.out, "") << shown;
    EXPECT_EQ(reg.writes, 0) << shown;
  }
}

TEST(KrvRegTest, HelpNamesTheOperation) {
  FakeRegistry reg;
  const KrvRegRun run = RunReg(reg, {"add", "/?"});
  EXPECT_EQ(run.code, 0);
  EXPECT_EQ(run.out.rfind("KRVREG ADD ", 0), 0u) << run.out;
  EXPECT_NE(RunReg(reg, {"-?"}).out.find("QUERY | ADD | DELETE | IMPORT | EXPORT"), std::string::npos);
}

TEST(KrvRegTest, QueryPrintsLikeRegExe) {
  struct Case {
    std::vector<std::string> args;
    int code;
    std::string out;
    std::string err;
  };
  const std::string t = "HKEY_CURRENT_USER\\Software\\T";
  const std::string t_values =
      t +
      "\n    (Default)    REG_SZ    def\n    a    REG_SZ    hello\n    d    REG_DWORD    0xff\n"
      "    e    REG_EXPAND_SZ    %PATH%x\n\n";
  const std::string bin_values = t +
                                 "\\Bin\n    b    REG_BINARY    0102FF\n    m    REG_MULTI_SZ    a\\0\xC3\xBC"
                                 "b\n    q    REG_QWORD    0x1234\n\n";
  const Case cases[] = {
      {{"QUERY", kT}, 0, "\n" + t_values + t + "\\Bin\n" + t + "\\Sub\n", ""},
      {{"query", "hkcu\\software\\t\\sub"},
       0,
       "\nHKEY_CURRENT_USER\\software\\t\\sub\n    x    REG_SZ    y\n\n"
       "HKEY_CURRENT_USER\\software\\t\\sub\\Deep\n",
       ""},
      {{"QUERY", "HKCU\\Software\\T\\Bin"}, 0, "\n" + bin_values, ""},
      {{"QUERY", kT, "/s"},
       0,
       "\n" + t_values + bin_values + t + "\\Sub\n    x    REG_SZ    y\n\n" + t + "\\Sub\\Deep\n\n",
       ""},
      {{"QUERY", kT, "-V", "A"}, 0, "\n" + t + "\n    a    REG_SZ    hello\n\n", ""},
      {{"QUERY", kT, "/ve"}, 0, "\n" + t + "\n    (Default)    REG_SZ    def\n\n", ""},
      {{"QUERY", "HKCU\\Software\\T\\Sub", "/ve"},
       0,
       "\nHKEY_CURRENT_USER\\Software\\T\\Sub\n    (Default)    REG_SZ    (value not set)\n\n",
       ""},
      {{"QUERY", kT, "/v", "x", "/s"},
       0,
       "\n" + t + "\\Sub\n    x    REG_SZ    y\n\nEnd of search: 1 match(es) found.\n",
       ""},
      {{"QUERY", kT, "/s", "/v", "zz"}, 1, "\nEnd of search: 0 match(es) found.\n", ""},
      {{"QUERY", kT, "/v", "zz"}, 1, "", kNotFound},
      {{"QUERY", "HKCU\\Software\\Nope"}, 1, "", kNotFound},
      {{"QUERY", "HKLM\\Software\\T"}, 0, "\nHKEY_LOCAL_MACHINE\\Software\\T\n    a    REG_SZ    machine\n\n", ""},
  };
  for (const Case& c : cases) {
    FakeRegistry reg;
    Fill(reg);
    const KrvRegRun run = RunReg(reg, c.args);
    const std::string shown = c.args[1] + (c.args.size() > 2 ? " " + c.args[2] : "");
    EXPECT_EQ(run.code, c.code) << shown;
    EXPECT_EQ(run.out, c.out) << shown;
    EXPECT_EQ(run.err, c.err) << shown;
    EXPECT_EQ(reg.writes, 0) << shown;
  }
}

// A row of the ADD and DELETE tables: the command, the answers typed, what is
// printed, and a look at the registry afterwards.
struct ChangeCase {
  std::vector<std::string> args;
  std::string input;
  int code;
  std::string out;
  std::string err;
  std::function<void(FakeRegistry&)> check;
};

RegValue Read(FakeRegistry& reg, const std::string& key, const std::string& name, Hive hive = Hive::CurrentUser) {
  RegValue v;
  EXPECT_EQ(reg.ReadValue(hive, key, name, &v, nullptr), RegStatus::kOk) << key << " " << name;
  return v;
}

void RunChangeCases(const std::vector<ChangeCase>& cases) {
  for (const ChangeCase& c : cases) {
    FakeRegistry reg;
    Fill(reg);
    const KrvRegRun run = RunReg(reg, c.args, c.input);
    std::string shown;
    for (const auto& a : c.args) shown += a + " ";
    SCOPED_TRACE(shown + "<< " + c.input);
    EXPECT_EQ(run.code, c.code);
    EXPECT_EQ(run.out, c.out);
    EXPECT_EQ(run.err, c.err);
    if (c.code != 0) {
      EXPECT_EQ(reg.writes, 0);
    }
    if (c.check) c.check(reg);
  }
}

TEST(KrvRegTest, AddWritesTypedValues) {
  const std::string k = "HKCU\\Software\\New";
  const std::string unsupported =
      "ERROR: Unsupported value type REG_MULTI_SZ. Use REG_SZ, REG_EXPAND_SZ or REG_DWORD.\n";
  auto at = [](const char* name, RegValue want) {
    return [=](FakeRegistry& reg) { EXPECT_EQ(Read(reg, "Software\\New", name), want); };
  };
  auto deep_key = [](FakeRegistry& reg) {
    EXPECT_TRUE(reg.KeyExists(Hive::CurrentUser, "Software\\New\\Deeper\\Still"));
    EXPECT_TRUE(reg.ValueNames(Hive::CurrentUser, "Software\\New\\Deeper\\Still").empty());
  };
  auto lm_kept = [](FakeRegistry& reg) {
    EXPECT_EQ(Read(reg, "Software\\T", "a", Hive::LocalMachine), RegValue::Sz("machine"));
  };
  const std::string expand = "%APPDATA%\\x";
  RunChangeCases({
      {{"ADD", k, "/v", "Backend", "/d", "Z:\\daten\\Büro.mdb"},
       "",
       0,
       kDone,
       "",
       at("Backend", RegValue::Sz("Z:\\daten\\Büro.mdb"))},
      {{"ADD", k, "/v", "Log", "/t", "REG_EXPAND_SZ", "/d", expand},
       "",
       0,
       kDone,
       "",
       at("Log", RegValue::ExpandSz(expand))},
      {{"ADD", k, "/v", "n", "/t", "reg_dword", "/d", "0XfF"}, "", 0, kDone, "", at("n", RegValue::Dword(255))},
      {{"ADD", k, "/v", "n", "/t", "REG_DWORD", "/d", "4294967295"}, "", 0, kDone, "", at("n", RegValue::Dword(~0u))},
      {{"ADD", k, "/v", "n", "/t", "REG_DWORD", "/d", "4294967296"}, "", 1, "", kBadNumber, nullptr},
      {{"ADD", k, "/v", "n", "/t", "REG_DWORD", "/d", "12ab"}, "", 1, "", kBadNumber, nullptr},
      {{"ADD", k, "/v", "n", "/t", "REG_MULTI_SZ", "/d", "a"}, "", 1, "", unsupported, nullptr},
      {{"ADD", k, "/d", "Standard"}, "", 0, kDone, "", at("", RegValue::Sz("Standard"))},
      {{"ADD", k + "\\Deeper\\Still"}, "", 0, kDone, "", deep_key},
      {{"ADD", "HKLM\\Software\\T", "/v", "a", "/d", "x", "/f"}, "", 1, "", kDenied, lm_kept},
  });
}

TEST(KrvRegTest, AddAsksBeforeOverwriting) {
  const std::string ask = "Value a exists, overwrite(Yes/No)? ";
  auto a_is = [](const char* text) {
    return [=](FakeRegistry& reg) { EXPECT_EQ(Read(reg, "Software\\T", "a"), RegValue::Sz(text)); };
  };
  RunChangeCases({
      {{"ADD", kT, "/v", "a", "/d", "new"}, "y\n", 0, ask + kDone, "", a_is("new")},
      {{"ADD", kT, "/v", "A", "/d", "new"},
       "n\n",
       1,
       "Value A exists, overwrite(Yes/No)? " + std::string(kCanceled),
       "",
       a_is("hello")},
      {{"ADD", kT, "/v", "a", "/d", "new"}, "", 1, ask + "\n" + kCanceled, "", a_is("hello")},
      {{"ADD", kT, "/v", "a", "/d", "new"}, "vielleicht\n\nyes\n", 0, ask + ask + ask + kDone, "", a_is("new")},
      {{"ADD", kT, "/v", "a", "/d", "new", "/f"}, "", 0, kDone, "", a_is("new")},
  });
}

TEST(KrvRegTest, DeleteRemovesKeysAndValues) {
  const std::string t = "HKEY_CURRENT_USER\\Software\\T";
  const Hive cu = Hive::CurrentUser;
  auto gone = [cu](const char* name) {
    return [=](FakeRegistry& reg) {
      EXPECT_FALSE(reg.ValueExists(cu, "Software\\T", name));
      EXPECT_TRUE(reg.ValueExists(cu, "Software\\T", "d"));
    };
  };
  auto key_kept = [cu](FakeRegistry& reg) {
    EXPECT_TRUE(reg.KeyExists(cu, "Software\\T\\Sub"));
    EXPECT_EQ(reg.ValueNames(cu, "Software\\T").size(), 4u);
  };
  auto values_gone = [cu](FakeRegistry& reg) {
    EXPECT_TRUE(reg.ValueNames(cu, "Software\\T").empty());
    EXPECT_TRUE(reg.ValueExists(cu, "Software\\T\\Sub", "x"));
  };
  auto key_gone = [cu](FakeRegistry& reg) {
    EXPECT_FALSE(reg.KeyExists(cu, "Software\\T"));
    EXPECT_TRUE(reg.KeyExists(cu, "Software"));
  };
  auto lm_kept = [](FakeRegistry& reg) { EXPECT_TRUE(reg.ValueExists(Hive::LocalMachine, "Software\\T", "a")); };
  const std::string ask_value = "Delete the registry value a (Yes/No)? ";
  const std::string ask_values = "Delete all values under the registry key " + t + " (Yes/No)? \n";
  RunChangeCases({
      {{"DELETE", kT, "/v", "a"}, "y\n", 0, ask_value + kDone, "", gone("a")},
      {{"DELETE", kT, "/v", "a"}, "n\n", 1, ask_value + kCanceled, "", key_kept},
      {{"DELETE", kT, "/ve", "/f"}, "", 0, kDone, "", gone("")},
      {{"DELETE", kT, "/va", "/f"}, "", 0, kDone, "", values_gone},
      {{"DELETE", kT, "/va"}, "", 1, ask_values + kCanceled, "", key_kept},
      {{"DELETE", kT, "/f"}, "", 0, kDone, "", key_gone},
      {{"DELETE", kT}, "", 1, "Permanently delete the registry key " + t + " (Yes/No)? \n" + kCanceled, "", key_kept},
      {{"DELETE", kT, "/v", "nope", "/f"}, "", 1, "", kNotFound, key_kept},
      {{"DELETE", "HKCU\\Software\\Nope", "/va", "/f"}, "", 1, "", kNotFound, nullptr},
      {{"DELETE", "HKLM\\Software\\T", "/f"}, "", 1, "", kDenied, lm_kept},
  });
}

}  // namespace
}  // namespace krv

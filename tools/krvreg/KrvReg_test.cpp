#include "krvreg/KrvReg.h"

#include <gtest/gtest.h>

#include <memory>

#include "krvreg/KrvRegTestUtil.h"
#include "testing/FakeRegistry.h"

namespace krv {
namespace {

const std::string kDone = "The operation completed successfully.\n";
const std::string kCanceled = "The operation was canceled by the user.\n";
const std::string kNotFound = "ERROR: The system was unable to find the specified registry key or value.\n";
const std::string kDenied = "ERROR: Access is denied.\n";
const std::string kBadNumber = "ERROR: Invalid syntax. Specify valid numeric value.\n";
const std::string kBadKey = "ERROR: Invalid key name.\n";
constexpr char kT[] = "HKCU\\Software\\T";
constexpr char kNew[] = "HKCU\\Software\\New";
const std::string kFullT = "HKEY_CURRENT_USER\\Software\\T";

std::string Usage(const std::string& error, const std::string& op) {
  return "ERROR: Invalid " + error + ".\nType \"KRVREG " + op + "/?\" for usage.\n";
}

// HKCU\Software\T with values of every kind, a subkey with a value and an
// empty key below that; HKLM is read-only as for a normal user.
void Fill(FakeRegistry& reg) {
  RegTree& cu = reg.tree(Hive::CurrentUser);
  reg.SetString(Hive::CurrentUser, "Software\\T", "", "def");
  reg.SetString(Hive::CurrentUser, "Software\\T", "a", "hello");
  reg.SetDword(Hive::CurrentUser, "Software\\T", "d", 255);
  regtree_ops::WriteValue(cu, "Software\\T", "e", RegValue::ExpandSz("%PATH%x"));
  reg.SetString(Hive::CurrentUser, "Software\\T\\Sub", "x", "y");
  cu.Create("Software\\T\\Sub\\Deep");
  regtree_ops::WriteValue(cu, "Software\\T\\Bin", "b", RegValue::Raw(kRegBinary, {0x01, 0x02, 0xff}));
  regtree_ops::WriteValue(cu, "Software\\T\\Bin", "m", RegValue::Raw(kRegMultiSz, {'a', 0, 0, 0, 0xfc, 0, 'b', 0}));
  regtree_ops::WriteValue(cu, "Software\\T\\Bin", "q", RegValue::Raw(kRegQword, {0x34, 0x12, 0, 0, 0, 0, 0, 0}));
  reg.SetString(Hive::LocalMachine, "Software\\T", "a", "machine");
  reg.read_only.insert(Hive::LocalMachine);
}

// Each row runs on a freshly filled registry unless `same` keeps the one of
// the row before, so later rows (often a QUERY) show what earlier ones changed.
TEST(KrvRegTest, CommandLineGivesOutputAndExitCode) {
  const std::string d_e = "\n    d    REG_DWORD    0xff\n    e    REG_EXPAND_SZ    %PATH%x\n\n";
  const std::string a_to_e = "\n    a    REG_SZ    hello" + d_e;
  const std::string t_values = kFullT + "\n    (Default)    REG_SZ    def" + a_to_e;
  const std::string bin = kFullT + "\\Bin\n    b    REG_BINARY    0102FF\n    m    REG_MULTI_SZ    a\\0\xC3\xBC" +
                          "b\n    q    REG_QWORD    0x1234\n\n";
  const std::string sub_x = kFullT + "\\Sub\n    x    REG_SZ    y\n\n";
  const std::string subkeys = kFullT + "\\Bin\n" + kFullT + "\\Sub\n";
  const std::string found_x = sub_x + "End of search: 1 match(es) found.\n";
  const std::string new_values =
      "\nHKEY_CURRENT_USER\\Software\\New\n    Backend    REG_SZ    Z:\\daten\\B\xC3\xBCro.mdb\n    Log    "
      "REG_EXPAND_SZ  "
      "  %APPDATA%\\x\n    n    REG_DWORD    0xff\n    m    REG_DWORD    0xffffffff\n    (Default)    REG_SZ    "
      "Standard\n"
      "\nHKEY_CURRENT_USER\\Software\\New\\Deeper\n\nHKEY_CURRENT_USER\\Software\\New\\Deeper\\Still\n\n";
  const std::string ask_a = "Value a exists, overwrite(Yes/No)? ";
  const std::string unsupported =
      "ERROR: Unsupported value type REG_MULTI_SZ. Use REG_SZ, REG_EXPAND_SZ or REG_DWORD.\n";
  const std::string unset = "\n" + kFullT + "\\Sub\n    (Default)    REG_SZ    (value not set)\n\n";
  const std::string lm = "\nHKEY_LOCAL_MACHINE\\Software\\T\n    a    REG_SZ    machine\n\n";
  const std::string ask_va = "Delete all values under the registry key " + kFullT + " (Yes/No)? \n";
  const struct {
    int same;
    std::vector<std::string> args;
    std::string input;
    int code;
    std::string out, err = {};  // an `out` ending in '*' is a beginning only
  } cases[] = {
      {0, {}, "", 1, "", Usage("syntax", "")},
      {0, {"/?", "QUERY"}, "", 1, "", Usage("syntax", "")},
      {0, {"-?"}, "", 0, "KRVREG Operation [Parameter List]\n\n  Operation  [ QUERY | ADD | DELETE | *"},
      {0, {"add", "/?"}, "", 0, "KRVREG ADD KeyName [/v ValueName | /ve] [/t Type] [/d Data] [/f]\n*"},
      {0, {"QUERY"}, "", 1, "", Usage("syntax", "QUERY ")},
      {0, {"query", "HKEY_CURRENT_USERS\\Software"}, "", 1, "", Usage("key name", "QUERY ")},
      {0, {"QUERY", "\\\\server\\HKLM\\Software"}, "", 1, "", Usage("key name", "QUERY ")},
      {0, {"QUERY", kT, "/v"}, "", 1, "", Usage("syntax", "QUERY ")},
      {0, {"QUERY", kT, "/s", "-S"}, "", 1, "", Usage("syntax", "QUERY ")},
      {0, {"DELETE", kT, "/va", "/v", "a"}, "", 1, "", Usage("syntax", "DELETE ")},
      {0, {"DELETE", kT, "/s"}, "", 1, "", Usage("syntax", "DELETE ")},
      {0, {"QUERY", kT}, "", 0, "\n" + t_values + subkeys},
      {0, {"QUERY", kT, "/s"}, "", 0, "\n" + t_values + bin + sub_x + kFullT + "\\Sub\\Deep\n\n"},
      {0, {"QUERY", kT, "-V", "A"}, "", 0, "\n" + kFullT + "\n    a    REG_SZ    hello\n\n"},
      {0, {"QUERY", "HKCU\\Software\\T\\Sub", "/ve"}, "", 0, unset},
      {0, {"QUERY", kT, "/v", "x", "/s"}, "", 0, "\n" + found_x},
      {0, {"QUERY", kT, "/s", "/v", "zz"}, "", 1, "\nEnd of search: 0 match(es) found.\n"},
      {0, {"QUERY", kT, "/v", "zz"}, "", 1, "", kNotFound},
      {0, {"QUERY", "HKCU\\Software\\Nope"}, "", 1, "", kNotFound},
      {0, {"QUERY", "hkey_local_machine\\Software\\\\T\\"}, "", 0, lm},
      {0, {"ADD", kNew, "/v", "Backend", "/d", "Z:\\daten\\Büro.mdb"}, "", 0, kDone},
      {1, {"ADD", kNew, "/v", "Log", "/t", "REG_EXPAND_SZ", "/d", "%APPDATA%\\x"}, "", 0, kDone},
      {1, {"ADD", kNew, "/v", "n", "/t", "reg_dword", "/d", "0XfF"}, "", 0, kDone},
      {1, {"ADD", kNew, "/v", "m", "/t", "REG_DWORD", "/d", "4294967295"}, "", 0, kDone},
      {1, {"ADD", kNew, "/v", "n", "/t", "REG_DWORD", "/d", "4294967296"}, "", 1, "", kBadNumber},
      {1, {"ADD", kNew, "/v", "n", "/t", "REG_DWORD", "/d", "12ab", "/f"}, "", 1, "", kBadNumber},
      {1, {"ADD", kNew, "/v", "n", "/t", "REG_MULTI_SZ", "/d", "a"}, "", 1, "", unsupported},
      {1, {"ADD", kNew, "/d", "Standard"}, "", 0, kDone},
      {1, {"ADD", "HKCU\\Software\\New\\Deeper\\Still"}, "", 0, kDone},
      {1, {"QUERY", kNew, "/s"}, "", 0, new_values},
      {0, {"ADD", "HKCU"}, "", 1, "", kBadKey},
      {0, {"ADD", "HKLM\\Software\\T", "/v", "a", "/d", "x", "/f"}, "", 1, "", kDenied},
      // Overwriting asks until the answer starts with Y or N; no answer is No.
      {0, {"ADD", kT, "/v", "A", "/d", "x"}, "n\n", 1, "Value A exists, overwrite(Yes/No)? " + kCanceled},
      {0, {"ADD", kT, "/v", "a", "/d", "x"}, "", 1, ask_a + "\n" + kCanceled},
      {0, {"ADD", kT, "/v", "a", "/d", "neu"}, "vielleicht\n\nyes\n", 0, ask_a + ask_a + ask_a + kDone},
      {1, {"ADD", kT, "/v", "a", "/d", "fest", "/f"}, "", 0, kDone},
      {1, {"QUERY", kT, "/v", "a"}, "", 0, "\n" + kFullT + "\n    a    REG_SZ    fest\n\n"},
      {0, {"DELETE", kT, "/v", "a"}, "y\n", 0, "Delete the registry value a (Yes/No)? " + kDone},
      {1, {"DELETE", kT, "/v", "a", "/f"}, "", 1, "", kNotFound},
      {1, {"DELETE", kT, "/v", "d"}, "n\n", 1, "Delete the registry value d (Yes/No)? " + kCanceled},
      {1, {"DELETE", kT, "/ve", "/f"}, "", 0, kDone},
      {1, {"QUERY", kT}, "", 0, "\n" + kFullT + d_e + subkeys},
      {1, {"DELETE", kT, "/va"}, "", 1, ask_va + kCanceled},
      {1, {"DELETE", kT, "/va", "/f"}, "", 0, kDone},
      {1, {"QUERY", kT}, "", 0, "\n" + subkeys},
      {1, {"DELETE", kT}, "", 1, "Permanently delete the registry key " + kFullT + " (Yes/No)? \n" + kCanceled},
      {1, {"DELETE", kT, "/f"}, "", 0, kDone},
      {1, {"QUERY", kT}, "", 1, "", kNotFound},
      {0, {"DELETE", "HKCU\\Software\\Nope", "/va", "/f"}, "", 1, "", kNotFound},
      {0, {"DELETE", "HKCU", "/f"}, "", 1, "", kBadKey},
      {0, {"DELETE", "HKLM\\Software\\T", "/f"}, "", 1, "", kDenied},
  };
  std::unique_ptr<FakeRegistry> reg;
  for (const auto& c : cases) {
    if (!c.same) Fill(*(reg = std::make_unique<FakeRegistry>()));
    const int writes = reg->writes;
    const KrvRegRun run = RunReg(*reg, c.args, c.input);
    std::string shown;
    for (const auto& a : c.args) shown += a + " ";
    SCOPED_TRACE(shown + "<< " + c.input);
    EXPECT_EQ(run.code, c.code);
    const bool beginning = c.out.ends_with('*');
    EXPECT_EQ(beginning ? run.out.substr(0, c.out.size() - 1) + "*" : run.out, c.out);
    EXPECT_EQ(run.err, c.err);
    EXPECT_TRUE(c.code == 0 || reg->writes == writes);
  }
}

}  // namespace
}  // namespace krv

#include "platform/RegFile.h"

#include <gtest/gtest.h>

#include "base/Text.h"
#include "testing/FakeRegistry.h"

namespace krv {
namespace {

const std::string kHead5 = "Windows Registry Editor Version 5.00\r\n\r\n";

std::vector<uint8_t> Bytes(std::initializer_list<int> list) { return {list.begin(), list.end()}; }

struct Parsed {
  explicit Parsed(const std::string& bytes, Hive hive = Hive::CurrentUser) : ok(ParseRegFile(bytes, &result, &err)) {
    ApplyRegOps(tree, hive, result.ops);
  }
  RegValue Read(const std::string& key, const std::string& name) {
    RegValue v;
    EXPECT_EQ(regtree_ops::ReadValue(tree, key, name, &v), RegStatus::kOk) << key << " / " << name;
    return v;
  }
  RegParseResult result;
  std::string err;
  bool ok;
  RegTree tree;  // the hive after applying
};

TEST(RegFileTest, HeaderDecidesWhetherAndHowTheFileIsRead) {
  const std::string utf8 = kHead5 + "[HKEY_CURRENT_USER\\K]\r\n\"n\"=\"€ ä\"\r\n";
  const std::pair<std::string, const char*> cases[] = {
      // what K\\n reads; nullptr: not a registry file
      {"  REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"n\"=\"\x80\"\n", "€"},  // ANSI
      {"REGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n\"n\"=hex(2):e4,00", "ä"},
      {"Windows Registry Editor Version 5.00  \r\n[HKCU\\K]\r\n\"n\"=\"x\"", "x"},
      {"regedit4\r\n[HKEY_CURRENT_USER\\K]\r\n\"n\"=\"x\"", nullptr},
      {"\r\nREGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n\"n\"=\"x\"", nullptr},
      {"REGEDIT5\r\n[HKEY_CURRENT_USER\\K]\r\n\"n\"=\"x\"", ""},  // a later version: nothing imported
      {EncodeRegFile(utf8, RegFormat::kUnicode5), "€ ä"},
      {utf8, "€ ä"},
      {"\xEF\xBB\xBF" + utf8, "€ ä"},
      {Utf8ToCp1252(utf8), "€ ä"},
  };
  for (const auto& [bytes, n] : cases) {
    Parsed p(bytes);
    EXPECT_TRUE(p.ok == (n != nullptr) && p.ok == p.err.empty()) << bytes;
    const bool taken = n && *n;
    EXPECT_EQ(p.result.ops.empty(), !taken) << bytes;
    EXPECT_EQ(taken ? p.Read("K", "n").text : "", taken ? n : "") << bytes;
  }
}

TEST(RegFileTest, ValueLinesAreTakenOrRefusedLikeRegedit) {
  const struct {
    const char* line;
    const char* name;  // nullptr: the line must be refused with a warning
    RegValue value;
  } cases[] = {
      {R"("a" = "x" ; note)", "a", RegValue::Sz("x")},
      {R"(@="def")", "", RegValue::Sz("def")},
      {R"("a;b#c/'"="d;e#f")", "a;b#c/'", RegValue::Sz("d;e#f")},
      {R"("q\"\\n"="C:\\Pfad\\\"x\"\r\n")", "q\"\\n", RegValue::Sz("C:\\Pfad\\\"x\"\r\n")},
      {R"("a"=dword:FFFFffff)", "a", RegValue::Dword(0xFFFFFFFF)},
      {R"("a"=hex(2):25,00,41,00,25,00,00,00)", "a", RegValue::ExpandSz("%A%")},
      {R"("a"=hex(4):01,02,03,04)", "a", RegValue::Dword(0x04030201)},
      {R"("a"=dword:000000001)", nullptr, {}},
      {R"("a"=dword:12zz)", nullptr, {}},
      {R"("a"="x" # note)", nullptr, {}},
      {R"("a"=hex:1g)", nullptr, {}},
      {R"("a"=hex(x):01)", nullptr, {}},
      {R"("a"=hex:01,\)", nullptr, {}},  // continues past the end of the file
      {R"(@x="y")", nullptr, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    Parsed p(kHead5 + "[HKEY_CURRENT_USER\\K]\r\n" + c.line + "\r\n");
    EXPECT_EQ(regtree_ops::ValueNames(p.tree, "K").size(), c.name ? 1u : 0u);
    EXPECT_EQ(c.name ? p.Read("K", c.name) : RegValue{}, c.value);
    EXPECT_EQ(p.result.warnings.size() == 1 && p.result.warnings[0].starts_with("line 4: "), !c.name);
  }
}

TEST(RegFileTest, KeyLinesOpenDeleteOrSwitchOffWhatFollows) {
  Parsed p(kHead5 +
           "[HKEY_CURRENT_USER\\Keep]\r\n\"a\"=\"1\"\r\n\"b\"=\"2\"\r\n\"a\" = -\r\n"
           "[HKEY_CURRENT_USER\\Gone\\Sub]\r\n\"x\"=\"1\"\r\n"
           "[-HKEY_CURRENT_USER\\Gone]\r\n\"lost\"=\"after delete\"\r\n"
           "[HKEY_CURRENT_USERS\\Typo]\r\n\"lost\"=\"unknown root\"\r\n"
           "[ HKEY_CURRENT_USER\\Blank]\r\n\"lost\"=\"leading blank\"\r\n"
           "[hkcu\\Slashes\\\\]\r\n"
           "[HKLM\\Y/Z\"q]\r\n\"m\"=dword:2\r\n"
           "[HKEY_CURRENT_USER\\Hex]\r\n"  // hex data continues only on indented hex lines
           "\"a\"=hex:01,02,\\\r\n  03,\\\r\n\r\n; comment between\r\n  04 ; trailing comment\r\n"
           "\"broken\"=hex:01,\\\r\n\"swallowed\"=\"x\"\r\n\"after\"=dword:1\r\n"
           "[-HKEY_CURRENT_USER]\r\n"
           "[HKEY_CURRENT_USER\\Open\r\n");
  EXPECT_EQ(regtree_ops::ValueNames(p.tree, "Keep"), std::vector<std::string>{"b"});
  EXPECT_EQ(regtree_ops::SubKeys(p.tree, ""), (std::vector<std::string>{"Hex", "Keep", "Slashes"}));
  EXPECT_EQ(p.Read("Hex", "a").data, Bytes({1, 2, 3, 4}));
  EXPECT_EQ(regtree_ops::ValueNames(p.tree, "Hex"), (std::vector<std::string>{"a", "after"}));
  EXPECT_EQ(p.result.warnings.size(), 5u);  // typo root, blank, broken hex, root deletion, no bracket
  EXPECT_EQ(std::pair(p.result.ops[9].hive, p.result.ops[9].key), std::pair(Hive::LocalMachine, std::string("Y/Z\"q")));
  EXPECT_EQ(std::pair(p.result.ops[3].kind, p.result.ops[3].line), std::pair(RegOp::kDeleteValue, 6));
}

TEST(RegFileTest, ExportWritesWhatRegeditWrites) {
  RegKey key("Test");
  key.SetValue("Zeta", RegValue::Sz("a\\b\"c\r\n"));
  key.SetValue("", RegValue::Sz("default"));
  key.SetValue("Count", RegValue::Dword(42));
  key.SetValue("Path", RegValue::ExpandSz("%A%"));
  key.GetOrCreateChild("Beta")->SetValue("Bin", RegValue::Raw(kRegBinary, Bytes({0, 0xab})));
  key.GetOrCreateChild("alpha");
  const std::string expected =
      "Windows Registry Editor Version 5.00\r\n\r\n"
      "[HKEY_CURRENT_USER\\Software\\Test]\r\n"
      "\"Zeta\"=\"a\\\\b\\\"c\\r\\n\"\r\n"
      "@=\"default\"\r\n"
      "\"Count\"=dword:0000002a\r\n"
      "\"Path\"=hex(2):25,00,41,00,25,00,00,00\r\n\r\n"
      "[HKEY_CURRENT_USER\\Software\\Test\\alpha]\r\n\r\n"
      "[HKEY_CURRENT_USER\\Software\\Test\\Beta]\r\n"
      "\"Bin\"=hex:00,ab\r\n\r\n";
  EXPECT_EQ(ExportRegText(Hive::CurrentUser, "Software\\Test\\", key, RegFormat::kUnicode5), expected);
}

TEST(RegFileTest, Regedit4FilesRoundTripInAnsi) {
  RegKey key("K");
  key.SetValue("Größe", RegValue::Sz("Straße € \xE2\x98\x83"));
  key.SetValue("Expand", RegValue::ExpandSz("%A%ä"));
  key.SetValue("Short dword", RegValue::Raw(kRegDword, Bytes({1, 2, 3})));
  Parsed p(EncodeRegFile(ExportRegText(Hive::CurrentUser, "K", key, RegFormat::kRegedit4), RegFormat::kRegedit4));
  key.SetValue("Größe", RegValue::Sz("Straße € ?"));  // what Windows-1252 cannot hold becomes '?'
  EXPECT_EQ(p.tree.Find("K")->values(), key.values());
}

TEST(RegFileTest, ApplyStopsAtTheFirstRefusedWriteAndNamesTheLine) {
  Parsed p(kHead5 +
           "[-HKEY_CURRENT_USER\\Missing]\r\n"
           "[HKEY_CURRENT_USER\\K]\r\n\"a\"=\"1\"\r\n\"missing\"=-\r\n"
           "[HKEY_LOCAL_MACHINE\\K]\r\n\"b\"=\"2\"\r\n"
           "[HKEY_CURRENT_USER\\K]\r\n\"c\"=\"3\"\r\n");
  FakeRegistry registry;
  registry.read_only.insert(Hive::LocalMachine);
  std::string err;
  EXPECT_FALSE(ApplyRegOps(registry, p.result.ops, &err));
  EXPECT_TRUE(err.starts_with("line 7: ")) << err;
  EXPECT_TRUE(registry.ValueExists(Hive::CurrentUser, "K", "a") && !registry.ValueExists(Hive::CurrentUser, "K", "c"));
}

TEST(RegFileTest, KeyPathsThatAFileCannotHoldAreRefused) {
  std::string why, deep;
  EXPECT_FALSE(RegKeyPathStorable("Software\\A\nB", &why));
  for (size_t i = 0; i <= kMaxRegKeyDepth; ++i) deep += "k\\";
  EXPECT_TRUE(!RegKeyPathStorable(deep, &why) && why.find("512") != std::string::npos) << why;
  const Parsed p(kHead5 + "[HKEY_CURRENT_USER\\" + deep + "]\r\n");
  EXPECT_TRUE(p.result.ops.empty() && p.result.warnings.size() == 1u);
}

}  // namespace
}  // namespace krv

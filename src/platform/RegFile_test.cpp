#include "platform/RegFile.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "base/Text.h"
#include "testing/FakeRegistry.h"

namespace krv {
namespace {

const std::string kHead5 = "Windows Registry Editor Version 5.00\r\n\r\n";

std::vector<uint8_t> Bytes(std::initializer_list<int> list) {
  std::vector<uint8_t> out;
  for (int b : list) out.push_back(static_cast<uint8_t>(b));
  return out;
}

struct Parsed {
  bool ok = false;
  std::string err;
  RegParseResult result;
  RegTree tree;  // HKEY_CURRENT_USER after applying
};

Parsed Parse(const std::string& bytes, Hive hive = Hive::CurrentUser) {
  Parsed p;
  p.ok = ParseRegFile(bytes, &p.result, &p.err);
  ApplyRegOps(p.tree, hive, p.result.ops);
  return p;
}

// Both trees hold the same keys (any order of subkeys) and the same values in the same order.
void ExpectSameKey(const RegKey& a, const RegKey& b, const std::string& path) {
  SCOPED_TRACE(path);
  EXPECT_EQ(a.values(), b.values());
  auto names = [](const RegKey& k) {
    std::vector<std::string> n;
    for (const auto& c : k.children()) n.push_back(c->name());
    std::sort(n.begin(), n.end());
    return n;
  };
  ASSERT_EQ(names(a), names(b));
  for (const auto& child : a.children())
    ExpectSameKey(*child, *b.FindChild(child->name()), path + "\\" + child->name());
}

TEST(RegFileTest, HeaderDecidesWhetherTheFileIsTakenAtAll) {
  struct Case {
    std::string bytes;
    bool ok;
    size_t ops;
  } cases[] = {
      {"REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n", true, 1},
      {"  REGEDIT4\n[HKEY_CURRENT_USER\\A]\n", true, 1},
      {"Windows Registry Editor Version 5.00  \r\n[HKCU\\A]", true, 1},
      {"regedit4\r\n[HKEY_CURRENT_USER\\A]\r\n", false, 0},
      {"\r\nREGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n", false, 0},
      {"\xFE\xFFW\0i\0", false, 0},  // UTF-16BE is no registry file
      {"REGEDIT5\r\n[HKEY_CURRENT_USER\\A]\r\n", true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    Parsed p = Parse(c.bytes);
    EXPECT_EQ(p.ok, c.ok);
    EXPECT_EQ(p.ok, p.err.empty());
    EXPECT_EQ(p.result.ops.size(), c.ops);
  }
}

TEST(RegFileTest, ValueLinesAreTakenOrRefusedLikeRegedit) {
  struct Case {
    const char* line;
    const char* name;  // nullptr: the line must be refused with a warning
    RegValue value;
  } cases[] = {
      {R"("a"="x")", "a", RegValue::Sz("x")},
      {R"("a" = "x" ; note)", "a", RegValue::Sz("x")},
      {R"(@="def")", "", RegValue::Sz("def")},
      {R"("a;b#c/'"="d;e#f")", "a;b#c/'", RegValue::Sz("d;e#f")},
      {R"("q\"\\n"="C:\\Pfad\\\"x\"\r\n")", "q\"\\n", RegValue::Sz("C:\\Pfad\\\"x\"\r\n")},
      {R"("a"=dword:FFFFffff)", "a", RegValue::Dword(0xFFFFFFFF)},
      {R"("a"=dword:0000002a ; note)", "a", RegValue::Dword(42)},
      {R"("a"=hex:01,02,ff)", "a", RegValue::Raw(kRegBinary, Bytes({1, 2, 0xFF}))},
      {R"("a"=hex(2):25,00,41,00,25,00,00,00)", "a", RegValue::ExpandSz("%A%")},
      {R"("a"=hex(7):41,00)", "a", RegValue::Raw(kRegMultiSz, Bytes({0x41, 0, 0, 0}))},
      {R"("a"=hex(b):01,00,00,00,00,00,00,00)", "a", RegValue::Raw(kRegQword, Bytes({1, 0, 0, 0, 0, 0, 0, 0}))},
      {R"("a"=hex(4):01,02,03,04)", "a", RegValue::Dword(0x04030201)},
      {R"("a"=dword:000000001)", nullptr, {}},
      {R"("a"=dword:0x123)", nullptr, {}},
      {R"("a"=dword:12zz)", nullptr, {}},
      {R"("a"="x" # note)", nullptr, {}},
      {R"("a"="x)", nullptr, {}},
      {R"("a" "x")", nullptr, {}},
      {R"("a"=hex:1g)", nullptr, {}},
      {R"("a"=hex:123)", nullptr, {}},
      {R"("a"=hex(x):01)", nullptr, {}},
      {R"(@x="y")", nullptr, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    Parsed p = Parse(kHead5 + "[HKEY_CURRENT_USER\\K]\r\n" + c.line + "\r\n");
    ASSERT_TRUE(p.ok) << p.err;
    RegValue got;
    if (c.name) {
      EXPECT_TRUE(p.result.warnings.empty()) << p.result.warnings.front();
      ASSERT_EQ(regtree_ops::ReadValue(p.tree, "K", c.name, &got), RegStatus::kOk);
      EXPECT_EQ(got, c.value);
      EXPECT_EQ(regtree_ops::ValueNames(p.tree, "K").size(), 1u);
    } else {
      ASSERT_EQ(p.result.warnings.size(), 1u);
      EXPECT_TRUE(p.result.warnings[0].starts_with("line 4: ")) << p.result.warnings[0];
      EXPECT_TRUE(regtree_ops::ValueNames(p.tree, "K").empty());
    }
  }
}

TEST(RegFileTest, KeyLinesOpenDeleteOrSwitchOffWhatFollows) {
  Parsed p = Parse(kHead5 +
                   "[HKEY_CURRENT_USER\\Keep]\r\n\"a\"=\"1\"\r\n\"b\"=\"2\"\r\n\"a\" = -\r\n"
                   "[HKEY_CURRENT_USER\\Gone\\Sub]\r\n\"x\"=\"1\"\r\n"
                   "[-HKEY_CURRENT_USER\\Gone]\r\n\"lost\"=\"after delete\"\r\n"
                   "[HKEY_CURRENT_USERS\\Typo]\r\n\"lost\"=\"unknown root\"\r\n"
                   "[ HKEY_CURRENT_USER\\Blank]\r\n\"lost\"=\"leading blank\"\r\n"
                   "[hkcu\\Slashes\\\\]\r\n"
                   "[HKLM\\Y/Z\"q]\r\n\"m\"=dword:2\r\n"
                   "[-HKEY_CURRENT_USER]\r\n"
                   "[HKEY_CURRENT_USER\\Open\r\n");
  ASSERT_TRUE(p.ok);
  RegTree& tree = p.tree;
  EXPECT_EQ(regtree_ops::ValueNames(tree, "Keep"), std::vector<std::string>{"b"});
  EXPECT_FALSE(regtree_ops::KeyExists(tree, "Gone"));
  EXPECT_EQ(regtree_ops::SubKeys(tree, ""), (std::vector<std::string>{"Keep", "Slashes"}));
  EXPECT_EQ(p.result.warnings.size(), 4u);  // typo root, blank, root deletion, no bracket
  RegTree machine;
  ApplyRegOps(machine, Hive::LocalMachine, p.result.ops);
  EXPECT_TRUE(regtree_ops::ValueExists(machine, "Y/Z\"q", "m"));
  const RegOp& del = p.result.ops[3];
  EXPECT_EQ(del.kind, RegOp::kDeleteValue);
  EXPECT_EQ(del.line, 6);
}

TEST(RegFileTest, HexDataContinuesOnlyOnIndentedHexLines) {
  Parsed p = Parse(kHead5 +
                   "[HKEY_CURRENT_USER\\K]\r\n"
                   "\"a\"=hex:01,02,\\\r\n  03,\\\r\n\r\n; comment between\r\n  04 ; trailing comment\r\n"
                   "\"broken\"=hex:01,\\\r\n\"swallowed\"=\"x\"\r\n"
                   "\"after\"=dword:1\r\n"
                   "\"eof\"=hex:01,\\\r\n");
  ASSERT_TRUE(p.ok);
  RegTree& tree = p.tree;
  RegValue v;
  ASSERT_EQ(regtree_ops::ReadValue(tree, "K", "a", &v), RegStatus::kOk);
  EXPECT_EQ(v.data, Bytes({1, 2, 3, 4}));
  EXPECT_EQ(regtree_ops::ValueNames(tree, "K"), (std::vector<std::string>{"a", "after"}));
  EXPECT_EQ(p.result.warnings.size(), 2u);
}

TEST(RegFileTest, EncodingsFollowBomAndHeader) {
  // REGEDIT4 is ANSI, hex(2)/hex(7) there are ANSI bytes.
  Parsed p = Parse(
      "REGEDIT4\r\n[HKEY_CURRENT_USER\\K\xE4]\r\n\"n\xFC\"=\"\x80\"\r\n\"e\"=hex(2):e4,00\r\n"
      "\"m\"=hex(7):61,00,62,00,00\r\n");
  RegValue v;
  ASSERT_EQ(regtree_ops::ReadValue(p.tree, "Kä", "nü", &v), RegStatus::kOk);
  EXPECT_EQ(v, RegValue::Sz("€"));
  ASSERT_EQ(regtree_ops::ReadValue(p.tree, "Kä", "e", &v), RegStatus::kOk);
  EXPECT_EQ(v, RegValue::ExpandSz("ä"));
  ASSERT_EQ(regtree_ops::ReadValue(p.tree, "Kä", "m", &v), RegStatus::kOk);
  EXPECT_EQ(v.data, Bytes({'a', 0, 0, 0, 'b', 0, 0, 0, 0, 0}));

  // 5.00 as UTF-16LE with BOM, as UTF-8 with and without BOM, and as ANSI.
  const std::string text = kHead5 + "[HKEY_CURRENT_USER\\Schlüssel]\r\n\"Größe\"=\"€ 5\"\r\n";
  for (const std::string& bytes :
       {EncodeRegFile(text, RegFormat::kUnicode5), text, "\xEF\xBB\xBF" + text, Utf8ToCp1252(text)}) {
    p = Parse(bytes);
    ASSERT_TRUE(p.ok);
    ASSERT_EQ(regtree_ops::ReadValue(p.tree, "SCHLÜSSEL", "größe", &v), RegStatus::kOk);
    EXPECT_EQ(v.text, "€ 5");
  }
}

TEST(RegFileTest, ExportWritesWhatRegeditWrites) {
  RegKey key("Test");
  key.SetValue("Zeta", RegValue::Sz("a\\b\"c"));
  key.SetValue("", RegValue::Sz("default"));
  key.SetValue("Count", RegValue::Dword(42));
  key.SetValue("Path", RegValue::ExpandSz("%A%"));
  key.GetOrCreateChild("Beta")->SetValue("b", RegValue::Raw(kRegBinary, Bytes({0xAB, 0x01})));
  key.GetOrCreateChild("alpha");
  const std::string expected =
      "Windows Registry Editor Version 5.00\r\n"
      "\r\n"
      "[HKEY_CURRENT_USER\\Software\\Test]\r\n"
      "\"Zeta\"=\"a\\\\b\\\"c\"\r\n"
      "@=\"default\"\r\n"
      "\"Count\"=dword:0000002a\r\n"
      "\"Path\"=hex(2):25,00,41,00,25,00,00,00\r\n"
      "\r\n"
      "[HKEY_CURRENT_USER\\Software\\Test\\alpha]\r\n"
      "\r\n"
      "[HKEY_CURRENT_USER\\Software\\Test\\Beta]\r\n"
      "\"b\"=hex:ab,01\r\n"
      "\r\n";
  EXPECT_EQ(ExportRegText(Hive::CurrentUser, "Software\\Test\\", key, RegFormat::kUnicode5), expected);

  const std::string ansi = ExportRegText(Hive::CurrentUser, "Software\\Test", key, RegFormat::kRegedit4);
  EXPECT_TRUE(ansi.starts_with("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Test]\r\n"));
  EXPECT_NE(ansi.find("\"Path\"=hex(2):25,41,25,00\r\n"), std::string::npos);

  const std::string wide = EncodeRegFile("W\r\nä", RegFormat::kUnicode5);
  EXPECT_EQ(wide, std::string("\xFF\xFEW\0\r\0\n\0\xE4\0", 10));
}

TEST(RegFileTest, LongHexDataWrapsLikeRegedit) {
  RegKey key("K");
  std::vector<uint8_t> data(100);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i);
  key.SetValue("Bin", RegValue::Raw(kRegBinary, data));
  const std::string text = ExportRegText(Hive::CurrentUser, "K", key, RegFormat::kUnicode5);
  std::vector<std::string> lines;
  for (size_t start = text.find("\"Bin\""); start < text.size();) {
    const size_t end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end - start));
    if (lines.back().empty() || !lines.back().ends_with("\\")) break;
    start = end + 2;
  }
  // 23 bytes after "Bin"=hex:, then 25 per line with a two-blank indent.
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0].size(), 80u);
  EXPECT_EQ(lines[1].substr(0, 5), "  17,");
  EXPECT_EQ(lines[4], "  62,63");
  Parsed p = Parse(text);
  RegValue v;
  ASSERT_EQ(regtree_ops::ReadValue(p.tree, "K", "Bin", &v), RegStatus::kOk);
  EXPECT_EQ(v.data, data);
}

RegTree SampleTree(bool ansi_only) {
  RegTree tree;
  RegKey* k = tree.Create("Software\\Vantorel\\Korvella\\10.25");
  k->SetValue("", RegValue::Sz("Standard"));
  k->SetValue("Pfad", RegValue::Sz("C:\\Programme\\Korvella \"II.5\"\\"));
  k->SetValue("Größe; #=[x]", RegValue::Sz(ansi_only ? "Straße €" : "Grüße \xE2\x98\x83 \xF0\x9F\x98\x80"));
  k->SetValue("Zeilen", RegValue::Sz("eins\r\nzwei\ndrei\ttab"));
  k->SetValue("MitNull", RegValue::Sz(std::string("a\0b", 3)));
  k->SetValue("Expand", RegValue::ExpandSz("%ProgramFiles%\\Korvella"));
  k->SetValue("Dword", RegValue::Dword(0xFFFFFFFF));
  std::vector<uint8_t> big(1000);
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<uint8_t>(i * 7);
  k->SetValue("Binär", RegValue::Raw(kRegBinary, big));
  k->SetValue("Multi", RegValue::Raw(kRegMultiSz, Bytes({'a', 0, 0, 0, 'b', 0, 0, 0, 0, 0})));
  k->SetValue("Q", RegValue::Raw(kRegQword, Bytes({1, 2, 3, 4, 5, 6, 7, 8})));
  k->SetValue("Short dword", RegValue::Raw(kRegDword, Bytes({1, 2, 3})));
  k->SetValue("Typ 1234", RegValue::Raw(0x1234, Bytes({5})));
  tree.Create("Software\\Name/mit \"Zeichen\"; ] und [")->SetValue("@", RegValue::Sz("@"));
  tree.Create("Software\\ Blank vorn ")->SetValue("\\", RegValue::Sz("\\"));
  tree.root().SetValue("RootValue", RegValue::Dword(7));
  return tree;
}

TEST(RegFileTest, HivesSurviveARoundTripInBothFormats) {
  for (RegFormat format : {RegFormat::kUnicode5, RegFormat::kRegedit4}) {
    SCOPED_TRACE(format == RegFormat::kUnicode5 ? "5.00" : "REGEDIT4");
    RegTree tree = SampleTree(format == RegFormat::kRegedit4);
    const std::string bytes = EncodeRegFile(ExportRegText(Hive::Users, "", tree.root(), format), format);
    EXPECT_EQ(bytes.starts_with("\xFF\xFE"), format == RegFormat::kUnicode5);
    Parsed p = Parse(bytes, Hive::Users);
    ASSERT_TRUE(p.ok) << p.err;
    EXPECT_TRUE(p.result.warnings.empty()) << p.result.warnings.front();
    ExpectSameKey(tree.root(), p.tree.root(), "");
  }
  // What Windows-1252 cannot hold becomes '?'.
  const RegTree tree = SampleTree(false);
  Parsed p =
      Parse(EncodeRegFile(ExportRegText(Hive::Users, "", tree.root(), RegFormat::kRegedit4), RegFormat::kRegedit4),
            Hive::Users);
  RegValue v;
  ASSERT_EQ(regtree_ops::ReadValue(p.tree, "Software\\Vantorel\\Korvella\\10.25", "Größe; #=[x]", &v), RegStatus::kOk);
  EXPECT_EQ(v.text, "Grüße ? ?");
}

TEST(RegFileTest, ApplyStopsAtTheFirstRefusedWriteAndNamesTheLine) {
  Parsed p = Parse(kHead5 +
                   "[-HKEY_CURRENT_USER\\Missing]\r\n"
                   "[HKEY_CURRENT_USER\\K]\r\n\"a\"=\"1\"\r\n\"missing\"=-\r\n"
                   "[HKEY_LOCAL_MACHINE\\K]\r\n\"b\"=\"2\"\r\n"
                   "[HKEY_CURRENT_USER\\K]\r\n\"c\"=\"3\"\r\n");
  FakeRegistry registry;
  registry.read_only.insert(Hive::LocalMachine);
  std::string err;
  EXPECT_FALSE(ApplyRegOps(registry, p.result.ops, &err));
  EXPECT_TRUE(err.starts_with("line 7: ")) << err;
  EXPECT_TRUE(registry.ValueExists(Hive::CurrentUser, "K", "a"));
  EXPECT_FALSE(registry.ValueExists(Hive::CurrentUser, "K", "c"));
}

TEST(RegFileTest, KeyPathsThatAFileCannotHoldAreRefused) {
  std::string why;
  EXPECT_FALSE(RegKeyPathStorable("Software\\A\nB", &why));
  std::string deep;
  for (size_t i = 0; i <= kMaxRegKeyDepth; ++i) deep += "k\\";
  EXPECT_FALSE(RegKeyPathStorable(deep, &why));
  EXPECT_NE(why.find("512"), std::string::npos);
  Parsed p = Parse(kHead5 + "[HKEY_CURRENT_USER\\" + deep + "]\r\n");
  EXPECT_TRUE(p.result.ops.empty());
  EXPECT_EQ(p.result.warnings.size(), 1u);
}

}  // namespace
}  // namespace krv

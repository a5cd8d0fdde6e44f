#include "krvreg/KrvRegFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "krvreg/KrvRegTestUtil.h"
#include "platform/RegFile.h"
#include "base/Text.h"
#include "testing/FakeRegistry.h"
#include "testing/TempDir.h"

namespace krv {
namespace {

constexpr char kDone[] = "The operation completed successfully.\n";
constexpr char kFileError[] = "ERROR: Error opening the file. There may be a disk or file system error.\n";
constexpr char kRoot[] = "HKCU\\Software\\Vantorel";

std::string Slurp(const std::string& file) {
  std::string bytes;
  std::string why;
  EXPECT_TRUE(ReadWholeFile(file, &bytes, &why)) << why;
  return bytes;
}

void Spit(const std::string& file, const std::string& bytes) {
  std::string why;
  ASSERT_TRUE(WriteWholeFile(file, bytes, &why)) << why;
}

std::string Utf16File(const std::string& utf8) {
  const std::u16string wide = Utf8ToUtf16(utf8);
  std::string bytes = "\xFF\xFE";
  for (char16_t c : wide) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

// Two keys are equal when names, values (in order) and subkeys match.
void ExpectSameTree(const RegKey& a, const RegKey& b, const std::string& path) {
  EXPECT_EQ(a.values(), b.values()) << path;
  ASSERT_EQ(a.children().size(), b.children().size()) << path;
  for (const auto& child : a.children()) {
    const RegKey* other = b.FindChild(child->name());
    ASSERT_NE(other, nullptr) << path << "\\" << child->name();
    EXPECT_EQ(other->name(), child->name());
    ExpectSameTree(*child, *other, path + "\\" + child->name());
  }
}

// Settings as the starter keeps them, with every kind of value.
void FillSettings(FakeRegistry& reg) {
  RegTree& t = reg.tree(Hive::CurrentUser);
  const std::string k = "Software\\Vantorel\\Korvella\\10.25";
  regtree_ops::WriteValue(t, k, "", RegValue::Sz("Standard"));
  regtree_ops::WriteValue(t, k, "Backend", RegValue::Sz("Z:\\daten\\Büro\\krvdat25.mdb"));
  regtree_ops::WriteValue(t, k, "Zitat", RegValue::Sz("Er sagte \"Grüß Gott\" \\ Ende"));
  regtree_ops::WriteValue(t, k, "Größe", RegValue::Dword(4711));
  regtree_ops::WriteValue(t, k, "LogPath", RegValue::ExpandSz("%APPDATA%\\Übersicht"));
  std::vector<uint8_t> multi;
  for (char16_t c : Utf8ToUtf16(std::string("C:\\Müller.mdb") + '\0' + "D:\\b.mdb" + '\0' + '\0')) {
    multi.push_back(static_cast<uint8_t>(c & 0xFF));
    multi.push_back(static_cast<uint8_t>(c >> 8));
  }
  regtree_ops::WriteValue(t, k + "\\Recent", "Liste", RegValue::Raw(kRegMultiSz, multi));
  std::vector<uint8_t> blob;
  for (int i = 0; i < 70; ++i) blob.push_back(static_cast<uint8_t>(i * 37));
  regtree_ops::WriteValue(t, k + "\\Recent", "Blob", RegValue::Raw(kRegBinary, blob));
  regtree_ops::WriteValue(t, k + "\\Recent", "Q", RegValue::Raw(kRegQword, {1, 2, 3, 4, 5, 6, 7, 8}));
  t.Create(k + "\\Recent\\Äußere Ansicht\\Leer");
  regtree_ops::WriteValue(t, "Software\\Vantorel\\Andere", "x", RegValue::Dword(0));
}

TEST(KrvRegFilesTest, ExportWritesUnicodeRegFileThatImportsBackEqual) {
  TempDir dir;
  const std::string file = dir.native() + "/Einstellungen Ü.reg";
  FakeRegistry source;
  FillSettings(source);
  const KrvRegRun exported = RunReg(source, {"EXPORT", kRoot, file});
  ASSERT_EQ(exported.code, 0) << exported.err;
  EXPECT_EQ(exported.out, kDone);
  EXPECT_EQ(source.writes, 0);

  const std::string bytes = Slurp(file);
  const std::string header =
      Utf16File("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Vantorel]");
  EXPECT_EQ(bytes.substr(0, header.size()), header);

  FakeRegistry target;
  const KrvRegRun imported = RunReg(target, {"IMPORT", file});
  ASSERT_EQ(imported.code, 0) << imported.err;
  EXPECT_EQ(imported.out, kDone);
  EXPECT_EQ(imported.err, "");
  ExpectSameTree(CopyKeyTree(source, Hive::CurrentUser, "Software\\Vantorel"),
                 CopyKeyTree(target, Hive::CurrentUser, "Software\\Vantorel"), "Vantorel");
  EXPECT_TRUE(target.KeyExists(Hive::CurrentUser, "Software\\Vantorel\\Korvella\\10.25\\Recent\\Äußere Ansicht\\Leer"));
}

TEST(KrvRegFilesTest, Regedit4AnsiFileImportsAndExportsBackEqual) {
  TempDir dir;
  const std::string ansi = dir.native() + "/ansi.reg";
  // Windows-1252 bytes: \xFC is ü, \xDF is ß, \xC4 is Ä.
  Spit(ansi,
       "REGEDIT4\r\n\r\n"
       "[HKEY_CURRENT_USER\\Software\\Vantorel\\Korvella\\10.25]\r\n"
       "@=\"Standard\"\r\n"
       "\"Backend\"=\"Z:\\\\daten\\\\B\xFCro\\\\krvdat25.mdb\"\r\n"
       "\"Gr\xF6\xDF"
       "e\"=dword:00001267\r\n"
       "\"LogPath\"=hex(2):25,41,50,50,44,41,54,41,25,5c,dc,62,65,72,00\r\n"
       "\"Liste\"=hex(7):61,00,62,fc,00,00\r\n"
       "\"Blob\"=hex:00,01,02,\\\r\n  fe,ff\r\n"
       "\r\n"
       "[HKEY_CURRENT_USER\\Software\\Vantorel\\Korvella\\10.25\\\xC4nderungen]\r\n"
       "\"x\"=\"1\"\r\n");
  FakeRegistry first;
  const KrvRegRun imported = RunReg(first, {"IMPORT", ansi});
  ASSERT_EQ(imported.code, 0) << imported.err;
  const std::string k = "Software\\Vantorel\\Korvella\\10.25";
  RegValue v;
  ASSERT_EQ(first.ReadValue(Hive::CurrentUser, k, "Backend", &v, nullptr), RegStatus::kOk);
  EXPECT_EQ(v, RegValue::Sz("Z:\\daten\\Büro\\krvdat25.mdb"));
  ASSERT_EQ(first.ReadValue(Hive::CurrentUser, k, "Größe", &v, nullptr), RegStatus::kOk);
  EXPECT_EQ(v, RegValue::Dword(4711));
  ASSERT_EQ(first.ReadValue(Hive::CurrentUser, k, "LogPath", &v, nullptr), RegStatus::kOk);
  EXPECT_EQ(v, RegValue::ExpandSz("%APPDATA%\\Über"));
  EXPECT_TRUE(first.ValueExists(Hive::CurrentUser, k + "\\Änderungen", "x"));

  const std::string unicode = dir.native() + "/unicode.reg";
  ASSERT_EQ(RunReg(first, {"EXPORT", "HKCU\\Software\\Vantorel", unicode}).code, 0);
  EXPECT_EQ(Slurp(unicode).substr(0, 2), "\xFF\xFE");
  FakeRegistry second;
  ASSERT_EQ(RunReg(second, {"IMPORT", unicode}).code, 0);
  ExpectSameTree(CopyKeyTree(first, Hive::CurrentUser, "Software"), CopyKeyTree(second, Hive::CurrentUser, "Software"),
                 "Software");
  // REG_MULTI_SZ from an ANSI file is held as UTF-16LE, like every other.
  ASSERT_EQ(second.ReadValue(Hive::CurrentUser, k, "Liste", &v, nullptr), RegStatus::kOk);
  EXPECT_EQ(v.data, (std::vector<uint8_t>{'a', 0, 0, 0, 'b', 0, 0xfc, 0, 0, 0, 0, 0}));
}

std::string SourceDir() {
  const char* dir = std::getenv("KRV_SOURCE_DIR");
  return dir != nullptr ? dir : KRV_SOURCE_DIR_FALLBACK;
}

// A hive exported by another regedit-format exporter (Wine's reg.exe): umlauts,
// DWORD, REG_EXPAND_SZ, REG_MULTI_SZ, binary and an empty default value.
TEST(KrvRegFilesTest, RoundTripsHiveExportedByRegedit) {
  const std::string fixture = SourceDir() + "/tools/krvreg/testdata/wine_export.reg";
  const std::string original = Slurp(fixture);
  ASSERT_FALSE(original.empty()) << fixture;
  FakeRegistry reg;
  const KrvRegRun imported = RunReg(reg, {"IMPORT", fixture});
  ASSERT_EQ(imported.code, 0) << imported.err;
  EXPECT_EQ(imported.err, "");

  const KrvRegRun query = RunReg(reg, {"QUERY", "HKCU\\Software\\Vantorel\\Korvella\\10.25", "/s"});
  const std::string k = "HKEY_CURRENT_USER\\Software\\Vantorel\\Korvella\\10.25";
  EXPECT_EQ(query.out, "\n" + k +
                           "\n    (Default)    REG_SZ    Standard\n    AutoStart    REG_DWORD    0x1\n"
                           "    Backend    REG_SZ    Z:\\daten\\Büro\\krvdat25.mdb\n    Größe    REG_DWORD    0x1267\n"
                           "    LogPath    REG_EXPAND_SZ    %APPDATA%\\Korvella\\Übersicht\n"
                           "    Zitat    REG_SZ    Er sagte \"Grüß Gott\" \\ Ende\n\n" +
                           k + "\\Leer\n    (Default)    REG_SZ    \n\n" + k +
                           "\\Recent\n    Blob    REG_BINARY    "
                           "00112233445566778899AABBCCDDEEFF00112233445566778899AABBCCDDEEFF0011223344556677\n"
                           "    Liste    REG_MULTI_SZ    C:\\Daten\\Müller.mdb\\0D:\\Straße\\b.mdb\n\n" +
                           k + "\\Recent\\Äußere Ansicht\n    Farbe    REG_DWORD    0x80000005\n\n");

  TempDir dir;
  const std::string back = dir.native() + "/back.reg";
  ASSERT_EQ(RunReg(reg, {"EXPORT", "HKEY_CURRENT_USER\\Software\\Vantorel", back}).code, 0);
  const std::string exported = Slurp(back);
  // Equal in content: both files give the same operations.
  RegParseResult want;
  RegParseResult got;
  std::string why;
  ASSERT_TRUE(ParseRegFile(original, &want, &why)) << why;
  ASSERT_TRUE(ParseRegFile(exported, &got, &why)) << why;
  ASSERT_EQ(got.ops.size(), want.ops.size());
  for (size_t i = 0; i < want.ops.size(); ++i) {
    EXPECT_EQ(got.ops[i].kind, want.ops[i].kind) << i;
    EXPECT_EQ(got.ops[i].key, want.ops[i].key) << i;
    EXPECT_EQ(got.ops[i].name, want.ops[i].name) << i;
    EXPECT_EQ(got.ops[i].value, want.ops[i].value) << i;
  }
  // And in form: the same bytes as the other exporter wrote.
  EXPECT_EQ(exported, original);
}

TEST(KrvRegFilesTest, ExportAsksBeforeReplacingAFile) {
  struct Case {
    std::vector<std::string> extra;
    std::string input;
    int code;
    bool replaced;
  };
  const Case cases[] = {
      {{}, "y\n", 0, true}, {{}, "n\n", 1, false}, {{}, "", 1, false}, {{"/y"}, "", 0, true}, {{"-Y"}, "", 0, true},
  };
  for (const Case& c : cases) {
    TempDir dir;
    const std::string file = dir.native() + "/old.reg";
    Spit(file, "alt");
    FakeRegistry reg;
    FillSettings(reg);
    std::vector<std::string> args = {"EXPORT", kRoot, file};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    const KrvRegRun run = RunReg(reg, args, c.input);
    SCOPED_TRACE(c.input);
    EXPECT_EQ(run.code, c.code);
    const std::string ask = "File " + file + " already exists. Overwrite (Yes/No)? ";
    EXPECT_EQ(run.out.find(ask) == 0, c.extra.empty());
    EXPECT_EQ(Slurp(file) != "alt", c.replaced);
    EXPECT_FALSE(std::filesystem::exists(file + ".krvreg-tmp"));
  }
}

TEST(KrvRegFilesTest, ImportAndExportFailuresSayWhatFailed) {
  TempDir dir;
  const std::string good = dir.native() + "/good.reg";
  Spit(good, Utf16File("Windows Registry Editor Version 5.00\r\n\r\n[HKLM\\Software\\X]\r\n\"a\"=\"1\"\r\n"));
  const std::string bad_header = dir.native() + "/bad.reg";
  Spit(bad_header, "regedit4\r\n\r\n[HKEY_CURRENT_USER\\Software\\X]\r\n\"a\"=\"1\"\r\n");
  struct Case {
    std::vector<std::string> args;
    std::string err_start;
  };
  const Case cases[] = {
      {{"IMPORT", dir.native() + "/missing.reg"}, kFileError},
      {{"IMPORT", dir.native()}, kFileError},
      {{"IMPORT", bad_header}, kFileError},
      {{"IMPORT", good}, "ERROR: Error accessing the registry.\n"},
      {{"EXPORT", "HKCU\\Software\\Nope", dir.native() + "/nope.reg"},
       "ERROR: The system was unable to find the specified registry key or value.\n"},
      {{"EXPORT", kRoot, dir.native() + "/no/such/folder.reg"}, kFileError},
  };
  for (const Case& c : cases) {
    FakeRegistry reg;
    FillSettings(reg);
    reg.read_only.insert(Hive::LocalMachine);
    reg.writes = 0;
    const KrvRegRun run = RunReg(reg, c.args);
    SCOPED_TRACE(c.args[1]);
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.substr(0, c.err_start.size()), c.err_start);
    EXPECT_EQ(reg.writes, 0);
  }
  EXPECT_FALSE(std::filesystem::exists(dir.native() + "/nope.reg"));
}

TEST(KrvRegFilesTest, ImportReportsIgnoredLinesAndStillImports) {
  TempDir dir;
  const std::string file = dir.native() + "/warn.reg";
  Spit(file,
       "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\X]\r\n\"n\"=dword:123456789\r\n\"ok\"=\"1\"\r\n"
       "[-HKEY_CURRENT_USER\\Software\\Gone]\r\n");
  FakeRegistry reg;
  reg.SetString(Hive::CurrentUser, "Software\\Gone\\Sub", "v", "x");
  const KrvRegRun run = RunReg(reg, {"IMPORT", file});
  EXPECT_EQ(run.code, 0);
  EXPECT_EQ(run.out, kDone);
  EXPECT_EQ(run.err.rfind("WARNING: " + file + ": line 4", 0), 0u) << run.err;
  EXPECT_TRUE(reg.ValueExists(Hive::CurrentUser, "Software\\X", "ok"));
  EXPECT_FALSE(reg.ValueExists(Hive::CurrentUser, "Software\\X", "n"));
  EXPECT_FALSE(reg.KeyExists(Hive::CurrentUser, "Software\\Gone"));
}

TEST(KrvRegFilesTest, ExportOfAWholeHiveNamesTheHive) {
  TempDir dir;
  const std::string file = dir.native() + "/hive.reg";
  FakeRegistry reg;
  reg.SetString(Hive::LocalMachine, "Software\\V", "a", "1");
  ASSERT_EQ(RunReg(reg, {"EXPORT", "HKLM", file}).code, 0);
  RegParseResult parsed;
  std::string why;
  ASSERT_TRUE(ParseRegFile(Slurp(file), &parsed, &why)) << why;
  ASSERT_FALSE(parsed.ops.empty());
  EXPECT_EQ(parsed.ops.back().hive, Hive::LocalMachine);
  EXPECT_EQ(parsed.ops.back().key, "Software\\V");
  EXPECT_EQ(parsed.ops.back().value, RegValue::Sz("1"));
}

}  // namespace
}  // namespace krv

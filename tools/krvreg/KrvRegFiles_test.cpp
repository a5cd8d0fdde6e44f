#include "krvreg/KrvRegFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "krvreg/KrvRegTestUtil.h"
#include "platform/RegFile.h"
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

// Settings as the starter keeps them.
void FillSettings(FakeRegistry& reg) {
  reg.SetString(Hive::CurrentUser, "Software\\Vantorel\\Korvella", "Backend", "Z:\\daten\\Büro.mdb");
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

  TempDir dir;
  const std::string back = dir.native() + "/back.reg";
  ASSERT_EQ(RunReg(reg, {"EXPORT", "HKEY_CURRENT_USER\\Software\\Vantorel", back}).code, 0);
  const std::string exported = Slurp(back);
  // The same bytes as the other exporter wrote.
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
      {{}, "y\n", 0, true},
      {{}, "", 1, false},
      {{"-Y"}, "", 0, true},
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
  Spit(good, EncodeRegFile("Windows Registry Editor Version 5.00\r\n\r\n[HKLM\\X]\r\n", RegFormat::kUnicode5));
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

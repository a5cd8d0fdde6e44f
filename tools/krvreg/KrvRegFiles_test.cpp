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

const std::string kDone = "The operation completed successfully.\n";
const std::string kFileError = "ERROR: Error opening the file. There may be a disk or file system error.\n*";
const std::string kNotFound = "ERROR: The system was unable to find the specified registry key or value.\n";
constexpr char kRoot[] = "HKCU\\Software\\Vantorel";

std::string Slurp(const std::string& file) {
  std::string bytes, why;
  return ReadWholeFile(file, &bytes, &why) ? bytes : why;
}

// One registry and folder for all rows, so later rows show what earlier ones
// did: "$" stands for the folder; an expected text ending in '*' is a beginning.
TEST(KrvRegFilesTest, ImportAndExportThroughFiles) {
  const char* source_dir = std::getenv("KRV_SOURCE_DIR");
  // Exported by Wine's reg.exe: umlauts, DWORD, REG_EXPAND_SZ, REG_MULTI_SZ, binary, an empty default value.
  const std::string fixture =
      std::string(source_dir ? source_dir : KRV_SOURCE_DIR_FALLBACK) + "/tools/krvreg/testdata/wine_export.reg";
  TempDir dir;
  const std::string ask = "File $/old.reg already exists. Overwrite (Yes/No)? ";
  std::string why;
  for (const auto& [name, bytes] : std::vector<std::pair<std::string, std::string>>{
           {"old", "alt"},
           {"alt", "alt"},
           {"lm", "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\X]\r\n"},
           {"warn",
            "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\X]\r\n\"n\"=dword:123456789\r\n\"ok\"=\"1\"\r\n"
            "[-HKEY_CURRENT_USER\\Software\\Gone]\r\n"}}) {
    ASSERT_TRUE(WriteWholeFile(dir.native() + "/" + name + ".reg", bytes, &why)) << why;
  }
  FakeRegistry reg;
  reg.SetString(Hive::LocalMachine, "Software\\V", "a", "1");
  reg.read_only.insert(Hive::LocalMachine);
  const struct {
    std::vector<std::string> args;
    std::string input;
    int code;
    std::string out, err = {};
  } cases[] = {
      {{"IMPORT", fixture}, "", 0, kDone},
      {{"EXPORT", "HKEY_CURRENT_USER\\Software\\Vantorel", "$/back.reg"}, "", 0, kDone},
      {{"EXPORT", kRoot, "$/old.reg"}, "", 1, ask + "\nThe operation was canceled by the user.\n"},
      {{"IMPORT", "$/old.reg"}, "", 1, "", kFileError},  // not replaced
      {{"EXPORT", kRoot, "$/old.reg"}, "y\n", 0, ask + kDone},
      {{"IMPORT", "$/old.reg"}, "", 0, kDone},
      {{"EXPORT", kRoot, "$/alt.reg", "-Y"}, "", 0, kDone},
      {{"IMPORT", "$/missing.reg"}, "", 1, "", kFileError},
      {{"IMPORT", "$/lm.reg"}, "", 1, "", "ERROR: Error accessing the registry.\n*"},
      {{"EXPORT", "HKCU\\Software\\Nope", "$/nope.reg"}, "", 1, "", kNotFound},
      {{"EXPORT", kRoot, "$/no/such/folder.reg"}, "", 1, "", kFileError},
      // Lines it cannot take are reported; the rest is imported.
      {{"IMPORT", "$/warn.reg"}, "", 0, kDone, "WARNING: $/warn.reg: line 4*"},
      {{"QUERY", "HKCU\\Software\\X"}, "", 0, "\nHKEY_CURRENT_USER\\Software\\X\n    ok    REG_SZ    1\n\n"},
      {{"EXPORT", "HKLM", "$/hive.reg"}, "", 0, kDone},
  };
  const auto in_dir = [&](std::string text) {
    for (size_t at; (at = text.find('$')) != std::string::npos;) text.replace(at, 1, dir.native());
    return text;
  };
  const auto starts = [&](const std::string& text, const std::string& want) {
    return want.ends_with('*') ? text.substr(0, in_dir(want).size() - 1) + "*" : text;
  };
  for (const auto& c : cases) {
    std::vector<std::string> args;
    for (const auto& a : c.args) args.push_back(in_dir(a));
    const int writes = reg.writes;
    const KrvRegRun run = RunReg(reg, args, c.input);
    SCOPED_TRACE(args[0] + " " + args[1]);
    EXPECT_EQ(run.code, c.code);
    EXPECT_EQ(starts(run.out, c.out), in_dir(c.out));
    EXPECT_EQ(starts(run.err, c.err), in_dir(c.err));
    EXPECT_TRUE(c.code == 0 || reg.writes == writes);
  }
  EXPECT_EQ(Slurp(dir.native() + "/back.reg"), Slurp(fixture));  // the same bytes as the other exporter wrote
  EXPECT_FALSE(std::filesystem::exists(dir.native() + "/old.reg.krvreg-tmp"));
  RegParseResult parsed;  // a whole hive is named by the hive
  ASSERT_TRUE(ParseRegFile(Slurp(dir.native() + "/hive.reg"), &parsed, &why) && !parsed.ops.empty()) << why;
  const auto& last = parsed.ops.back();
  EXPECT_TRUE(last.hive == Hive::LocalMachine && last.key == "Software\\V" && last.value == RegValue::Sz("1"));
}

}  // namespace
}  // namespace krv

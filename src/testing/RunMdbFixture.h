// Test set-up shared by the runner's tests: a fake registry and file system,
// a program folder "C:\Programme\Korvella" with the program "krv25", and
// helpers to look at the debug log line by line.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "runmdb/cuRunMDB.h"
#include "testing/FakeFileSystem.h"
#include "testing/FakeRegistry.h"

namespace krv {

inline constexpr const char* kProgramDir = "C:\\Programme\\Korvella";
inline constexpr const char* kOfficeKey = "SOFTWARE\\Microsoft\\Office\\";

// One complete set-up; a table test makes a fresh one per row.
struct RunMdbWorld {
  FakeRegistry reg;
  FakeFileSystem fs;
  struct Pointer : MousePointerOwner {
    int value = kMousePointerDefault;
    int MousePointer() const override { return value; }
    void SetMousePointer(int pointer) override { value = pointer; }
  } pointer;
  std::unique_ptr<cuRunMDB> runner = MakeRunner();

  std::unique_ptr<cuRunMDB> MakeRunner() {
    return std::make_unique<cuRunMDB>(RunMdbContext{reg, fs, kProgramDir, "krv25", "krv25", &pointer});
  }

  void SetHklm(const std::string& key, const std::string& name, const std::string& value) {
    reg.SetString(Hive::LocalMachine, key, name, value);
  }

  // Office `version` ("8.0" ... "11.0") with msaccess.exe in `folder`, under
  // the Access or the Common InstallRoot key.
  std::string InstallOffice(const std::string& version, const std::string& folder, bool common = false) {
    const bool office8 = version == "8.0";
    const std::string key = kOfficeKey + version + (office8 || common ? "\\Common" : "\\Access") + "\\InstallRoot";
    SetHklm(key, office8 ? "OfficeBin" : "Path", folder);
    const std::string exe = cuRunMDB_Helpers::TerminateString(folder, "\\") + "msaccess.exe";
    fs.AddFile(exe);
    return exe;
  }

  std::vector<std::string> LogLines() const {
    std::vector<std::string> lines;
    const std::string& log = runner->DebugLog();
    size_t from = 0;
    for (size_t at = log.find("\r\n"); at != std::string::npos; at = log.find("\r\n", from)) {
      lines.push_back(log.substr(from, at - from));
      from = at + 2;
    }
    lines.push_back(log.substr(from));
    return lines;
  }

  // True when `want` appear among the log lines in this order (others may lie between).
  ::testing::AssertionResult LogHasInOrder(const std::vector<std::string>& want) const {
    const std::vector<std::string> lines = LogLines();
    size_t i = 0;
    for (const std::string& line : lines) {
      if (i < want.size() && line == want[i]) ++i;
    }
    if (i == want.size()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "missing log line \"" << want[i] << "\" in:\n" << runner->DebugLog();
  }
};

class RunMdbTest : public ::testing::Test, public RunMdbWorld {};

// One row of a command-line table: a set-up and what GetCommandLine gives.
struct RunMdbCase {
  const char* name;
  std::function<void(RunMdbWorld&)> setup;
  std::string exe;          // quoted executable
  std::string args;         // CommandLineArgs; CommandLine is exe, blank, args
  std::string hidden_args;  // the masked arguments; empty: the same as args
  std::vector<std::string> log;
};

// Runs each row on a fresh set-up and compares the three lines and the log.
inline void RunCases(const std::vector<RunMdbCase>& cases) {
  for (const RunMdbCase& c : cases) {
    SCOPED_TRACE(c.name);
    RunMdbWorld w;
    c.setup(w);
    ASSERT_TRUE(w.runner->GetCommandLine());
    const std::string sep = c.args.empty() ? "" : " ";
    const std::string& hidden = c.hidden_args.empty() ? c.args : c.hidden_args;
    EXPECT_EQ(w.runner->CommandLine(), c.exe + sep + c.args);
    EXPECT_EQ(w.runner->CommandLineArgs(), c.args);
    EXPECT_EQ(w.runner->CommandLineHiddenUserPW(), c.exe + sep + hidden);
    EXPECT_TRUE(w.LogHasInOrder(c.log));
    EXPECT_FALSE(w.runner->TestModeError());
  }
}

inline const std::string kDb = "C:\\Programme\\Korvella\\krv25.mdb";
inline const std::string kDbQ = "\"" + kDb + "\"";
inline const std::string kAccessD = "\"D:\\Access\\msaccess.exe\"";

inline void AccessOnD(RunMdbWorld& w) {
  w.fs.AddFile("D:\\Access\\msaccess.exe");
  w.runner->SetAccPath("D:\\Access");
}

inline void AccessAndDb(RunMdbWorld& w) {
  AccessOnD(w);
  w.fs.AddFile(kDb);
}

}  // namespace krv

// The runner over fakes, program "krv25" in "C:\Programme\Korvella", set up from short texts (see Apply).
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "runmdb/cuRunMDB.h"
#include "testing/FakeFileSystem.h"
#include "testing/FakeRegistry.h"

namespace krv {

inline const std::string kDb = "C:\\Programme\\Korvella\\krv25.mdb";
inline const std::string kAccessD = "\"D:\\Access\\msaccess.exe\"";
inline const std::string kAccessDb = kAccessD + " \"" + kDb + "\"";

inline std::vector<std::string> Split(const std::string& text, const std::string& sep) {
  std::vector<std::string> parts;
  for (size_t from = 0;;) {
    const size_t at = text.find(sep, from);
    parts.push_back(text.substr(from, at - from));
    if (at == std::string::npos) return parts;
    from = at + sep.size();
  }
}

// One complete set-up; a table test makes a fresh one per row.
struct RunMdbWorld {
  FakeRegistry reg;
  FakeFileSystem fs;
  struct Pointer : MousePointerOwner {
    int value = kMousePointerDefault;
    int MousePointer() const override { return value; }
    void SetMousePointer(int to) override { value = to; }
  } pointer;
  std::unique_ptr<cuRunMDB> runner =
      std::make_unique<cuRunMDB>(RunMdbContext{reg, fs, "C:\\Programme\\Korvella", "krv25", "krv25", &pointer});

  // Items joined by " | ": "access" (D:\Access\msaccess.exe as AccPath), "db" (kDb), "file:<path>",
  // "HKLM:<key>\<name>=<text>" or "HKCU:...", or "<Property>=<value>".
  void Apply(const std::string& setup) {
    using Setter = void (cuRunMDB::*)(std::string);
    static const std::map<std::string, Setter> kSetters = {{"AccPath", &cuRunMDB::SetAccPath},
                                                           {"AccList", &cuRunMDB::SetAccRegListString},
                                                           {"Cmd", &cuRunMDB::SetCmd},
                                                           {"DBFilename", &cuRunMDB::SetDBFilename},
                                                           {"DBPath", &cuRunMDB::SetDBPath},
                                                           {"DBList", &cuRunMDB::SetDBRegListString},
                                                           {"Macro", &cuRunMDB::SetMacro},
                                                           {"Profile", &cuRunMDB::SetProfile},
                                                           {"SysPath", &cuRunMDB::SetSystemDBPath},
                                                           {"SysFilename", &cuRunMDB::SetSystemDBFilename},
                                                           {"Pwd", &cuRunMDB::SetSystemDBPwd},
                                                           {"SysList", &cuRunMDB::SetSystemDBRegListString},
                                                           {"User", &cuRunMDB::SetSystemDBUser}};
    for (const std::string& item : Split(setup, " | ")) {
      const size_t colon = item.find(':'), eq = item.find('=');
      const std::string head = item.substr(0, colon), name = item.substr(0, eq), value = item.substr(eq + 1);
      if (item == "access") {
        Apply("file:D:\\Access\\msaccess.exe | AccPath=D:\\Access");
      } else if (item == "db") {
        fs.AddFile(kDb);
      } else if (head == "file") {
        fs.AddFile(item.substr(colon + 1));
      } else if (head == "HKLM" || head == "HKCU") {
        const size_t slash = item.rfind('\\', eq);
        reg.SetString(head == "HKLM" ? Hive::LocalMachine : Hive::CurrentUser,
                      item.substr(colon + 1, slash - colon - 1), item.substr(slash + 1, eq - slash - 1), value);
      } else if (name == "AccVersion") {
        runner->SetAccVersion(std::stoi(value));
      } else if (name == "Option") {
        runner->SetAccOption(std::stoi(value), true);
      } else if (name == "VerifyProfile") {
        runner->SetVerifyProfile(true);
      } else {
        (runner.get()->*kSetters.at(name))(value);
      }
    }
  }

  // The lines of `want` appear in the log in this order, others between.
  ::testing::AssertionResult LogHasInOrder(const std::string& lines) const {
    const std::vector<std::string> want = lines.empty() ? std::vector<std::string>{} : Split(lines, "\n");
    const std::string log = runner->DebugLog() + "\r\n";
    size_t i = 0;
    for (size_t from = 0, at; i < want.size() && (at = log.find("\r\n", from)) != std::string::npos; from = at + 2) {
      if (log.compare(from, at - from, want[i]) == 0) ++i;
    }
    if (i == want.size()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "missing log line \"" << want[i] << "\" in:\n" << runner->DebugLog();
  }
};

// The set-up, the whole command line, the masked one ("": the same) and log lines in order joined by "\n".
struct RunMdbCase {
  std::string setup, line, hidden, log;
};

// Each row on a fresh set-up; the arguments are the line after the quoted executable.
inline void RunCases(const std::vector<RunMdbCase>& cases) {
  for (const RunMdbCase& c : cases) {
    SCOPED_TRACE(c.line);
    RunMdbWorld w;
    w.Apply(c.setup);
    ASSERT_TRUE(w.runner->GetCommandLine());
    EXPECT_EQ(w.runner->CommandLine(), c.line);
    EXPECT_EQ(w.runner->CommandLineHiddenUserPW(), c.hidden.empty() ? c.line : c.hidden);
    const size_t args = c.line.find('"', 1) + 2;
    EXPECT_EQ(w.runner->CommandLineArgs(), args < c.line.size() ? c.line.substr(args) : "");
    EXPECT_TRUE(w.LogHasInOrder(c.log));
    EXPECT_FALSE(w.runner->TestModeError());
  }
}

}  // namespace krv

// POSIX only: tests of program starts with small shell scripts.
#include "platform/posix/Shell_posix.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/posix/InstanceMutex_posix.h"
#include "platform/posix/NativePath_posix.h"
#include "testing/TempDir.h"

namespace krv {
namespace {

namespace fs = std::filesystem;

class PosixShellTest : public ::testing::Test {
 protected:
  PosixShellTest() : out_(tmp_.native() + "/out.txt") { fs::create_directory(tmp_.native() + "/bin"); }

  // An executable shell script at `rel` running `body`.
  void Script(const std::string& rel, const std::string& body) const {
    const std::string path = tmp_.native() + "/" + rel;
    std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
    chmod(path.c_str(), 0755);
  }
  // A script that writes its arguments, one "[arg]" a line, to out.txt.
  void ArgsScript(const std::string& rel) const { Script(rel, "printf '[%s]\\n' \"$@\" > '" + out_ + "'"); }
  std::string Win(const std::string& rel) const { return NativeToWinPath(tmp_.native()) + "\\" + rel; }
  std::string Out() const {
    std::ifstream in(out_);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  TempDir tmp_;
  std::string out_;
  std::string err_;
};

TEST_F(PosixShellTest, SplitsTheArgumentTextByTheWindowsRules) {
  ArgsScript("MSACCESS.EXE");
  ArgsScript("bin/Werkzeug");
  PosixShell shell("/nonexistent:" + tmp_.native() + "/bin", false);
  ShellStart start;
  start.file = Win("msaccess.exe");  // found ignoring letter case
  start.args = "\"Z:\\Daten\\krv 25.mdb\" /wrkgrp \"a\\\"b\" /user \"\" /cmd \"krv25.exe\"";
  start.wait = true;
  ASSERT_TRUE(shell.Start(start, &err_)) << err_;
  EXPECT_EQ(Out(), "[Z:\\Daten\\krv 25.mdb]\n[/wrkgrp]\n[a\"b]\n[/user]\n[]\n[/cmd]\n[krv25.exe]\n");
  start.file = "werkzeug";  // without a folder: searched in the PATH
  start.args = "a b";
  ASSERT_TRUE(shell.Start(start, &err_)) << err_;
  EXPECT_EQ(Out(), "[a]\n[b]\n");
}

TEST_F(PosixShellTest, RunsInTheWorkingFolderWithEitherSpawnMethod) {
  Script("pwd.sh", "pwd > '" + out_ + "'");
  fs::create_directory(tmp_.native() + "/Arbeit");
  PosixShell shell("/usr/bin:/bin", false);
  ShellStart start;
  start.file = Win("pwd.sh");
  start.directory = Win("ARBEIT");
  start.wait = true;
  ASSERT_TRUE(shell.Start(start, &err_)) << err_;
  const std::string expected = fs::canonical(tmp_.native() + "/Arbeit").string() + "\n";
  EXPECT_EQ(Out(), expected);
  fs::remove(out_);
  const SpawnPlan plan{tmp_.native() + "/pwd.sh", {"pwd.sh"}, tmp_.native() + "/Arbeit"};
  pid_t pid = 0;
  ASSERT_TRUE(SpawnWithFork(plan, &pid, &err_)) << err_;
  ASSERT_EQ(waitpid(pid, nullptr, 0), pid);
  EXPECT_EQ(Out(), expected);
  if (kSpawnCanChdir) {
    fs::remove(out_);
    ASSERT_TRUE(SpawnWithPosixSpawn(plan, &pid, &err_)) << err_;
    ASSERT_EQ(waitpid(pid, nullptr, 0), pid);
    EXPECT_EQ(Out(), expected);
  }
}

TEST_F(PosixShellTest, WhatCannotStartFailsWithAReason) {
  std::ofstream(tmp_.native() + "/text.txt") << "no program";
  Script("bad-interpreter", "");
  std::ofstream(tmp_.native() + "/bad-interpreter") << "#!/nonexistent/interpreter\n";
  Script("ok.sh", "exit 3");
  PosixShell shell("/usr/bin:/bin", false);
  struct Case {
    std::string file, directory, reason;
  } cases[] = {
      {Win("fehlt.exe"), "", "not found"},
      {Win("text.txt"), "", "not executable"},
      {"gibt-es-nicht-krv", "", "not found in PATH"},
      {Win("ok.sh"), Win("fehlt"), "working folder not found"},
      {Win("bad-interpreter"), "", "posix_spawn"},
  };
  for (const auto& c : cases) {
    ShellStart start;
    start.file = c.file;
    start.directory = c.directory;
    start.wait = true;
    err_.clear();
    EXPECT_FALSE(shell.Start(start, &err_)) << c.file;
    EXPECT_NE(err_.find(c.reason), std::string::npos) << c.file << ": " << err_;
  }
  ShellStart ended;  // a program that ran and failed was still started
  ended.file = Win("ok.sh");
  ended.wait = true;
  EXPECT_TRUE(shell.Start(ended, &err_)) << err_;
}

void Tick(int) {}

TEST_F(PosixShellTest, WaitingOutlastsSignalsThatInterruptIt) {
  Script("slow.sh", "sleep 0.3; echo fertig > '" + out_ + "'");
  // A handler without SA_RESTART makes the wait fail with EINTR on each tick.
  struct sigaction tick {
  }, old{};
  tick.sa_handler = Tick;
  ASSERT_EQ(sigaction(SIGALRM, &tick, &old), 0);
  const itimerval every_20ms{{0, 20000}, {0, 20000}}, off{};
  ASSERT_EQ(setitimer(ITIMER_REAL, &every_20ms, nullptr), 0);
  PosixShell shell("/usr/bin:/bin", false);
  ShellStart start;
  start.file = Win("slow.sh");
  start.wait = true;
  const bool started = shell.Start(start, &err_);
  setitimer(ITIMER_REAL, &off, nullptr);
  sigaction(SIGALRM, &old, nullptr);
  ASSERT_TRUE(started) << err_;
  EXPECT_EQ(Out(), "fertig\n");
}

TEST_F(PosixShellTest, ElevationGoesThroughPkexec) {
  ArgsScript("bin/pkexec");
  Script("admin", "exit 0");
  ShellStart start;
  start.file = Win("admin");
  start.args = "/Mode \"x y\"";
  start.elevate = true;
  start.wait = true;
  PosixShell with_pkexec(tmp_.native() + "/bin", false);
  ASSERT_TRUE(with_pkexec.Start(start, &err_)) << err_;
  EXPECT_EQ(Out(), "[" + tmp_.native() + "/admin]\n[/Mode]\n[x y]\n");

  Script("bin/pkexec", "exit 126");  // the user dismissed the password prompt
  EXPECT_FALSE(with_pkexec.Start(start, &err_));
  EXPECT_NE(err_.find("refused"), std::string::npos) << err_;

  fs::remove(out_);
  ArgsScript("admin");
  PosixShell as_root("/nonexistent", true);
  ASSERT_TRUE(as_root.Start(start, &err_)) << err_;
  EXPECT_EQ(Out(), "[/Mode]\n[x y]\n");
}

TEST_F(PosixShellTest, StartedProgramDoesNotInheritTheInstanceLock) {
  PosixInstanceMutex mutex(tmp_.native()), probe(tmp_.native());
  bool held = true;
  ASSERT_TRUE(mutex.Create("KORVELLA_II_5_STARTER", &held, &err_)) << err_;
  PosixShell shell("/usr/bin:/bin", false);
  ShellStart start;
  start.file = "sleep";
  start.args = "2";
  const auto before = std::chrono::steady_clock::now();
  ASSERT_TRUE(shell.Start(start, &err_)) << err_;
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(1500));  // no waiting
  EXPECT_TRUE(probe.HeldByOther("KORVELLA_II_5_STARTER"));
  mutex.Release();  // the program still runs; had it inherited the lock, it would hold it now
  EXPECT_FALSE(probe.HeldByOther("KORVELLA_II_5_STARTER"));
}

}  // namespace
}  // namespace krv

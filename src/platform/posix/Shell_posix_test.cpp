// POSIX only: tests of program starts with small shell scripts.
#include "platform/posix/Shell_posix.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/time.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/posix/NativePath_posix.h"
#include "testing/TempDir.h"

namespace krv {
namespace {

class PosixShellTest : public ::testing::Test {
 protected:
  void Script(const std::string& rel, const std::string& body, const char* head = "#!/bin/sh\n") const {
    std::ofstream(tmp_.native() + "/" + rel) << head << body << "\n";
    std::filesystem::permissions(tmp_.native() + "/" + rel, std::filesystem::perms::owner_all);
  }
  // A script that writes its folder and its arguments, one "[arg]" a line, to out.txt.
  void ArgsScript(const std::string& rel) const { Script(rel, "{ pwd; printf '[%s]\\n' \"$@\"; } > '" + out_ + "'"); }
  std::string Win(const std::string& rel) const { return NativeToWinPath(tmp_.native()) + "\\" + rel; }
  std::string Out() const { return {std::istreambuf_iterator<char>(std::ifstream(out_).rdbuf()), {}}; }
  bool Run(PosixShell& shell, const std::string& file, std::string args = {}, std::string dir = {}, bool up = false) {
    return shell.Start(ShellStart{file, args, dir, 1, true, up}, &err_);
  }

  TempDir tmp_;
  std::string out_ = tmp_.native() + "/out.txt", err_;
  PosixShell shell_{"/nonexistent:" + tmp_.native() + ":/usr/bin:/bin", false};
};

TEST_F(PosixShellTest, StartsTheProgramWithItsArgumentsInItsFolder) {
  ArgsScript("MSACCESS.EXE");
  ArgsScript("Werkzeug");
  std::filesystem::create_directory(tmp_.native() + "/Arbeit");
  const std::string arbeit = std::filesystem::canonical(tmp_.native() + "/Arbeit").string() + "\n";
  const std::string here = std::filesystem::current_path().string() + "\n";
  ASSERT_TRUE(Run(shell_, Win("msaccess.exe"), "\"Z:\\krv 25.mdb\" \"a\\\"b\" \"\"", Win("ARBEIT"))) << err_;
  EXPECT_EQ(Out(), arbeit + "[Z:\\krv 25.mdb]\n[a\"b]\n[]\n");
  ASSERT_TRUE(Run(shell_, "werkzeug", "a b")) << err_;  // without a folder: searched in the PATH
  EXPECT_EQ(Out(), here + "[a]\n[b]\n");
  pid_t pid = 0;  // the way for C libraries whose posix_spawn cannot change the folder
  ASSERT_TRUE(SpawnWithFork({tmp_.native() + "/MSACCESS.EXE", {"m", "x"}, tmp_.native() + "/Arbeit"}, &pid, &err_));
  ASSERT_EQ(waitpid(pid, nullptr, 0), pid);
  EXPECT_EQ(Out(), arbeit + "[x]\n");
  ArgsScript("pkexec");  // administrator rights through pkexec, unless already root
  ASSERT_TRUE(Run(shell_, Win("msaccess.exe"), "x", "", true)) << err_;
  EXPECT_EQ(Out(), here + "[" + tmp_.native() + "/MSACCESS.EXE]\n[x]\n");
  PosixShell as_root("/nonexistent", true);
  ASSERT_TRUE(Run(as_root, Win("msaccess.exe"), "x", "", true)) << err_;
  EXPECT_EQ(Out(), here + "[x]\n");
}

TEST_F(PosixShellTest, WhatCannotStartFailsWithAReason) {
  std::ofstream(tmp_.native() + "/text.txt") << "no program";
  Script("bad-interpreter", "", "#!/nonexistent/interpreter\n");
  Script("ok.sh", "exit 3");
  Script("pkexec", "exit 126");  // the user dismissed the password prompt
  const struct {
    std::string file, directory, reason;
    bool elevate;
  } cases[] = {
      {Win("fehlt.exe"), "", "not found", false},
      {Win("text.txt"), "", "not executable", false},
      {"gibt-es-nicht-krv", "", "not found in PATH", false},
      {Win("ok.sh"), Win("fehlt"), "working folder not found", false},
      {Win("bad-interpreter"), "", "posix_spawn", false},
      {Win("ok.sh"), "", "refused", true},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(Run(shell_, c.file, "", c.directory, c.elevate)) << c.file;
    EXPECT_NE(err_.find(c.reason), std::string::npos) << c.file << ": " << err_;
  }
  EXPECT_TRUE(Run(shell_, Win("ok.sh"))) << err_;  // a program that ran and failed was still started
}

TEST_F(PosixShellTest, WaitingOutlastsSignalsThatInterruptIt) {
  Script("slow.sh", "sleep 0.3; echo fertig > '" + out_ + "'");
  using Action = struct sigaction;  // without SA_RESTART the wait fails with EINTR on each tick
  Action tick{}, old{};
  tick.sa_handler = [](int) {};
  ASSERT_EQ(sigaction(SIGALRM, &tick, &old), 0);
  const itimerval every_20ms{{0, 20000}, {0, 20000}}, off{};
  ASSERT_EQ(setitimer(ITIMER_REAL, &every_20ms, nullptr), 0);
  const bool started = Run(shell_, Win("slow.sh"));
  setitimer(ITIMER_REAL, &off, nullptr);
  sigaction(SIGALRM, &old, nullptr);
  ASSERT_TRUE(started) << err_;
  EXPECT_EQ(Out(), "fertig\n");
}

}  // namespace
}  // namespace krv

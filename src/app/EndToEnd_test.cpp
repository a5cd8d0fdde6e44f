// The whole start on the real platform: real registry, files, shell and the
// stand-in Access built beside the tests; only the message boxes are
// captured and the starter is told it lives in the sandbox's program folder.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <thread>

#include "app/mGlobals.h"
#include "base/WinPath.h"
#include "platform/Platform.h"
#include "testing/FakeDialogs.h"
#include "testing/FakeUiHost.h"
#include "testing/SqliteFile.h"
#include "testing/StarterHarness.h"
#include "testing/TempDir.h"
#ifndef _WIN32
#include "testing/PseudoTerminal_posix.h"
#include "ui/posix/UiHost_posix.h"
#endif

namespace krv {
namespace {

std::string WindowsPath(std::string native) {
  for (char& c : native) {
    if (c == '/') c = '\\';
  }
  return native.starts_with("\\") ? "Z:" + native : native;
}

// The native system, but living in the sandbox with the given command line.
class SandboxSystem : public System {
 public:
  SandboxSystem(System& real, std::string exe) : real_(real), exe_(std::move(exe)) {}
  std::string command_line;

  std::string ExecutablePath() override { return exe_; }
  std::string CommandLineTail() override { return command_line; }
  std::string GetEnv(const std::string& name) override { return real_.GetEnv(name); }
  LocalTime Now() override { return real_.Now(); }
  int64_t TickMs() override { return real_.TickMs(); }
  void SleepMs(int ms) override { real_.SleepMs(ms); }
  void PumpMessages() override { real_.PumpMessages(); }
  bool PrimaryScreenSize(int* width, int* height) override {
    *width = 1280;  // a headless test machine has no meaningful screen
    *height = 1024;
    return true;
  }
  bool IsAdmin() override { return false; }
  std::vector<std::string> ProcessNames() override { return {}; }  // no Access of a parallel test counts
  std::vector<std::string> WindowCaptions() override { return {}; }

 private:
  System& real_;
  std::string exe_;
};

class EndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
#ifndef _WIN32
    const char* before = std::getenv("KRV_REGISTRY_DIR");
    saved_registry_dir_ = before ? std::optional<std::string>(before) : std::nullopt;
    ::setenv("KRV_REGISTRY_DIR", (dir_.native() + "/registry").c_str(), 1);
#endif
    p_ = CreateNativePlatform();
    ASSERT_TRUE(p_.registry && p_.fs && p_.shell && p_.system && p_.mutex);
    const std::string base = WindowsPath(dir_.native());
    prog_ = WinPathJoin(base, "Korvella");
    office_ = WinPathJoin(base, "Office10");
    const std::string data = WinPathJoin(base, "Daten");
    for (const std::string& f : {prog_, office_, data}) ASSERT_TRUE(p_.fs->CreateFolder(f, nullptr)) << f;
    for (const char* f : {"krv25.mde", "krvlib25.mde", "krvwrk25.mdw"}) Write(WinPathJoin(prog_, f), "x");
    Write(WinPathJoin(prog_, "krv25.mde.version"),
          "[Version]\r\nFile=10.25.0.0\r\nLibrary=10.25.0.0\r\nBackend=10.25.0.0\r\n");
    Write(WinPathJoin(prog_, "krvlib25.mde.version"), "[Version]\r\nFile=10.25.0.0\r\n");
    MakeBackend(WinPathJoin(data, "korvella.mdb"));
    Write(WinPathJoin(data, "korvella.mdb.version"), "[Version]\r\nFile=10.25.0.0\r\n");
    const std::string standin = WinPathJoin(WinPathFolder(p_.system->ExecutablePath()), "msaccess.exe");
    std::string err;
    ASSERT_TRUE(p_.fs->CopyFile(standin, WinPathJoin(office_, "msaccess.exe"), true, nullptr, &err)) << err;

    for (const char* id : kHarnessProgIds) Reg(Hive::ClassesRoot, std::string(id) + "\\CLSID", "", "{0}");
    Reg(Hive::LocalMachine, std::string(kHarnessRoot) + "\\Options", "AccessPath",
        WinPathJoin(office_, "msaccess.exe"));
    Reg(Hive::CurrentUser, std::string(kHarnessRoot) + "\\Options", "BackendPath", WinPathJoin(data, "korvella.mdb"));
  }

  void TearDown() override {
#ifndef _WIN32
    if (saved_registry_dir_) {
      ::setenv("KRV_REGISTRY_DIR", saved_registry_dir_->c_str(), 1);
    } else {
      ::unsetenv("KRV_REGISTRY_DIR");
    }
#endif
    if (!p_.registry) return;
    for (Hive hive : {Hive::LocalMachine, Hive::CurrentUser}) p_.registry->DeleteKeyTree(hive, kHarnessRoot, nullptr);
    for (const char* id : kHarnessProgIds) p_.registry->DeleteKeyTree(Hive::ClassesRoot, id, nullptr);
  }

  // A real SQLite backend with the tables the loader reads.
  void MakeBackend(const std::string& path) {
    Write(path, EmptySqliteFile());
    DbStatus status = DbStatus::kFailed;
    std::string err;
    std::unique_ptr<DbConnection> db = p_.database->Open(path, &status, &err);
    ASSERT_TRUE(db) << err;
    for (const char* sql : {"CREATE TABLE ADRESSEN (Name TEXT)", "INSERT INTO ADRESSEN VALUES ('Muster')",
                            "CREATE TABLE USysLock (Benutzer TEXT)"}) {
      ASSERT_TRUE(db->Execute(sql, nullptr, &err)) << err;
    }
  }

  void Write(const std::string& path, const std::string& content) {
    std::string err;
    ASSERT_TRUE(p_.fs->WriteFileAtomic(path, content, &err)) << err;
  }
  void Reg(Hive hive, const std::string& key, const std::string& name, const std::string& text) {
    std::string err;
    ASSERT_EQ(p_.registry->WriteValue(hive, key, name, RegValue::Sz(text), &err), RegStatus::kOk) << err;
  }

  // Runs the starter and returns what the stand-in Access recorded ("" if it never ran).
  std::string Start(const std::string& command_line, int wait_ms = 10000, UiHost* ui = nullptr) {
    SandboxSystem sys(*p_.system, WinPathJoin(prog_, "krv25.exe"));
    sys.command_line = command_line;
    FakeUiHost quiet;  // the loader's window stays in memory unless a real host is given
    AppEnv env{*p_.registry, *p_.fs, *p_.shell, dialogs_, sys, *p_.mutex, ui ? ui : &quiet};
    env.database = p_.database.get();
    {
      mGlobals g(env);
      Main(g);
      if (g.mutex_held) p_.mutex->Release();
    }
    const std::string args_file = WinPathJoin(office_, "msaccess.args");
    std::string content;
    for (int waited = 0; waited < wait_ms; waited += 100) {
      if (p_.fs->FileExists(args_file) && p_.fs->ReadFile(args_file, &content, nullptr) && !content.empty()) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return content;
  }

  std::string Expected(bool runtime, bool profile) const {
    std::string lines = WinPathJoin(prog_, "krv25.mde") + "\n";
    lines += profile ? "/Profile\nKorvella 10.25\n" : "/wrkgrp\n" + WinPathJoin(prog_, "krvwrk25.mdw") + "\n";
    if (runtime) lines += "/Runtime\n";
    return lines + "/user\nVZ\n/pwd\nZBNHte\n/cmd\nkrv25.exe\n";
  }

  TempDir dir_;
  std::optional<std::string> saved_registry_dir_;
  Platform p_;
  std::string prog_, office_;
  FakeDialogs dialogs_;
};

TEST_F(EndToEndTest, LoaderStartsTheStandInAccessWithExactlyTheExpectedArguments) {
  EXPECT_EQ(Start("/L"), Expected(true, false));
  EXPECT_TRUE(dialogs_.shown.empty()) << dialogs_.shown[0].text;
}

// The menu's window (a pseudo-terminal's on POSIX) is real; nobody touches it.
TEST_F(EndToEndTest, PlainStartShowsTheMenuAndStartsKorvellaWhenTheCountdownEnds) {
#ifdef _WIN32
  std::unique_ptr<UiHost> ui = CreateUiHost();
#else
  Pty pty;
  auto ui = std::make_unique<PosixUiHost>(pty.slave(), pty.slave());
#endif
#ifdef _WIN32
  // Xvfb has no window manager: Wine hands the activation around between its
  // own processes, and a deactivated menu unloads itself as it should.
  Reg(Hive::CurrentUser, std::string(kHarnessRoot) + "\\Loader\\Menu", "AutoUnload", "0");
#endif
  const auto begin = std::chrono::steady_clock::now();
  EXPECT_EQ(Start("", 15000, ui.get()), Expected(true, false));
  EXPECT_GE(std::chrono::steady_clock::now() - begin, std::chrono::seconds(4)) << "started before the countdown ended";
  EXPECT_TRUE(dialogs_.shown.empty()) << dialogs_.shown[0].text;
#ifndef _WIN32
  EXPECT_NE(Visible(pty.Output()).find("(5)"), std::string::npos);
#endif
}

#ifndef _WIN32
TEST_F(EndToEndTest, DamagedUserHiveStopsTheStartAndStaysAsItWas) {
  const std::string hive = dir_.native() + "/registry/HKEY_CURRENT_USER.reg";
  const std::string damaged =
      "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\n\"x\"=dword:zz\r\n";
  std::string err;
  ASSERT_TRUE(p_.fs->WriteFileAtomic(WindowsPath(hive), damaged, &err)) << err;
  EXPECT_EQ(Start("/L", 1500), "");
  ASSERT_EQ(dialogs_.shown.size(), 1u);
  EXPECT_NE(dialogs_.shown[0].text.find(hive), std::string::npos) << dialogs_.shown[0].text;
  EXPECT_EQ(dialogs_.shown[0].text.find("Pfad des Backends"), std::string::npos);
  std::string after;
  ASSERT_TRUE(p_.fs->ReadFile(WindowsPath(hive), &after, nullptr));
  EXPECT_EQ(after, damaged);
}
#endif

}  // namespace
}  // namespace krv

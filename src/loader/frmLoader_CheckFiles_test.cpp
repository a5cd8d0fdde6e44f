#include "loader/frmLoader_CheckFiles.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/posix/FileSystem_posix.h"
#include "platform/posix/NativePath_posix.h"
#include "testing/TempDir.h"
#endif

#include "base/WinPath.h"
#include "base/cuAppError.h"
#include "loader/frmLoader.h"
#include "suite/IObjects.h"
#include "suite/krvLibrary.h"
#include "testing/StarterHarness.h"

namespace krv {
namespace {

std::string P(const std::string& name) { return "C:\\Programme\\Korvella\\" + name; }

// A crashed run left attributes and four lock files; "Vorlagen.mda" is a
// folder, "werkzeug.mda" an add-in. The front end requires library 2.5.0.12.
TEST(CheckFilesTest, SettingsAttributesLockFilesAndLibraryVersion) {
  const struct {
    const char *name, *check_files, *check_lib, *need, *have, *held;
    bool stops, reset;
    std::string locks_left, lines;  // lines: D(ateiprüfung), L(ibrary), M(odule)
  } cases[] = {
      {"off", "0", "1", "2.5.0.12", "2.5.0.10", "", false, false, "krvlib25 krvwrk25 vorlagen werkzeug", "D"},
      {"no library check", "1", "0", "2.5.0.12", "2.5.0.10", "", false, true, "vorlagen", "DM"},
      {"wrong library", "1", "1", "2.5.0.12", "2.5.0.10", "", true, true, "vorlagen werkzeug", "DL"},
      {"library without version", "1", "1", "2.5.0.12", "", "", true, true, "vorlagen werkzeug", "DL"},
      {"same version", "1", "1", "2.5.0.12", "2.5.0.12.0", "", false, true, "vorlagen", "DLM"},
      {"front end requires none", "1", "1", "", "2.5.0.10", "", false, true, "vorlagen", "DLM"},
      {"held workgroup lock", "1", "1", "2.5.0.12", "2.5.0.12", "krvwrk25.ldb", false, true, "krvwrk25 vorlagen",
       "DLM"},
      {"held add-in lock", "1", "0", "2.5.0.12", "2.5.0.12", "werkzeug.ldb", false, true, "vorlagen werkzeug", "DM"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    StarterHarness h;
    h.LibSetting("CheckFiles", c.check_files);
    h.LibSetting("CheckLib", c.check_lib);
    h.fs.AddFile(P("krv25.mde"), "x", kAttrReadOnly | kAttrHidden | kAttrArchive);
    h.fs.AddFile(P("krvlib25.mde"), "x", kAttrSystem);
    h.fs.AddFile(P("krv25.mde.version"), std::string("[Version]\r\nLibrary=") + c.need);
    h.fs.AddFile(P("krvlib25.mde.version"), std::string("[Version]\r\nFile=") + c.have);
    h.fs.AddFile(P("werkzeug.mda"));
    h.fs.AddFolder(P("Vorlagen.mda"));
    for (const char* lock : {"krvwrk25.ldb", "krvlib25.ldb", "werkzeug.ldb", "vorlagen.ldb"}) h.fs.AddFile(P(lock));
    if (*c.held) h.fs.Hold(P(c.held), "msaccess.exe");
    cuAppError err{h.dialogs, AppInfo{}};
    krvLibrary lib{h.reg, h.fs, h.sys};
    IObjects objects{h.reg, h.fs, h.sys};
    FakeProgressWindow::Log log;
    FakeProgressWindow window{&log};
    frmLoader loader(LoaderContext{err, lib, objects, h.sys, window, false, "krv25"}, {});

    EXPECT_EQ(CheckFiles(loader), !c.stops);
    std::string left, lines;
    for (const DirEntry& e : h.fs.List(P("*.ldb"))) left += (left.empty() ? "" : " ") + WinPathStem(e.name);
    for (const std::string& l : log.lines) {
      lines += l == "Dateiprüfung ..."             ? "D"
               : l == "Prüfung der LibraryMDE ..." ? "L"
               : l == "Module werden geprüft ..."  ? "M"
                                                   : "?";
    }
    EXPECT_EQ(left, c.locks_left);
    EXPECT_EQ(lines, c.lines);
    EXPECT_EQ(h.fs.Get(P("krv25.mde"))->attrs, c.reset ? kAttrArchive : kAttrReadOnly | kAttrHidden | kAttrArchive);
    EXPECT_EQ(h.fs.Get(P("krvlib25.mde"))->attrs, c.reset ? 0u : kAttrSystem);
    ASSERT_EQ(h.dialogs.shown.size(), c.stops ? 1u : 0u);
    if (!c.stops) continue;
    EXPECT_EQ(h.dialogs.shown[0].style, kMbIconStop);
    EXPECT_EQ(h.dialogs.shown[0].text, std::string("Falsche Version der KORVELLA-Library 'krvlib25.mde'.\r\n(Soll: ") +
                                           c.need + " / Ist: " + c.have + ")");
  }
}

#ifndef _WIN32
// The real file system, with a live process holding one lock file as Access would.
TEST(CheckFilesOnDiskTest, ClearsAStaleLockFileButNotOneALiveProcessHolds) {
  TempDir dir;
  const std::string d = dir.native() + "/";
  for (const char* f : {"krv25.mde", "krvlib25.mde", "krvwrk25.ldb", "krvlib25.ldb"}) std::ofstream(d + f) << "x";
  std::filesystem::permissions(d + "krv25.mde", std::filesystem::perms(0444));
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    struct flock lk = {};
    lk.l_type = F_WRLCK;
    fcntl(open((d + "krvlib25.ldb").c_str(), O_RDWR), F_SETLK, &lk);
    (void)!write(ready[1], "x", 1);
    pause();
    _exit(0);
  }
  char c;
  ASSERT_EQ(read(ready[0], &c, 1), 1);

  StarterHarness h;  // settings and messages; the files are real
  PosixFileSystem fs;
  h.sys.exe_path = NativeToWinPath(d) + "krv25";
  h.LibSetting("CheckLib", "0");
  cuAppError err{h.dialogs, AppInfo{}};
  krvLibrary lib{h.reg, fs, h.sys};
  IObjects objects{h.reg, fs, h.sys};
  FakeProgressWindow::Log log;
  FakeProgressWindow window{&log};
  frmLoader loader(LoaderContext{err, lib, objects, h.sys, window, false, "krv25"}, {});
  EXPECT_TRUE(CheckFiles(loader));
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  close(ready[0]);
  close(ready[1]);

  EXPECT_FALSE(std::filesystem::exists(d + "krvwrk25.ldb"));
  EXPECT_TRUE(std::filesystem::exists(d + "krvlib25.ldb"));
  EXPECT_EQ(std::filesystem::status(d + "krv25.mde").permissions(), std::filesystem::perms(0644));
}

#endif

}  // namespace
}  // namespace krv

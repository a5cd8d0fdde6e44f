#include "loader/frmLoader_CheckFiles.h"

#include <gtest/gtest.h>

#include <set>

#include "base/cuAppError.h"
#include "loader/frmLoader.h"
#include "suite/IObjects.h"
#include "suite/krvLibrary.h"
#include "testing/StarterHarness.h"

namespace krv {
namespace {

constexpr char kProg[] = "C:\\Programme\\Korvella\\";
constexpr char kChecking[] = "Dateiprüfung ...";
constexpr char kLibrary[] = "Prüfung der LibraryMDE ...";
constexpr char kModules[] = "Module werden geprüft ...";
const std::set<std::string> kAllLocks = {"krvwrk25.ldb", "krvlib25.ldb", "werkzeug.ldb", "vorlagen.ldb"};

std::string P(const std::string& name) { return kProg + name; }

class CheckFilesTest : public ::testing::Test {
 protected:
  // A crashed run left read-only, hidden and system attributes and four lock
  // files; "Vorlagen.mda" is a folder, "werkzeug.mda" an add-in.
  void Install(const std::string& check_files, const std::string& check_lib, const std::string& need,
               const std::string& have) {
    h.LibSetting("CheckFiles", check_files);
    h.LibSetting("CheckLib", check_lib);
    h.fs.AddFile(P("krv25.mde"), "x", kAttrReadOnly | kAttrHidden | kAttrArchive);
    h.fs.AddFile(P("krvlib25.mde"), "x", kAttrSystem);
    h.fs.AddFile(P("krv25.mde.version"), "[Version]\r\nFile=2.5.3.0\r\nLibrary=" + need + "\r\n");
    h.fs.DeleteFile(P("krvlib25.mde.version"), nullptr);
    if (!have.empty()) h.fs.AddFile(P("krvlib25.mde.version"), "[Version]\r\nFile=" + have + "\r\n");
    h.fs.AddFile(P("werkzeug.mda"));
    h.fs.AddFolder(P("Vorlagen.mda"));
    for (const std::string& lock : kAllLocks) h.fs.AddFile(P(lock));
  }
  std::set<std::string> LocksLeft() {
    std::set<std::string> left;
    for (const DirEntry& e : h.fs.List(P("*.ldb"))) left.insert(e.name);
    return left;
  }
  frmLoader Make() { return frmLoader(LoaderContext{err, lib, objects, h.sys, window, false, "krv25"}, {}); }

  StarterHarness h;
  cuAppError err{h.dialogs, AppInfo{}};
  krvLibrary lib{h.reg, h.fs, h.sys};
  IObjects objects{h.reg, h.fs, h.sys};
  FakeProgressWindow::Log log;
  FakeProgressWindow window{&log};
};

TEST_F(CheckFilesTest, SettingsAttributesLockFilesAndLibraryVersion) {
  const std::string wrong = "Falsche Version der KORVELLA-Library 'krvlib25.mde'.\r\n(Soll: 2.5.0.12 / Ist: 2.5.0.10)";
  const struct {
    const char* name;
    const char *check_files, *check_lib, *need, *have;
    const char* held;  // lock file another process holds
    bool go_on, reset;
    std::set<std::string> locks_left;
    std::string shown;  // text of the stop box
    std::vector<std::string> lines;
  } cases[] = {
      {"off", "0", "1", "2.5.0.12", "2.5.0.10", "", true, false, kAllLocks, "", {kChecking}},
      {"no library check",
       "1",
       "0",
       "2.5.0.12",
       "2.5.0.10",
       "",
       true,
       true,
       {"vorlagen.ldb"},
       "",
       {kChecking, kModules}},
      {"wrong library",
       "1",
       "1",
       "2.5.0.12",
       "2.5.0.10",
       "",
       false,
       true,
       {"werkzeug.ldb", "vorlagen.ldb"},
       wrong,
       {kChecking, kLibrary}},
      {"library without version",
       "1",
       "1",
       "2.5.0.12",
       "",
       "",
       false,
       true,
       {"werkzeug.ldb", "vorlagen.ldb"},
       "Falsche Version der KORVELLA-Library 'krvlib25.mde'.\r\n(Soll: 2.5.0.12 / Ist: )",
       {kChecking, kLibrary}},
      {"same version",
       "1",
       "1",
       "2.5.0.12",
       "2.5.0.12.0",
       "",
       true,
       true,
       {"vorlagen.ldb"},
       "",
       {kChecking, kLibrary, kModules}},
      {"front end requires none",
       "1",
       "1",
       "",
       "2.5.0.10",
       "",
       true,
       true,
       {"vorlagen.ldb"},
       "",
       {kChecking, kLibrary, kModules}},
      {"held workgroup lock stays",
       "1",
       "1",
       "2.5.0.12",
       "2.5.0.12",
       "krvwrk25.ldb",
       true,
       true,
       {"krvwrk25.ldb", "vorlagen.ldb"},
       "",
       {kChecking, kLibrary, kModules}},
      {"held add-in lock stays",
       "1",
       "0",
       "2.5.0.12",
       "2.5.0.12",
       "werkzeug.ldb",
       true,
       true,
       {"werkzeug.ldb", "vorlagen.ldb"},
       "",
       {kChecking, kModules}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    h.dialogs.shown.clear();
    log.lines.clear();
    Install(c.check_files, c.check_lib, c.need, c.have);
    if (*c.held) h.fs.Hold(P(c.held), "msaccess.exe");
    frmLoader loader = Make();
    EXPECT_EQ(CheckFiles(loader), c.go_on);
    EXPECT_EQ(LocksLeft(), c.locks_left);
    EXPECT_EQ(h.fs.Get(P("krv25.mde"))->attrs, c.reset ? kAttrArchive : kAttrReadOnly | kAttrHidden | kAttrArchive);
    EXPECT_EQ(h.fs.Get(P("krvlib25.mde"))->attrs, c.reset ? 0u : kAttrSystem);
    EXPECT_EQ(log.lines, c.lines);
    ASSERT_EQ(h.dialogs.shown.size(), c.shown.empty() ? 0u : 1u);
    if (!c.shown.empty()) {
      EXPECT_EQ(h.dialogs.shown[0].text, c.shown);
      EXPECT_EQ(h.dialogs.shown[0].style, kMbIconStop);
    }
    if (*c.held) h.fs.Release(P(c.held));
  }
}

// A failure while reading the versions becomes the check's own message.
TEST_F(CheckFilesTest, AnErrorInTheVersionCheckIsReportedAsText) {
  struct Throwing : FakeFileSystem {
    bool ReadFile(const std::string&, std::string*, std::string*) override { throw KrvError(53, "fs", "kaputt"); }
  } fs;
  for (const char* f : {"krv25.mde", "krv25.mde.version", "krvlib25.mde", "krvlib25.mde.version"}) fs.AddFile(P(f));
  krvLibrary throwing_lib{h.reg, fs, h.sys};
  IObjects throwing_objects{h.reg, fs, h.sys};
  frmLoader loader(LoaderContext{err, throwing_lib, throwing_objects, h.sys, window, false, "krv25"}, {});
  EXPECT_EQ(CheckLib(loader), "Fehler Nr. 53 bei der Versionprüfung der LibraryMDE: kaputt");
}

}  // namespace
}  // namespace krv

#include "loader/frmLoader_CheckFiles.h"

#include <gtest/gtest.h>

#include "base/WinPath.h"
#include "base/cuAppError.h"
#include "loader/frmLoader.h"
#include "suite/IObjects.h"
#include "suite/krvLibrary.h"
#include "testing/LoaderWorld.h"

namespace krv {
namespace {

std::string P(const std::string& name) { return "C:\\Programme\\Korvella\\" + name; }

// A crashed run left attributes and four lock files; "Vorlagen.mda" is a
// folder, "werkzeug.mda" an add-in.
TEST(CheckFilesTest, SettingsAttributesLockFilesAndLibraryVersion) {
  const struct {
    const char *check_files, *check_lib, *need, *have, *held;
    bool stops;
    std::string locks_left, lines;  // lines: D(ateiprüfung), P(rüfung der LibraryMDE), M(odule)
  } cases[] = {
      {"0", "1", "2.5.0.12", "2.5.0.10", "", false, "krvlib25 krvwrk25 vorlagen werkzeug", "D"},
      {"1", "0", "2.5.0.12", "2.5.0.10", "", false, "vorlagen", "DM"},
      {"1", "1", "2.5.0.12", "2.5.0.10", "", true, "vorlagen werkzeug", "DP"},
      {"1", "1", "2.5.0.12", "2.5.0.12.0", "", false, "vorlagen", "DPM"},
      {"1", "1", "", "2.5.0.10", "", false, "vorlagen", "DPM"},  // the front end requires none
      {"1", "1", "2.5.0.12", "2.5.0.12", "krvwrk25.ldb", false, "krvwrk25 vorlagen", "DPM"},
      {"1", "0", "2.5.0.12", "2.5.0.12", "werkzeug.ldb", false, "vorlagen werkzeug", "DM"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.check_files << c.check_lib << c.need << " " << c.have << " " << c.held);
    LoaderWorld w;
    auto& [h, err, lib, objects, log, window] = w;
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
    frmLoader loader(LoaderContext{err, lib, objects, h.sys, window, false, "krv25"}, {});

    EXPECT_EQ(CheckFiles(loader), !c.stops);
    std::string left, lines;
    for (const DirEntry& e : h.fs.List(P("*.ldb"))) left += (left.empty() ? "" : " ") + WinPathStem(e.name);
    for (const std::string& l : log.lines) lines += l.substr(0, 1);
    EXPECT_EQ(left, c.locks_left);
    EXPECT_EQ(lines, c.lines);
    const bool reset = *c.check_files == '1';
    EXPECT_EQ(h.fs.Get(P("krv25.mde"))->attrs, reset ? kAttrArchive : kAttrReadOnly | kAttrHidden | kAttrArchive);
    EXPECT_EQ(h.fs.Get(P("krvlib25.mde"))->attrs, reset ? 0u : kAttrSystem);
    const std::string wrong = "Falsche Version der KORVELLA-Library 'krvlib25.mde'.\r\n(Soll: " + std::string(c.need) +
                              " / Ist: " + c.have + ")";
    EXPECT_EQ(h.dialogs.shown.empty() ? "" : std::to_string(h.dialogs.shown[0].style) + h.dialogs.shown[0].text,
              c.stops ? std::to_string(kMbIconStop) + wrong : "");
  }
}

}  // namespace
}  // namespace krv

#include "compcheck/cCompCheck.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "base/cuAppError.h"
#include "testing/FakeDialogs.h"
#include "testing/FakeFileSystem.h"
#include "testing/FakeRegistry.h"
#include "testing/FakeSystemFolders.h"
#include "testing/FakeUiHost.h"

namespace krv {
namespace {

constexpr char kProgram[] = "C:\\Programme\\Korvella\\";
constexpr char kSys[] = "C:\\Windows\\System32\\";
constexpr char kShared[] = "C:\\Programme\\Gemeinsame Dateien\\Microsoft Shared\\";
constexpr char kInstalled[] = "2.5.17.4711";  // the version of the sample program

std::string SampleProgram() {
  const char* root = std::getenv("KRV_SOURCE_DIR");
  std::ifstream in(std::string(root ? root : ".") + "/fuzz/corpus/PeVersion_fuzz/tiny32.exe", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct CompCheckTest : testing::Test {
  void List(const std::string& elements) {
    fs.AddFile(std::string(kProgram) + kComponentListFile, "[qmKrvStarter]\r\n{Components}\r\n" + elements);
  }
  void Install(const std::string& path) { fs.AddFile(path, program); }
  void TypeLib(const std::string& id_version_locale, const std::string& file) {
    reg.SetString(Hive::ClassesRoot, "TypeLib\\" + id_version_locale + "\\win32", "", file);
  }
  cCompCheck Make() { return cCompCheck({fs, reg, folders, err, &ui, kProgram}); }
  // "file@folder" of each listed component.
  std::string Located() {
    std::string out;
    const cCompCheck check = Make();
    for (const ComponentRecord& c : check.Components()) out += c.file_name + "@" + c.folder + " ";
    return out;
  }

  const std::string program = SampleProgram();
  FakeFileSystem fs;
  FakeRegistry reg;
  FakeSystemFolders folders;
  FakeDialogs dialogs;
  cuAppError err{dialogs, AppInfo{}};
  FakeUiHost ui;
};

TEST_F(CompCheckTest, LocatesEachComponentByTypeLibraryOrPlaceholder) {
  ASSERT_GT(program.size(), 1024u) << "set KRV_SOURCE_DIR to the source tree";
  const struct {
    const char* element;
    std::vector<std::pair<std::string, std::string>> typelibs;  // "{id}\ver\locale", registered file
    std::vector<std::string> files;
    std::string located;
  } cases[] = {
      {"a.dll=A|1.0|{A}|WinSys|1.0", {}, {"C:\\Windows\\System32\\a.dll"}, "a.dll@C:\\Windows\\System32\\ "},
      {"a.dll=A|1.0|{A}|winsys\\Sub|1.0",
       {},
       {"C:\\Windows\\System32\\Sub\\a.dll"},
       "a.dll@C:\\Windows\\System32\\Sub\\ "},
      {"a.dll=A|1.0|{A}|Win|1.0", {}, {"C:\\Windows\\a.dll"}, "a.dll@C:\\Windows\\ "},
      {"a.dll=A|1.0|{A}|CommonFiles\\X|1.0",
       {},
       {"C:\\Programme\\Gemeinsame Dateien\\X\\a.dll"},
       "a.dll@C:\\Programme\\Gemeinsame Dateien\\X\\ "},
      {"a.dll=A|1.0|{A}|MSSharedFiles|1.0",
       {},
       {std::string(kShared) + "a.dll"},
       std::string("a.dll@") + kShared + " "},
      {"dao.dll=D|1.0|{D}|MSDAO|1.0",
       {},
       {std::string(kShared) + "DAO\\dao.dll"},
       std::string("dao.dll@") + kShared + "DAO\\ "},
      {"a.dll=A|1.0|{A}|Elsewhere|1.0", {}, {"C:\\Windows\\System32\\a.dll"}, ""},
      {"a.dll=A|1.0|{A}|WinSys|1.0", {}, {}, ""},
      // The registered file is the component: its folder, whatever the placeholder says.
      {"a.ocx=A|1.0|{A}|WinSys|1.0",
       {{"{A}\\1.0\\0", "D:\\Reg\\A.OCX"}},
       {"D:\\Reg\\a.ocx", "C:\\Windows\\System32\\a.ocx"},
       "a.ocx@D:\\Reg\\ "},
      // Only a separate .tlb: next to it, or not at all.
      {"a.dll=A|1.0|{A}|WinSys|1.0", {{"{A}\\1.0\\0", "D:\\Tlb\\a.tlb"}}, {"D:\\Tlb\\a.dll"}, "a.dll@D:\\Tlb\\ "},
      {"a.dll=A|1.0|{A}|WinSys|1.0", {{"{A}\\1.0\\0", "D:\\Tlb\\a.tlb"}}, {"C:\\Windows\\System32\\a.dll"}, ""},
      // Another registered file that is no .tlb: not located.
      {"a.dll=A|1.0|{A}|WinSys|1.0",
       {{"{A}\\1.0\\0", "D:\\Reg\\b.dll"}},
       {"D:\\Reg\\a.dll", "C:\\Windows\\System32\\a.dll"},
       ""},
      // Locale 0 first, then the first locale with a file; other versions do not count.
      {"a.dll=A|1.0|{A}|WinSys|1.0",
       {{"{A}\\1.0\\9", "D:\\Neun\\a.dll"}, {"{A}\\1.0\\0", "D:\\Null\\a.dll"}},
       {"D:\\Neun\\a.dll", "D:\\Null\\a.dll"},
       "a.dll@D:\\Null\\ "},
      {"a.dll=A|1.0|{A}|WinSys|1.0",
       {{"{A}\\1.0\\9", "D:\\Neun\\a.dll"}, {"{A}\\1.0\\3", "D:\\Drei\\a.dll"}},
       {"D:\\Neun\\a.dll", "D:\\Drei\\a.dll"},
       "a.dll@D:\\Drei\\ "},
      {"a.dll=A|1.0|{A}|WinSys|1.0",
       {{"{A}\\2.0\\0", "D:\\Reg\\a.dll"}},
       {"D:\\Reg\\a.dll", "C:\\Windows\\System32\\a.dll"},
       "a.dll@C:\\Windows\\System32\\ "},
  };
  for (const auto& c : cases) {
    fs = FakeFileSystem();
    reg = FakeRegistry();
    List(std::string(c.element) + "\r\n");
    for (const auto& [key, file] : c.typelibs) TypeLib(key, file);
    for (const std::string& f : c.files) Install(f);
    EXPECT_EQ(Located(), c.located) << c.element;
  }
}

TEST_F(CompCheckTest, DropsWhatHasNoVersionAndReadsNothingWithoutAList) {
  fs.AddFile(std::string(kSys) + "text.dll", "keine PE-Datei");
  Install(std::string(kSys) + "ok.dll");
  List("text.dll=T|||WinSys|1.0\r\nok.dll=O|||WinSys|1.0\r\n");
  EXPECT_EQ(Located(), "ok.dll@C:\\Windows\\System32\\ ");
  fs = FakeFileSystem();
  Install(std::string(kSys) + "ok.dll");
  EXPECT_EQ(Located(), "");
  fs.AddFile(std::string(kProgram) + kComponentListFile, "[qmKrvStarter]\r\nok.dll=O|||WinSys|1.0\r\n");
  EXPECT_EQ(Located(), "");  // no collection
  folders.folders.clear();   // no system folders (no Wine prefix): nothing to check
  List("ok.dll=O|||WinSys|9.0\r\n");
  EXPECT_TRUE(Make().Check(0));
  EXPECT_TRUE(ui.text_windows.empty());
}

TEST_F(CompCheckTest, ReportsOutdatedComponentsInListOrderAndAsksOnce) {
  for (const char* f : {"a.dll", "b.dll", "c.dll", "d.dll"}) Install(std::string(kSys) + f);
  const struct {
    std::string required_a, required_d;
    int conflicts;
  } cases[] = {{kInstalled, "2.5", 0}, {"2.5.17.4712", "3", 2}, {"x", kInstalled, 1}};
  for (const auto& c : cases) {
    List("a.dll=Eins|||WinSys|" + c.required_a + "\r\nb.dll=Zwei|||WinSys|2.5.17.4711\r\nc.dll=Drei|||WinSys|1\r\n" +
         "d.dll=Vier|||WinSys|" + c.required_d + "\r\n");
    ui.text_windows.clear();
    for (bool answer : {true, false}) {
      ui.text_window_answer = answer;
      EXPECT_EQ(Make().Check(0x77), answer || c.conflicts == 0) << c.required_a;
    }
    if (c.conflicts == 0) {
      EXPECT_TRUE(ui.text_windows.empty());
      continue;
    }
    ASSERT_EQ(ui.text_windows.size(), 2u);
    const TextWindowArgs& w = ui.text_windows[0];
    EXPECT_EQ(w.caption, "ACHTUNG - KONFLIKT");
    EXPECT_EQ(w.font_name, "Courier New");
    EXPECT_EQ(w.font_size, 8);
    EXPECT_EQ(w.owner, 0x77);
    const std::string a =
        "- a.dll (Eins)\r\n  Pfad: C:\\Windows\\System32\\\r\n  Aktuelle Version: 2.5.17.4711\r\n"
        "  Benötigte Version: " +
        c.required_a;
    const std::string d =
        "- d.dll (Vier)\r\n  Pfad: C:\\Windows\\System32\\\r\n  Aktuelle Version: 2.5.17.4711\r\n"
        "  Benötigte Version: 3";
    const std::string report = c.conflicts == 2 ? a + "\r\n" + d : a;
    EXPECT_EQ(w.text, err.MsgLoad(224, c.conflicts) + "\r\n\r\n" + report + "\r\n\r\n" + err.MsgLoad(225));
    EXPECT_TRUE(w.text.starts_with(std::to_string(c.conflicts) + " Systemkomponenten sind veraltet."));
  }
}

}  // namespace
}  // namespace krv

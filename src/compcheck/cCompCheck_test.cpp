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

std::string SampleProgram() {  // file version 2.5.17.4711
  const char* root = std::getenv("KRV_SOURCE_DIR");
  std::ifstream in(std::string(root ? root : ".") + "/fuzz/corpus/PeVersion_fuzz/tiny32.exe", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct CompCheckTest : testing::Test {
  CompCheckTest() {
    folders.folders = {
        {SystemFolder::kWindows, "W:\\"}, {SystemFolder::kSystem, "S:\\"}, {SystemFolder::kCommonFiles, "C:\\"}};
  }
  // Lists `elements`, installs the sample at `files` and registers `typelibs` ("{id}\ver\locale=file").
  std::string Located(const std::string& elements, const std::vector<std::string>& files,
                      const std::vector<std::string>& typelibs = {}) {
    fs = FakeFileSystem();
    reg = FakeRegistry();
    fs.AddFile("P:\\krvrun25.dat", "[qmKrvStarter]\r\n{Components}\r\n" + elements);
    for (const std::string& f : files) fs.AddFile(f, program);
    for (const std::string& t : typelibs) {
      const size_t eq = t.find('=');
      reg.SetString(Hive::ClassesRoot, "TypeLib\\" + t.substr(0, eq) + "\\win32", "", t.substr(eq + 1));
    }
    std::string out;
    const cCompCheck check = Make();
    for (const ComponentRecord& c : check.Components()) out += c.file_name + "@" + c.folder + " ";
    return out;
  }
  cCompCheck Make() { return cCompCheck({fs, reg, folders, err, &ui, "P:\\"}); }

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
    std::vector<std::string> files, typelibs;
    const char* located;
  } cases[] = {
      {"a.dll=A|1|{A}|winsys\\Sub|1", {"S:\\Sub\\a.dll"}, {}, "a.dll@S:\\Sub\\ "},
      {"a.dll=A|1|{A}|Win|1", {"W:\\a.dll"}, {}, "a.dll@W:\\ "},
      {"a.dll=A|1|{A}|CommonFiles\\X|1", {"C:\\X\\a.dll"}, {}, "a.dll@C:\\X\\ "},
      {"a.dll=A|1|{A}|MSSharedFiles|1", {"C:\\Microsoft Shared\\a.dll"}, {}, "a.dll@C:\\Microsoft Shared\\ "},
      {"d.dll=D|1|{D}|MSDAO|1", {"C:\\Microsoft Shared\\DAO\\d.dll"}, {}, "d.dll@C:\\Microsoft Shared\\DAO\\ "},
      {"a.dll=A|1|{A}|Elsewhere|1", {"S:\\a.dll"}, {}, ""},
      {"a.dll=A|1|{A}|WinSys|1", {}, {}, ""},
      // The registered file is the component: its folder, whatever the placeholder says.
      {"a.ocx=A|1|{A}|WinSys|1", {"D:\\a.ocx", "S:\\a.ocx"}, {"{A}\\1\\0=D:\\A.OCX"}, "a.ocx@D:\\ "},
      // A separate .tlb: next to it, or not at all; another registered file: not at all.
      {"a.dll=A|1|{A}|WinSys|1", {"T:\\a.dll"}, {"{A}\\1\\0=T:\\a.tlb"}, "a.dll@T:\\ "},
      {"a.dll=A|1|{A}|WinSys|1", {"S:\\a.dll"}, {"{A}\\1\\0=T:\\a.tlb"}, ""},
      {"a.dll=A|1|{A}|WinSys|1", {"D:\\a.dll", "S:\\a.dll"}, {"{A}\\1\\0=D:\\b.dll"}, ""},
      // Locale 0 first, then the first locale with a file; another version does not count.
      {"a.dll=A|1|{A}|WinSys|1",
       {"N:\\a.dll", "Z:\\a.dll"},
       {"{A}\\1\\9=N:\\a.dll", "{A}\\1\\0=Z:\\a.dll"},
       "a.dll@Z:\\ "},
      {"a.dll=A|1|{A}|WinSys|1",
       {"N:\\a.dll", "D:\\a.dll"},
       {"{A}\\1\\9=N:\\a.dll", "{A}\\1\\3=D:\\a.dll"},
       "a.dll@D:\\ "},
      {"a.dll=A|1|{A}|WinSys|1", {"D:\\a.dll", "S:\\a.dll"}, {"{A}\\2\\0=D:\\a.dll"}, "a.dll@S:\\ "},
  };
  for (const auto& c : cases) EXPECT_EQ(Located(c.element, c.files, c.typelibs), c.located) << c.element;
  fs.AddFile("S:\\a.dll", "keine PE-Datei");  // no version: dropped
  EXPECT_TRUE(Make().Components().empty());
}

TEST_F(CompCheckTest, ReportsOutdatedComponentsInListOrderAndAsksOnce) {
  const struct {
    std::string required_a, required_d;
    int conflicts;
  } cases[] = {{"2.5.17.4711", "2.5", 0}, {"2.5.17.4712", "3", 2}, {"x", "2.5.17.4711", 1}};
  for (const auto& c : cases) {
    Located("a.dll=Eins|||WinSys|" + c.required_a + "\r\nb.dll=Zwei|||WinSys|1\r\nd.dll=Vier|||WinSys|" + c.required_d,
            {"S:\\a.dll", "S:\\b.dll", "S:\\d.dll"});
    ui.text_windows.clear();
    for (bool answer : {true, false}) {
      ui.text_window_answer = answer;
      EXPECT_EQ(Make().Check(0x77), answer || c.conflicts == 0) << c.required_a;
    }
    ASSERT_EQ(ui.text_windows.size(), c.conflicts ? 2u : 0u);
    if (c.conflicts == 0) continue;
    const TextWindowArgs& w = ui.text_windows[0];
    EXPECT_EQ(w.owner, 0x77);
    const auto block = [](const char* file, const std::string& required) {
      return std::string("- ") + file +
             "\r\n  Pfad: S:\\\r\n  Aktuelle Version: 2.5.17.4711\r\n  Benötigte Version: " + required;
    };
    const std::string report =
        block("a.dll (Eins)", c.required_a) + (c.conflicts == 2 ? "\r\n" + block("d.dll (Vier)", "3") : "");
    EXPECT_EQ(w.text, err.MsgLoad(224, c.conflicts) + "\r\n\r\n" + report + "\r\n\r\n" + err.MsgLoad(225));
  }
  folders.folders.clear();  // no system folders (no Wine prefix): nothing is checked
  EXPECT_EQ(Located("a.dll=A|||WinSys|9", {"S:\\a.dll"}), "");
}

}  // namespace
}  // namespace krv

// A settings host over fakes (settings tests only): program folder, two backends and the product's settings.
#pragma once

#include "base/cuAppError.h"
#include "settings/SettingsHost.h"
#include "suite/BackendSwitch.h"
#include "suite/krvLibrary.h"
#include "testing/FakeDialogs.h"
#include "testing/FakeFileSystem.h"
#include "testing/FakeRegistry.h"
#include "testing/FakeSystem.h"
#include "testing/FakeUiHost.h"

namespace krv {

inline constexpr char kTestRoot[] = "Software\\Vantorel\\Korvella\\10.25";
inline constexpr char kTestBackend[] = "D:\\k.mdb";
inline constexpr char kTestOther[] = "E:\\alt.mdb";

class TestSettingsHost final : public SettingsHost {
 public:
  TestSettingsHost() {
    sys.exe_path = "C:\\Programme\\Korvella\\krv25.exe";
    fs.AddFile(sys.exe_path);
    for (const char* backend : {kTestBackend, kTestOther})
      fs.AddFile(backend, std::string("\0\1\0\0Standard Jet DB\0", 20));
    SetBackend(kTestBackend);
  }
  void SetBackend(const std::string& path) {
    reg.SetString(Hive::CurrentUser, std::string(kTestRoot) + "\\Options", "BackendPath", path);
  }
  std::string UserValue(const std::string& key, const std::string& name) {
    RegValue v;
    return reg.ReadValue(Hive::CurrentUser, std::string(kTestRoot) + "\\" + key, name, &v, nullptr) == RegStatus::kOk
               ? v.text
               : "<none>";
  }

  cuAppError* oErr() override { return &err; }
  krvLibrary& Library() override { return lib; }
  FileSystem& Files() override { return fs; }
  UiHost& Ui() override { return ui; }
  Dialogs& Boxes() override { return dialogs; }
  std::string BackendPath() override {
    const std::string path = UserValue("Options", "BackendPath");
    return path == "<none>" ? "" : path;
  }
  bool KorvellaOpen() override { return korvella_open; }
  BackendProbe& Probe() override { return probe; }
  bool IsNetworkPath(const std::string& path) override { return path.starts_with("\\\\"); }
  std::string ServerName(const std::string& path) override { return path.substr(2, path.find('\\', 2) - 2); }
  bool IsAdmin() override { return admin; }
  bool StartProgram(const std::string& file, const std::string& args, bool elevate) override {
    started.push_back({0, file, args, elevate});
    return true;
  }
  void HandOverTo(const HandOver& next) override { hand_over = next; }
  void EndStarter() override {}

  FakeRegistry reg;
  FakeFileSystem fs;
  FakeSystem sys;
  FakeDialogs dialogs;
  FakeUiHost ui;
  cuAppError err{dialogs, AppInfo{}};
  krvLibrary lib{reg, fs, sys};
  OpenBackendProbe probe{fs, nullptr};  // the header test alone
  bool korvella_open = false, admin = true;
  std::vector<HandOver> started;
  std::optional<HandOver> hand_over;
};

}  // namespace krv

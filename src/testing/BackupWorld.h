// The suite objects, settings and message boxes around one data backend and
// one backup folder, over any file system.
#pragma once

#include <string>
#include <vector>

#include "base/cuAppError.h"
#include "suite/IObjects.h"
#include "suite/SuiteNames.h"
#include "suite/krvLibrary.h"
#include "testing/FakeDialogs.h"
#include "testing/FakeRegistry.h"
#include "testing/FakeSystem.h"

namespace krv {

struct BackupWorld {
  BackupWorld(FileSystem& file_system, const std::string& backend, const std::string& folder) : fs(file_system) {
    reg.SetString(Hive::CurrentUser, std::string(kProductRoot) + "\\Options", "BackendPath", backend);
    Set("Folder", folder);
  }
  // Machine settings "AutoBackup\<name>".
  void Set(const std::string& name, const std::string& value) { reg.SetString(Hive::LocalMachine, kKey, name, value); }
  std::string Get(const std::string& name) { return lib.RegRead(Hive::LocalMachine, kKey, name, "?"); }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const FakeDialogs::Shown& s : dialogs.shown) texts.push_back(s.text);
    return texts;
  }
  std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    for (const DirEntry& e : fs.List(folder + "\\*")) names.push_back(e.name);
    return names;
  }

  const std::string kKey = std::string(kProductRoot) + "\\AutoBackup";
  FileSystem& fs;
  FakeRegistry reg;
  FakeSystem sys;  // 2026-12-06 11:43:42
  FakeDialogs dialogs;
  cuAppError err{dialogs, AppInfo{}};
  krvLibrary lib{reg, fs, sys};
  IObjects objects{reg, fs, sys};
};

}  // namespace krv

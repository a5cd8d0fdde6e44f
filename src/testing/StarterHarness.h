// Test support for the app module only (it includes app headers).
// A complete installation over fakes for the start-sequence tests: program
// folder, components, front end, workgroup file, backend, Access and settings.
#pragma once

#include <set>

#include "app/AppEnv.h"
#include "testing/FakeDatabase.h"
#include "testing/FakeDialogs.h"
#include "testing/FakeFileSystem.h"
#include "testing/FakeRegistry.h"
#include "testing/FakeShell.h"
#include "testing/FakeSystem.h"
#include "testing/FakeUiHost.h"

namespace krv {

inline constexpr char kHarnessRoot[] = "Software\\Vantorel\\Korvella\\10.25";
inline constexpr char kHarnessAccess[] = "C:\\Office\\msaccess.exe";
inline constexpr const char* kHarnessProgIds[] = {
    "KrvErr25.krvErrMsg", "KrvLib25.krvLibrary", "KRVInf25.krvInfo",      "KrvHlp25.krvHelper",
    "KrvInt25.IObjects",  "KRVLcl25.krvLclApp",  "KrvFun25.krvFunctions", "KRVRsc25.krvResourceFunctions"};

struct StarterHarness {
  FakeRegistry reg;
  FakeFileSystem fs;
  FakeShell shell;
  FakeDialogs dialogs;
  FakeSystem sys;
  std::set<std::string> held;
  FakeInstanceMutex mutex{&held};
  FakeUiHost ui;
  AppEnv env{reg, fs, shell, dialogs, sys, mutex, &ui};
  FakeDatabase db;  // the backend D:\Daten\korvella.mdb: one address, no lock records

  StarterHarness() {
    for (const char* id : kHarnessProgIds) reg.SetString(Hive::ClassesRoot, std::string(id) + "\\CLSID", "", "{0}");
    for (const char* f : {"krv25.exe", "krv25.mde", "krvlib25.mde", "krvwrk25.mdw"}) {
      fs.AddFile(std::string("C:\\Programme\\Korvella\\") + f, "x");
    }
    fs.AddFile("C:\\Programme\\Korvella\\krv25.mde.version",
               "[Version]\r\nFile=10.25.0.0\r\nLibrary=10.25.0.0\r\nBackend=10.25.0.0\r\n");
    fs.AddFile("D:\\Daten\\korvella.mdb", "x");
    fs.AddFile("D:\\Daten\\korvella.mdb.version", "[Version]\r\nFile=10.25.0.0\r\n");
    fs.AddFile(kHarnessAccess, "x");
    reg.SetString(Hive::CurrentUser, std::string(kHarnessRoot) + "\\Options", "BackendPath", "D:\\Daten\\korvella.mdb");
    reg.SetString(Hive::LocalMachine, std::string(kHarnessRoot) + "\\Options", "AccessPath", kHarnessAccess);
    // The library has the version the front end requires.
    fs.AddFile("C:\\Programme\\Korvella\\krvlib25.mde.version", "[Version]\r\nFile=10.25.0.0\r\n");
    FakeDb& backend = db.File("D:\\Daten\\korvella.mdb");
    backend.Table("ADRESSEN").rows = 1;
    backend.Table("USysLock");
    env.database = &db;
  }

  void LibSetting(const std::string& name, const std::string& value) {
    reg.SetString(Hive::LocalMachine, std::string(kHarnessRoot) + "\\Settings", name, value);
  }
};

}  // namespace krv

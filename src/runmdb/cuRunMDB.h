// The Access runner: resolves the Access executable, the database, the
// workgroup file and the profile from explicit settings, registry list
// strings or the Office keys, and builds the Access command line with a
// masked copy, the bare arguments and a debug log. It never starts anything.
// Errors are thrown as KrvError (number 0x80040400 + code, see RunMdbErrors.h).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "base/KrvError.h"
#include "base/cuAppError.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "runmdb/cuRunMDB_Helpers.h"

namespace krv {

struct RunMdbContext {
  Registry& registry;
  FileSystem& fs;
  std::string program_dir;  // Windows path of the program folder, with or without the trailing "\"
  std::string exe_name;     // the program's file name without folder and extension ("krv25")
  std::string app_title;    // first part of every error source
  // Set back to the default before an error is raised; none when null.
  MousePointerOwner* mouse_pointer = nullptr;
};

class cuRunMDB {
 public:
  explicit cuRunMDB(RunMdbContext context);

  static constexpr int32_t kHKeyNone = -1;
  static constexpr int kOptionCount = 7;

  // Start options by index: 0 /Compact, 1 /Excl, 2 /nostartup, 3 /Repair,
  // 4 /ro, 5 /Runtime, 6 /Decompile. Another index raises error 16.
  bool AccOption(int index) const;
  void SetAccOption(int index, bool on);
  const std::string& AccPath() const { return acc_path_; }
  void SetAccPath(std::string v) { acc_path_ = std::move(v); }
  const std::string& AccRegListString() const { return acc_reg_list_; }
  void SetAccRegListString(std::string v) { acc_reg_list_ = std::move(v); }
  // -1 or 0: Office 8.0, 1: 9.0, 2: 10.0, 3: 11.0. Above 3 raises error 17
  // and keeps the old value.
  int32_t AccVersion() const { return acc_version_; }
  void SetAccVersion(int32_t v);
  const std::string& Cmd() const { return cmd_; }
  void SetCmd(std::string v) { cmd_ = std::move(v); }
  const std::string& DBFilename() const { return db_filename_; }
  void SetDBFilename(std::string v) { db_filename_ = std::move(v); }
  const std::string& DBPath() const { return db_path_; }
  void SetDBPath(std::string v) { db_path_ = std::move(v); }
  const std::string& DBRegListString() const { return db_reg_list_; }
  void SetDBRegListString(std::string v) { db_reg_list_ = std::move(v); }
  const std::string& Macro() const { return macro_; }
  void SetMacro(std::string v) { macro_ = std::move(v); }
  const std::string& Profile() const { return profile_; }
  void SetProfile(std::string v) { profile_ = std::move(v); }
  const std::string& RegListFilenameSeparator() const { return filename_sep_; }
  void SetRegListFilenameSeparator(std::string v) { filename_sep_ = std::move(v); }
  const std::string& RegListSeparator() const { return list_sep_; }
  void SetRegListSeparator(std::string v) { list_sep_ = std::move(v); }
  const std::string& RegListSubDirSeparator() const { return subdir_sep_; }
  void SetRegListSubDirSeparator(std::string v) { subdir_sep_ = std::move(v); }
  const std::string& SystemDBFilename() const { return sysdb_filename_; }
  void SetSystemDBFilename(std::string v) { sysdb_filename_ = std::move(v); }
  const std::string& SystemDBPath() const { return sysdb_path_; }
  void SetSystemDBPath(std::string v) { sysdb_path_ = std::move(v); }
  const std::string& SystemDBPwd() const { return sysdb_pwd_; }
  void SetSystemDBPwd(std::string v) { sysdb_pwd_ = std::move(v); }
  const std::string& SystemDBRegListString() const { return sysdb_reg_list_; }
  void SetSystemDBRegListString(std::string v) { sysdb_reg_list_ = std::move(v); }
  const std::string& SystemDBUser() const { return sysdb_user_; }
  void SetSystemDBUser(std::string v) { sysdb_user_ = std::move(v); }
  bool TestMode() const { return test_mode_; }
  void SetTestMode(bool v) { test_mode_ = v; }
  bool TestModeError() const { return test_mode_error_; }
  void SetTestModeError(bool v) { test_mode_error_ = v; }
  bool VerifyProfile() const { return verify_profile_; }
  void SetVerifyProfile(bool v) { verify_profile_ = v; }
  // The Office profiles key for index 0 to 3; "" for any other index.
  static std::string RegProfileKey(int index);

  // Results of the last GetCommandLine.
  const std::string& CommandLine() const { return command_line_; }
  const std::string& CommandLineArgs() const { return command_line_args_; }
  const std::string& CommandLineHiddenUserPW() const { return command_line_hidden_; }
  const std::string& DebugLog() const { return debug_log_; }

  // Resolves everything from the current properties and fills the results.
  // False when no Access executable path came back.
  bool GetCommandLine();
  // AccVersion 0, default separators, all options off; nothing else.
  void SetDefaults();

  // Registry list strings.
  static std::string HKeyEnum2String(int32_t hkey);
  static int32_t HKeyString2Enum(const std::string& name);
  void RegListParse(const std::string& entry, int32_t* hkey, std::string* key, std::string* value_name,
                    std::string* sub_dir, std::string* filename);
  std::string RegListBuild(const std::string& key, const std::string& value_name, const std::string& filename,
                           const std::string& sub_dir, int32_t hkey, const std::string& hkey_name);
  // Rows of (location up to the last backslash, rest); `items` untouched when empty.
  int32_t RegListArray(int32_t selector, std::vector<std::pair<std::string, std::string>>* items);
  void RegListAdd(int32_t selector, const std::string& entry);

 private:
  // The list a selector names (0 Access, 1 database, 2 workgroup file); nullptr for others.
  std::string* RegListOf(int32_t selector);
  enum class Target { kDatabase, kSystemDb };

  // Errors. The source is the application title, then ": " and the
  // procedure unless that is empty (GetCommandLine adds its own name).
  [[noreturn]] void Raise(int32_t code, const std::string& procedure, const std::string& arg = "") const;
  void ResetMousePointer() const;
  // Raises `code`, or in test mode only sets TestModeError.
  void Fail(int32_t code, const std::string& procedure, const std::string& arg = "");
  // Refuses a value that would end its quoted argument early (error 18,
  // naming `label`, never the value).
  void CheckArgument(const std::string& value, const std::string& label) const;
  // The command line without the error-source bookkeeping of GetCommandLine.
  bool BuildCommandLine();

  // Debug log.
  void Log(const std::string& line, bool heading = false);
  static std::string OrDash(const std::string& s) { return s.empty() ? "-" : s; }

  // Resolution steps.
  std::string GetAccessPath();
  std::string AccessPathFromOfficeKeys();
  std::string AccessPathFromList();
  bool AccRegPath(std::string& path, const std::string& sub_dir);
  std::string AbsolutePath(std::string& path);
  std::string GetDBPath();
  std::string DatabaseFromProgramFolder();
  std::string GetSystemDB();
  // Walks the entries of a list for the database or workgroup file up to the
  // first existing file. Returns that file, or what the last entry left.
  std::string ResolveFileList(const std::vector<std::string>& entries, Target target);
  bool RegPath(std::string& path, const std::string& sub_dir, const std::string& filename, Target target);
  std::string PathFromFolder(const std::string& folder, const std::string& filename, Target target);
  std::string GetProfile();
  static std::string EscapeArgument(const std::string& text);
  std::string ProgramFile(const std::string& name) const;
  // Parses one list entry and logs its parts; shared by the three resolutions.
  struct ListEntry {
    int32_t hkey = kHKeyNone;
    std::string key, value_name, sub_dir, filename;
  };
  ListEntry ParseAndLogEntry(const std::string& entry);

  RunMdbContext ctx_;
  cuRunMDB_Helpers helpers_;

  std::array<std::string, kOptionCount> options_;
  std::string acc_path_, acc_reg_list_, cmd_, db_filename_, db_path_, db_reg_list_, macro_, profile_;
  std::string filename_sep_, list_sep_, subdir_sep_;
  std::string sysdb_filename_, sysdb_path_, sysdb_pwd_, sysdb_reg_list_, sysdb_user_;
  int32_t acc_version_ = 0;
  bool test_mode_ = false;
  bool test_mode_error_ = false;
  bool verify_profile_ = false;

  std::string command_line_, command_line_args_, command_line_hidden_, debug_log_;
};

}  // namespace krv

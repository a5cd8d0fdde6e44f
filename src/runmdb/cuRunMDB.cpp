#include "runmdb/cuRunMDB.h"

#include "base/KrvError.h"
#include "runmdb/RunMdbErrors.h"

namespace krv {
namespace {

constexpr const char* kOptionSwitches[cuRunMDB::kOptionCount] = {
    "/Compact", "/Excl", "/nostartup", "/Repair", "/ro", "/Runtime", "/Decompile",
};

using H = cuRunMDB_Helpers;

}  // namespace

cuRunMDB::cuRunMDB(RunMdbContext context) : ctx_(std::move(context)), helpers_(ctx_.registry, ctx_.fs) {
  SetDefaults();
}

void cuRunMDB::SetDefaults() {
  acc_version_ = 0;
  list_sep_ = "%|%";
  subdir_sep_ = "%|SubDir|%";
  filename_sep_ = "%|Filename%|";
  for (std::string& option : options_) option.clear();
}

bool cuRunMDB::AccOption(int index) const {
  if (index < 0 || index >= kOptionCount) Raise(kRunMdbInvalidValue, "AccOption (Get)", std::to_string(index));
  return !options_[static_cast<size_t>(index)].empty();
}

void cuRunMDB::SetAccOption(int index, bool on) {
  if (index < 0 || index >= kOptionCount) Raise(kRunMdbInvalidValue, "AccOption (Let)", std::to_string(index));
  options_[static_cast<size_t>(index)] = on ? kOptionSwitches[index] : "";
}

void cuRunMDB::SetAccVersion(int32_t v) {
  if (v > 3) Raise(kRunMdbInvalidAccVersion, "AccVersion (Let)", std::to_string(v));
  acc_version_ = v;
}

void cuRunMDB::Raise(int32_t code, const std::string& procedure, const std::string& arg) const {
  ResetMousePointer();
  std::string source = ctx_.app_title;
  if (!procedure.empty()) source += ": " + procedure;
  throw KrvError(RunMdbErrorNumber(code), source, RunMdbErrorDescription(code, arg, ctx_.exe_name));
}

void cuRunMDB::ResetMousePointer() const {
  MousePointerOwner* const owner = ctx_.mouse_pointer;
  if (owner && owner->MousePointer() != kMousePointerDefault) owner->SetMousePointer(kMousePointerDefault);
}

void cuRunMDB::Fail(int32_t code, const std::string& procedure, const std::string& arg) {
  if (!test_mode_) Raise(code, procedure, arg);
  test_mode_error_ = true;
}

void cuRunMDB::CheckArgument(const std::string& value, const std::string& label) const {
  std::string inner = H::Trim(value);
  if (inner.size() >= 2 && inner.front() == '"' && inner.back() == '"') inner = inner.substr(1, inner.size() - 2);
  // Inside quotes a backslash before the closing quote escapes it for the
  // Windows argument rules, so it would end the argument just as a quote would.
  bool unsafe = !inner.empty() && inner.back() == '\\';
  for (const char c : inner) {
    const auto b = static_cast<unsigned char>(c);
    if (c == '"' || b < 0x20 || b == 0x7F) unsafe = true;
  }
  if (unsafe) Raise(kRunMdbUnsafeArgument, "", label);
}

void cuRunMDB::Log(const std::string& line, bool heading) {
  if (debug_log_.empty()) {
    debug_log_ = line;
  } else {
    debug_log_ += heading ? "\r\n\r\n" : "\r\n";
    debug_log_ += line;
  }
}

std::string cuRunMDB::ProgramFile(const std::string& name) const {
  return H::TerminateString(ctx_.program_dir, "\\") + name;
}

bool cuRunMDB::GetCommandLine() {
  try {
    return BuildCommandLine();
  } catch (KrvError& err) {
    ResetMousePointer();
    err.source += ": GetCommandLine";
    throw;
  }
}

bool cuRunMDB::BuildCommandLine() {
  command_line_.clear();
  command_line_hidden_.clear();
  debug_log_.clear();
  command_line_args_.clear();
  test_mode_error_ = false;

  const std::string exe = GetAccessPath();
  if (exe.empty()) return false;
  CheckArgument(exe, "Access-Pfad");
  std::string line = exe;
  std::string args;
  auto add_part = [&](const std::string& part) {
    line += " " + part;
    H::AddToString(args, part, " ", false);
  };
  auto quoted = [](std::string value) { return H::QuoteString(value, false, true); };

  std::string db = GetDBPath();
  if (!db.empty()) {
    CheckArgument(db, "Datenbank");
    add_part(quoted(db));
  }
  std::string sysdb = GetSystemDB();
  if (!sysdb.empty()) {
    CheckArgument(sysdb, "Systemdatenbank");
    add_part("/wrkgrp " + quoted(sysdb));
  }
  for (const std::string& option : options_) {
    if (!option.empty()) add_part(option);
  }
  const std::string profile = GetProfile();
  if (!profile.empty()) add_part(profile);
  if (!macro_.empty()) {
    CheckArgument(macro_, "Makro");
    add_part("/x " + quoted(macro_));
  }

  // The results are set only once every part has passed its check.
  std::string full = line, hidden = line;
  if (!sysdb_user_.empty()) {
    CheckArgument(EscapeArgument(sysdb_user_), "Benutzername");
    std::string user_part = "/user " + quoted(EscapeArgument(sysdb_user_));
    hidden += " /user \"XXXX\"";
    if (!sysdb_pwd_.empty()) {
      CheckArgument(EscapeArgument(sysdb_pwd_), "Kennwort");
      user_part += " /pwd " + quoted(EscapeArgument(sysdb_pwd_));
      hidden += " /pwd \"YYYY\"";
    }
    H::AddToString(args, user_part, " ", false);
    full += " " + user_part;
  }
  if (!cmd_.empty()) {
    CheckArgument(cmd_, "Cmd");
    const std::string cmd_part = "/cmd " + quoted(cmd_);
    H::AddToString(args, cmd_part, " ", false);
    full += " " + cmd_part;
    hidden += " " + cmd_part;
  }
  command_line_ = full;
  command_line_hidden_ = hidden;
  command_line_args_ = args;
  return true;
}

}  // namespace krv

// Fuzzes the runner's list and string parsing and the command line: every
// value must come back from the Windows argument rules as its own argument,
// or be refused; nothing may crash.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/KrvError.h"
#include "platform/WinCommandLine.h"
#include "runmdb/RunMdbErrors.h"
#include "runmdb/cuRunMDB.h"
#include "testing/FakeFileSystem.h"
#include "testing/FakeRegistry.h"
#include "testing/FuzzCheck.h"

namespace krv {
namespace {

using H = cuRunMDB_Helpers;

std::vector<std::string> Fields(const std::string& input) {
  std::vector<std::string> fields;
  size_t from = 0;
  for (size_t at = input.find('\n'); at != std::string::npos; at = input.find('\n', from)) {
    fields.push_back(input.substr(from, at - from));
    from = at + 1;
  }
  fields.push_back(input.substr(from));
  fields.resize(8);
  return fields;
}

void FuzzStrings(const std::string& text, const std::string& sep) {
  for (const std::string& s : {std::string("%|%"), std::string("\\"), sep}) {
    std::vector<std::string> items;
    const int32_t n = H::String2Array(text, &items, s);
    krv::FuzzCheck(n == 0 ? text.empty() : n == static_cast<int32_t>(items.size()));
    for (const std::string& item : items) krv::FuzzCheck(item == H::Trim(item));
  }
  std::string t = text;
  const std::string forced = H::QuoteString(t, true, true);
  krv::FuzzCheck(forced == "\"" + H::Trim(text) + "\"");
  std::string back = forced;
  krv::FuzzCheck(H::UnQuoteString(back) == H::Trim(text));
  std::string t2 = text;
  const std::string q = H::QuoteString(t2, false, true);
  krv::FuzzCheck(q.size() >= 1 && q.front() == '"' && q.back() == '"');
  krv::FuzzCheck(H::DirUp(text, static_cast<int>(text.size() % 4), false).size() <= text.size() + 1);
}

void FuzzParse(cuRunMDB& r, const std::string& entry) {
  int32_t hkey;
  std::string key, value, sub, file;
  try {
    r.RegListParse(entry, &hkey, &key, &value, &sub, &file);
  } catch (const KrvError& e) {
    krv::FuzzCheck(e.number == RunMdbErrorNumber(kRunMdbBadListEntry) ||
                   e.number == RunMdbErrorNumber(kRunMdbEntryWithoutHKey));
    return;
  }
  krv::FuzzCheck(!cuRunMDB::HKeyEnum2String(hkey).empty());
  // A key ending in a backslash (an empty last key name, which no registry
  // holds) loses that backslash when built, by design; skip it.
  if (key.empty() || key.back() == '\\') return;
  // Building normalises once; parsing and building again changes nothing more.
  const std::string built = r.RegListBuild(key, value, file, sub, hkey, "");
  r.RegListParse(built, &hkey, &key, &value, &sub, &file);
  krv::FuzzCheck(r.RegListBuild(key, value, file, sub, hkey, "") == built);
}

// What a value becomes as an argument: trimmed, without a quote pair around it.
std::string AsArgument(const std::string& value) {
  std::string v = H::Trim(value);
  if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
  return v;
}

std::string Escaped(const std::string& text) {
  std::string out;
  for (const char c : text) {
    out += c;
    if (c == '/' || c == ';') out += c;
  }
  return out;
}

void FuzzCommandLine(const std::vector<std::string>& f) {
  FakeRegistry reg;
  FakeFileSystem fs;
  reg.SetString(Hive::LocalMachine, "SOFTWARE\\K", "Path", "D:\\Access");
  reg.SetString(Hive::CurrentUser, "Software\\K", "", f[7]);
  fs.AddFile("D:\\Access\\msaccess.exe");
  fs.AddFile(f[7] + "\\msaccess.exe");
  cuRunMDB r(RunMdbContext{reg, fs, "C:\\Programme\\Korvella", "krv25", "krv25"});
  r.SetAccRegListString(f[0]);
  r.SetAccPath("D:\\Access");
  r.SetSystemDBUser(f[1]);
  r.SetSystemDBPwd(f[2]);
  r.SetProfile(f[3]);
  r.SetMacro(f[4]);
  r.SetCmd(f[5]);
  if (!f[6].empty()) {
    fs.AddFile("C:\\Programme\\Korvella\\" + f[6]);
    r.SetDBFilename(f[6]);
  }
  try {
    if (!r.GetCommandLine()) return;
  } catch (const KrvError&) {
    krv::FuzzCheck(r.CommandLine().empty() && r.CommandLineHiddenUserPW().empty());
    return;
  }
  std::vector<std::string> want;
  if (!f[6].empty()) want.push_back(AsArgument("C:\\Programme\\Korvella\\" + f[6]));
  if (!f[3].empty()) want.insert(want.end(), {"/Profile", AsArgument(Escaped(f[3]))});
  if (!f[4].empty()) want.insert(want.end(), {"/x", AsArgument(f[4])});
  std::vector<std::string> masked = want;
  if (!f[1].empty()) {
    want.insert(want.end(), {"/user", AsArgument(Escaped(f[1]))});
    masked.insert(masked.end(), {"/user", "XXXX"});
    if (!f[2].empty()) {
      want.insert(want.end(), {"/pwd", AsArgument(Escaped(f[2]))});
      masked.insert(masked.end(), {"/pwd", "YYYY"});
    }
  }
  if (!f[5].empty()) {
    want.insert(want.end(), {"/cmd", AsArgument(f[5])});
    masked.insert(masked.end(), {"/cmd", AsArgument(f[5])});
  }
  krv::FuzzCheck(SplitWindowsArgs(r.CommandLineArgs()) == want);
  krv::FuzzCheck(SplitWindowsArgs(CommandLineAfterProgram(r.CommandLine())) == want);
  krv::FuzzCheck(SplitWindowsArgs(CommandLineAfterProgram(r.CommandLineHiddenUserPW())) == masked);
}

}  // namespace
}  // namespace krv

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace krv;
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> fields = Fields(input);
  FuzzStrings(input, fields[1].substr(0, 3));
  FakeRegistry reg;
  FakeFileSystem fs;
  cuRunMDB runner(RunMdbContext{reg, fs, "C:\\Programme\\Korvella", "krv25", "krv25"});
  for (const std::string& field : fields) FuzzParse(runner, field);
  FuzzCommandLine(fields);
  return 0;
}

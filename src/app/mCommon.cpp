#include "app/mCommon.h"

#include "platform/Text.h"
#include "suite/krvLibrary.h"

namespace krv {

void cmnShowFatalError(Dialogs& dialogs, const std::string& title, const std::string& proc,
                       const std::string& description, MousePointerOwner* screen) {
  const KrvError error = cuAppError::CurrentError();
  std::string where = error.source;
  if (!proc.empty()) {
    where += ": " + proc;
    if (error.line != 0) where += " (" + std::to_string(error.line) + ")";
  }
  const std::string& text = description.empty() ? error.description : description;
  if (screen) screen->SetMousePointer(kMousePointerDefault);
  dialogs.MessageBox("Fehler Nr. " + std::to_string(error.number) + kCrLf + "Quelle: " + where + kCrLf + kCrLf + text,
                     title, kMbIconStop);
}

void cmnParseRegConstant(krvLibrary& lib, const std::string& name, std::string* key, std::string* value_name) {
  const std::string path = AddTrailingSeparator(lib.Application().ProductRoot()) + name;
  *key = PathKeyPart(path);
  *value_name = PathLastPart(path);
}

bool cmnSplitHive(std::string* path, Hive* hive) {
  static constexpr struct {
    const char* prefix;
    Hive hive;
  } kPrefixes[] = {
      {"HKCU\\", Hive::CurrentUser},
      {"HKLM\\", Hive::LocalMachine},
      {"HKEY_LOCAL_MACHINE", Hive::LocalMachine},
      {"HKEY_CURRENT_USER", Hive::CurrentUser},
  };
  for (const auto& p : kPrefixes) {
    if (IStartsWith(*path, p.prefix)) {
      path->erase(0, std::string_view(p.prefix).size());
      *hive = p.hive;
      return true;
    }
  }
  *hive = Hive{};
  return false;
}

}  // namespace krv

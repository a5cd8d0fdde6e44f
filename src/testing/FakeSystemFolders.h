// System folders as a test sets them.
#pragma once

#include <map>
#include <stdexcept>

#include "platform/SystemFolders.h"

namespace krv {

class FakeSystemFolders : public SystemFolders {
 public:
  std::map<SystemFolder, std::string> folders{{SystemFolder::kWindows, "C:\\Windows\\"},
                                              {SystemFolder::kSystem, "C:\\Windows\\System32\\"},
                                              {SystemFolder::kCommonFiles, "C:\\Programme\\Gemeinsame Dateien\\"}};
  bool fail = false;  // throws, as an unexpected error inside the check would

  std::string Folder(SystemFolder which) override {
    if (fail) throw std::runtime_error("folders");
    return folders[which];
  }
};

}  // namespace krv

// System folders as a test sets them.
#pragma once

#include <map>

#include "platform/SystemFolders.h"

namespace krv {

class FakeSystemFolders : public SystemFolders {
 public:
  std::map<SystemFolder, std::string> folders{{SystemFolder::kWindows, "C:\\Windows\\"},
                                              {SystemFolder::kSystem, "C:\\Windows\\System32\\"},
                                              {SystemFolder::kCommonFiles, "C:\\Programme\\Gemeinsame Dateien\\"}};

  std::string Folder(SystemFolder which) override { return folders[which]; }
};

}  // namespace krv

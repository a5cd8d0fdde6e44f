// POSIX only: the system folders are those of the Wine prefix.
#include "platform/SystemFolders.h"

namespace krv {

std::unique_ptr<SystemFolders> CreateSystemFolders(FileSystem& fs, System& sys) {
  return std::make_unique<WinePrefixFolders>(fs, sys);
}

}  // namespace krv

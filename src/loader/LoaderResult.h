// What the loader tells the application object to start next.
#pragma once

#include <cstdint>
#include <string>

namespace krv {

enum LoaderAction : int32_t {
  kActionNothing = 0,
  kActionAccess = 1,
  kActionUpgrade = 2,
  kActionCompressor = 3,
  kActionVersionInfo = 4,
  kActionAdminTools = 5,
  kActionMenu = 6,
};

struct LoaderResult {
  int32_t Action = kActionNothing;
  std::string File;  // program of actions 2 to 5
  std::string Args;  // its arguments; for action 1 the bare Access arguments
  bool Elevate = true;
  std::string CommandLine;        // action 1: the whole Access command line
  std::string CommandLineHidden;  // the same with user and password masked
  std::string AccPath;            // action 1: the Access executable
  int32_t MessageId = 0;          // actions 2 to 5: reports a failed start; 0 the action's own message
  bool operator==(const LoaderResult&) const = default;
};

}  // namespace krv

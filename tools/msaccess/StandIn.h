// Shared parts of the sandbox's stand-in programs (Access and the suite's
// siblings): they record the arguments they were started with, and act on
// the data backend named in the settings as the real programs would.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Database.h"

namespace krv::standin {

// The program's arguments, in UTF-8.
std::vector<std::string> Arguments(int argc, char** argv);
// Writes them one per line to "<name>.args" beside the program (replaced
// whole at each start) and prints them. False when the file cannot be written.
bool RecordArguments(const std::string& name, const std::vector<std::string>& args);
// The data backend of the settings (current user, else machine); "" if none.
std::string BackendPath();
// After a compression: the backend's size, the time and its path as the new
// reference of the starter's size history, below the identifier the backend
// keeps ("USysBackendId"). Nothing when it keeps none.
void RecordCompressedSize(DbConnection& db, const std::string& backend);
// "msaccess 1234": the program's name and process id, as a lock record names its holder.
std::string ProcessTag(const std::string& name);
// Seconds to wait from the environment variable `name`; 0 when unset or bad.
int Seconds(const char* name);
void Sleep(int seconds);

// The lock file beside a backend, created, kept open and locked as Jet keeps
// it while Access runs; removed by Release. A killed process leaves it.
class LockFile {
 public:
  explicit LockFile(const std::string& backend);
  ~LockFile();
  bool held() const { return held_; }
  const std::string& path() const { return path_; }
  void Release();

 private:
  std::string path_;
  bool held_ = false;
  intptr_t handle_ = -1;
};

}  // namespace krv::standin

// POSIX only. The registry as one .reg file per hive ("HKEY_CURRENT_USER.reg",
// ...), written exactly like a regedit 5.00 export of the whole hive. Writes
// are atomic and durable and happen under a lock that re-reads the file first,
// so a crash or a second process never loses a value; reads reload a hive
// whose file changed. A file that cannot be parsed is kept and never
// overwritten: writes to its hive fail and say so.
#pragma once

#include <sys/types.h>

#include <ctime>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/RegFile.h"
#include "platform/RegTree.h"
#include "platform/Registry.h"

namespace krv {

struct RegistryFolders {
  std::string current_user;  // holds HKEY_CURRENT_USER.reg
  std::string machine;       // holds the other hives
};

// KRV_REGISTRY_DIR puts every hive into one folder; otherwise the current
// user's hive lives in $XDG_CONFIG_HOME/korvella/registry (an absolute
// XDG_CONFIG_HOME only, else ~/.config/korvella/registry) and the others in
// /etc/korvella/registry. Null or empty arguments count as unset.
RegistryFolders ChooseRegistryFolders(const char* registry_dir, const char* xdg_config_home, const char* home);

class FileRegistry : public Registry, public RegOpsTarget {
 public:
  explicit FileRegistry(RegistryFolders folders);
  FileRegistry(std::string current_user_dir, std::string machine_dir)
      : FileRegistry(RegistryFolders{std::move(current_user_dir), std::move(machine_dir)}) {}

  bool KeyExists(Hive hive, const std::string& key) override;
  RegStatus CreateKey(Hive hive, const std::string& key, std::string* err) override;
  RegStatus DeleteKeyTree(Hive hive, const std::string& key, std::string* err) override;
  bool ValueExists(Hive hive, const std::string& key, const std::string& name) override;
  RegStatus ReadValue(Hive hive, const std::string& key, const std::string& name, RegValue* out,
                      std::string* err) override;
  RegStatus WriteValue(Hive hive, const std::string& key, const std::string& name, const RegValue& value,
                       std::string* err) override;
  RegStatus DeleteValue(Hive hive, const std::string& key, const std::string& name, std::string* err) override;
  std::vector<std::string> ValueNames(Hive hive, const std::string& key) override;
  std::vector<std::string> SubKeys(Hive hive, const std::string& key) override;
  // Reads every hive file that exists; `why` is the first one's HiveProblem.
  bool CheckStores(std::string* why) override;

  // Every hive's operations of the list as one write per hive.
  RegStatus ApplyRegOpsAtOnce(const std::vector<RegOp>& ops, std::string* err) override;

  // The hive's file ("" for an unknown hive or when no folder is known).
  std::string HivePath(Hive hive) const;
  // Why the hive's file cannot be used as it stands ("" when it can); writes
  // to the hive fail while this is set.
  std::string HiveProblem(Hive hive);

 private:
  struct Stamp {
    bool exists = false;
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    timespec mtime{};
    bool operator==(const Stamp& o) const;
  };
  struct HiveFile {
    Hive hive = Hive::CurrentUser;
    std::string path;
    bool machine = false;
    bool loaded = false;
    Stamp stamp;
    RegTree tree;
    std::string problem;  // set when the file cannot be read or parsed
    RegStatus problem_status = RegStatus::kOk;
  };
  // Changes the tree; sets *changed when there is something to write.
  using Edit = std::function<RegStatus(RegTree& tree, bool* changed)>;

  HiveFile* Refreshed(Hive hive);
  void Load(HiveFile& h);
  RegStatus Modify(Hive hive, const Edit& edit, std::string* err);
  RegStatus Save(HiveFile& h, std::string* err);

  RegistryFolders folders_;
  std::map<Hive, HiveFile> hives_;
};

// The registry of this machine, in the folders ChooseRegistryFolders picks
// from the environment.
std::unique_ptr<Registry> CreatePosixRegistry();

}  // namespace krv

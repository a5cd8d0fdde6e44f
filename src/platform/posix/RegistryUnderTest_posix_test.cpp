// POSIX only: the file-backed registry in the shared registry behaviour tests.
#include "platform/RegistryUnderTest.h"
#include "platform/posix/FileRegistry_posix.h"
#include "testing/TempDir.h"

namespace krv {
namespace {

struct OwnFolder {
  TempDir dir;
};

// Writes through itself and reads through a second instance over the same files,
// so every check also proves that writes reach the file and readers reload.
class TwoInstanceRegistry : private OwnFolder, public FileRegistry {
 public:
  TwoInstanceRegistry()
      : FileRegistry(dir.native() + "/user", dir.native() + "/machine"),
        reader_(dir.native() + "/user", dir.native() + "/machine") {}

  bool KeyExists(Hive hive, const std::string& key) override { return reader_.KeyExists(hive, key); }
  bool ValueExists(Hive hive, const std::string& key, const std::string& name) override {
    return reader_.ValueExists(hive, key, name);
  }
  RegStatus ReadValue(Hive hive, const std::string& key, const std::string& name, RegValue* out,
                      std::string* err) override {
    return reader_.ReadValue(hive, key, name, out, err);
  }
  std::vector<std::string> ValueNames(Hive hive, const std::string& key) override {
    return reader_.ValueNames(hive, key);
  }
  std::vector<std::string> SubKeys(Hive hive, const std::string& key) override { return reader_.SubKeys(hive, key); }

 private:
  FileRegistry reader_;
};

}  // namespace

std::vector<RegistryUnderTest> NativeRegistriesUnderTest() {
  return {{"FileRegistryTwoInstances", [] { return std::make_unique<TwoInstanceRegistry>(); },
           "Software\\KrvRegistryTest"}};
}

}  // namespace krv

// POSIX only: the file-backed registry in the shared registry behaviour tests.
#include "platform/RegistryUnderTest.h"
#include "platform/posix/FileRegistry_posix.h"
#include "testing/TempDir.h"

namespace krv {
namespace {

// Writes through one instance and reads through another over the same files,
// so every check also proves that writes reach the file and readers reload.
class TwoInstanceRegistry : public Registry {
 public:
  TwoInstanceRegistry()
      : writer_(dir_.native() + "/user", dir_.native() + "/machine"),
        reader_(dir_.native() + "/user", dir_.native() + "/machine") {}

  bool KeyExists(Hive hive, const std::string& key) override { return reader_.KeyExists(hive, key); }
  RegStatus CreateKey(Hive hive, const std::string& key, std::string* err) override {
    return writer_.CreateKey(hive, key, err);
  }
  RegStatus DeleteKeyTree(Hive hive, const std::string& key, std::string* err) override {
    return writer_.DeleteKeyTree(hive, key, err);
  }
  bool ValueExists(Hive hive, const std::string& key, const std::string& name) override {
    return reader_.ValueExists(hive, key, name);
  }
  RegStatus ReadValue(Hive hive, const std::string& key, const std::string& name, RegValue* out,
                      std::string* err) override {
    return reader_.ReadValue(hive, key, name, out, err);
  }
  RegStatus WriteValue(Hive hive, const std::string& key, const std::string& name, const RegValue& value,
                       std::string* err) override {
    return writer_.WriteValue(hive, key, name, value, err);
  }
  RegStatus DeleteValue(Hive hive, const std::string& key, const std::string& name, std::string* err) override {
    return writer_.DeleteValue(hive, key, name, err);
  }
  std::vector<std::string> ValueNames(Hive hive, const std::string& key) override {
    return reader_.ValueNames(hive, key);
  }
  std::vector<std::string> SubKeys(Hive hive, const std::string& key) override { return reader_.SubKeys(hive, key); }

 private:
  TempDir dir_;
  FileRegistry writer_;
  FileRegistry reader_;
};

}  // namespace

std::vector<RegistryUnderTest> NativeRegistriesUnderTest() {
  std::vector<RegistryUnderTest> all;
  all.push_back({"FileRegistryTwoInstances", [] { return std::make_unique<TwoInstanceRegistry>(); },
                 "Software\\KrvRegistryTest"});
  return all;
}

}  // namespace krv

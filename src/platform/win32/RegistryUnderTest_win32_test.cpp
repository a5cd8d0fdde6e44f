// Win32 code only: the real registry for the shared registry tests, confined
// to a key of its own below HKCU\Software (and HKLM\Software when writable).
#include <atomic>

#include "platform/RegistryUnderTest.h"
#include "platform/win32/Services_win32.h"
#include "platform/win32/TestSupport_win32.h"
#include "platform/win32/Win32Util_win32.h"

namespace krv {
namespace {

void RemoveTestRoots(Registry& reg, const std::string& root) {
  reg.DeleteKeyTree(Hive::CurrentUser, root, nullptr);
  reg.DeleteKeyTree(Hive::LocalMachine, root, nullptr);
}

// The real registry; the test root is removed when the test is done with it.
class ScopedRegistry : public Registry {
 public:
  explicit ScopedRegistry(std::string root) : root_(std::move(root)) { RemoveTestRoots(*real_, root_); }
  ~ScopedRegistry() override { RemoveTestRoots(*real_, root_); }

  bool KeyExists(Hive hive, const std::string& key) override { return real_->KeyExists(hive, key); }
  RegStatus CreateKey(Hive hive, const std::string& key, std::string* err) override {
    return real_->CreateKey(hive, key, err);
  }
  RegStatus DeleteKeyTree(Hive hive, const std::string& key, std::string* err) override {
    return real_->DeleteKeyTree(hive, key, err);
  }
  bool ValueExists(Hive hive, const std::string& key, const std::string& name) override {
    return real_->ValueExists(hive, key, name);
  }
  RegStatus ReadValue(Hive hive, const std::string& key, const std::string& name, RegValue* out,
                      std::string* err) override {
    return real_->ReadValue(hive, key, name, out, err);
  }
  RegStatus WriteValue(Hive hive, const std::string& key, const std::string& name, const RegValue& value,
                       std::string* err) override {
    return real_->WriteValue(hive, key, name, value, err);
  }
  RegStatus DeleteValue(Hive hive, const std::string& key, const std::string& name, std::string* err) override {
    return real_->DeleteValue(hive, key, name, err);
  }
  std::vector<std::string> ValueNames(Hive hive, const std::string& key) override {
    return real_->ValueNames(hive, key);
  }
  std::vector<std::string> SubKeys(Hive hive, const std::string& key) override { return real_->SubKeys(hive, key); }

 private:
  std::unique_ptr<Registry> real_ = win32::NewRegistry();
  std::string root_;
};

bool LocalMachineWritable(const std::string& root) {
  auto reg = win32::NewRegistry();
  const std::string probe = root + "-probe";
  const bool ok = reg->CreateKey(Hive::LocalMachine, probe, nullptr) == RegStatus::kOk;
  if (ok) reg->DeleteKeyTree(Hive::LocalMachine, probe, nullptr);
  return ok;
}

}  // namespace

std::vector<RegistryUnderTest> NativeRegistriesUnderTest() {
  static std::atomic<int> counter{0};
  const std::string root =
      "Software\\KrvTest-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++);
  RegistryUnderTest real;
  real.name = "Win32Registry";
  real.test_root = root;
  real.make = [root]() -> std::unique_ptr<Registry> { return std::make_unique<ScopedRegistry>(root); };
  real.local_machine_writable = LocalMachineWritable(root);
  real.value_creation_order = !win32::RunningUnderWine();  // Wine keeps value names sorted
  return {real};
}

}  // namespace krv

// The registry implementations the shared behaviour tests run against. The
// memory registry is always there; each platform's test files add theirs by
// defining NativeRegistriesUnderTest().
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace krv {

struct RegistryUnderTest {
  std::string name;
  // A registry whose keys below `TestRoot()` start empty, plus a cleanup.
  std::function<std::unique_ptr<Registry>()> make;
  // Key below HKEY_CURRENT_USER (and HKEY_LOCAL_MACHINE where writable) that
  // the tests own; removed after each test.
  std::string test_root;
  bool local_machine_writable = true;
  // False where the store lists value names sorted instead of in creation
  // order (Wine's registry does).
  bool value_creation_order = true;
};

std::vector<RegistryUnderTest> NativeRegistriesUnderTest();

}  // namespace krv

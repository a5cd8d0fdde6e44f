// Win32 code only: the real registry for the shared registry tests, confined to a key of its own.
#include <atomic>

#include "platform/RegistryUnderTest.h"
#include "platform/win32/Services_win32.h"
#include "platform/win32/TestSupport_win32.h"
#include "platform/win32/Win32Util_win32.h"

namespace krv {
namespace {

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
  // Wine keeps value names sorted.
  return {{"Win32Registry", [] { return win32::NewRegistry(); }, root, LocalMachineWritable(root),
           !win32::RunningUnderWine()}};
}

}  // namespace krv

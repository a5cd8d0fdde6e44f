// Feeds a backend name and a file name (split at the first line break) to the
// copy-name parser, checking what must always hold for what it accepts.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/Text.h"
#include "suite/BackupNames.h"
#include "testing/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const size_t split = text.find('\n');
  const std::string_view backend = text.substr(0, split);
  const std::string_view name = split == std::string_view::npos ? std::string_view() : text.substr(split + 1);
  krv::LocalTime t;
  if (krv::ParseBackupCopyName(backend, name, &t)) {
    krv::FuzzCheck(t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= 31 && t.hour < 24 && t.minute < 60 &&
                   t.second < 60);
    krv::FuzzCheck(krv::IEquals(krv::BackupCopyName(backend, t), name));
    krv::FuzzCheck(krv::IsAnyBackupCopyName(krv::FileExtension(backend), name));
    krv::FuzzCheck(krv::IsBackupTempName(backend, krv::BackupTempName(name)));
  }
  krv::FuzzCheck(!krv::IsBackupTempName(backend, name) || !krv::ParseBackupCopyName(backend, name, &t));
  return 0;
}

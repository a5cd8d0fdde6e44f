// Names of the backup copies: "<backend stem>_YYYYMMDD_HHMMSS<backend
// extension>" in local time ("krvdat25_20261207_083012.db"). A copy's date
// comes from its name, never from the file's times, which copy tools change.
// While a copy is written it carries a temporary name ("~" + copy name +
// ".tmp") in the same folder.
#pragma once

#include <string>
#include <string_view>

#include "platform/System.h"

namespace krv {

// The copy name of the backend file `backend_name` (a name, no folder) at `t`.
std::string BackupCopyName(std::string_view backend_name, const LocalTime& t);
std::string BackupTempName(std::string_view copy_name);

// True when `name` is a copy of `backend_name` (stem and extension compared
// ignoring letter case) with a valid date and time, which go to `*t`.
bool ParseBackupCopyName(std::string_view backend_name, std::string_view name, LocalTime* t);
// True when `name` is a copy of any backend with the extension `ext` (".db").
bool IsAnyBackupCopyName(std::string_view ext, std::string_view name);
// True when `name` is the temporary name of a copy of `backend_name`.
bool IsBackupTempName(std::string_view backend_name, std::string_view name);

// Extension of a file name with its dot, or "" ("a.b.db" gives ".db").
std::string_view FileExtension(std::string_view name);

}  // namespace krv

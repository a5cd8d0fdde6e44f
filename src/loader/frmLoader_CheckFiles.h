// The loader's file and library check.
#pragma once

#include <string>

namespace krv {

class frmLoader;

// Clears what a crashed run leaves behind: read-only, hidden and system on
// front end and library, and the Jet lock files of the workgroup file, the
// library and the add-ins ("*.mda") that no process holds any more. Then
// CheckLib; a mismatch is shown and stops the start.
bool CheckFiles(frmLoader& loader);
// "" when the library has the version the front end requires (or the front
// end requires none); otherwise the text to show.
std::string CheckLib(frmLoader& loader);

}  // namespace krv

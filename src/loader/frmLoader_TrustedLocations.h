// The loader's registration of the program folder as a trusted location of Access.
#pragma once

namespace krv {

class frmLoader;

// Writes the location key "Korvella II.5" below the key that the machine
// setting "Options\AccessTrustedLocationsKey" names: all its values while it
// has no "Path", afterwards only "Path" when the program folder moved.
// Nothing to do when the setting is empty. A refused write raises; without
// write access nothing is written.
bool TrustedLocations(frmLoader& loader);

}  // namespace krv

// Win32: assembles the real platform services.
#include "platform/Platform.h"

namespace krv {

Platform CreateNativePlatform() { return Platform{}; }

}  // namespace krv

// POSIX: assembles the embedded-default platform services.
#include "platform/Platform.h"

namespace krv {

Platform CreateNativePlatform() { return Platform{}; }

}  // namespace krv

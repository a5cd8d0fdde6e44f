// krv25: the starter of KORVELLA II.5.
#include <cstdio>

#include "platform/Platform.h"

int main() {
  krv::Platform platform = krv::CreateNativePlatform();
  std::printf("krv25: %s\n", platform.system->ExecutablePath().c_str());
  return 0;
}

// krv25: the starter of KORVELLA II.5.
#include "app/AppEnv.h"
#include "app/mGlobals.h"
#include "platform/Platform.h"

int main() {
  krv::Platform platform = krv::CreateNativePlatform();
  krv::AppEnv env{*platform.registry, *platform.fs,     *platform.shell,
                  *platform.dialogs,  *platform.system, *platform.mutex};
  env.ui = platform.ui.get();
  return krv::Main(env);
}

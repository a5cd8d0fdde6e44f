// krv25: the starter of KORVELLA II.5.
#include "app/AppEnv.h"
#include "app/mGlobals.h"
#include "platform/Platform.h"
#include "ui/UiHost.h"

int main() {
  krv::Platform platform = krv::CreateNativePlatform();
  std::unique_ptr<krv::UiHost> ui = krv::CreateUiHost();
  krv::AppEnv env{*platform.registry, *platform.fs,    *platform.shell, ui->MessageBoxes(*platform.dialogs),
                  *platform.system,   *platform.mutex, ui.get()};
  env.database = platform.database.get();
  return krv::Main(env);
}

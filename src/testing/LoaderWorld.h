// What a loader step needs, over the start harness's fakes. Tests bind the
// parts by name: `LoaderWorld w; auto& [h, err, lib, objects, log, window] = w;`
#pragma once

#include "base/cuAppError.h"
#include "suite/IObjects.h"
#include "suite/krvLibrary.h"
#include "testing/FakeProgressWindow.h"
#include "testing/StarterHarness.h"

namespace krv {

struct LoaderWorld {
  StarterHarness h;
  cuAppError err{h.dialogs, AppInfo{}};
  krvLibrary lib{h.reg, h.fs, h.sys};
  IObjects objects{h.reg, h.fs, h.sys};
  FakeProgressWindow::Log log;
  FakeProgressWindow window{&log};
};

}  // namespace krv

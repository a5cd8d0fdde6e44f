// What the start menu asks of the application. The menu only decides: ending
// the starter and handing over to a sibling program are requests that the
// top of the program carries out once the menu's event is over.
#pragma once

#include <cstdint>
#include <string>

#include "base/HandOver.h"

namespace krv {

class cuAppError;
class Dialogs;
class FileSystem;
class Forms;
class IObjects;
class krvLibrary;
class mSubclass;
class UiHost;

class MenuHost {
 public:
  virtual ~MenuHost() = default;

  // Refusal text when a conflicting program runs ("" to go on); program 0
  // KORVELLA, 1 browser, 2 version information, 3 compressor.
  virtual std::string CheckEnvironment(int32_t program) = 0;
  // Prepares the interface library; false when the starter is to end (the
  // upgrade program took over).
  virtual bool InitInterfaceDLL(bool first, bool second) = 0;
  virtual bool LoadKRV() = 0;
  virtual bool LoadSettingsForm(bool stand_alone) = 0;
  // Ends the starter after the current event.
  virtual void EndStarter() = 0;
  // Ends the starter after the current event and starts `next`.
  virtual void HandOverTo(const HandOver& next) = 0;

  // nullptr once the application object is gone.
  virtual cuAppError* oErr() = 0;
  virtual krvLibrary& Library() = 0;
  // The prepared interface library; nullptr before InitInterfaceDLL.
  virtual IObjects* Objects() = 0;
  virtual Forms& LoadedForms() = 0;
  virtual UiHost& Ui() = 0;
  // Window subclassing of this process; nullptr where there are no windows.
  virtual mSubclass* Subclass() = 0;
  virtual FileSystem& Files() = 0;
  virtual Dialogs& Boxes() = 0;
};

}  // namespace krv

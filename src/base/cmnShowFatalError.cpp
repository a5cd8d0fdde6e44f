#include "base/cmnShowFatalError.h"

namespace krv {

void cmnShowFatalError(Dialogs& dialogs, const std::string& title, const std::string& proc,
                       const std::string& description, MousePointerOwner* screen) {
  const KrvError error = cuAppError::CurrentError();
  std::string where = error.source;
  if (!proc.empty()) {
    where += ": " + proc;
    if (error.line != 0) where += " (" + std::to_string(error.line) + ")";
  }
  const std::string& text = description.empty() ? error.description : description;
  if (screen) screen->SetMousePointer(kMousePointerDefault);
  dialogs.MessageBox("Fehler Nr. " + std::to_string(error.number) + kCrLf + "Quelle: " + where + kCrLf + kCrLf + text,
                     title, kMbIconStop);
}

void ReportFormError(cuAppError* err, Dialogs& dialogs, const char* form, const char* proc) {
  if (err) {
    err->ErrMsg(form, proc);
  } else {
    cmnShowFatalError(dialogs, kAppTitle, proc);
  }
}

}  // namespace krv

// The stop box of the top-level error handlers.
#pragma once

#include <string>

#include "base/Dialogs.h"
#include "base/cuAppError.h"

namespace krv {

// The top-level display of the current error (Main, form events): "Fehler Nr. ",
// "Quelle: " with the error's source and `proc`, and the description (or
// `description` when given) in a stop box captioned `title`. Call it in a catch.
void cmnShowFatalError(Dialogs& dialogs, const std::string& title, const std::string& proc,
                       const std::string& description = {}, MousePointerOwner* screen = nullptr);

// A form's error handler: the error service's message for `form` and `proc`
// when there is the service, else the stop box. Call it in a catch.
void ReportFormError(cuAppError* err, Dialogs& dialogs, const char* form, const char* proc);

}  // namespace krv

#include "base/cuAppError.h"

#include <exception>
#include <limits>
#include <new>

#include "base/MessageTable.h"
#include "base/Text.h"

namespace krv {

namespace {

constexpr int kStyleCritical = kMbIconStop;
constexpr int kStyleCriticalHelp = kMbIconStop | kMbHelp;

std::string ReplaceAllIgnoreCase(const std::string& text, std::string_view what, std::string_view with) {
  std::string out;
  size_t from = 0;
  for (size_t pos = IFind(text, what); pos != std::string::npos; pos = IFind(text, what, from)) {
    out.append(text, from, pos - from);
    out.append(with);
    from = pos + what.size();
  }
  out.append(text, from);
  return out;
}

// "a | b" when both are set, else whichever is.
std::string JoinSources(const std::string& first, const std::string& second) {
  if (first.empty()) return second;
  if (second.empty()) return first;
  return first + " | " + second;
}

}  // namespace

cuAppError::cuAppError(Dialogs& dialogs, AppInfo app, MousePointerOwner* screen)
    : dialogs_(dialogs), screen_(screen), app_(std::move(app)), app_name_(app_.title) {}

KrvError cuAppError::CurrentError() {
  const std::exception_ptr pending = std::current_exception();
  if (!pending) return {};
  try {
    std::rethrow_exception(pending);
  } catch (const KrvError& e) {
    KrvError copy = e;
    // An error without a number would otherwise vanish at the next ErrRaise(0, ...).
    if (copy.number == 0) copy.number = kErrInvalidCall;
    return copy;
  } catch (const std::bad_alloc&) {
    return KrvError(kErrOutOfMemory, "", "Nicht genügend Speicher.");
  } catch (const std::exception& e) {
    return KrvError(kErrInvalidCall, "", std::string("Interner Fehler: ") + e.what());
  } catch (...) {
    return KrvError(kErrInvalidCall, "", "Unbekannter Fehler.");
  }
}

std::string cuAppError::Z_LoadMsg(int32_t number) const {
  const int64_t id = number < 0 ? -static_cast<int64_t>(number) : number;
  if (!msg_array_) {
    const std::string* text =
        id <= std::numeric_limits<int32_t>::max() ? FindMessage(static_cast<int32_t>(id)) : nullptr;
    if (!text) {
      throw KrvError(kErrResourceNotFound, project_name_,
                     "Ressource mit Bezeichner '" + std::to_string(id) + "' nicht gefunden.");
    }
    return *text;
  }
  const int64_t lower = msg_array_->lower_bound;
  const int64_t upper = lower + static_cast<int64_t>(msg_array_->items.size()) - 1;
  if (id >= lower && id <= upper) return msg_array_->items[static_cast<size_t>(id - lower)];
  throw KrvError(kErrNoMessage, "cuAppError: Z_LoadMsg",
                 std::string("Unvorhergesehener Fehler.") + kCrLf + "Für die Fehlernummer " + std::to_string(number) +
                     " wurde keine Meldung definiert.");
}

std::string cuAppError::MsgParse(const std::string& text, MsgArg arg1, MsgArg arg2, MsgArg arg3, MsgArg arg4) {
  if (text.empty()) return {};
  // Line breaks first, so "@@" inside an argument stays as it is.
  std::string out = ReplaceAllIgnoreCase(text, "@@", kCrLf);
  for (const MsgArg* arg : {&arg1, &arg2, &arg3, &arg4}) {
    if (!arg->present()) break;
    const size_t pos = out.find("##");
    if (pos != std::string::npos) out.replace(pos, 2, arg->text());
  }
  return out;
}

std::string cuAppError::MsgLoad(int32_t msg_number, MsgArg arg1, MsgArg arg2, MsgArg arg3, MsgArg arg4) const {
  const std::string text = Z_LoadMsg(msg_number);
  return text.empty() ? text : MsgParse(text, arg1, arg2, arg3, arg4);
}

int cuAppError::MsgShow(int32_t msg_number, int32_t buttons, MsgArg arg1, MsgArg arg2, MsgArg arg3, MsgArg arg4) {
  MsgBoxParams box;
  box.buttons = buttons;
  return MsgShow(msg_number, box, arg1, arg2, arg3, arg4);
}

int cuAppError::MsgShow(int32_t msg_number, MsgBoxParams& box, MsgArg arg1, MsgArg arg2, MsgArg arg3, MsgArg arg4) {
  box.text =
      box.text.empty() ? MsgLoad(msg_number, arg1, arg2, arg3, arg4) : MsgParse(box.text, arg1, arg2, arg3, arg4);
  const Pointers saved = SaveMousePointers();
  if (box.title.empty()) box.title = app_name_;
  if (box.help_context > -1) {
    if (box.help_file.empty() && !app_.help_file.empty()) box.help_file = DefaultHelpFile();
    if (!box.help_file.empty() && (box.buttons & kMbHelp) == 0) box.buttons += kMbHelp;
  }
  const int answer = dialogs_.MessageBox(box.text, box.title, box.buttons);
  if (screen_ && saved.screen != kMousePointerDefault) screen_->SetMousePointer(saved.screen);
  if (client_screen_) client_screen_->SetMousePointer(saved.client);
  return answer;
}

cuAppError::Pointers cuAppError::SaveMousePointers() {
  Pointers saved;
  if (screen_) {
    saved.screen = screen_->MousePointer();
    screen_->SetMousePointer(kMousePointerDefault);
  }
  if (client_screen_) {
    saved.client = client_screen_->MousePointer();
    client_screen_->SetMousePointer(kMousePointerDefault);
  }
  return saved;
}

std::string cuAppError::DefaultHelpFile() const {
  if (app_.help_file.find('\\') != std::string::npos) return app_.help_file;
  if (app_.program_dir.empty() || app_.program_dir.back() == '\\') return app_.program_dir + app_.help_file;
  return app_.program_dir + "\\" + app_.help_file;
}

void cuAppError::BuildErrorText(const KrvError& error, const std::string& source, const std::string& proc,
                                std::string* caption, std::string* text) const {
  caption->clear();
  text->clear();
  if (err_level_ <= 0) return;
  if (err_level_ == 2) {
    if (error.line != 0) *text = "Zeile: " + std::to_string(error.line);
    const std::string foreign = IEquals(error.source, project_name_) ? std::string() : error.source;
    std::string location = JoinSources(foreign, source);
    if (!proc.empty()) location = location.empty() ? proc : location + ": " + proc;
    if (!location.empty()) *text = text->empty() ? location : *text + kCrLf + location;
  }
  *text = text->empty() ? error.description : *text + kCrLf + kCrLf + error.description;
  *caption = app_name_ + " <Fehler Nr. " + std::to_string(error.number) + ">";
}

void cuAppError::ErrMsg(const std::string& source, const std::string& proc, const std::string& help_file,
                        int32_t help_context) {
  if (err_level_ <= 0) return;
  std::string caption, text;
  BuildErrorText(CurrentError(), source, proc, &caption, &text);
  // The dialog interface takes no help file: with a help context the box gets its help button only.
  (void)help_file;
  const int style = help_context > -1 ? kStyleCriticalHelp : kStyleCritical;
  SaveMousePointers();
  dialogs_.MessageBox(text, caption, style);
}

std::string cuAppError::ErrString(const std::string& source, const std::string& proc) const {
  std::string caption, text;
  BuildErrorText(CurrentError(), source, proc, &caption, &text);
  return caption + kCrLf + text;
}

void cuAppError::ErrRaise(int32_t number, const std::string& source, const std::string& proc,
                          const std::string& description, MsgArg arg1, MsgArg arg2, MsgArg arg3, MsgArg arg4,
                          int32_t help_context, const std::string& help_file) {
  const KrvError current = CurrentError();
  if (number == 0 && current.number == 0) return;
  const std::string foreign = IEquals(current.source, project_name_) ? std::string() : current.source;

  // Nothing in here may replace the error being raised: failures keep the value so far.
  std::string desc = description;
  if (number < 0) {
    try {
      desc = Z_LoadMsg(number);
    } catch (...) {
    }
    const int64_t raised = static_cast<int64_t>(number) + kMsgErrorBase + err_offset_;
    if (raised >= std::numeric_limits<int32_t>::min() && raised <= std::numeric_limits<int32_t>::max()) {
      number = static_cast<int32_t>(raised);
    }
  } else if (number == 0) {
    number = current.number;
  }
  desc = desc.empty() ? current.description : MsgParse(desc, arg1, arg2, arg3, arg4);
  if (desc.empty()) desc = "Keine Fehlerbeschreibung verfügbar.";

  std::string src = JoinSources(foreign, source);
  if (!proc.empty()) {
    src = src.empty() ? proc : src + ": " + proc;
    if (current.line != 0) src += " (" + std::to_string(current.line) + ")";
  }
  std::string help = help_file;
  if (help_context > 0 && help.empty()) help = DefaultHelpFile();
  SaveMousePointers();
  throw KrvError(number, src, desc, help, help_context);
}

void cuAppError::ErrStore() {
  const KrvError current = CurrentError();
  stored_description_ = current.description;
  stored_number_ = current.number;
  stored_source_ = current.source;
  stored_line_ = current.line;
}

void cuAppError::ErrRaiseStored(const std::string& source, const std::string& proc) {
  std::string src = source.empty() ? stored_source_ : JoinSources(stored_source_, source);
  if (!proc.empty()) src += ": " + proc;
  if (stored_line_ > 0) {
    const std::string line = std::to_string(stored_line_);
    src = src.empty() ? "Zeile " + line : src + " (" + line + ")";
  }
  SaveMousePointers();
  // Raising "no error" would be lost by the next handler; report it as a wrong call instead.
  if (stored_number_ == 0) {
    throw KrvError(
        kErrInvalidCall, src,
        stored_description_.empty() ? "Ungültiger Prozeduraufruf oder ungültiges Argument." : stored_description_);
  }
  throw KrvError(stored_number_, src, stored_description_);
}

}  // namespace krv

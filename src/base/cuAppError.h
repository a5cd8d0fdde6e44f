// The message and error service: loads the numbered German messages, fills
// their placeholders, shows message boxes, and passes errors up with a source
// that grows by one procedure per handler it crosses.
//
// Error convention: a procedure's error handler is a catch that re-raises
// through ErrRaise with its class or module name and its own name:
//
//   try { ... } catch (...) { oErr.ErrRaise(0, "cApp", "CheckActiveX"); }
//
// A procedure that fails with a message raises the negative message id:
//
//   oErr.ErrRaise(-207, "cApp", "CheckActiveX", "", dll_name);
//
// The "current error" of ErrRaise, ErrMsg, ErrString, ErrStore and
// cmnShowFatalError is the exception being handled (std::current_exception),
// so they belong inside a catch block; outside one there is no current error.
#pragma once

#include <concepts>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/Dialogs.h"
#include "base/KrvError.h"
#include "base/MessageIds.h"

namespace krv {

// Caption of every message box unless a caller gives its own.
inline constexpr char kAppTitle[] = "KORVELLA II.5 Startprogramm";
// The application's help file; a bare name lives in the program folder.
inline constexpr char kAppHelpFile[] = "krvrun25.chm";
// Source that errors raised by the program itself carry; not shown as foreign.
inline constexpr char kProjectName[] = "KrvRun25";
inline constexpr char kCrLf[] = "\r\n";

// A message raised as error gets the number id + kMsgErrorBase + ErrOffset
// (the id is negative: -207 becomes -2147221711).
inline constexpr int32_t kMsgErrorBase = -2147221504;  // 0x80040000 as signed
// Raised by Z_LoadMsg for an id outside the message array (0x80040001).
inline constexpr int32_t kErrNoMessage = -2147221503;
// Raised for an id that the message table does not hold.
inline constexpr int32_t kErrResourceNotFound = 326;
// Given to an exception in flight that carries no number of its own.
inline constexpr int32_t kErrInvalidCall = 5;
inline constexpr int32_t kErrOutOfMemory = 7;

inline constexpr int kMousePointerDefault = 0;
inline constexpr int kMousePointerHourglass = 11;

// A message argument: a text, a whole number, or absent (default). The first
// absent argument ends the filling of "##" placeholders.
class MsgArg {
 public:
  MsgArg() = default;
  MsgArg(std::nullopt_t) {}
  MsgArg(const char* text) : text_(text ? std::optional<std::string>(text) : std::nullopt) {}
  MsgArg(std::string text) : text_(std::move(text)) {}
  MsgArg(std::string_view text) : text_(std::string(text)) {}
  template <std::integral T>
  requires(!std::same_as<T, bool> && !std::same_as<T, char>) MsgArg(T number) : text_(std::to_string(number)) {}
  MsgArg(bool) = delete;

  bool present() const { return text_.has_value(); }
  const std::string& text() const { return *text_; }

 private:
  std::optional<std::string> text_;
};

// Something whose mouse pointer is set to the default around message boxes:
// a form, or the screen.
class MousePointerOwner {
 public:
  virtual ~MousePointerOwner() = default;
  virtual int MousePointer() const = 0;
  virtual void SetMousePointer(int pointer) = 0;
};

// What the application tells the service about itself.
struct AppInfo {
  std::string title = kAppTitle;         // default caption, part of error captions
  std::string help_file = kAppHelpFile;  // with a backslash: a full path
  std::string program_dir;               // folder of a bare help file name
};

// The in/out part of MsgShow.
struct MsgBoxParams {
  int32_t buttons = 0;        // style; out: with the help flag 16384 when it was added
  std::string text;           // when set: shown instead of the message; out: the text shown
  std::string title;          // empty: AppName; out: the caption used
  std::string help_file;      // out: the help file used
  int32_t help_context = -1;  // -1: no help
};

// Messages taken from an array instead of the message table; element i is
// message id `lower_bound + i`.
struct MsgArrayData {
  std::vector<std::string> items;
  int32_t lower_bound = 0;
};

class cuAppError {
 public:
  // `screen` may be null when there is no screen pointer to manage.
  cuAppError(Dialogs& dialogs, AppInfo app, MousePointerOwner* screen = nullptr);

  const std::string& AppName() const { return app_name_; }
  void SetAppName(std::string name) { app_name_ = std::move(name); }
  MousePointerOwner* ClientScreenObject() const { return client_screen_; }
  void SetClientScreenObject(MousePointerOwner* object) { client_screen_ = object; }
  // 0: errors are not shown; 1: description only; 2: line, location and description.
  int32_t ErrLevel() const { return err_level_; }
  void SetErrLevel(int32_t level) { err_level_ = level; }
  int32_t ErrOffset() const { return err_offset_; }
  void SetErrOffset(int32_t offset) { err_offset_ = offset; }
  const std::optional<MsgArrayData>& MsgArray() const { return msg_array_; }
  void SetMsgArray(std::optional<MsgArrayData> array) { msg_array_ = std::move(array); }
  const std::string& Projectname() const { return project_name_; }
  void SetProjectname(std::string name) { project_name_ = std::move(name); }

  // Shows the current error in a stop box (nothing with ErrLevel 0).
  void ErrMsg(const std::string& source = {}, const std::string& proc = {}, const std::string& help_file = {},
              int32_t help_context = -1);
  // Raises the current error again with `source: proc` added to its source,
  // or, with a negative `number`, message -number as a new error. Returns
  // without raising only when `number` is 0 and no error is in flight.
  void ErrRaise(int32_t number, const std::string& source, const std::string& proc, const std::string& description = {},
                MsgArg arg1 = {}, MsgArg arg2 = {}, MsgArg arg3 = {}, MsgArg arg4 = {}, int32_t help_context = 0,
                const std::string& help_file = {});
  // Raises the error saved by ErrStore (number 0 when none was saved).
  [[noreturn]] void ErrRaiseStored(const std::string& source, const std::string& proc);
  // Saves number, source, description and line of the current error.
  void ErrStore();
  // Caption, line break and text of the current error.
  std::string ErrString(const std::string& source = {}, const std::string& proc = {}) const;

  // Message `msg_number` (sign ignored) with its placeholders filled. Throws
  // KrvError for an id the table (or the message array) does not hold.
  std::string MsgLoad(int32_t msg_number, MsgArg arg1 = {}, MsgArg arg2 = {}, MsgArg arg3 = {}, MsgArg arg4 = {}) const;
  // "@@" becomes a line break, then each present argument in order fills the
  // first remaining "##".
  static std::string MsgParse(const std::string& text, MsgArg arg1 = {}, MsgArg arg2 = {}, MsgArg arg3 = {},
                              MsgArg arg4 = {});
  // Shows a message and returns the button pressed (1 OK, 2 Cancel, 6 Yes, 7 No).
  int MsgShow(int32_t msg_number, int32_t buttons, MsgArg arg1 = {}, MsgArg arg2 = {}, MsgArg arg3 = {},
              MsgArg arg4 = {});
  // The same with own text, caption and help; `box` tells what was used.
  int MsgShow(int32_t msg_number, MsgBoxParams& box, MsgArg arg1 = {}, MsgArg arg2 = {}, MsgArg arg3 = {},
              MsgArg arg4 = {});

  // The exception being handled as a KrvError; number 0 when none is.
  static KrvError CurrentError();

 private:
  struct Pointers {
    int screen = kMousePointerDefault;
    int client = kMousePointerDefault;
  };

  std::string Z_LoadMsg(int32_t number) const;
  void BuildErrorText(const KrvError& error, const std::string& source, const std::string& proc, std::string* caption,
                      std::string* text) const;
  Pointers SaveMousePointers();
  std::string DefaultHelpFile() const;

  Dialogs& dialogs_;
  MousePointerOwner* screen_;
  AppInfo app_;

  MousePointerOwner* client_screen_ = nullptr;
  std::string app_name_;
  std::string stored_description_;
  std::string stored_source_;
  std::string project_name_ = kProjectName;
  int32_t err_level_ = 2;
  int32_t stored_number_ = 0;
  int32_t stored_line_ = 0;
  int32_t err_offset_ = 0;
  std::optional<MsgArrayData> msg_array_;
};

}  // namespace krv

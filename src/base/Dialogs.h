// Message boxes with the Windows style numbers (16 stop, 48 exclamation,
// 64 information, 32 question; buttons 0 OK, 1 OK/Cancel, 3 Yes/No/Cancel,
// 4 Yes/No; 256 second button default; 16384 help) returning the answer
// numbers (1 OK, 2 Cancel, 6 Yes, 7 No).
#pragma once

#include <string>

namespace krv {

enum MsgStyle : int {
  kMbOk = 0,
  kMbOkCancel = 1,
  kMbYesNoCancel = 3,
  kMbYesNo = 4,
  kMbIconStop = 16,
  kMbIconQuestion = 32,
  kMbIconExclamation = 48,
  kMbIconInformation = 64,
  kMbDefButton2 = 256,
  kMbHelp = 16384,
};

enum MsgAnswer : int { kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7 };

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual int MessageBox(const std::string& text, const std::string& caption, int style) = 0;
};

}  // namespace krv

// POSIX only: message boxes on the terminal.
#include "platform/posix/Dialogs_posix.h"

#include <iostream>
#include <string>
#include <vector>

#include "base/Text.h"

namespace krv {
namespace {

struct Button {
  const char* label;
  int answer;
};

// The buttons of the style's button group, with the labels of German Windows.
std::vector<Button> ButtonsFor(int style) {
  switch (style & 0xF) {
    case kMbOkCancel:
      return {{"OK", kIdOk}, {"Abbrechen", kIdCancel}};
    case 2:
      return {{"Abbrechen", 3}, {"Wiederholen", 4}, {"Ignorieren", 5}};
    case kMbYesNoCancel:
      return {{"Ja", kIdYes}, {"Nein", kIdNo}, {"Abbrechen", kIdCancel}};
    case kMbYesNo:
      return {{"Ja", kIdYes}, {"Nein", kIdNo}};
    case 5:
      return {{"Wiederholen", 4}, {"Abbrechen", kIdCancel}};
    default:
      return {{"OK", kIdOk}};
  }
}

const char* IconWord(int style) {
  switch (style & 0xF0) {
    case kMbIconStop:
      return "Fehler";
    case kMbIconQuestion:
      return "Frage";
    case kMbIconExclamation:
      return "Warnung";
    case kMbIconInformation:
      return "Information";
    default:
      return nullptr;
  }
}

// Line breaks of any kind become '\n'.
std::string TerminalText(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string Trim(const std::string& s) {
  const size_t begin = s.find_first_not_of(" \t\r\n");
  if (begin == std::string::npos) return "";
  return s.substr(begin, s.find_last_not_of(" \t\r\n") - begin + 1);
}

// The answer for `line`, the default for an empty one, 0 if none fits.
int AnswerFor(const std::string& line, const std::vector<Button>& buttons, int default_answer) {
  const std::string answer = Trim(line);
  if (answer.empty()) return default_answer;
  for (const auto& b : buttons) {
    if (IEquals(answer, b.label) || answer == std::to_string(b.answer)) return b.answer;
  }
  return 0;
}

}  // namespace

TerminalDialogs::TerminalDialogs() : TerminalDialogs(std::cin, std::cerr) {}

int TerminalDialogs::MessageBox(const std::string& text, const std::string& caption, int style) {
  const std::vector<Button> buttons = ButtonsFor(style);
  const size_t default_index = static_cast<size_t>((style >> 8) & 0xF);
  const Button& preset = buttons[default_index < buttons.size() ? default_index : 0];
  std::string choices, names;
  for (size_t k = 0; k < buttons.size(); ++k) {
    choices += std::string(k ? " " : "") + "[" + buttons[k].label + "=" + std::to_string(buttons[k].answer) + "]";
    names += std::string(k == 0 ? "" : k + 1 == buttons.size() ? " oder " : ", ") + buttons[k].label;
  }
  out_ << "\n== " << caption << " ==\n";
  if (const char* icon = IconWord(style)) out_ << icon << ":\n";
  out_ << TerminalText(text) << "\n";
  for (;;) {
    out_ << choices << ", Vorgabe " << preset.label << ": " << std::flush;
    std::string line;
    if (!std::getline(in_, line)) {
      out_ << preset.label << std::endl;  // no more input: the default button
      return preset.answer;
    }
    if (const int answer = AnswerFor(line, buttons, preset.answer)) return answer;
    out_ << "Bitte " << names << " eingeben.\n";
  }
}

}  // namespace krv

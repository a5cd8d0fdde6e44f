// POSIX only: tests of the terminal message box with scripted input.
#include "platform/posix/Dialogs_posix.h"

#include <gtest/gtest.h>

#include <sstream>

namespace krv {
namespace {

TEST(TerminalDialogsTest, AnswersByNameNumberDefaultOrEndOfInput) {
  const struct {
    int style;
    const char* input;
    int answer;
  } cases[] = {
      {kMbOkCancel, "  ABBRECHEN \r\n", kIdCancel},
      {kMbYesNo, "7\n", kIdNo},
      {kMbYesNo | kMbIconQuestion | kMbDefButton2, "\n", kIdNo},  // 292: Enter takes the default
      {kMbYesNoCancel | kMbIconQuestion, "", kIdYes},             // 35
      {kMbYesNo, "vielleicht\n2\nnein\n", kIdNo},                 // 2 is no button here: asked again
      {kMbYesNo, "vielleicht\n", kIdYes},                         // asked again, then the input ends
      {kMbOk | 512, "", kIdOk},                                   // a third default where there is none: the first
  };
  for (const auto& c : cases) {
    std::istringstream in(c.input);
    std::ostringstream out;
    EXPECT_EQ(TerminalDialogs(in, out).MessageBox("Text", "Titel", c.style), c.answer) << c.style << " " << c.input;
  }
}

TEST(TerminalDialogsTest, ShowsCaptionIconTextAndGermanButtons) {
  std::istringstream in("egal\n");
  std::ostringstream out;
  EXPECT_EQ(
      TerminalDialogs(in, out).MessageBox("Zeile eins\r\nZeile zwei", "KORVELLA", kMbYesNoCancel | kMbIconExclamation),
      kIdYes);
  const std::string shown = out.str();
  for (const char* part : {"== KORVELLA ==", "Warnung:", "Zeile eins\nZeile zwei\n", "[Ja=6] [Nein=7] [Abbrechen=2]",
                           "Vorgabe Ja", "Bitte Ja, Nein oder Abbrechen eingeben."}) {
    EXPECT_NE(shown.find(part), std::string::npos) << part << "\n" << shown;
  }
  EXPECT_EQ(shown.find('\r'), std::string::npos);
}

}  // namespace
}  // namespace krv

// POSIX only: tests of the terminal input decoder.
#include "ui/posix/TerminalInput_posix.h"

#include <gtest/gtest.h>

#include "ui/MenuView.h"

namespace krv {
namespace {

using T = TermInput::Type;

TermInput K(int32_t key, int32_t shift = 0) {
  TermInput in;
  in.key = key;
  in.shift = shift;
  return in;
}
TermInput M(T type, int16_t button, int32_t col, int32_t row, int32_t shift = 0) {
  TermInput in;
  in.type = type;
  in.button = button;
  in.col = col;
  in.row = row;
  in.shift = shift;
  return in;
}
TermInput E(T type) { return TermInput{type}; }

std::string Describe(const std::vector<TermInput>& v) {
  std::string s;
  for (const auto& in : v) {
    s += "{" + std::to_string(static_cast<int>(in.type)) + " k" + std::to_string(in.key) + " s" +
         std::to_string(in.shift) + " b" + std::to_string(in.button) + " " + std::to_string(in.col) + "," +
         std::to_string(in.row) + "}";
  }
  return s;
}

// Feeds everything at once, then once more byte by byte: sequences split
// anywhere must decode alike. Flush ends the input.
std::vector<TermInput> Decode(const std::string& bytes) {
  std::vector<TermInput> whole, pieces;
  TerminalInputDecoder a, b;
  a.Feed(bytes, whole);
  a.Flush(whole);
  for (const char c : bytes) b.Feed(std::string(1, c), pieces);
  b.Flush(pieces);
  EXPECT_EQ(Describe(whole), Describe(pieces)) << "split decodes differently: " << bytes;
  return whole;
}

TEST(TerminalInputTest, DecodesKeys) {
  const struct Case {
    const char* name;
    std::string bytes;
    std::vector<TermInput> want;
  } cases[] = {
      {"tab", "\t", {K(kKeyTab)}},
      {"shift tab", "\x1b[Z", {K(kKeyTab, kShiftBit)}},
      {"cr", "\r", {K(kKeyEnter)}},
      {"lf", "\n", {K(kKeyEnter)}},
      {"crlf is one enter", "\r\n", {K(kKeyEnter)}},
      {"two lf are two", "\n\n", {K(kKeyEnter), K(kKeyEnter)}},
      {"lf cr lf", "\n\r\n", {K(kKeyEnter), K(kKeyEnter)}},
      {"lone escape", "\x1b", {K(kKeyEscape)}},
      {"two escapes", "\x1b\x1b", {K(kKeyEscape), K(kKeyEscape)}},
      {"csi up down", "\x1b[A\x1b[B", {K(kKeyUp), K(kKeyDown)}},
      {"ss3 up down", "\x1bOA\x1bOB", {K(kKeyUp), K(kKeyDown)}},
      {"ctrl up", "\x1b[1;5A", {K(kKeyUp, kCtrlBit)}},
      {"lower letter", "b", {K('B')}},
      {"upper letter", "B", {K('B')}},
      {"digit and space", "4 ", {K('4'), K(kKeySpace)}},
      {"alt letter",
       "\x1b"
       "c",
       {K('C', kAltBit)}},
      {"alt upper letter",
       "\x1b"
       "F",
       {K('F', kAltBit)}},
      {"alt o after wait", "\x1bO", {K('O', kAltBit)}},
      {"alt o then enter", "\x1bO\r", {K('O', kAltBit), K(kKeyEnter)}},
      {"escape then ctrl c", "\x1b\x03", {K(kKeyEscape), E(T::kInterrupt)}},
      {"ctrl c", "\x03", {E(T::kInterrupt)}},
      {"ctrl d", "\x04", {E(T::kEndOfInput)}},
      {"ctrl letter", "\x01", {K('A', kCtrlBit)}},
      {"backspace", "\x7f", {K(kKeyBack)}},
      {"shift f10", "\x1b[21;2~", {K(kKeyF10, kShiftBit)}},
      {"menu key", "\x1b[29~", {K(kKeyApps)}},
      {"f2 forms", "\x1bOQ\x1b[12~\x1b[[B", {K(kKeyF2), K(kKeyF2), K(kKeyF2)}},
      {"shift f2 ss3", "\x1bO2Q", {K(kKeyF2, kShiftBit)}},
      {"keypad enter", "\x1bOM", {K(kKeyEnter)}},
      {"umlaut skipped", "\xc3\xa4x", {K('X')}},
      {"unknown csi swallowed",
       "\x1b[?1;2c"
       "a",
       {K('A')}},
      {"punctuation ignored", "+-", {}},
      {"broken csi dropped", "\x1b[1\x1b[A", {K(kKeyUp)}},
      {"half csi dropped at the end", "\x1b[1;", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(Describe(Decode(c.bytes)), Describe(c.want)) << c.name;
}

TEST(TerminalInputTest, DecodesMouseAndFocusReports) {
  const struct Case {
    const char* name;
    std::string bytes;
    std::vector<TermInput> want;
  } cases[] = {
      {"left press", "\x1b[<0;10;5M", {M(T::kMousePress, kLeftButton, 9, 4)}},
      {"left release", "\x1b[<0;10;5m", {M(T::kMouseRelease, kLeftButton, 9, 4)}},
      {"right press", "\x1b[<2;1;1M", {M(T::kMousePress, kRightButton, 0, 0)}},
      {"middle release", "\x1b[<1;3;4m", {M(T::kMouseRelease, 4, 2, 3)}},
      {"move without button", "\x1b[<35;80;24M", {M(T::kMouseMove, 0, 79, 23)}},
      {"drag with left", "\x1b[<32;2;2M", {M(T::kMouseMove, kLeftButton, 1, 1)}},
      {"ctrl click", "\x1b[<16;2;2M", {M(T::kMousePress, kLeftButton, 1, 1, kCtrlBit)}},
      {"wheel ignored", "\x1b[<64;2;2M\x1b[<65;2;2M", {}},
      {"large coordinates", "\x1b[<0;300;200M", {M(T::kMousePress, kLeftButton, 299, 199)}},
      {"zero coordinates clamp", "\x1b[<0;0;0M", {M(T::kMousePress, kLeftButton, 0, 0)}},
      {"too few fields", "\x1b[<0;5M", {}},
      {"x10 press release",
       "\x1b[M #%\x1b[M##%",
       {M(T::kMousePress, kLeftButton, 2, 4), M(T::kMouseRelease, kLeftButton, 2, 4)}},
      {"focus in", "\x1b[I", {E(T::kFocusIn)}},
      {"focus out", "\x1b[O", {E(T::kFocusOut)}},
      {"report between keys", "a\x1b[<0;1;1Mb", {K('A'), M(T::kMousePress, kLeftButton, 0, 0), K('B')}},
  };
  for (const auto& c : cases) EXPECT_EQ(Describe(Decode(c.bytes)), Describe(c.want)) << c.name;
}

TEST(TerminalInputTest, EscapeWaitsForTheRestUntilFlushed) {
  TerminalInputDecoder d;
  std::vector<TermInput> out;
  d.Feed("\x1b", out);
  EXPECT_TRUE(out.empty());
  EXPECT_TRUE(d.Pending());
  d.Feed("[", out);
  d.Feed("<0;5", out);
  EXPECT_TRUE(out.empty());
  d.Feed(";6M", out);
  EXPECT_EQ(Describe(out), Describe({M(T::kMousePress, kLeftButton, 4, 5)}));
  EXPECT_FALSE(d.Pending());
  out.clear();
  d.Feed("\x1b", out);
  d.Flush(out);
  d.Feed("b", out);  // after the wait a letter is a letter, not Alt
  EXPECT_EQ(Describe(out), Describe({K(kKeyEscape), K('B')}));
}

TEST(TerminalInputTest, EndlessSequencesAreDroppedWithoutGrowing) {
  TerminalInputDecoder d;
  std::vector<TermInput> out;
  d.Feed("\x1b[", out);
  for (int i = 0; i < 1000; ++i) d.Feed("1", out);
  // What is left decodes as the digits they are, not as one huge sequence.
  EXPECT_GT(out.size(), 900u);
  for (const auto& in : out) EXPECT_EQ(in.key, '1');
}

}  // namespace
}  // namespace krv

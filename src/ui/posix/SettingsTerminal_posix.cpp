// POSIX only: the settings dialog drawn on the shared terminal.
#include "ui/posix/SettingsTerminal_posix.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "base/Text.h"
#include "ui/PathCompletion.h"
#include "ui/ViewEvent.h"
#include "ui/posix/TerminalLoop_posix.h"

namespace krv {
namespace {

// Colours (0xRRGGBB): the classic dialog face, fields, selection.
constexpr uint32_t kFace = 0xC0C0C0;
constexpr uint32_t kInk = 0x000000;
constexpr uint32_t kGrey = 0x808080;
constexpr uint32_t kField = 0xFFFFFF;
constexpr uint32_t kSelect = 0x000080;
constexpr uint32_t kSelectInk = 0xFFFFFF;
constexpr uint32_t kWarn = 0x800000;

// Layout, relative to the box.
constexpr int kBoxWidth = 78;
constexpr int kBoxHeight = 22;
constexpr int kFrameCol = 2;
constexpr int kFrameWidth = 74;
constexpr int kInnerCol = 4;
constexpr int kBackendFrameRow = 2;
constexpr int kListRow = 4;
constexpr int kListWidth = 44;
constexpr int kBrowseCol = 49;
constexpr int kCompressCol = 55;
constexpr int kReasonRow = 5;
constexpr int kUpdateFrameRow = 8;
constexpr int kDaysRow = 9;
constexpr int kDaysWidth = 7;
constexpr int kPromptRow = 13;
constexpr int kStatusRow = 18;
constexpr int kButtonRow = 19;
constexpr int kHintRow = 20;
constexpr int kListShown = 8;  // entries of the opened list
constexpr size_t kDaysMax = 10;
constexpr char kBrowseText[] = "[...]";
constexpr char kHint[] = "Tab wechseln  Enter/Alt+↓ Liste öffnen  Alt+O OK  Alt+S/Esc Schließen";
constexpr char kPromptTitle[] = " Backend-Datei wählen: Tab ergänzt, Enter übernimmt, Esc bricht ab ";

int BoxLeft(int cols) { return std::max(0, (cols - kBoxWidth) / 2); }
int BoxTop(int rows) { return std::max(0, (rows - kBoxHeight) / 2); }

std::string Caption(const char* text, int* mnemonic) {
  std::string out;
  *mnemonic = -1;
  for (const char* p = text; *p; ++p) {
    if (*p == '&' && p[1]) {
      *mnemonic = static_cast<int>(Glyphs(out).size());
      ++p;
    }
    out += *p;
  }
  return out;
}

int Width(const std::string& text) { return static_cast<int>(Glyphs(text).size()); }

struct Place {
  int col, row, width;
  bool Hit(int c, int r) const { return r == row && c >= col && c < col + width; }
};

// Where each control sits, relative to the box; the buttons right-aligned.
Place ControlPlace(TerminalSettings::Control c) {
  switch (c) {
    case TerminalSettings::kList:
      return {kInnerCol, kListRow, kListWidth};
    case TerminalSettings::kBrowse:
      return {kBrowseCol, kListRow, Width(kBrowseText)};
    case TerminalSettings::kCompress:
      return {kCompressCol, kListRow, Width(kSettingsCompressCaption) + 2};
    case TerminalSettings::kDays:
      return {kInnerCol, kDaysRow, kDaysWidth};
    default:
      break;
  }
  int col = kFrameCol + kFrameWidth;
  for (int b = 2; b >= 0; --b) {
    int mnemonic = 0;
    const int w = Width(Caption(kSettingsButtons[b].caption, &mnemonic)) + 4;
    col -= w + (b == 2 ? 0 : 1);
    if (b == c - TerminalSettings::kAdmin) return {col, kButtonRow, w};
  }
  return {0, 0, 0};
}

}  // namespace

TerminalSettings::TerminalSettings(SettingsEvents& events, FileSystem& fs, std::istream& plain_in, int in_fd,
                                   int out_fd, TerminalSettings** waiting)
    : events_(&events), fs_(fs), plain_in_(plain_in), terminal_(in_fd, out_fd), waiting_(waiting) {}

TerminalSettings::~TerminalSettings() {
  if (waiting_ && *waiting_ == this) *waiting_ = nullptr;
  Close();
  *alive_ = false;
}

template <typename F>
bool TerminalSettings::Emit(F&& f) {
  return FireViewEvent(alive_, closed_, *events_, f);
}

void TerminalSettings::SetCaption(const std::string& caption) { Change(caption_, caption); }

void TerminalSettings::SetBackends(const std::vector<std::string>& paths) {
  backends_ = paths;
  selected_ = -1;
  list_open_ = false;
  dirty_ = true;
}

void TerminalSettings::SelectBackend(int32_t index) {
  selected_ = index >= 0 && static_cast<size_t>(index) < backends_.size() ? index : -1;
  dirty_ = true;
}

void TerminalSettings::SetDays(const std::string& text) {
  days_ = text;
  days_cursor_ = days_.size();
  dirty_ = true;
}

void TerminalSettings::Show(bool modal) {
  if (closed_ || shown_) return;
  shown_ = true;
  terminal_.Open();
  if (modal || !waiting_) {
    Serve();  // without a host loop to wait for, a modeless dialog is served at once
  } else {
    *waiting_ = this;
    dirty_ = true;
  }
}

void TerminalSettings::Serve() {
  if (!IsVisible()) return;
  if (!terminal_.interactive()) {
    ServePlain();
    return;
  }
  const std::shared_ptr<bool> alive = alive_;
  const bool served = ServeTerminal(
      terminal_, [this](const TermInput& in) { HandleInput(in); }, [this] { Render(); }, [this] { return closed_; },
      alive);
  if (*alive && !served && !closed_) Emit([](SettingsEvents& e) { e.QueryUnload(kUnloadByWindows); });
  if (*alive) Close();
}

void TerminalSettings::Close() {
  if (closed_) return;
  closed_ = true;
  prompt_open_ = false;
  if (!shown_) return;
  shown_ = false;
  const bool interactive = terminal_.interactive();
  terminal_.Close();
  if (interactive) RedrawTerminalMenus();
}

// ---- Input -----------------------------------------------------------------------

void TerminalSettings::HandleInput(const TermInput& in) {
  if (!IsVisible()) return;
  dirty_ = true;
  switch (in.type) {
    case TermInput::Type::kKey:
      if (prompt_open_) return PromptKey(in);
      if (list_open_) return ListKey(in);
      return HandleKey(in);
    case TermInput::Type::kMousePress:
      if (!prompt_open_ && in.button == kLeftButton) HandleMouse(in);
      return;
    case TermInput::Type::kInterrupt:
    case TermInput::Type::kEndOfInput:
      if (prompt_open_) {
        prompt_open_ = false;
        prompt_result_.reset();
        return;
      }
      Emit([](SettingsEvents& e) { e.QueryUnload(kUnloadByUser); });
      return;
    default:
      return;
  }
}

void TerminalSettings::HandleKey(const TermInput& in) {
  const int32_t key = in.key, shift = in.shift;
  // The form sees every key first.
  if (key != 0 && !Emit([key, shift](SettingsEvents& e) { e.KeyDown(key, shift); })) return;
  if (key == kKeyTab) return MoveFocus((shift & kShiftBit) ? -1 : 1);
  switch (focus_) {
    case kList:
      if (key == kKeyEnter || (key == kKeyDown && (shift & kAltBit))) Activate(kList);
      return;
    case kDays:
      return DaysKey(in);
    default:
      if ((key == kKeyEnter || key == kKeySpace) && !(shift & (kAltBit | kCtrlBit))) Activate(focus_);
      return;
  }
}

void TerminalSettings::MoveFocus(int step) {
  int32_t next = focus_;
  for (int i = 0; i < kControlCount; ++i) {
    next = (next + step + kControlCount) % kControlCount;
    if (enabled_[next]) break;
  }
  focus_ = static_cast<Control>(next);
}

void TerminalSettings::Activate(Control c) {
  if (!enabled_[c]) return;
  focus_ = c;
  switch (c) {
    case kList:
      if (backends_.empty()) return;
      list_open_ = true;
      list_hot_ = std::max(selected_, 0);
      return;
    case kBrowse:
      Emit([](SettingsEvents& e) { e.BrowseClick(); });
      return;
    case kCompress:
      Emit([](SettingsEvents& e) { e.CompressClick(); });
      return;
    case kDays:
      return;
    default: {
      const std::string key = kSettingsButtons[c - kAdmin].key;
      Emit([&key](SettingsEvents& e) { e.ButtonClick(key); });
      return;
    }
  }
}

void TerminalSettings::ListKey(const TermInput& in) {
  const auto count = static_cast<int32_t>(backends_.size());
  if (in.key == kKeyUp && !(in.shift & kAltBit)) {
    list_hot_ = std::max(0, list_hot_ - 1);
  } else if (in.key == kKeyDown) {
    list_hot_ = std::min(count - 1, list_hot_ + 1);
  } else if (in.key == kKeyEnter || in.key == kKeySpace) {
    Pick(list_hot_);
  } else if (in.key == kKeyEscape || in.key == kKeyTab || in.key == kKeyUp) {
    list_open_ = false;
  }
}

void TerminalSettings::Pick(int32_t index) {
  list_open_ = false;
  if (index < 0 || static_cast<size_t>(index) >= backends_.size()) return;
  selected_ = index;
  Emit([](SettingsEvents& e) { e.BackendClick(); });
}

void TerminalSettings::DaysKey(const TermInput& in) {
  const std::vector<std::string> glyphs = Glyphs(days_.substr(0, days_cursor_));
  const size_t before = glyphs.empty() ? 0 : glyphs.back().size();
  bool changed = false;
  if (!in.text.empty() && in.key != kKeySpace) {
    if (days_.size() + in.text.size() > kDaysMax) return;
    days_.insert(days_cursor_, in.text);
    days_cursor_ += in.text.size();
    changed = true;
  } else if (in.key == kKeyBack && days_cursor_ > 0) {
    days_.erase(days_cursor_ - before, before);
    days_cursor_ -= before;
    changed = true;
  } else if (in.key == kKeyDelete && days_cursor_ < days_.size()) {
    days_.erase(days_cursor_, Glyphs(days_.substr(days_cursor_)).front().size());
    changed = true;
  } else if (in.key == kKeyLeft) {
    days_cursor_ -= before;
  } else if (in.key == kKeyRight && days_cursor_ < days_.size()) {
    days_cursor_ += Glyphs(days_.substr(days_cursor_)).front().size();
  } else if (in.key == kKeyHome) {
    days_cursor_ = 0;
  } else if (in.key == kKeyEnd) {
    days_cursor_ = days_.size();
  }
  if (changed) Emit([](SettingsEvents& e) { e.DaysChange(); });
}

void TerminalSettings::HandleMouse(const TermInput& in) {
  const int c = in.col - BoxLeft(terminal_.cols()), r = in.row - BoxTop(terminal_.rows());
  if (list_open_) {
    const Place list = ControlPlace(kList);
    const int entry = r - (list.row + 1);
    if (c >= list.col && c < list.col + list.width && entry >= 0 && entry < kListShown) {
      const int32_t first = std::max(0, list_hot_ - (kListShown - 1));
      Pick(first + entry);
    } else {
      list_open_ = false;
    }
    return;
  }
  for (int32_t i = 0; i < kControlCount; ++i) {
    const auto control = static_cast<Control>(i);
    if (!ControlPlace(control).Hit(c, r) || !enabled_[i]) continue;
    focus_ = control;
    if (control != kDays) Activate(control);
    return;
  }
}

// ---- The file prompt -------------------------------------------------------------

std::optional<std::string> TerminalSettings::ChooseBackendFile(const std::string& current) {
  if (!IsVisible()) return std::nullopt;
  const size_t cut = current.find_last_of('\\');
  if (!terminal_.interactive()) {
    terminal_.Write("Pfad des Daten-Backends (leere Zeile bricht ab): ");
    std::string line;
    if (!std::getline(plain_in_, line)) return std::nullopt;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line.empty() ? std::nullopt : std::optional<std::string>(line);
  }
  prompt_text_ = cut == std::string::npos ? std::string() : current.substr(0, cut + 1);
  prompt_candidates_.clear();
  prompt_result_.reset();
  prompt_open_ = true;
  dirty_ = true;
  const std::shared_ptr<bool> alive = alive_;
  ServeTerminal(
      terminal_, [this](const TermInput& in) { HandleInput(in); }, [this] { Render(); },
      [this] { return !prompt_open_ || closed_; }, alive);
  if (!*alive) return std::nullopt;
  prompt_open_ = false;
  dirty_ = true;
  return prompt_result_;
}

void TerminalSettings::PromptKey(const TermInput& in) {
  if (in.key == kKeyEnter) {
    if (!prompt_text_.empty()) prompt_result_ = prompt_text_;
    prompt_open_ = false;
  } else if (in.key == kKeyEscape) {
    prompt_open_ = false;
  } else if (in.key == kKeyTab) {
    PathCompletion done = CompletePath(fs_, prompt_text_);
    prompt_text_ = done.text;
    prompt_candidates_ = done.candidates.size() > 1 ? done.candidates : std::vector<std::string>();
  } else if (in.key == kKeyBack && !prompt_text_.empty()) {
    prompt_text_.resize(prompt_text_.size() - Glyphs(prompt_text_).back().size());
  } else if (!in.text.empty()) {
    prompt_text_ += in.text;
  }
}

// ---- Drawing ---------------------------------------------------------------------

void TerminalSettings::Render() {
  if (!IsVisible() || !dirty_ || TerminalsSuspended()) return;
  dirty_ = false;
  Terminal& t = terminal_;
  // Whole: a message box may have used the screen meanwhile.
  t.Clear(true);
  const int left = BoxLeft(t.cols()), top = BoxTop(t.rows());
  const auto text = [&](int col, int row, const std::string& s, int width, uint32_t fg, bool bold = false,
                        int underline = -1) { return t.Text(left + col, top + row, s, width, fg, bold, underline); };
  t.Fill(left, top, kBoxWidth, kBoxHeight, kInk, kFace);
  t.Frame(left, top, kBoxWidth, kBoxHeight, kInk);
  const std::string title = " " + caption_ + " ";
  text((kBoxWidth - Width(title)) / 2, 0, title, kBoxWidth - 2, kInk, true);

  t.Frame(left + kFrameCol, top + kBackendFrameRow, kFrameWidth, 6, kInk);
  text(kFrameCol + 2, kBackendFrameRow, std::string(" ") + kSettingsBackendFrame + " ", 20, kInk, true);
  text(kInnerCol, kBackendFrameRow + 1, kSettingsBackendLabel, kListWidth, kInk);
  const Place list = ControlPlace(kList);
  const bool list_focus = focus_ == kList && !prompt_open_;
  const uint32_t list_bg = list_focus ? kSelect : kField;
  const uint32_t list_ink = !enabled_[kList] ? kGrey : list_focus ? kSelectInk : kInk;
  t.Fill(left + list.col, top + list.row, list.width, 1, list_ink, list_bg);
  const std::string shown = selected_ >= 0 ? backends_[static_cast<size_t>(selected_)] : std::string();
  text(list.col + 1, list.row, FitEnd(shown, list.width - 4), list.width - 4, list_ink);
  text(list.col + list.width - 2, list.row, "▼", 1, list_ink);
  for (const Control c : {kBrowse, kCompress}) {
    const Place p = ControlPlace(c);
    const bool focus = focus_ == c && !prompt_open_;
    if (focus) t.Fill(left + p.col, top + p.row, p.width, 1, kSelectInk, kSelect);
    const std::string label =
        c == kBrowse ? std::string(kBrowseText) : "[" + std::string(kSettingsCompressCaption) + "]";
    text(p.col, p.row, label, p.width, !enabled_[c] ? kGrey : focus ? kSelectInk : kInk);
  }
  if (!reason_.empty()) text(kInnerCol, kReasonRow, reason_, kFrameWidth - 4, kWarn, true);

  t.Frame(left + kFrameCol, top + kUpdateFrameRow, kFrameWidth, 5, kInk);
  text(kFrameCol + 2, kUpdateFrameRow, std::string(" ") + kSettingsUpdateFrame + " ", 20, kInk, true);
  const Place days = ControlPlace(kDays);
  const bool days_focus = focus_ == kDays && !prompt_open_;
  t.Fill(left + days.col, top + days.row, days.width, 1, kInk, days_focus ? 0xFFFFE1 : kField);
  text(days.col + 1, days.row, days_, days.width - 2, kInk, false,
       days_focus ? static_cast<int>(Glyphs(days_.substr(0, days_cursor_)).size()) : -1);
  text(days.col + days.width + 2, days.row, kSettingsDaysLabel, kFrameWidth - days.width - 6, kInk);
  const std::vector<std::string> hint = WrapText(kSettingsDaysHint, kFrameWidth - 4);
  for (size_t i = 0; i < hint.size() && i < 2; ++i)
    text(kInnerCol, kDaysRow + 1 + static_cast<int>(i), hint[i], kFrameWidth - 4, kInk);

  for (int b = 0; b < 3; ++b) {
    const auto c = static_cast<Control>(kAdmin + b);
    const Place p = ControlPlace(c);
    const bool focus = focus_ == c && !prompt_open_;
    int mnemonic = -1;
    const std::string caption = Caption(kSettingsButtons[b].caption, &mnemonic);
    if (focus) t.Fill(left + p.col, top + p.row, p.width, 1, kSelectInk, kSelect);
    const uint32_t ink = !enabled_[c] ? kGrey : focus ? kSelectInk : kInk;
    text(p.col, p.row, "[ " + caption + " ]", p.width, ink, focus, mnemonic >= 0 ? mnemonic + 2 : -1);
  }
  std::string status;
  switch (focus_) {
    case kList:
      status = backend_tip_;
      break;
    case kBrowse:
      status = kSettingsBrowseTip;
      break;
    case kCompress:
      status = kSettingsCompressTip;
      break;
    case kDays:
      status = kSettingsDaysTip;
      break;
    default:
      status = kSettingsButtons[focus_ - kAdmin].tooltip;
      break;
  }
  text(kFrameCol, kStatusRow, FitEnd(status, kFrameWidth), kFrameWidth, kInk);
  text(kFrameCol, kHintRow, kHint, kFrameWidth, kGrey);
  if (prompt_open_) RenderPrompt();
  if (list_open_) RenderList();
  t.Present();
}

void TerminalSettings::RenderList() {
  Terminal& t = terminal_;
  const int left = BoxLeft(t.cols()), top = BoxTop(t.rows());
  const Place list = ControlPlace(kList);
  const int32_t first = std::max(0, list_hot_ - (kListShown - 1));
  for (int i = 0; i < kListShown && first + i < static_cast<int32_t>(backends_.size()); ++i) {
    const int32_t entry = first + i;
    const bool hot = entry == list_hot_;
    const int row = top + list.row + 1 + i;
    t.Fill(left + list.col, row, list.width, 1, hot ? kSelectInk : kInk, hot ? kSelect : kField);
    t.Text(left + list.col + 1, row, FitEnd(backends_[static_cast<size_t>(entry)], list.width - 2), list.width - 2,
           hot ? kSelectInk : kInk);
  }
}

void TerminalSettings::RenderPrompt() {
  Terminal& t = terminal_;
  const int left = BoxLeft(t.cols()) + kFrameCol, top = BoxTop(t.rows()) + kPromptRow;
  t.Fill(left, top, kFrameWidth, 4, kInk, kFace);
  t.Frame(left, top, kFrameWidth, 4, kInk);
  t.Text(left + 2, top, kPromptTitle, kFrameWidth - 4, kInk, true);
  t.Fill(left + 2, top + 1, kFrameWidth - 4, 1, kInk, kField);
  t.Text(left + 3, top + 1, FitEnd(prompt_text_, kFrameWidth - 7) + "▏", kFrameWidth - 6, kInk);
  std::string names;
  for (const std::string& c : prompt_candidates_) names += c + "  ";
  t.Text(left + 2, top + 2, names, kFrameWidth - 4, kGrey);
}

// ---- Plain lines -----------------------------------------------------------------

void TerminalSettings::PrintPlain() {
  std::string out = caption_ + "\n" + kSettingsBackendFrame + ":\n";
  for (size_t i = 0; i < backends_.size(); ++i) {
    out += std::string(static_cast<int32_t>(i) == selected_ ? "* " : "  ") + std::to_string(i + 1) + " " +
           backends_[i] + "\n";
  }
  if (backends_.empty()) out += "  (keines)\n";
  if (!reason_.empty()) out += "  " + reason_ + "\n";
  out += std::string(kSettingsUpdateFrame) + ": " + days_ + " " + kSettingsDaysLabel + "\n";
  out +=
      "Befehle: Nummer wählt ein Backend, B Backend-Datei wählen, K Komprimieren, T <Tage> Tage setzen, "
      "A Admin-Einstellungen, O OK";
  out += enabled_[kOk] ? "" : " (keine Änderungen)";
  out += ", S Schließen\n> ";
  terminal_.Write(out);
}

void TerminalSettings::ServePlain() {
  const std::shared_ptr<bool> alive = alive_;
  while (*alive && IsVisible()) {
    PrintPlain();
    std::string line;
    if (!std::getline(plain_in_, line)) {
      terminal_.Write("\n");
      // The end of the input closes the dialog like its close box; whatever
      // the questions answer, it does not stay open with nobody to serve it.
      if (Emit([](SettingsEvents& e) { e.QueryUnload(kUnloadByUser); }))
        Emit([](SettingsEvents& e) { e.QueryUnload(kUnloadByWindows); });
      break;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!PlainCommand(line)) terminal_.Write("Unbekannter Befehl: " + line + "\n");
  }
  if (*alive) Close();
}

bool TerminalSettings::PlainCommand(const std::string& line) {
  const std::string cmd = std::string(Trim(line));
  if (cmd.empty()) return true;
  const char first = static_cast<char>(cmd[0] & ~0x20);
  if (cmd[0] >= '1' && cmd[0] <= '9') {
    const size_t n = std::strtoul(cmd.c_str(), nullptr, 10);
    if (n < 1 || n > backends_.size()) return false;
    if (!enabled_[kList]) {
      terminal_.Write(reason_ + "\n");
      return true;
    }
    Pick(static_cast<int32_t>(n - 1));
    return true;
  }
  if (cmd.size() > 1 && first == 'T' && cmd[1] == ' ') {
    days_ = std::string(Trim(cmd.substr(2)));
    Emit([](SettingsEvents& e) { e.DaysChange(); });
    return true;
  }
  if (cmd.size() != 1) return false;
  const struct {
    char letter;
    Control control;
  } commands[] = {{'B', kBrowse}, {'K', kCompress}, {'A', kAdmin}, {'O', kOk}, {'S', kCancel}};
  for (const auto& c : commands) {
    if (c.letter != first) continue;
    if (!enabled_[c.control]) {
      terminal_.Write("Diese Schaltfläche ist nicht verfügbar.\n");
    } else {
      Activate(c.control);
    }
    return true;
  }
  return false;
}

}  // namespace krv

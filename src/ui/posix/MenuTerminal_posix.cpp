// POSIX only: the start menu drawn on the shared terminal.
#include "ui/posix/MenuTerminal_posix.h"

#include <algorithm>

#include "ui/ViewEvent.h"

namespace krv {
namespace {

// ---- Colours -----------------------------------------------------------------

// The classic Windows scheme's system colours (0xRRGGBB), by index.
constexpr uint32_t kSystemColors[] = {
    0xC0C0C0, 0x008080, 0x000080, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x000000, 0x000000, 0x000000,
    0xFFFFFF, 0xC0C0C0, 0xC0C0C0, 0x808080, 0x000080, 0xFFFFFF, 0xC0C0C0, 0x808080, 0x808080,
    0x000000, 0xC0C0C0, 0xFFFFFF, 0x000000, 0xC0C0C0, 0x000000, 0xFFFFE1,
};

// A colour of the form (0x00BBGGRR or a system colour) as 0xRRGGBB.
uint32_t ToRgb(uint32_t color) {
  if (IsSystemColor(color)) {
    const auto index = static_cast<size_t>(SystemColorIndex(color));
    return index < std::size(kSystemColors) ? kSystemColors[index] : 0x000000;
  }
  return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

int Luma(uint32_t rgb) { return (299 * (rgb >> 16) + 587 * ((rgb >> 8) & 0xFF) + 114 * (rgb & 0xFF)) / 1000; }
uint32_t Contrast(uint32_t rgb) { return Luma(rgb) < 128 ? 0xFFFFFF : 0x000000; }
uint32_t Mix(uint32_t a, uint32_t b) {
  uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) out |= ((((a >> shift) & 0xFF) + ((b >> shift) & 0xFF)) / 2) << shift;
  return out;
}

// Box background by skin picture: button face, a blue tone, a mid-dark grey;
// black and white captions both read on each.
uint32_t BackgroundRgb(const std::string& picture) {
  if (picture == "BACK1") return 0xB0C4DE;
  if (picture == "BACK2") return 0x706E6F;
  return kSystemColors[15];
}

// Nearest colour of the xterm 256-colour palette (cube or grey ramp).
// ---- Layout --------------------------------------------------------------------

constexpr int kBoxWidth = 58;
constexpr int kBoxHeight = 18;
constexpr int kIconCol = 3;  // from the box's left edge
constexpr int kIconWidth = 3;
constexpr int kLabelCol = 8;
constexpr int kLabelWidth = 16;
constexpr int kCountCol = kLabelCol + kLabelWidth + 1;
constexpr int kStatusRow = 15;  // tooltip; the key hint below it
constexpr int kPopupWidth = 22;
constexpr int kPopupHeight = 7;
const char* const kIcons[kMenuItemCount] = {"▶", "◆", "≡", "▼", "*", "×"};
constexpr char kKeyHint[] = "Tab/↑↓ wählen  Enter starten  Esc Abbrechen  F2 Menü";
constexpr char kPopupHint[] = "↑↓ wählen  Enter übernehmen  Esc schließen";

int BoxLeft(int cols) { return std::max(0, (cols - kBoxWidth) / 2); }
int BoxTop(int rows) { return std::max(0, (rows - kBoxHeight) / 2); }
int ItemRow(int32_t item) { return 2 + 2 * item; }

// A caption without its '&', and the position of the mnemonic letter (-1 if none).
std::string StripMnemonic(const std::string& caption, int* mnemonic) {
  std::string out;
  *mnemonic = -1;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) {
      if (caption[i + 1] != '&') *mnemonic = static_cast<int>(Glyphs(out).size());
      ++i;
    }
    out += caption[i];
  }
  return out;
}

std::vector<TerminalMenu*>& Registry() {
  static std::vector<TerminalMenu*> menus;
  return menus;
}

}  // namespace

// ---- Suspending -------------------------------------------------------------------

void SuspendTerminalMenus() { SuspendTerminals(); }

void ResumeTerminalMenus() {
  const bool was = TerminalsSuspended();
  ResumeTerminals();
  if (!was || TerminalsSuspended()) return;
  for (TerminalMenu* menu : Registry()) {
    if (menu->IsVisible() && menu->interactive()) menu->Redraw();
  }
}

bool TerminalMenusSuspended() { return TerminalsSuspended(); }

// ---- The menu ------------------------------------------------------------------

const std::vector<TerminalMenu*>& TerminalMenu::All() { return Registry(); }

TerminalMenu::TerminalMenu(const void* owner, MenuEvents& events, int in_fd, int out_fd)
    : owner_(owner), events_(&events), terminal_(in_fd, out_fd) {
  for (int32_t i = 0; i < kMenuItemCount; ++i) items_[static_cast<size_t>(i)].tooltip = kMenuItems[i].tooltip;
  Registry().push_back(this);
}

TerminalMenu::~TerminalMenu() {
  Close();
  *alive_ = false;
  auto& all = Registry();
  all.erase(std::remove(all.begin(), all.end(), this), all.end());
}

template <typename F>
bool TerminalMenu::Emit(F&& f) {
  return FireViewEvent(alive_, closed_, *events_, f);
}

void TerminalMenu::Show() {
  if (closed_ || shown_) return;
  shown_ = true;
  auto& all = Registry();
  all.erase(std::remove(all.begin(), all.end(), this), all.end());
  all.push_back(this);
  terminal_.Open();
  if (interactive()) {
    Redraw();
    return;
  }
  std::string list = std::string(kMenuCaption) + "\n";
  for (int32_t i = 0; i < kMenuItemCount; ++i) {
    int mnemonic = 0;
    const std::string caption = StripMnemonic(kMenuItems[i].caption, &mnemonic);
    list += "  " + caption +
            std::string(static_cast<size_t>(std::max(1, 16 - static_cast<int>(Glyphs(caption).size()))), ' ') +
            items_[static_cast<size_t>(i)].tooltip + "\n";
  }
  list += "Tasten: Tab/Pfeile wählen, Enter startet, Esc bricht ab, F2 Kontextmenü\n";
  terminal_.Write(list);
  FlushPlain();
}

void TerminalMenu::Close() {
  if (closed_) return;
  closed_ = true;
  timers_ = {};
  popup_open_ = false;
  if (!shown_) return;
  shown_ = false;
  terminal_.Close();
}

bool TerminalMenu::FocusItem(int32_t index) {
  if (!IsVisible() || index < 0 || index >= kMenuItemCount) return false;
  focused_ = index;
  dirty_ = true;
  return true;
}

void TerminalMenu::SetItemLook(int32_t index, uint32_t color, bool bold, bool second_icon_visible) {
  if (index < 0 || index >= kMenuItemCount) return;
  items_[static_cast<size_t>(index)] = {color, bold, second_icon_visible, items_[static_cast<size_t>(index)].tooltip};
  dirty_ = true;
}

void TerminalMenu::SetCountText(const std::string& text) {
  count_text_ = text;
  dirty_ = true;
}

void TerminalMenu::SetCountVisible(bool visible) {
  count_visible_ = visible;
  dirty_ = true;
}

void TerminalMenu::MoveCountToItem(int32_t index) {
  count_item_ = std::clamp(index, int32_t{0}, kMenuItemCount - 1);
  dirty_ = true;
}

void TerminalMenu::SetBackground(const std::optional<SkinBitmap>& picture) {
  background_ = picture ? std::string(picture->resource_name) : std::string();
  dirty_ = true;
}

void TerminalMenu::SetIconBackColor(uint32_t color) {
  icon_back_ = color;
  dirty_ = true;
}

void TerminalMenu::SetTimer(MenuTimer timer, int32_t interval_ms) {
  const size_t slot = timer == MenuTimer::kRun ? 0 : 1;
  if (closed_) return;
  timers_[slot].interval_ms = std::max(0, interval_ms);
  timers_[slot].due = Clock::now() + std::chrono::milliseconds(timers_[slot].interval_ms);
}

std::optional<TerminalMenu::Clock::time_point> TerminalMenu::NextTimerDue() const {
  std::optional<Clock::time_point> next;
  for (const Timer& t : timers_) {
    if (t.interval_ms > 0 && (!next || t.due < *next)) next = t.due;
  }
  return next;
}

void TerminalMenu::FireDueTimer(Clock::time_point now) {
  size_t slot = timers_[0].interval_ms > 0 ? 0 : 1;
  if (timers_[1].interval_ms > 0 && (timers_[0].interval_ms == 0 || timers_[1].due < timers_[0].due)) slot = 1;
  Timer& t = timers_[slot];
  if (t.interval_ms <= 0 || t.due > now) return;
  // A late tick does not pile up: the next one is a full interval away.
  t.due += std::chrono::milliseconds(t.interval_ms);
  if (t.due <= now) t.due = now + std::chrono::milliseconds(t.interval_ms);
  const MenuTimer which = slot == 0 ? MenuTimer::kRun : MenuTimer::kCount;
  Emit([which](MenuEvents& e) { e.Timer(which); });
}

void TerminalMenu::ShowContextMenu(bool auto_unload_checked, int32_t skin_checked) {
  if (!IsVisible()) return;
  popup_open_ = true;
  popup_auto_unload_ = auto_unload_checked;
  popup_skin_ = skin_checked;
  popup_selected_ = 0;
  if (last_input_was_mouse_) {
    popup_col_ = mouse_col_;
    popup_row_ = mouse_row_;
  } else {
    popup_col_ = BoxLeft(terminal_.cols()) + kLabelCol;
    popup_row_ = BoxTop(terminal_.rows()) + ItemRow(focused_ >= 0 ? focused_ : 0) + 1;
  }
  popup_col_ = std::max(0, std::min(popup_col_, terminal_.cols() - kPopupWidth));
  popup_row_ = std::max(0, std::min(popup_row_, terminal_.rows() - kPopupHeight));
  dirty_ = true;
  if (!interactive()) {
    std::string line = "Kontextmenü: 1 " + std::string(kMenuAutoUnloadText) + (auto_unload_checked ? " [x]" : " [ ]") +
                       ", " + kMenuSkinText + ":";
    for (int32_t s = 0; s < 3; ++s) {
      line += " " + std::to_string(s + 2) + " " + kMenuSkinNames[s] + (s == skin_checked ? " [x]" : " [ ]");
    }
    terminal_.Write(line + ", Esc schließt\n");
  }
}

void TerminalMenu::UserClose(UnloadMode mode) {
  if (!Emit([mode](MenuEvents& e) { e.QueryUnload(mode); })) return;
  Close();
}

// ---- Input -----------------------------------------------------------------------

void TerminalMenu::HandleInput(const TermInput& in) {
  if (!IsVisible()) return;
  switch (in.type) {
    case TermInput::Type::kKey:
      last_input_was_mouse_ = false;
      popup_open_ ? PopupKey(in) : HandleKey(in);
      break;
    case TermInput::Type::kMousePress:
    case TermInput::Type::kMouseRelease:
    case TermInput::Type::kMouseMove:
      mouse_col_ = in.col;
      mouse_row_ = in.row;
      last_input_was_mouse_ = true;
      popup_open_ ? PopupMouse(in) : HandleMouse(in);
      break;
    case TermInput::Type::kFocusIn:
    case TermInput::Type::kFocusOut: {
      const bool active = in.type == TermInput::Type::kFocusIn;
      if (!active) ClosePopup();
      Emit([active](MenuEvents& e) { e.AppActivated(active); });
      break;
    }
    case TermInput::Type::kInterrupt:
    case TermInput::Type::kEndOfInput:
      UserClose(kUnloadByUser);
      break;
  }
}

void TerminalMenu::HandleKey(const TermInput& in) {
  const int32_t key = in.key, shift = in.shift;
  if (!Emit([key, shift](MenuEvents& e) { e.KeyDown(key, shift); })) return;
  if (key == kKeySpace && (shift & (kAltBit | kCtrlBit)) == 0 && focused_ >= 0) {
    const int32_t item = focused_;
    Emit([item](MenuEvents& e) { e.FakeClick(item); });
    return;
  }
  const bool menu_key =
      (key == kKeyF10 && shift == kShiftBit) || (key == kKeyApps && shift == 0) || (key == kKeyF2 && shift == 0);
  if (menu_key) Emit([](MenuEvents& e) { e.BackgroundMouseUp(kRightButton); });
}

TerminalMenu::Hit TerminalMenu::HitTest(int32_t col, int32_t row) const {
  const int left = BoxLeft(terminal_.cols()), top = BoxTop(terminal_.rows());
  const int c = col - left, r = row - top;
  if (c < 0 || r < 0 || c >= kBoxWidth || r >= kBoxHeight) return {Hit::kOutside, -1};
  for (int32_t i = 0; i < kMenuItemCount; ++i) {
    if (r != ItemRow(i)) continue;
    if (c >= kIconCol && c < kIconCol + kIconWidth) return {Hit::kIcon, i};
    if (c >= kLabelCol && c < kLabelCol + kLabelWidth) return {Hit::kLabel, i};
  }
  return {Hit::kBackground, -1};
}

void TerminalMenu::HandleMouse(const TermInput& in) {
  const Hit hit = HitTest(in.col, in.row);
  const int32_t i = hit.index;
  const int16_t button = in.button;
  const size_t slot = static_cast<size_t>(std::clamp<int16_t>(button, 0, 4));
  switch (in.type) {
    case TermInput::Type::kMouseMove:
      if (hit.part == Hit::kLabel) {
        Emit([i](MenuEvents& e) { e.LabelMouseMove(i); });
      } else if (hit.part == Hit::kIcon) {
        const bool second = items_[static_cast<size_t>(i)].second_icon;
        Emit([i, second](MenuEvents& e) { second ? e.Icon2MouseMove(i) : e.Icon1MouseMove(i); });
      }
      break;
    case TermInput::Type::kMousePress:
      pressed_[slot] = hit;
      if (hit.part == Hit::kLabel) Emit([i, button](MenuEvents& e) { e.LabelMouseDown(i, button); });
      break;
    case TermInput::Type::kMouseRelease: {
      const Hit pressed = pressed_[slot];
      pressed_[slot] = Hit{};
      if (hit.part == Hit::kLabel && pressed == hit) {
        Emit([i](MenuEvents& e) { e.LabelClick(i); });
      } else if (hit.part == Hit::kIcon && pressed == hit) {
        Emit([i](MenuEvents& e) { e.Icon1Click(i); });
      } else if (hit.part == Hit::kBackground && (pressed.part == Hit::kBackground || pressed.part == Hit::kNone)) {
        Emit([button](MenuEvents& e) { e.BackgroundMouseUp(button); });
      }
      break;
    }
    default:
      break;
  }
}

// Entries: 0 auto-unload, 1 to 3 the skins; -1 none.
int TerminalMenu::PopupEntryAt(int32_t col, int32_t row) const {
  if (col <= popup_col_ || col >= popup_col_ + kPopupWidth - 1) return -1;
  const int r = row - popup_row_;
  if (r == 1) return 0;
  if (r >= 3 && r <= 5) return r - 2;
  return -1;
}

void TerminalMenu::PopupKey(const TermInput& in) {
  dirty_ = true;
  if (in.key == kKeyUp) {
    popup_selected_ = (popup_selected_ + 3) % 4;
  } else if (in.key == kKeyDown || (in.key == kKeyTab && in.shift == 0)) {
    popup_selected_ = (popup_selected_ + 1) % 4;
  } else if (in.key == kKeyEnter || in.key == kKeySpace) {
    ChoosePopupEntry(popup_selected_);
  } else if (in.key >= '1' && in.key <= '4') {
    ChoosePopupEntry(in.key - '1');
  } else if (in.key == kKeyEscape || in.key == kKeyF2 || in.key == kKeyApps || in.key == kKeyF10 ||
             in.key == kKeyLeft) {
    ClosePopup();
  }
}

void TerminalMenu::PopupMouse(const TermInput& in) {
  const int entry = PopupEntryAt(in.col, in.row);
  const bool inside = in.col >= popup_col_ && in.col < popup_col_ + kPopupWidth && in.row >= popup_row_ &&
                      in.row < popup_row_ + kPopupHeight;
  if (in.type == TermInput::Type::kMouseMove) {
    if (entry >= 0 && entry != popup_selected_) {
      popup_selected_ = entry;
      dirty_ = true;
    }
  } else if (in.type == TermInput::Type::kMouseRelease) {
    if (entry >= 0) {
      ChoosePopupEntry(entry);
    } else if (!inside) {
      ClosePopup();
    }
  } else if (!inside) {
    ClosePopup();  // a press elsewhere only closes the menu, as on Windows
    pressed_ = {};
    pressed_[static_cast<size_t>(std::clamp<int16_t>(in.button, 0, 4))] = Hit{Hit::kOutside, -1};
  }
}

void TerminalMenu::ChoosePopupEntry(int entry) {
  ClosePopup();
  if (entry == 0) {
    Emit([](MenuEvents& e) { e.ContextAutoUnload(); });
  } else if (entry >= 1 && entry <= 3) {
    Emit([entry](MenuEvents& e) { e.ContextSkin(entry - 1); });
  }
}

void TerminalMenu::ClosePopup() {
  if (!popup_open_) return;
  popup_open_ = false;
  dirty_ = true;
}

// ---- Drawing ---------------------------------------------------------------------

int32_t TerminalMenu::TooltipItem() const {
  for (int32_t i = 0; i < kMenuItemCount; ++i) {
    if (items_[static_cast<size_t>(i)].bold) return i;
  }
  return focused_;
}

void TerminalMenu::Redraw() {
  if (!IsVisible() || !interactive()) return;
  terminal_.Resized();
  popup_col_ = std::max(0, std::min(popup_col_, terminal_.cols() - kPopupWidth));
  popup_row_ = std::max(0, std::min(popup_row_, terminal_.rows() - kPopupHeight));
  dirty_ = true;
  FlushDrawing();
}

void TerminalMenu::Render() {
  Terminal& canvas = terminal_;
  const int left = BoxLeft(terminal_.cols()), top = BoxTop(terminal_.rows());
  const uint32_t bg = BackgroundRgb(background_);
  const uint32_t ink = Contrast(bg);
  canvas.Fill(left, top, kBoxWidth, kBoxHeight, ink, bg);
  canvas.Frame(left, top, kBoxWidth, kBoxHeight, ink);
  const std::string title = std::string(" ") + kMenuCaption + " ";
  const int title_width = static_cast<int>(Glyphs(title).size());
  canvas.Text(left + (kBoxWidth - title_width) / 2, top, title, title_width, ink, true);

  const uint32_t icon_bg = ToRgb(icon_back_);
  for (int32_t i = 0; i < kMenuItemCount; ++i) {
    const Item& item = items_[static_cast<size_t>(i)];
    const int row = top + ItemRow(i);
    canvas.Fill(left + kIconCol, row, kIconWidth, 1, Contrast(icon_bg), icon_bg);
    // The second icon is the dimmed picture over the first.
    const uint32_t icon_ink = item.second_icon ? Mix(Contrast(icon_bg), icon_bg) : Contrast(icon_bg);
    canvas.Text(left + kIconCol + 1, row, kIcons[i], 1, icon_ink, !item.second_icon);
    int mnemonic = -1;
    const std::string caption = StripMnemonic(kMenuItems[i].caption, &mnemonic);
    canvas.Text(left + kLabelCol, row, caption, kLabelWidth, ToRgb(item.color), item.bold, mnemonic);
  }
  if (count_visible_) canvas.Text(left + kCountCol, top + ItemRow(count_item_), count_text_, 8, ink);

  canvas.Frame(left, top + kStatusRow - 1, kBoxWidth, kBoxHeight - kStatusRow + 1, ink);
  canvas.Set(left, top + kStatusRow - 1, "├", ink);
  canvas.Set(left + kBoxWidth - 1, top + kStatusRow - 1, "┤", ink);
  const int32_t tip = TooltipItem();
  const std::string tooltip = tip >= 0 ? items_[static_cast<size_t>(tip)].tooltip : std::string();
  canvas.Text(left + 2, top + kStatusRow, tooltip, kBoxWidth - 4, ink);
  canvas.Text(left + 2, top + kStatusRow + 1, popup_open_ ? kPopupHint : kKeyHint, kBoxWidth - 4, ink);
  if (popup_open_) RenderPopup();
}

void TerminalMenu::RenderPopup() {
  Terminal& canvas = terminal_;
  const uint32_t face = kSystemColors[4], text = kSystemColors[7];
  canvas.Fill(popup_col_, popup_row_, kPopupWidth, kPopupHeight, text, face);
  canvas.Frame(popup_col_, popup_row_, kPopupWidth, kPopupHeight, text);
  const auto entry_row = [&](int entry) { return popup_row_ + (entry == 0 ? 1 : entry + 2); };
  for (int entry = 0; entry < 4; ++entry) {
    const bool checked = entry == 0 ? popup_auto_unload_ : popup_skin_ == entry - 1;
    const std::string label = entry == 0 ? kMenuAutoUnloadText : kMenuSkinNames[entry - 1];
    const std::string line = std::string(entry == 0 ? "" : "  ") + (checked ? "✓ " : "  ") + label;
    const bool selected = entry == popup_selected_;
    const uint32_t fg = selected ? kSystemColors[14] : text;
    if (selected) canvas.Fill(popup_col_ + 1, entry_row(entry), kPopupWidth - 2, 1, fg, kSystemColors[13]);
    canvas.Text(popup_col_ + 2, entry_row(entry), line, kPopupWidth - 3, fg);
  }
  canvas.Text(popup_col_ + 4, popup_row_ + 2, kMenuSkinText, kPopupWidth - 5, text);
}

void TerminalMenu::FlushDrawing() {
  if (!IsVisible() || !dirty_ || TerminalMenusSuspended()) return;
  dirty_ = false;
  if (!interactive()) {
    FlushPlain();
    return;
  }
  terminal_.Clear(false);
  Render();
  terminal_.Present();
}

void TerminalMenu::FlushPlain() {
  int32_t bold = -1;
  for (int32_t i = 0; i < kMenuItemCount; ++i) {
    if (items_[static_cast<size_t>(i)].bold) bold = i;
  }
  std::string out;
  if (bold != printed_bold_ && bold >= 0) {
    int mnemonic = 0;
    out += "Auswahl: " + StripMnemonic(kMenuItems[bold].caption, &mnemonic) + "\n";
  }
  printed_bold_ = bold;
  const std::string count = count_visible_ ? count_text_ : std::string();
  if (count != printed_count_) {
    int mnemonic = 0;
    if (!count.empty()) {
      out += StripMnemonic(kMenuItems[count_item_].caption, &mnemonic) + " " + count + "\n";
    } else if (!printed_count_.empty()) {
      out += "Countdown angehalten\n";
    }
    printed_count_ = count;
  }
  if (!out.empty()) terminal_.Write(out);
}

}  // namespace krv
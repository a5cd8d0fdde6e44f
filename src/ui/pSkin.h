// The start menu's skin: turns the skin number into the menu's background
// bitmap and colours. Colours are 0x00BBGGRR, or 0x80000000 plus a Windows
// system-colour index; resolving a system colour is the painter's job.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace krv {

inline constexpr uint32_t kSystemColorFlag = 0x80000000u;

inline constexpr bool IsSystemColor(uint32_t color) { return (color & kSystemColorFlag) != 0; }
// Index of a system colour (COLOR_BTNFACE = 15, ...); only meaningful when IsSystemColor.
inline constexpr int32_t SystemColorIndex(uint32_t color) { return static_cast<int32_t>(color & 0xFFu); }

// A background bitmap of the program's resources, named as the Windows
// resource script names it, with the size the menu layout is drawn for.
struct SkinBitmap {
  std::string_view resource_name;
  int32_t width = 0;
  int32_t height = 0;
  int32_t bits_per_pixel = 0;
};

class pSkin {
 public:
  static constexpr int32_t kOff = 0;   // "(Aus)"
  static constexpr int32_t kBlue = 1;  // "Blau"
  static constexpr int32_t kGrey = 2;  // "Grau"

  int32_t Skin() const { return skin_; }
  // Any number is accepted; unknown ones paint without picture, all black.
  void SetSkin(int32_t skin) { skin_ = skin; }

  // BACK1 for skin 1, BACK2 for skin 2, none otherwise.
  std::optional<SkinBitmap> BackgroundPicture() const;
  // Text colour of an item label; dimmed for the inactive items.
  uint32_t ForeColor(bool dimmed) const;
  // Background colour of the item icons.
  uint32_t IconColor() const;

 private:
  int32_t skin_ = kOff;
};

}  // namespace krv

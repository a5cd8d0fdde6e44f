#include "ui/pSkin.h"

namespace krv {

namespace {
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kSysGrayText = kSystemColorFlag | 17;  // COLOR_GRAYTEXT
constexpr uint32_t kSysBtnFace = kSystemColorFlag | 15;   // COLOR_BTNFACE
}  // namespace

std::optional<SkinBitmap> pSkin::BackgroundPicture() const {
  switch (skin_) {
    case kBlue:
      return SkinBitmap{"BACK1", 199, 398, 8};
    case kGrey:
      return SkinBitmap{"BACK2", 150, 260, 8};
    default:
      return std::nullopt;
  }
}

uint32_t pSkin::ForeColor(bool dimmed) const {
  switch (skin_) {
    case kOff:
      return dimmed ? kSysGrayText : kBlack;
    case kBlue:
      return dimmed ? 0x808080 : kBlack;
    case kGrey:
      return dimmed ? 0x2C2A2B : kWhite;
    default:
      return kBlack;
  }
}

uint32_t pSkin::IconColor() const {
  switch (skin_) {
    case kOff:
      return kSysBtnFace;
    case kBlue:
      return 0xC08E70;
    case kGrey:
      return 0x565255;
    default:
      return kBlack;
  }
}

}  // namespace krv

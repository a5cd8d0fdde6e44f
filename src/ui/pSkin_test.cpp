#include "ui/pSkin.h"

#include <gtest/gtest.h>

#include <tuple>

namespace krv {
namespace {

TEST(pSkinTest, ColoursAndPictureBySkin) {
  EXPECT_FALSE(pSkin().BackgroundPicture());  // a new skin is off
  const struct {
    int32_t skin;
    uint32_t dimmed, active, icon;
    const char* picture;
    int32_t width, height;
  } cases[] = {
      {0, 0x80000011, 0x000000, 0x8000000F, "none", 0, 0},
      {1, 0x808080, 0x000000, 0xC08E70, "BACK1", 199, 398},
      {2, 0x2C2A2B, 0xFFFFFF, 0x565255, "BACK2", 150, 260},
      {3, 0x000000, 0x000000, 0x000000, "none", 0, 0},  // unknown: black, no picture
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.skin);
    pSkin skin;
    skin.SetSkin(c.skin);
    EXPECT_EQ(std::tuple(skin.ForeColor(true), skin.ForeColor(false), skin.IconColor()),
              std::tuple(c.dimmed, c.active, c.icon));
    const auto picture = skin.BackgroundPicture().value_or(SkinBitmap{"none"});
    EXPECT_EQ(std::tuple(picture.resource_name, picture.width, picture.height),
              std::tuple(std::string_view(c.picture), c.width, c.height));
  }
}

}  // namespace
}  // namespace krv

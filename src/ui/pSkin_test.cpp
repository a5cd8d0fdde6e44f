#include "ui/pSkin.h"

#include <gtest/gtest.h>

namespace krv {
namespace {

TEST(pSkinTest, ColoursAndPictureBySkin) {
  EXPECT_FALSE(pSkin().BackgroundPicture());  // a new skin is off
  const struct {
    int32_t skin;
    uint32_t dimmed, active, icon;
    const char* picture;  // nullptr: none
    int32_t width, height;
  } cases[] = {
      {0, 0x80000011, 0x000000, 0x8000000F, nullptr, 0, 0},
      {1, 0x808080, 0x000000, 0xC08E70, "BACK1", 199, 398},
      {2, 0x2C2A2B, 0xFFFFFF, 0x565255, "BACK2", 150, 260},
      {3, 0x000000, 0x000000, 0x000000, nullptr, 0, 0},  // unknown: black, no picture
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.skin);
    pSkin skin;
    skin.SetSkin(c.skin);
    EXPECT_EQ(skin.ForeColor(true), c.dimmed);
    EXPECT_EQ(skin.ForeColor(false), c.active);
    EXPECT_EQ(skin.IconColor(), c.icon);
    const auto picture = skin.BackgroundPicture();
    ASSERT_EQ(picture.has_value(), c.picture != nullptr);
    if (!picture) continue;
    EXPECT_EQ(picture->resource_name, c.picture);
    EXPECT_EQ(picture->width, c.width);
    EXPECT_EQ(picture->height, c.height);
  }
}

}  // namespace
}  // namespace krv

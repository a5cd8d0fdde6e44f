#include "ui/pSkin.h"

#include <gtest/gtest.h>

namespace krv {
namespace {

TEST(pSkinTest, ColoursAndPictureBySkin) {
  const pSkin fresh;  // off: no picture, icons on the button face
  EXPECT_EQ(fresh.Skin(), 0);
  EXPECT_FALSE(fresh.BackgroundPicture());
  EXPECT_TRUE(IsSystemColor(fresh.IconColor()));
  EXPECT_EQ(SystemColorIndex(fresh.IconColor()), 15);
  struct Case {
    int32_t skin;
    uint32_t dimmed, active, icon;
    const char* picture;  // nullptr: none
    int32_t width, height;
  };
  const Case cases[] = {
      {0, 0x80000011, 0x000000, 0x8000000F, nullptr, 0, 0}, {1, 0x808080, 0x000000, 0xC08E70, "BACK1", 199, 398},
      {2, 0x2C2A2B, 0xFFFFFF, 0x565255, "BACK2", 150, 260}, {3, 0x000000, 0x000000, 0x000000, nullptr, 0, 0},
      {-1, 0x000000, 0x000000, 0x000000, nullptr, 0, 0},    {INT32_MAX, 0x000000, 0x000000, 0x000000, nullptr, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.skin);
    pSkin skin;
    skin.SetSkin(c.skin);
    EXPECT_EQ(skin.Skin(), c.skin);
    EXPECT_EQ(skin.ForeColor(true), c.dimmed);
    EXPECT_EQ(skin.ForeColor(false), c.active);
    EXPECT_EQ(skin.IconColor(), c.icon);
    const auto picture = skin.BackgroundPicture();
    ASSERT_EQ(picture.has_value(), c.picture != nullptr);
    if (picture) {
      EXPECT_EQ(picture->resource_name, c.picture);
      EXPECT_EQ(picture->width, c.width);
      EXPECT_EQ(picture->height, c.height);
      EXPECT_EQ(picture->bits_per_pixel, 8);
    }
  }
}

}  // namespace
}  // namespace krv

// Win32 code only: a window moved to a monitor of another DPI lays itself out
// again, as if it had been created there.
#include <gtest/gtest.h>

#include "testing/RecordingMenuEvents.h"
#include "ui/UiHost.h"
#include "ui/win32/MenuWindow_win32.h"
#include "ui/win32/Window_win32.h"

namespace krv::win32 {
namespace {

LOGFONTW FontOf(HWND hwnd) {
  LOGFONTW lf = {};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof lf, &lf);
  return lf;
}

TEST(DpiChangeTest, MenuTakesTheSuggestedFrameAndKeepsItsTwipsAndFontsAtTheNewDpi) {
  std::unique_ptr<UiHost> host = CreateUiHost();
  RecordingMenuEvents events;
  std::unique_ptr<MenuView> view = host->CreateMenuView(events);
  HWND hwnd = reinterpret_cast<HWND>(view->Handle());
  if (!hwnd) GTEST_SKIP() << "no window can be created";
  HWND label = GetDlgItem(hwnd, kMenuLabelId + 1), count = GetDlgItem(hwnd, kMenuCountId);
  const LONG height_before = FontOf(label).lfHeight;
  RECT outer;
  GetWindowRect(hwnd, &outer);
  const int dpi = SystemDpi() * 2;
  RECT suggested = {outer.left, outer.top, outer.left + 2 * (outer.right - outer.left),
                    outer.top + 2 * (outer.bottom - outer.top)};

  SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));

  RECT now;
  GetWindowRect(hwnd, &now);
  EXPECT_TRUE(EqualRect(&now, &suggested));
  const RECT place = PlaceInParent(label);
  EXPECT_NEAR(place.left, TwipsAtDpi(kMenuLabelLeft, dpi), 2);
  EXPECT_NEAR(place.top, TwipsAtDpi(MenuLabelTop(1), dpi), 2);
  EXPECT_NEAR(FontOf(label).lfHeight, 2 * height_before, 1);
  // What the form does later happens at the new DPI too.
  view->SetItemLook(1, 0, true, false);
  EXPECT_EQ(FontOf(label).lfWeight, FW_BOLD);
  EXPECT_NEAR(FontOf(label).lfHeight, 2 * height_before, 1);
  view->MoveCountToItem(2);
  EXPECT_NEAR(PlaceInParent(count).top, TwipsAtDpi(MenuLabelTop(2), dpi), 2);
  view.reset();
  host->DoEvents();
}

TEST(DpiChangeTest, ComboBoxKeepsTheRoomOfItsOpenList) {
  HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
  if (!parent) GTEST_SKIP() << "no window can be created";
  HWND combo = CreateWindowExW(0, L"ComboBox", L"", WS_CHILD | CBS_DROPDOWNLIST, 10, 10, 150, 120, parent, nullptr,
                               nullptr, nullptr);
  const auto open_height = [combo] {
    RECT rc = {};
    SendMessageW(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&rc));
    return rc.bottom - rc.top;
  };
  const LONG before = open_height();
  const int dpi = SystemDpi() * 2;
  ApplyDpiChange(parent, SystemDpi(), MAKEWPARAM(dpi, dpi), 0, {});
  EXPECT_GT(open_height(), before);  // grown with the DPI, not shrunk to the closed box
  EXPECT_EQ(PlaceInParent(combo).left, 20);
  DestroyWindow(parent);
}

}  // namespace
}  // namespace krv::win32

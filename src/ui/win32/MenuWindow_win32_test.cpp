// Win32 code only: the start menu's window on a real display, driven by real messages.
#include "ui/win32/MenuWindow_win32.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "testing/RecordingMenuEvents.h"
#include "ui/UiHost.h"
#include "ui/win32/Controls_win32.h"

namespace krv::win32 {
namespace {

bool Visible(HWND hwnd) { return (GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0; }

class MenuWindowTest : public ::testing::Test {
 public:  // the case tables reach in
  void SetUp() override { Open(); }
  void TearDown() override {
    events.hook = nullptr;
    view.reset();
    host->DoEvents();
  }
  void Open() {
    view = host->CreateMenuView(events);
    hwnd = reinterpret_cast<HWND>(view->Handle());
    if (!hwnd) GTEST_SKIP() << "no window can be created";
  }
  HWND Child(int id) { return id ? GetDlgItem(hwnd, id) : hwnd; }

  std::unique_ptr<UiHost> host = CreateUiHost();
  RecordingMenuEvents events;
  std::unique_ptr<MenuView> view;
  HWND hwnd = nullptr;
};

TEST_F(MenuWindowTest, CaptionsAndLayoutInTwips) {
  EXPECT_EQ(TextOf(hwnd), "KORVELLA II.5");
  RECT client;
  GetClientRect(hwnd, &client);
  EXPECT_TRUE(client.right == TwipsToPixelsX(kMenuClientWidth) && client.bottom == TwipsToPixelsY(kMenuClientHeight));
  for (int i = 0; i < kMenuItemCount; ++i) {
    SCOPED_TRACE(i);
    const RECT label = PlaceInParent(Child(kMenuLabelId + i));
    EXPECT_EQ(TextOf(Child(kMenuLabelId + i)), kMenuItems[i].caption);
    EXPECT_TRUE(label.left == TwipsToPixelsX(kMenuLabelLeft) && label.top == TwipsToPixelsY(MenuLabelTop(i)));
    EXPECT_GE(PlaceInParent(Child(kMenuFakeId + i)).top, client.bottom);  // the focus holder is out of sight
  }
  HWND count = Child(kMenuCountId);
  view->SetCountText("(5)");
  view->SetCountVisible(true);
  view->MoveCountToItem(3);
  const RECT at = PlaceInParent(count);
  EXPECT_TRUE(TextOf(count) == "(5)" && Visible(count));
  EXPECT_TRUE(at.left == TwipsToPixelsX(kMenuCountLeft) && at.top == TwipsToPixelsY(MenuLabelTop(3)));
  view->SetCountText("(10)");  // as wide as its text: it hides no more of a long label than it must
  EXPECT_GT(PlaceInParent(count).right, at.right);
}

TEST_F(MenuWindowTest, ItemLookAndSkinPictureFromTheResources) {
  HDC dc = CreateCompatibleDC(nullptr);
  auto text_color = [&](int item) {
    SendMessageW(hwnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(Child(item)));
    return GetTextColor(dc);
  };
  view->SetItemLook(2, 0x2C2A2B, true, false);
  EXPECT_EQ(text_color(kMenuLabelId + 2), RGB(0x2B, 0x2A, 0x2C));
  auto font = [&](int item) { return SendMessageW(Child(kMenuLabelId + item), WM_GETFONT, 0, 0); };
  EXPECT_NE(font(2), font(0));  // bold
  EXPECT_FALSE(Visible(Child(kMenuIcon2Id + 2)));
  view->SetItemLook(2, 0x80000011, false, true);
  EXPECT_TRUE(text_color(kMenuLabelId + 2) == GetSysColor(COLOR_GRAYTEXT) && Visible(Child(kMenuIcon2Id + 2)));

  view->SetBackground(SkinBitmap{"BACK2", 150, 260, 8});
  BITMAPINFO bi = {{sizeof(BITMAPINFOHEADER), 400, 600, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
  void* bits = nullptr;
  SelectObject(dc, CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  HDC art = CreateCompatibleDC(nullptr);
  HBITMAP loaded = LoadResourceBitmap("BACK2");
  ASSERT_NE(loaded, nullptr);
  SelectObject(art, loaded);
  SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  for (POINT p : {POINT{5, 5}, POINT{100, 200}}) EXPECT_EQ(GetPixel(dc, p.x, p.y), GetPixel(art, p.x, p.y)) << p.y;
  DeleteDC(art);
  DeleteDC(dc);
  DeleteObject(loaded);
}

void SetKeys(const std::vector<int>& down) {
  BYTE state[256] = {};
  GetKeyboardState(state);
  for (int vk : {VK_SHIFT, VK_CONTROL, VK_MENU}) state[vk] = 0;
  for (int vk : down) state[vk] = 0x80;
  SetKeyboardState(state);
}

TEST_F(MenuWindowTest, KeysReachTheFormFirstWithTheirShiftBits) {
  view->Show();
  ASSERT_TRUE(view->FocusItem(2));
  HWND focused = Child(kMenuFakeId + 2);
  const LPARAM alt = 1 << 29;
  const struct {
    UINT message;
    int key;
    LPARAM lparam;
    std::vector<int> held;
    const char* expected;
  } cases[] = {
      {WM_KEYDOWN, VK_TAB, 0, {VK_SHIFT}, "KeyDown 9 1;"},
      {WM_SYSKEYDOWN, 'A', alt, {VK_CONTROL}, "KeyDown 65 6;"},
      {WM_KEYDOWN, VK_SPACE, 0x00390000, {}, "KeyDown 32 0;FakeClick 2;"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    host->DoEvents();
    events.log.clear();
    SetKeys(c.held);
    PostMessageW(focused, c.message, static_cast<WPARAM>(c.key), c.lparam | 1);
    if (c.key == VK_SPACE) PostMessageW(focused, WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0390001u));
    host->DoEvents();
    EXPECT_EQ(events.log, c.expected);
    EXPECT_EQ(GetFocus(), focused);  // Tab leaves the focus where it is
  }
  SetKeys({});
  events.log.clear();
  EXPECT_TRUE(view->FocusItem(4));   // the form itself moved the focus: no event
  SetFocus(Child(kMenuFakeId + 1));  // as a click or an activation would
  EXPECT_EQ(events.log, "FakeGotFocus 1;");
}

TEST_F(MenuWindowTest, MouseOverLabelsIconsAndBackground) {
  const struct {
    std::vector<std::tuple<int, UINT, int>> steps;  // control id (0: the window), message, x (y is 3)
    const char* expected;
  } cases[] = {
      {{{kMenuLabelId + 1, WM_MOUSEMOVE, 3}, {kMenuIcon1Id + 2, WM_MOUSEMOVE, 3}, {kMenuIcon2Id + 3, WM_MOUSEMOVE, 3}},
       "LabelMouseMove 1;Icon1MouseMove 2;Icon2MouseMove 3;"},
      {{{kMenuLabelId + 5, WM_MBUTTONDOWN, 3}, {kMenuLabelId + 5, WM_MBUTTONUP, 3}},
       "LabelMouseDown 5 4;LabelClick 5;"},
      {{{kMenuLabelId, WM_LBUTTONDOWN, 3}, {kMenuLabelId, WM_LBUTTONUP, -20}}, "LabelMouseDown 0 1;"},  // beside it
      {{{kMenuIcon2Id + 4, WM_LBUTTONDOWN, 3}, {kMenuIcon2Id + 4, WM_LBUTTONUP, 3}}, "Icon1Click 4;"},
      {{{0, WM_RBUTTONUP, 3}, {0, WM_LBUTTONUP, 3}}, "BackgroundMouseUp 2;BackgroundMouseUp 1;"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    events.log.clear();
    for (auto [id, message, x] : c.steps) SendMessageW(Child(id), message, 0, MAKELPARAM(x, 3));
    EXPECT_EQ(events.log, c.expected);
    EXPECT_EQ(GetCapture(), nullptr);  // no press outlives its release
  }
}

// The form closes (twice) or drops the view inside the event `acts_on`.
TEST_F(MenuWindowTest, CloseRequestsAndClosingInsideAnEventTakeTheWindowAndItsTimer) {
  const struct {
    std::vector<std::tuple<int, UINT, WPARAM, LPARAM>> posts;
    const char* acts_on;  // nullptr: the form lets the window go by itself
    bool drop;
    const char* expected;
  } cases[] = {
      {{{0, WM_CLOSE, 0, 0}}, nullptr, false, "QueryUnload 0;"},
      {{{0, WM_QUERYENDSESSION, 0, 0}}, "QueryUnload", false, "QueryUnload 2;"},
      {{{kMenuLabelId + 2, WM_LBUTTONDOWN, 0, 0}, {kMenuLabelId + 2, WM_LBUTTONUP, 0, 0}},
       "LabelClick",
       false,
       "LabelMouseDown 2 1;LabelClick 2;"},
      {{}, "Timer", true, "Timer 1;"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    Open();  // hidden: a shown window takes Wine seconds to go
    events.log.clear();
    view->SetTimer(MenuTimer::kRun, 10);
    view->SetTimer(MenuTimer::kCount, 5);  // disarmed at once: it never fires
    view->SetTimer(MenuTimer::kCount, 0);
    events.hook = [&](const std::string& line) {
      if (!c.acts_on || line.rfind(c.acts_on, 0) != 0) return;
      if (c.drop) return view.reset();
      view->Close();
      view->Close();
    };
    for (auto [id, message, wparam, lparam] : c.posts) PostMessageW(Child(id), message, wparam, lparam);
    host->Wait(80);
    events.hook = nullptr;
    EXPECT_EQ(events.log, c.expected);
    EXPECT_FALSE(IsWindow(hwnd));
  }
}

TEST_F(MenuWindowTest, ContextMenuChoicesArrive) {
  view->Show();
  host->DoEvents();
  events.log.clear();
  // Queued before the menu opens: its own loop reads them.
  for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN}) PostMessageW(hwnd, WM_KEYDOWN, key, 1);
  view->ShowContextMenu(true, 2);
  host->DoEvents();
  EXPECT_EQ(events.log, "ContextSkin 1;");
}

}  // namespace
}  // namespace krv::win32

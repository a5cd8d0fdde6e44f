// Win32 code only: the start menu's window on a real display, driven through
// its view interface and real window messages, reporting to a recorder.
#include "ui/win32/MenuWindow_win32.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/win32/Subclass_win32.h"
#include "ui/UiHost.h"

namespace krv::win32 {
namespace {

// Writes every event as one line; `hook` runs inside each event after it is written.
struct RecordingEvents : MenuEvents {
  std::vector<std::string> log;
  std::function<void(const std::string&)> hook;

  void Add(const std::string& line) {
    log.push_back(line);
    if (hook) hook(line);
  }
  void KeyDown(int32_t key, int32_t shift) override {
    Add("KeyDown " + std::to_string(key) + " " + std::to_string(shift));
  }
  void LabelMouseMove(int32_t i) override { Add("LabelMouseMove " + std::to_string(i)); }
  void Icon1MouseMove(int32_t i) override { Add("Icon1MouseMove " + std::to_string(i)); }
  void Icon2MouseMove(int32_t i) override { Add("Icon2MouseMove " + std::to_string(i)); }
  void LabelMouseDown(int32_t i, int16_t b) override {
    Add("LabelMouseDown " + std::to_string(i) + " " + std::to_string(b));
  }
  void LabelClick(int32_t i) override { Add("LabelClick " + std::to_string(i)); }
  void Icon1Click(int32_t i) override { Add("Icon1Click " + std::to_string(i)); }
  void BackgroundMouseUp(int16_t b) override { Add("BackgroundMouseUp " + std::to_string(b)); }
  void FakeGotFocus(int32_t i) override { Add("FakeGotFocus " + std::to_string(i)); }
  void FakeClick(int32_t i) override { Add("FakeClick " + std::to_string(i)); }
  void Timer(MenuTimer t) override { Add("Timer " + std::to_string(static_cast<int>(t))); }
  void ContextAutoUnload() override { Add("ContextAutoUnload"); }
  void ContextSkin(int32_t s) override { Add("ContextSkin " + std::to_string(s)); }
  void QueryUnload(UnloadMode m) override { Add("QueryUnload " + std::to_string(m)); }
  void AppActivated(bool a) override { Add(std::string("AppActivated ") + (a ? "1" : "0")); }
};

std::string TextOf(HWND hwnd) {
  std::wstring text(256, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

RECT PlaceInParent(HWND child) {
  RECT rc;
  GetWindowRect(child, &rc);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

bool HasStyle(HWND hwnd, LONG style) { return (GetWindowLongW(hwnd, GWL_STYLE) & style) == style; }

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

class MenuWindowTest : public ::testing::Test {
 public:  // the case tables reach in
  void SetUp() override {
    view = host->CreateMenuView(events);
    hwnd = reinterpret_cast<HWND>(view->Handle());
    if (!hwnd) GTEST_SKIP() << "no window can be created";
  }
  void TearDown() override {
    events.hook = nullptr;
    view.reset();
    host->DoEvents();
  }
  HWND Child(int id) { return GetDlgItem(hwnd, id); }
  // Shown with item `index` focused, the log emptied.
  void ShowFocused(int index) {
    view->Show();
    host->DoEvents();
    ASSERT_TRUE(view->FocusItem(index));
    host->DoEvents();
    events.log.clear();
  }

  std::unique_ptr<UiHost> host = CreateUiHost();
  RecordingEvents events;
  std::unique_ptr<MenuView> view;
  HWND hwnd = nullptr;
};

TEST_F(MenuWindowTest, LabelsIconsAndFocusHoldersAtTheirPlaces) {
  EXPECT_EQ(TextOf(hwnd), "KORVELLA II.5");
  RECT client;
  GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right, TwipsToPixelsX(kMenuClientWidth));
  EXPECT_EQ(client.bottom, TwipsToPixelsY(kMenuClientHeight));
  EXPECT_FALSE(HasStyle(hwnd, WS_THICKFRAME));
  EXPECT_FALSE(HasStyle(hwnd, WS_MAXIMIZEBOX));
  for (int i = 0; i < kMenuItemCount; ++i) {
    SCOPED_TRACE(i);
    HWND label = Child(kMenuLabelId + i);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(TextOf(label), kMenuItems[i].caption);
    wchar_t cls[32] = {};
    GetClassNameW(label, cls, 32);
    EXPECT_EQ(_wcsicmp(cls, L"Static"), 0);
    EXPECT_TRUE(HasStyle(label, SS_NOTIFY));
    const RECT at = PlaceInParent(label);
    EXPECT_EQ(at.left, TwipsToPixelsX(kMenuLabelLeft));
    EXPECT_EQ(at.top, TwipsToPixelsY(MenuLabelTop(i)));
    EXPECT_EQ(at.bottom - at.top, TwipsToPixelsY(MenuLabelTop(i) + kMenuLabelHeight) - at.top);
    // The dimmed picture covers the coloured one.
    ASSERT_NE(Child(kMenuIcon1Id + i), nullptr);
    ASSERT_NE(Child(kMenuIcon2Id + i), nullptr);
    const RECT icon1 = PlaceInParent(Child(kMenuIcon1Id + i)), icon2 = PlaceInParent(Child(kMenuIcon2Id + i));
    EXPECT_TRUE(EqualRect(&icon1, &icon2));
    EXPECT_EQ(icon1.right - icon1.left, 32);
    HWND fake = Child(kMenuFakeId + i);
    ASSERT_NE(fake, nullptr);
    EXPECT_TRUE(HasStyle(fake, WS_TABSTOP | WS_VISIBLE));
    EXPECT_GE(PlaceInParent(fake).top, client.bottom);  // out of sight
  }
}

TEST_F(MenuWindowTest, CountLabelTakesTextVisibilityAndTheItemsTop) {
  HWND count = Child(kMenuCountId);
  ASSERT_NE(count, nullptr);
  EXPECT_FALSE(HasStyle(count, WS_VISIBLE));
  view->SetCountText("(5)");
  view->SetCountVisible(true);
  view->MoveCountToItem(3);
  EXPECT_EQ(TextOf(count), "(5)");
  EXPECT_TRUE(HasStyle(count, WS_VISIBLE));
  const RECT at = PlaceInParent(count);
  EXPECT_EQ(at.left, TwipsToPixelsX(kMenuCountLeft));
  EXPECT_EQ(at.top, TwipsToPixelsY(MenuLabelTop(3)));
  // As wide as its text: it hides no more of a long label than it must.
  const LONG narrow = at.right - at.left;
  view->SetCountText("(10)");
  EXPECT_GT(PlaceInParent(count).right - PlaceInParent(count).left, narrow);
  view->SetCountVisible(false);
  EXPECT_FALSE(HasStyle(count, WS_VISIBLE));
}

TEST_F(MenuWindowTest, ItemLookSetsColourWeightAndSecondIcon) {
  const struct {
    uint32_t color;
    bool bold;
    bool second;
    COLORREF expected;
  } cases[] = {
      {0xFFFFFF, true, false, RGB(255, 255, 255)},
      {0x2C2A2B, false, true, RGB(0x2B, 0x2A, 0x2C)},
      {0x80000011, false, true, GetSysColor(COLOR_GRAYTEXT)},
      {0x000000, true, false, RGB(0, 0, 0)},
  };
  HWND label = Child(kMenuLabelId + 2);
  HDC dc = CreateCompatibleDC(nullptr);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.color);
    view->SetItemLook(2, c.color, c.bold, c.second);
    SendMessageW(hwnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(label));
    EXPECT_EQ(GetTextColor(dc), c.expected);
    LOGFONTW lf = {};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    EXPECT_EQ(lf.lfWeight >= FW_BOLD, c.bold);
    EXPECT_EQ(_wcsicmp(lf.lfFaceName, L"Tahoma"), 0);
    EXPECT_EQ(HasStyle(Child(kMenuIcon2Id + 2), WS_VISIBLE), c.second);
  }
  // The other items keep their look.
  SendMessageW(hwnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(Child(kMenuLabelId)));
  EXPECT_EQ(GetTextColor(dc), RGB(0x80, 0x80, 0x80));
  DeleteDC(dc);
}

// The colour the window's background has at a client point.
COLORREF BackgroundAt(HWND hwnd, int x, int y) {
  BITMAPINFO bi = {};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 400, 600, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP canvas = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, canvas);
  SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  const COLORREF color = GetPixel(dc, x, y);
  SelectObject(dc, old);
  DeleteObject(canvas);
  DeleteDC(dc);
  return color;
}

COLORREF BitmapAt(HBITMAP bitmap, int x, int y) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  const COLORREF color = GetPixel(dc, x, y);
  SelectObject(dc, old);
  DeleteDC(dc);
  return color;
}

TEST_F(MenuWindowTest, SkinBitmapsComeFromTheResourcesAndPaintAtTheOrigin) {
  pSkin skin;
  for (int32_t number : {pSkin::kBlue, pSkin::kGrey}) {
    skin.SetSkin(number);
    const std::optional<SkinBitmap> picture = skin.BackgroundPicture();
    ASSERT_TRUE(picture);
    SCOPED_TRACE(std::string(picture->resource_name));
    HBITMAP bitmap = LoadResourceBitmap(picture->resource_name);
    ASSERT_NE(bitmap, nullptr);
    BITMAP bm = {};
    ASSERT_NE(GetObjectW(bitmap, sizeof bm, &bm), 0);
    EXPECT_EQ(bm.bmWidth, picture->width);
    EXPECT_EQ(bm.bmHeight, picture->height);
    EXPECT_EQ(bm.bmBitsPixel, picture->bits_per_pixel);
    view->SetBackground(picture);
    for (POINT p : {POINT{5, 5}, POINT{100, 200}, POINT{TwipsToPixelsX(kMenuClientWidth) - 1, 2}}) {
      EXPECT_EQ(BackgroundAt(hwnd, p.x, p.y), BitmapAt(bitmap, p.x, p.y)) << p.x << "," << p.y;
    }
    DeleteObject(bitmap);
  }
  EXPECT_EQ(LoadResourceBitmap("BACK3"), nullptr);
  view->SetBackground(std::nullopt);
  EXPECT_EQ(BackgroundAt(hwnd, 100, 200), GetSysColor(COLOR_BTNFACE));
}

TEST_F(MenuWindowTest, TimerFiresWithinAWaitUntilDisarmed) {
  view->SetTimer(MenuTimer::kCount, 30);
  host->Wait(300);
  ASSERT_FALSE(events.log.empty());
  EXPECT_EQ(events.log.front(), "Timer 2");
  view->SetTimer(MenuTimer::kCount, 0);
  host->DoEvents();
  events.log.clear();
  host->Wait(150);
  EXPECT_TRUE(events.log.empty());
}

TEST_F(MenuWindowTest, FocusItemNeedsAShownWindowAndIsNoUserMove) {
  EXPECT_FALSE(view->FocusItem(1));
  ShowFocused(1);
  EXPECT_EQ(GetFocus(), Child(kMenuFakeId + 1));
  EXPECT_TRUE(view->FocusItem(4));
  EXPECT_TRUE(events.log.empty());   // the form itself moved it
  SetFocus(Child(kMenuFakeId + 2));  // as a click or an activation would
  EXPECT_EQ(events.log, std::vector<std::string>{"FakeGotFocus 2"});
}

void SetKeys(const std::vector<int>& down) {
  BYTE state[256] = {};
  GetKeyboardState(state);
  for (int vk : {VK_SHIFT, VK_CONTROL, VK_MENU}) state[vk] = 0;
  for (int vk : down) state[vk] = 0x80;
  SetKeyboardState(state);
}

TEST_F(MenuWindowTest, KeysReachTheFormFirstWithTheirShiftBits) {
  ShowFocused(2);
  HWND focused = Child(kMenuFakeId + 2);
  const LPARAM alt = 1 << 29;
  const struct {
    UINT message;
    int key;
    LPARAM lparam;
    std::vector<int> held;
    const char* expected;
  } cases[] = {
      {WM_KEYDOWN, VK_DOWN, 0, {}, "KeyDown 40 0"},       {WM_KEYDOWN, VK_TAB, 0, {}, "KeyDown 9 0"},
      {WM_KEYDOWN, VK_TAB, 0, {VK_SHIFT}, "KeyDown 9 1"}, {WM_KEYDOWN, 'X', 0, {VK_CONTROL}, "KeyDown 88 2"},
      {WM_SYSKEYDOWN, 'F', alt, {}, "KeyDown 70 4"},      {WM_SYSKEYDOWN, 'A', alt, {VK_SHIFT}, "KeyDown 65 5"},
      {WM_KEYDOWN, VK_ESCAPE, 0, {}, "KeyDown 27 0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    events.log.clear();
    SetKeys(c.held);
    PostMessageW(focused, c.message, static_cast<WPARAM>(c.key), c.lparam | 1);
    host->DoEvents();
    ASSERT_FALSE(events.log.empty());
    EXPECT_EQ(events.log.front(), c.expected);
    EXPECT_EQ(events.log.size(), 1u);
    EXPECT_EQ(GetFocus(), focused);  // Tab leaves the focus where it is
  }
  SetKeys({});
}

LRESULT CALLBACK CountSysCommands(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR count) {
  if (message == WM_SYSCOMMAND) ++*reinterpret_cast<int*>(count);
  return DefSubclassProc(hwnd, message, wparam, lparam);
}

TEST_F(MenuWindowTest, AltWithALetterIsTheFormsAloneNoSystemMenu) {
  int sys_commands = 0;
  HWND focused = Child(kMenuFakeId + 1);
  // Windows asks for the menu (and beeps) from the window that got the character.
  for (HWND w : {hwnd, focused}) SetWindowSubclass(w, CountSysCommands, 1, reinterpret_cast<DWORD_PTR>(&sys_commands));
  // Through TranslateMessage, as typed: a WM_SYSCHAR follows.
  PostMessageW(focused, WM_SYSKEYDOWN, 'D', (1 << 29) | 1);
  host->DoEvents();
  EXPECT_EQ(events.log, std::vector<std::string>{"KeyDown 68 4"});
  EXPECT_EQ(sys_commands, 0);
  for (HWND w : {hwnd, focused}) RemoveWindowSubclass(w, CountSysCommands, 1);
}

TEST_F(MenuWindowTest, SpaceOnTheFocusHolderIsItsClick) {
  ShowFocused(3);
  HWND focused = Child(kMenuFakeId + 3);
  PostMessageW(focused, WM_KEYDOWN, VK_SPACE, 0x00390001);
  PostMessageW(focused, WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0390001u));
  host->DoEvents();
  EXPECT_EQ(events.log, (std::vector<std::string>{"KeyDown 32 0", "FakeClick 3"}));
}

struct MouseStep {
  int target;  // control id, 0 for the window itself
  UINT message;
  int x, y;
};

TEST_F(MenuWindowTest, MouseOverLabelsIconsAndBackground) {
  const struct {
    const char* name;
    std::vector<MouseStep> steps;
    std::vector<std::string> expected;
  } cases[] = {
      {"moves",
       {{kMenuLabelId + 1, WM_MOUSEMOVE, 2, 2},
        {kMenuIcon1Id + 2, WM_MOUSEMOVE, 2, 2},
        {kMenuIcon2Id + 3, WM_MOUSEMOVE, 2, 2}},
       {"LabelMouseMove 1", "Icon1MouseMove 2", "Icon2MouseMove 3"}},
      {"right click on a label",
       {{kMenuLabelId + 2, WM_RBUTTONDOWN, 3, 3}, {kMenuLabelId + 2, WM_RBUTTONUP, 3, 3}},
       {"LabelMouseDown 2 2", "LabelClick 2"}},
      {"left press released beside the label",
       {{kMenuLabelId + 0, WM_LBUTTONDOWN, 3, 3}, {kMenuLabelId + 0, WM_LBUTTONUP, -20, 3}},
       {"LabelMouseDown 0 1"}},
      {"middle click",
       {{kMenuLabelId + 5, WM_MBUTTONDOWN, 1, 1}, {kMenuLabelId + 5, WM_MBUTTONUP, 1, 1}},
       {"LabelMouseDown 5 4", "LabelClick 5"}},
      {"click on the dimmed icon",
       {{kMenuIcon2Id + 4, WM_LBUTTONDOWN, 5, 5}, {kMenuIcon2Id + 4, WM_LBUTTONUP, 6, 6}},
       {"Icon1Click 4"}},
      {"click on the icon",
       {{kMenuIcon1Id + 1, WM_LBUTTONDOWN, 5, 5}, {kMenuIcon1Id + 1, WM_LBUTTONUP, 6, 6}},
       {"Icon1Click 1"}},
      {"release on the background",
       {{0, WM_RBUTTONUP, 5, 3000}, {0, WM_LBUTTONUP, 5, 3000}},
       {"BackgroundMouseUp 2", "BackgroundMouseUp 1"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    events.log.clear();
    for (const MouseStep& s : c.steps) SendMessageW(s.target ? Child(s.target) : hwnd, s.message, 0, At(s.x, s.y));
    EXPECT_EQ(events.log, c.expected);
    EXPECT_EQ(GetCapture(), nullptr);
  }
}

BOOL CALLBACK FindTooltip(HWND hwnd, LPARAM out) {
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  if (_wcsicmp(cls, TOOLTIPS_CLASSW) != 0) return TRUE;
  *reinterpret_cast<HWND*>(out) = hwnd;
  return FALSE;
}

TEST_F(MenuWindowTest, TooltipsOfTheItemsCanBeChanged) {
  HWND tip = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindTooltip, reinterpret_cast<LPARAM>(&tip));
  ASSERT_NE(tip, nullptr);
  auto text_of = [&](int id) {
    wchar_t buffer[128] = {};
    TOOLINFOW ti = {};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.hwnd = hwnd;
    ti.uId = reinterpret_cast<UINT_PTR>(Child(id));
    ti.lpszText = buffer;
    SendMessageW(tip, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&ti));
    return Narrow(buffer);
  };
  EXPECT_EQ(text_of(kMenuLabelId + 5), "Formular schließen");
  EXPECT_EQ(text_of(kMenuIcon1Id + 0), "KORVELLA starten");
  EXPECT_EQ(text_of(kMenuIcon2Id + 4), "Einstellungen vornehmen (Admin-Rechte erforderlich)");
  EXPECT_EQ(text_of(kMenuLabelId + 4), "Einstellungen vornehmen");
  EXPECT_EQ(text_of(kMenuLabelId + 3), "Kompressionsprogramm starten");
}

TEST_F(MenuWindowTest, CloseRequestsAskTheFormAndTheWindowGoes) {
  const struct {
    UINT message;
    bool form_unloads;
    const char* expected;
  } cases[] = {
      {WM_CLOSE, false, "QueryUnload 0"},
      {WM_CLOSE, true, "QueryUnload 0"},
      {WM_QUERYENDSESSION, true, "QueryUnload 2"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    events.log.clear();
    view = host->CreateMenuView(events);
    hwnd = reinterpret_cast<HWND>(view->Handle());
    ASSERT_NE(hwnd, nullptr);
    view->SetTimer(MenuTimer::kRun, 10);
    events.hook = [&](const std::string&) {
      if (c.form_unloads) view->Close();
    };
    SendMessageW(hwnd, c.message, 0, 0);
    events.hook = nullptr;
    EXPECT_EQ(events.log, std::vector<std::string>{c.expected});
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(view->Handle(), 0);
    host->Wait(60);  // the timer died with the window
    EXPECT_EQ(events.log.size(), 1u);
  }
}

TEST_F(MenuWindowTest, AltF4OnTheFocusedItemClosesLikeTheCloseBox) {
  PostMessageW(Child(kMenuFakeId + 2), WM_SYSKEYDOWN, VK_F4, (1 << 29) | 1);
  host->Wait(50);
  EXPECT_EQ(events.log, (std::vector<std::string>{"KeyDown 115 4", "QueryUnload 0"}));
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(MenuWindowTest, ClosingOrDroppingTheViewInsideAnEventIsSafe) {
  const struct {
    const char* name;
    bool drop;  // the form lets go of the view instead of closing it
    std::function<void(MenuWindowTest&)> cause;
  } cases[] = {
      {"key", false,
       [](MenuWindowTest& t) {
         PostMessageW(t.Child(kMenuFakeId + 1), WM_KEYDOWN, VK_RETURN, 1);
         PostMessageW(t.Child(kMenuFakeId + 1), WM_KEYDOWN, VK_DOWN, 1);
       }},
      {"space click", false,
       [](MenuWindowTest& t) {
         PostMessageW(t.Child(kMenuFakeId + 1), WM_KEYDOWN, VK_SPACE, 1);
         PostMessageW(t.Child(kMenuFakeId + 1), WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0000001u));
       }},
      {"label click", true,
       [](MenuWindowTest& t) {
         PostMessageW(t.Child(kMenuLabelId + 2), WM_LBUTTONDOWN, 0, At(2, 2));
         PostMessageW(t.Child(kMenuLabelId + 2), WM_LBUTTONUP, 0, At(2, 2));
       }},
      {"timer", true, [](MenuWindowTest& t) { t.view->SetTimer(MenuTimer::kRun, 10); }},
      {"close box", false, [](MenuWindowTest& t) { PostMessageW(t.hwnd, WM_CLOSE, 0, 0); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    view = host->CreateMenuView(events);
    hwnd = reinterpret_cast<HWND>(view->Handle());
    ASSERT_NE(hwnd, nullptr);  // hidden: a shown window takes Wine seconds to go
    int calls = 0;
    events.hook = [&](const std::string& line) {
      if (line.rfind("KeyDown 32", 0) == 0 || line.rfind("LabelMouseDown", 0) == 0) return;
      ++calls;
      if (c.drop) {
        view.reset();
      } else {
        view->Close();
        view->Close();
      }
    };
    c.cause(*this);
    host->Wait(100);
    events.hook = nullptr;
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(IsWindow(hwnd));
  }
}

TEST_F(MenuWindowTest, ContextMenuChoicesArrive) {
  ShowFocused(0);
  const struct {
    std::vector<WPARAM> keys;
    const char* expected;
  } cases[] = {
      {{VK_DOWN, VK_RETURN}, "ContextAutoUnload"},
      {{VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN}, "ContextSkin 1"},
      {{VK_ESCAPE}, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keys.size());
    events.log.clear();
    // Queued before the menu opens: its own loop reads them.
    for (WPARAM key : c.keys) PostMessageW(hwnd, WM_KEYDOWN, key, 1);
    view->ShowContextMenu(true, 2);
    host->DoEvents();
    if (c.expected) {
      EXPECT_EQ(events.log, std::vector<std::string>{c.expected});
    } else {
      EXPECT_TRUE(events.log.empty());
    }
  }
}

TEST(Win32UiHostTest, RunLoopAsksDoneBeforeBlockingAndAfterEveryMessage) {
  auto host = CreateUiHost();
  int asked = 0;
  host->RunLoop([&] { return ++asked > 0; });
  EXPECT_EQ(asked, 1);
  RecordingEvents events;
  auto view = host->CreateMenuView(events);
  if (!view->Handle()) GTEST_SKIP() << "no window can be created";
  view->SetTimer(MenuTimer::kRun, 20);
  host->RunLoop([&] { return events.log.size() >= 2; });
  EXPECT_EQ(events.log, (std::vector<std::string>{"Timer 1", "Timer 1"}));
  EXPECT_EQ(host->Windows(), &SubclassWindows());
}

}  // namespace
}  // namespace krv::win32

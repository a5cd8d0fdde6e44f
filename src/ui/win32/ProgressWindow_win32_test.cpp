// Win32 code only: the loader's progress window on a real display.
#include <gtest/gtest.h>

#include "ui/UiHost.h"
#include "ui/win32/Controls_win32.h"
#include "ui/win32/Window_win32.h"

namespace krv::win32 {
namespace {

TEST(Win32ProgressWindowTest, ShowsCaptionAndLinesTheBusyPointerAndGoesOnlyOnClose) {
  const std::string caption = "KORVELLA wird gestartet " + std::to_string(GetCurrentProcessId());
  auto host = CreateUiHost();
  auto progress = host->CreateProgressWindow();
  progress->Show(caption);
  HWND window = FindWindowW(L"KrvLoaderWindow", Wide(caption).c_str());
  if (!window) GTEST_SKIP() << "no display for windows";
  EXPECT_TRUE(IsWindowVisible(window));
  const std::string text = "Prüfe Datenbank...\r\nKomponenten überprüft";
  progress->SetText(text, "Komponenten");
  HWND label = FindWindowExW(window, nullptr, L"STATIC", nullptr);
  EXPECT_EQ(TextOf(label), text);
  // The hourglass while the starter works, the arrow again before any message box:
  // set at once and kept whenever the window is asked.
  for (bool busy : {true, false}) {
    const HCURSOR expected = LoadPointer(busy ? Pointer::kWait : Pointer::kArrow);
    host->SetBusyCursor(busy);
    EXPECT_EQ(GetCursor(), expected);
    SetCursor(nullptr);
    SendMessageW(label, WM_SETCURSOR, reinterpret_cast<WPARAM>(label), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), expected) << busy;
  }
  SendMessageW(window, WM_CLOSE, 0, 0);  // only the starter closes it
  EXPECT_TRUE(IsWindow(window));
  progress->Close();
  EXPECT_FALSE(IsWindow(window));
}

}  // namespace
}  // namespace krv::win32

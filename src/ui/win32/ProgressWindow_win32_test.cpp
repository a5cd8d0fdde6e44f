// Win32 code only: the loader's progress window on a real display.
#include <gtest/gtest.h>

#include "platform/win32/Win32Util_win32.h"
#include "ui/ProgressWindow.h"

namespace krv::win32 {
namespace {

std::string TextOf(HWND hwnd) {
  std::wstring text(512, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

TEST(Win32ProgressWindowTest, ShowsCaptionAndLinesAndGoesAwayOnClose) {
  const std::string caption = "KORVELLA wird gestartet " + std::to_string(GetCurrentProcessId());
  auto progress = NewProgressWindow();
  progress->Show(caption);
  HWND window = FindWindowW(L"KrvLoaderWindow", Wide(caption).c_str());
  if (!window) GTEST_SKIP() << "no display for windows";
  EXPECT_TRUE(IsWindowVisible(window));
  const std::string text = "Prüfe Datenbank...\r\nKomponenten überprüft";
  progress->SetText(text, "Komponenten");
  HWND label = FindWindowExW(window, nullptr, L"STATIC", nullptr);
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(TextOf(label), text);
  // Only the starter closes it; a close request from outside is ignored.
  SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(window));
  progress->Close();
  EXPECT_FALSE(IsWindow(window));
}

}  // namespace
}  // namespace krv::win32

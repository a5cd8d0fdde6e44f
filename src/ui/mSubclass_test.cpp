#include "ui/mSubclass.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "base/KrvError.h"
#include "testing/FakeWindowSystem.h"
#include "testing/SubclassTestSupport.h"

namespace krv {
namespace {

constexpr WindowHandle kWindow = 1234;
constexpr uint32_t kActivateApp = 28;
constexpr uint32_t kPaint = 15;
constexpr std::intptr_t kPreviousResult = 77;

class SubclassTest : public ::testing::Test {
 protected:
  SubclassTest() {
    windows.AddWindow(kWindow, [this](WindowHandle, uint32_t message, std::uintptr_t, std::intptr_t) {
      log.push_back("prev:" + std::to_string(message));
      return kPreviousResult;
    });
    original = windows.windows[kWindow].proc;
  }
  std::map<std::string, std::intptr_t>& Props() { return windows.windows[kWindow].props; }
  static std::intptr_t Ptr(const IkrvLibSubclass& h) { return reinterpret_cast<std::intptr_t>(&h); }
  // Runs `attach` and returns the error it raised (number 0 when none).
  template <typename F>
  static KrvError ErrorOf(F attach) {
    try {
      attach();
    } catch (const KrvError& e) {
      return e;
    }
    return KrvError();
  }

  FakeWindowSystem windows;
  mSubclass subclass{windows, "krv25"};
  std::vector<std::string> log;
  WindowProcAddress original = 0;
};

TEST_F(SubclassTest, BookkeepingLivesInWindowPropertiesAndDetachMovesLaterHandlersDown) {
  RecordingHandler a("a", &log), b("b", &log), stranger("s", &log);
  subclass.AttachMessage(&a, kWindow, kActivateApp);
  subclass.AttachMessage(&b, kWindow, kPaint);
  subclass.AttachMessage(&b, kWindow, kActivateApp);
  EXPECT_EQ(windows.GetWindowProc(kWindow), FakeWindowSystem::kSubclassProc);
  subclass.DetachMessage(&stranger, kWindow, kActivateApp);  // not registered: nothing changes
  subclass.DetachMessage(&a, kWindow, kPaint);
  subclass.DetachMessage(&a, kWindow, kActivateApp);
  const std::map<std::string, std::intptr_t> expected = {{"1234", original},    {"1234C", 2},    {"1234#28C", 1},
                                                         {"1234#28#1", Ptr(b)}, {"1234#15C", 1}, {"1234#15#1", Ptr(b)}};
  EXPECT_EQ(Props(), expected);
  subclass.DetachMessage(&b, kWindow, kActivateApp);
  EXPECT_EQ(windows.GetWindowProc(kWindow), FakeWindowSystem::kSubclassProc);  // kPaint still has b
  windows.Send(kWindow, kActivateApp);
  EXPECT_EQ(log, (std::vector<std::string>{"prev:28"}));
  subclass.DetachMessage(&b, kWindow, kPaint);
  EXPECT_TRUE(Props().empty());
  EXPECT_EQ(windows.GetWindowProc(kWindow), original);
}

TEST_F(SubclassTest, FirstHandlerDecidesPreProcessingAndLastHandlerPostProcessing) {
  struct Case {
    std::vector<int32_t> responses;
    std::vector<std::string> calls;
    std::intptr_t result;
  };
  const Case cases[] = {
      {{kMsgConsume}, {"h0:28"}, 100},
      {{kMsgPostProcess}, {"h0:28", "prev:28"}, kPreviousResult},
      {{kMsgPreProcess}, {"prev:28", "h0:28"}, 100},
      {{kMsgPreProcess, kMsgPostProcess}, {"prev:28", "h0:28", "h1:28"}, 101},
      {{kMsgPostProcess, kMsgConsume}, {"h0:28", "h1:28"}, 101},
      {{kMsgConsume, kMsgPostProcess}, {"h0:28", "h1:28", "prev:28"}, kPreviousResult},
      {{kMsgConsume, kMsgPreProcess, kMsgConsume}, {"h0:28", "h1:28", "h2:28"}, 102},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.calls.size());
    std::vector<std::unique_ptr<RecordingHandler>> handlers;
    for (size_t i = 0; i < c.responses.size(); ++i) {
      handlers.push_back(std::make_unique<RecordingHandler>("h" + std::to_string(i), &log, c.responses[i],
                                                            100 + static_cast<std::intptr_t>(i)));
      subclass.AttachMessage(handlers.back().get(), kWindow, kActivateApp);
    }
    log.clear();
    EXPECT_EQ(windows.Send(kWindow, kActivateApp), c.result);
    EXPECT_EQ(log, c.calls);
    for (auto& h : handlers) subclass.DetachMessage(h.get(), kWindow, kActivateApp);
    EXPECT_TRUE(Props().empty());
  }
}

TEST_F(SubclassTest, RefusedRegistrationsChangeNothing) {
  constexpr WindowHandle kForeign = 999, kOther = 777;
  windows.AddWindow(
      kForeign, [](WindowHandle, uint32_t, std::uintptr_t, std::intptr_t) { return 0; }, 1);
  windows.AddWindow(kOther, [](WindowHandle, uint32_t, std::uintptr_t, std::intptr_t) { return 0; });
  RecordingHandler a("a", &log), b("b", &log);
  subclass.AttachMessage(&a, kWindow, kPaint);
  const auto before = Props();
  const struct {
    IkrvLibSubclass* handler;
    WindowHandle hwnd;
    bool fail_install;
    int32_t number;
    const char* description;
  } cases[] = {
      {&a, kWindow, false, 13082, "Message already handled by another class"},
      {&b, 4321, false, 13083, "Invalid window"},
      {&b, 0, false, 13083, "Invalid window"},
      {&b, kForeign, false, 13084, "Can't modify external window"},
      {&b, kOther, true, 13081, "Can't subclass window"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.number);
    windows.fail_set_window_proc = c.fail_install;
    const KrvError e = ErrorOf([&] { subclass.AttachMessage(c.handler, c.hwnd, kPaint); });
    EXPECT_EQ(e.number, static_cast<int32_t>(0x80040000u + c.number));
    EXPECT_EQ(e.description, c.description);
    EXPECT_EQ(e.source, "krv25.WindowProc");
    EXPECT_EQ(Props(), before);
    EXPECT_TRUE(windows.windows[kForeign].props.empty());
    EXPECT_TRUE(windows.windows[kOther].props.empty());
  }
  windows.fail_set_window_proc = false;
  subclass.DetachMessage(&a, kWindow, kPaint);  // one detach undoes the one registration
  EXPECT_EQ(windows.GetWindowProc(kWindow), original);
}

TEST_F(SubclassTest, HandlerThatDetachesAndDestroysItselfStillGetsPostProcessingOnce) {
  auto menu = std::make_unique<RecordingHandler>("menu", &log, kMsgPostProcess, 0);
  subclass.AttachMessage(menu.get(), kWindow, kActivateApp);
  menu->during = [&] {
    subclass.DetachMessage(menu.get(), kWindow, kActivateApp);
    menu.reset();  // the form unloads itself
  };
  EXPECT_EQ(windows.Send(kWindow, kActivateApp), kPreviousResult);
  EXPECT_EQ(log, (std::vector<std::string>{"menu:28", "prev:28"}));
  EXPECT_EQ(windows.GetWindowProc(kWindow), original);
  EXPECT_TRUE(Props().empty());
}

TEST_F(SubclassTest, HandlerDetachedByAnEarlierOneIsNotCalled) {
  RecordingHandler a("a", &log, kMsgConsume), b("b", &log, kMsgConsume), c("c", &log, kMsgPostProcess);
  subclass.AttachMessage(&a, kWindow, kActivateApp);
  subclass.AttachMessage(&b, kWindow, kActivateApp);
  subclass.AttachMessage(&c, kWindow, kActivateApp);
  a.during = [&] { subclass.DetachMessage(&b, kWindow, kActivateApp); };
  EXPECT_EQ(windows.Send(kWindow, kActivateApp), kPreviousResult);
  EXPECT_EQ(log, (std::vector<std::string>{"a:28", "c:28", "prev:28"}));
}

TEST_F(SubclassTest, SmallErrorNumbersAreRaisedAsPlainRunTimeErrors) {
  const KrvError e = ErrorOf([&] { subclass.RaiseSubclassError(5); });
  EXPECT_EQ(e.number, 5);
  EXPECT_FALSE(e.description.empty());
  const KrvError other = ErrorOf([&] { subclass.RaiseSubclassError(20000); });
  EXPECT_EQ(other.number, kSubclassObjectErrorBase + 20000);
  EXPECT_EQ(other.description, "");
  EXPECT_EQ(ErrorOf([&] { subclass.AttachMessage(nullptr, kWindow, kActivateApp); }).number, 5);
}

}  // namespace
}  // namespace krv

#include "ui/mSubclass.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <tuple>

#include "base/KrvError.h"
#include "testing/FakeWindowSystem.h"
#include "testing/SubclassTestSupport.h"

namespace krv {
namespace {

using Log = std::vector<std::string>;
constexpr WindowHandle kWindow = 1234;
constexpr uint32_t kActivateApp = 28, kPaint = 15;

// Runs `attach` and returns the error it raised (number 0 when none).
template <typename F>
KrvError ErrorOf(F attach) {
  try {
    attach();
  } catch (const KrvError& e) {
    return e;
  }
  return KrvError();
}

class SubclassTest : public ::testing::Test {
 protected:
  SubclassTest() {
    windows.AddWindow(kWindow, [this](WindowHandle, uint32_t message, std::uintptr_t, std::intptr_t) {
      log.push_back("prev:" + std::to_string(message));
      return 77;
    });
    original = windows.windows[kWindow].proc;
  }
  std::map<std::string, std::intptr_t>& Props() { return windows.windows[kWindow].props; }
  void Attach(IkrvLibSubclass& h, uint32_t message = kActivateApp) { subclass.AttachMessage(&h, kWindow, message); }
  void Detach(IkrvLibSubclass& h, uint32_t message = kActivateApp) { subclass.DetachMessage(&h, kWindow, message); }

  FakeWindowSystem windows;
  mSubclass subclass{windows, "krv25"};
  Log log;
  WindowProcAddress original = 0;
};

TEST_F(SubclassTest, BookkeepingLivesInWindowPropertiesAndDetachMovesLaterHandlersDown) {
  RecordingHandler a("a", &log), b("b", &log);
  Attach(a);
  Attach(b, kPaint);
  Attach(b);
  Detach(a, kPaint);  // not registered there: nothing changes
  Detach(a);
  const auto b_at = reinterpret_cast<std::intptr_t>(&b);
  const std::map<std::string, std::intptr_t> expected = {{"1234", original},  {"1234C", 2},    {"1234#28C", 1},
                                                         {"1234#28#1", b_at}, {"1234#15C", 1}, {"1234#15#1", b_at}};
  EXPECT_EQ(Props(), expected);
  Detach(b);
  EXPECT_EQ(windows.GetWindowProc(kWindow), FakeWindowSystem::kSubclassProc);  // kPaint still has b
  windows.Send(kWindow, kActivateApp);
  EXPECT_EQ(log, (Log{"prev:28"}));
  Detach(b, kPaint);
  EXPECT_TRUE(Props().empty());
  EXPECT_EQ(windows.GetWindowProc(kWindow), original);
}

TEST_F(SubclassTest, FirstHandlerDecidesPreProcessingAndLastHandlerPostProcessing) {
  const struct {
    std::vector<int32_t> responses;
    Log calls;
    std::intptr_t result;
  } cases[] = {
      {{kMsgPreProcess, kMsgPostProcess}, {"prev:28", "h0:28", "h1:28"}, 101},
      {{kMsgPostProcess, kMsgConsume}, {"h0:28", "h1:28"}, 101},
      {{kMsgConsume, kMsgPreProcess, kMsgConsume}, {"h0:28", "h1:28", "h2:28"}, 102},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.calls.size());
    std::vector<std::unique_ptr<RecordingHandler>> handlers;
    for (size_t i = 0; i < c.responses.size(); ++i) {
      handlers.push_back(std::make_unique<RecordingHandler>("h" + std::to_string(i), &log, c.responses[i],
                                                            100 + static_cast<std::intptr_t>(i)));
      Attach(*handlers.back());
    }
    log.clear();
    EXPECT_EQ(windows.Send(kWindow, kActivateApp), c.result);
    EXPECT_EQ(log, c.calls);
    for (auto& h : handlers) Detach(*h);
  }
}

TEST_F(SubclassTest, RefusedRegistrationsChangeNothing) {
  constexpr WindowHandle kForeign = 999, kOther = 777;
  windows.AddWindow(kForeign, nullptr, 1);
  windows.AddWindow(kOther, nullptr);
  RecordingHandler a("a", &log), b("b", &log);
  Attach(a, kPaint);
  const auto before = Props();
  const struct {
    IkrvLibSubclass* handler;
    WindowHandle hwnd;
    int32_t number;
    const char* description;
  } cases[] = {
      {&a, kWindow, 13082, "Message already handled by another class"},
      {&b, 4321, 13083, "Invalid window"},
      {&b, kForeign, 13084, "Can't modify external window"},
      {&b, kOther, 13081, "Can't subclass window"},
  };
  windows.fail_set_window_proc = true;  // only a first registration installs the procedure
  for (const auto& c : cases) {
    SCOPED_TRACE(c.number);
    const KrvError e = ErrorOf([&] { subclass.AttachMessage(c.handler, c.hwnd, kPaint); });
    EXPECT_EQ(std::tie(e.number, e.description, e.source),
              std::tuple(static_cast<int32_t>(0x80040000u + c.number), c.description, "krv25.WindowProc"));
    EXPECT_TRUE(Props() == before && windows.windows[kForeign].props.empty() && windows.windows[kOther].props.empty());
  }
  const KrvError small = ErrorOf([&] { subclass.AttachMessage(nullptr, kWindow, kActivateApp); });
  EXPECT_TRUE(small.number == 5 && small.source == "krv25");  // up to 1000: a plain run-time error
}

TEST_F(SubclassTest, HandlersDetachedInsideTheChain) {
  // The menu detaches and destroys itself: post-processing still runs once.
  auto menu = std::make_unique<RecordingHandler>("menu", &log, kMsgPostProcess);
  Attach(*menu);
  menu->during = [&] {
    Detach(*menu);
    menu.reset();
  };
  EXPECT_EQ(windows.Send(kWindow, kActivateApp), 77);
  EXPECT_EQ(windows.GetWindowProc(kWindow), original);
  // One detached by an earlier handler is not called.
  RecordingHandler a("a", &log, kMsgConsume), b("b", &log, kMsgConsume), c("c", &log, kMsgPostProcess);
  for (auto* h : {&a, &b, &c}) Attach(*h);
  a.during = [&] { Detach(b); };
  EXPECT_EQ(windows.Send(kWindow, kActivateApp), 77);
  EXPECT_EQ(log, (Log{"menu:28", "prev:28", "a:28", "c:28", "prev:28"}));
}

}  // namespace
}  // namespace krv

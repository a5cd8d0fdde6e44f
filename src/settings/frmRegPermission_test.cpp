#include "settings/frmRegPermission.h"

#include <gtest/gtest.h>

#include <functional>

#include "testing/FakeDialogs.h"
#include "testing/FakeUiHost.h"

namespace krv {
namespace {

TEST(RegPermissionTest, ChoicesAndResults) {
  struct Case {
    const char* name;
    std::vector<std::string> keys;
    std::deque<int> answers;
    std::function<void(RegPermissionEvents&)> act;  // while shown
    std::string keys_text;
    bool still_shown, cancelled;
    int32_t option;
    std::string box;  // first message shown, "" none
  };
  const Case cases[] = {
      {"no keys", {}, {}, [](auto& e) { e.OkClick(); }, "", false, false, 0, ""},
      {"keys listed",
       {"Access.Application", ".mdb"},
       {},
       [](auto& e) { e.OkClick(); },
       "HKCR\\Access.Application\r\nHKCR\\.mdb",
       false,
       false,
       0,
       ""},
      {"grant, No stays open",
       {"x"},
       {kIdNo},
       [](auto& e) { e.OptionClick(1), e.OkClick(); },
       "HKCR\\x",
       true,
       false,
       1,
       "Administratorrechte von Ihnen anfordern"},
      {"grant, Yes",
       {"x"},
       {kIdYes},
       [](auto& e) { e.OptionClick(1), e.OkClick(); },
       "HKCR\\x",
       false,
       false,
       1,
       "Administratorrechte"},
      {"switch off tells where to switch on",
       {"x"},
       {},
       [](auto& e) { e.OptionClick(2), e.OkClick(); },
       "HKCR\\x",
       false,
       false,
       2,
       "<Weitere Optionen>"},
      {"cancel", {"x"}, {}, [](auto& e) { e.CancelClick(); }, "HKCR\\x", false, true, 0, ""},
      {"close box is cancel", {"x"}, {}, [](auto& e) { e.QueryUnload(kUnloadByUser); }, "HKCR\\x", false, true, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeUiHost ui;
    FakeDialogs dialogs;
    dialogs.answers = c.answers;
    cuAppError err(dialogs, AppInfo{});
    frmRegPermission form(ui, err);
    form.pubInit(c.keys);
    ui.reg_permission_view->on_modal = [&](FakeRegPermissionView& v) { c.act(*v.events); };
    form.ShowModal();
    EXPECT_EQ(ui.reg_permission_view->keys, c.keys_text);
    EXPECT_EQ(ui.reg_permission_view->shown, c.still_shown);
    EXPECT_EQ(form.Cancelled(), c.cancelled);
    EXPECT_EQ(form.Option(), c.option);
    EXPECT_TRUE(form.Loaded());  // the caller unloads it
    if (c.box.empty()) {
      EXPECT_TRUE(dialogs.shown.empty());
    } else {
      ASSERT_FALSE(dialogs.shown.empty());
      EXPECT_NE(dialogs.shown[0].text.find(c.box), std::string::npos) << dialogs.shown[0].text;
    }
  }
}

}  // namespace
}  // namespace krv

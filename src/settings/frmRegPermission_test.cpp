#include "settings/frmRegPermission.h"

#include <gtest/gtest.h>

#include <functional>

#include "testing/FakeDialogs.h"
#include "testing/FakeUiHost.h"

namespace krv {
namespace {

TEST(RegPermissionTest, ChoicesAndResults) {
  const struct {
    std::deque<int> answers;
    std::function<void(RegPermissionEvents&)> act;  // while shown
    bool still_shown, cancelled;
    int32_t option;
    std::string box;  // part of the first message shown, "" none
  } cases[] = {
      {{}, [](auto& e) { e.OkClick(); }, false, false, 0, ""},
      {{kIdNo}, [](auto& e) { e.OptionClick(1), e.OkClick(); }, true, false, 1, "Administratorrechte von Ihnen"},
      {{kIdYes}, [](auto& e) { e.OptionClick(1), e.OkClick(); }, false, false, 1, "Administratorrechte"},
      {{}, [](auto& e) { e.OptionClick(2), e.OkClick(); }, false, false, 2, "<Weitere Optionen>"},
      {{}, [](auto& e) { e.CancelClick(); }, false, true, 0, ""},
      {{}, [](auto& e) { e.QueryUnload(kUnloadByUser); }, false, true, 0, ""},  // the close box cancels
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    FakeUiHost ui;
    FakeDialogs dialogs;
    dialogs.answers = c.answers;
    cuAppError err(dialogs, AppInfo{});
    frmRegPermission form(ui, err);
    form.pubInit({"Access.Application", ".mdb"});
    ui.reg_permission_view->on_modal = [&](FakeRegPermissionView& v) { c.act(*v.events); };
    form.ShowModal();
    EXPECT_EQ(ui.reg_permission_view->keys, "HKCR\\Access.Application\r\nHKCR\\.mdb");
    EXPECT_EQ(ui.reg_permission_view->shown, c.still_shown);
    EXPECT_EQ(form.Cancelled(), c.cancelled);
    EXPECT_EQ(form.Option(), c.option);
    EXPECT_TRUE(form.Loaded());  // the caller unloads it
    const std::string box = dialogs.shown.empty() ? "" : dialogs.shown[0].text;
    EXPECT_TRUE(c.box.empty() ? box.empty() : box.find(c.box) != std::string::npos) << box;
  }
}

}  // namespace
}  // namespace krv

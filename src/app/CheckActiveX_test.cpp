#include "app/CheckActiveX.h"

#include <gtest/gtest.h>

#include "testing/FakeDialogs.h"
#include "testing/FakeRegistry.h"

namespace krv {
namespace {

// Records which registrations were looked at; `deny` makes one unreadable.
class RecordingRegistry : public FakeRegistry {
 public:
  std::vector<std::string> read;
  std::string deny;
  RegStatus ReadValue(Hive hive, const std::string& key, const std::string& name, RegValue* out,
                      std::string* err) override {
    read.push_back(key);
    if (key == deny) return RegStatus::kDenied;
    return FakeRegistry::ReadValue(hive, key, name, out, err);
  }
};

class CheckActiveXTest : public testing::Test {
 protected:
  void RegisterAllBut(const char* missing) {
    for (const ActiveXComponent& c : kActiveXComponents) {
      if (std::string(c.prog_id) != missing) {
        reg.SetString(Hive::ClassesRoot, std::string(c.prog_id) + "\\CLSID", "",
                      "{00000000-0000-0000-0000-000000000001}");
      }
    }
  }
  KrvError Raised() {
    try {
      CheckActiveX(reg, err);
    } catch (const KrvError& e) {
      return e;
    }
    return {};
  }
  RecordingRegistry reg;
  FakeDialogs dialogs;
  cuAppError err{dialogs, AppInfo{}};
};

TEST_F(CheckActiveXTest, MissingComponentStopsThereWithMessage207) {
  struct Case {
    const char* prog_id;  // "" all registered
    const char* label;
    size_t tried;
  } cases[] = {
      {"", "", 8},
      {"KrvErr25.krvErrMsg", "ErrorDLL", 1},
      {"KRVRsc25.krvResourceFunctions", "ResourceDLL", 8},
  };
  for (const Case& c : cases) {
    reg = RecordingRegistry();
    RegisterAllBut(c.prog_id);
    const KrvError e = Raised();
    ASSERT_EQ(reg.read.size(), c.tried) << c.label;  // nothing after it was tried
    if (!*c.prog_id) {
      EXPECT_EQ(e.number, 0);
      continue;
    }
    EXPECT_EQ(e.number, -2147221711) << c.label;  // message 207 as error
    EXPECT_EQ(e.description, err.MsgLoad(207, c.label));
    EXPECT_EQ(e.source, "cApp: CheckActiveX");
    EXPECT_EQ(reg.read.back(), std::string(c.prog_id) + "\\CLSID");
  }
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(CheckActiveXTest, UnreadableRegistrationIsMessage208) {
  RegisterAllBut("");
  reg.deny = "KRVInf25.krvInfo\\CLSID";
  const KrvError e = Raised();
  EXPECT_EQ(e.number, -2147221712);  // message 208 as error
  EXPECT_EQ(e.description.rfind("Fehler Nr. 70 beim Erstellen der Komponente 'InfoDLL':\r\n", 0), 0u) << e.description;
  EXPECT_NE(e.description.find("KRVInf25.krvInfo"), std::string::npos);
  EXPECT_EQ(reg.read.size(), 3u);
}

}  // namespace
}  // namespace krv

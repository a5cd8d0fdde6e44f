#include "app/CheckActiveX.h"

#include <gtest/gtest.h>

#include "testing/FakeDialogs.h"
#include "testing/FakeRegistry.h"

namespace krv {
namespace {

// A registry where the registration `deny` cannot be read.
struct DenyingRegistry : FakeRegistry {
  std::string deny;
  RegStatus ReadValue(Hive hive, const std::string& key, const std::string& name, RegValue* out,
                      std::string* err) override {
    return key == deny ? RegStatus::kDenied : FakeRegistry::ReadValue(hive, key, name, out, err);
  }
};

TEST(CheckActiveXTest, TheFirstMissingOrUnreadableComponentStopsTheStart) {
  const struct Case {
    const char* missing;  // "" all registered
    const char* denied;
    int32_t number;
    const char* text;  // start of the description
  } cases[] = {
      {"", "", 0, ""},
      {"KrvErr25.krvErrMsg", "", -2147221711, "Die Komponente 'ErrorDLL' ist nicht korrekt registriert."},
      {"KRVRsc25.krvResourceFunctions", "", -2147221711, "Die Komponente 'ResourceDLL' ist nicht"},
      {"", "KRVInf25.krvInfo\\CLSID", -2147221712, "Fehler Nr. 70 beim Erstellen der Komponente 'InfoDLL':\r\n"},
  };
  for (const Case& c : cases) {
    DenyingRegistry reg;
    reg.deny = c.denied;
    for (const ActiveXComponent& x : kActiveXComponents) {
      if (std::string(x.prog_id) != c.missing)
        reg.SetString(Hive::ClassesRoot, std::string(x.prog_id) + "\\CLSID", "", "{1}");
    }
    FakeDialogs dialogs;
    cuAppError err{dialogs, AppInfo{}};
    KrvError e;
    try {
      CheckActiveX(reg, err);
    } catch (const KrvError& raised) {
      e = raised;
    }
    EXPECT_EQ(e.number, c.number) << c.text;
    EXPECT_EQ(e.description.rfind(c.text, 0), 0u) << e.description;
    EXPECT_EQ(e.source, c.number ? "cApp: CheckActiveX" : "") << c.text;
    EXPECT_TRUE(dialogs.shown.empty());
  }
}

}  // namespace
}  // namespace krv

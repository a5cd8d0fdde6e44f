// The registry interface's behaviour, run on the memory registry and every native one, so all agree.
#include "platform/Registry.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/RegistryUnderTest.h"
#include "testing/FakeRegistry.h"

namespace krv {
namespace {

std::vector<RegistryUnderTest> AllRegistries() {
  std::vector<RegistryUnderTest> all;
  all.push_back({"Fake", [] { return std::make_unique<FakeRegistry>(); }, "Software\\KrvRegistryTest", true});
  for (RegistryUnderTest& native : NativeRegistriesUnderTest()) all.push_back(std::move(native));
  return all;
}

std::vector<uint8_t> Bytes(std::string_view s) { return std::vector<uint8_t>(s.begin(), s.end()); }

std::set<std::string> AsSet(const std::vector<std::string>& v) { return {v.begin(), v.end()}; }

class RegistryBehaviour : public ::testing::TestWithParam<RegistryUnderTest> {
 protected:
  void SetUp() override { Cleanup(); }
  void TearDown() override { Cleanup(); }
  void Cleanup() {
    reg_->DeleteKeyTree(Hive::CurrentUser, GetParam().test_root, nullptr);
    if (GetParam().local_machine_writable) reg_->DeleteKeyTree(Hive::LocalMachine, GetParam().test_root, nullptr);
  }
  std::string K(const std::string& sub) const { return GetParam().test_root + "\\" + sub; }
  void Write(const std::string& key, const std::string& name, const RegValue& value) {
    std::string err;
    ASSERT_EQ(reg_->WriteValue(Hive::CurrentUser, key, name, value, &err), RegStatus::kOk) << err;
  }
  RegValue Read(const std::string& key, const std::string& name) {
    RegValue v;
    EXPECT_EQ(reg_->ReadValue(Hive::CurrentUser, key, name, &v, nullptr), RegStatus::kOk) << name;
    return v;
  }

  std::unique_ptr<Registry> reg_ = GetParam().make();
};

TEST_P(RegistryBehaviour, ReadsBackEveryTypeAndUnusualNamesAsWritten) {
  const std::string key = " Mit/Schräg \"Anführung\" Semi;kolon = # ] Klammern [ ";
  const struct {
    const char* name;
    RegValue value;
  } cases[] = {
      {"", RegValue::Sz("Vorgabe")},
      {"\"", RegValue::Sz("Grüße ÄÖÜ € \xE6\xBC\xA2\xF0\x9F\x98\x80")},
      {"a\\b", RegValue::Sz("C:\\Pfad\\\"zitiert\" ; # = [x] @\r\nzweite Zeile\ttab")},
      {"; # = [x]", RegValue::ExpandSz("%ProgramFiles%\\Korvella")},
      {"@", RegValue::Dword(0xFFFFFFFFu)},
      {" blank ", RegValue::Raw(kRegBinary, Bytes(std::string(5000, '\xA5')))},
      {"-", RegValue::Raw(kRegMultiSz, Bytes(std::string_view("e\0i\0\0\0\0\0", 8)))},
      {"Qword", RegValue::Raw(kRegQword, Bytes("\x01\x02\x03\x04\x05\x06\x07\x08"))},
  };
  std::set<std::string> names;
  for (const auto& c : cases) {
    Write(K(key), c.name, RegValue::Sz("12"));  // a rewrite may change the type
    Write(K(key), c.name, c.value);
    names.insert(c.name);
  }
  for (const auto& c : cases) EXPECT_EQ(Read(K(key), c.name), c.value) << c.name;
  EXPECT_EQ(AsSet(reg_->ValueNames(Hive::CurrentUser, K(key))), names);
  EXPECT_EQ(reg_->SubKeys(Hive::CurrentUser, GetParam().test_root), std::vector<std::string>{key});
}

TEST_P(RegistryBehaviour, NamesIgnoreLetterCaseAndKeepTheirFirstSpelling) {
  Write(K("Gemischt\\Schlüssel"), "WertName", RegValue::Sz("a"));
  Write(K("GEMISCHT\\schlüssel"), "wertname", RegValue::Sz("b"));
  EXPECT_EQ(reg_->SubKeys(Hive::CurrentUser, K("gemischt")), std::vector<std::string>{"Schlüssel"});
  EXPECT_EQ(reg_->ValueNames(Hive::CurrentUser, K("Gemischt\\Schlüssel")), std::vector<std::string>{"WertName"});
  EXPECT_EQ(Read(K("gEmIsChT\\SchLüssel"), "WERTNAME").text, "b");
}

TEST_P(RegistryBehaviour, ValuesAreListedInCreationOrder) {
  if (!GetParam().value_creation_order) GTEST_SKIP() << "this store sorts value names";
  for (const char* name : {"c", "a", "B", "d"}) Write(K("Order"), name, RegValue::Dword(1));
  Write(K("Order"), "A", RegValue::Sz("replaced keeps its place"));
  ASSERT_EQ(reg_->DeleteValue(Hive::CurrentUser, K("Order"), "b", nullptr), RegStatus::kOk);
  Write(K("Order"), "b", RegValue::Dword(2));  // a new value goes to the end
  EXPECT_EQ(reg_->ValueNames(Hive::CurrentUser, K("Order")), (std::vector<std::string>{"c", "a", "d", "b"}));
}

TEST_P(RegistryBehaviour, DeleteTakesTheWholeSubtreeAndNothingElseAndMissingIsNotFound) {
  Write(K("Baum\\Ast\\Zweig"), "v", RegValue::Dword(1));
  Write(K("Baum\\Nachbar"), "v", RegValue::Dword(3));
  Write(K("Baum"), "v", RegValue::Dword(4));
  ASSERT_EQ(reg_->DeleteKeyTree(Hive::CurrentUser, K("baum\\AST"), nullptr), RegStatus::kOk);
  EXPECT_EQ(reg_->SubKeys(Hive::CurrentUser, K("Baum")), std::vector<std::string>{"Nachbar"});
  ASSERT_EQ(reg_->DeleteValue(Hive::CurrentUser, K("Baum"), "V", nullptr), RegStatus::kOk);
  EXPECT_TRUE(reg_->ValueNames(Hive::CurrentUser, K("Baum")).empty() && reg_->KeyExists(Hive::CurrentUser, K("Baum")));
  for (const auto& [key, name] : {std::pair("Fehlt", "v"), {"Baum", "v"}, {"Baum\\Ast\\Zweig", "v"}}) {
    RegValue v;
    EXPECT_EQ(reg_->ReadValue(Hive::CurrentUser, K(key), name, &v, nullptr), RegStatus::kNotFound) << key;
    EXPECT_FALSE(reg_->ValueExists(Hive::CurrentUser, K(key), name)) << key;
    EXPECT_EQ(reg_->DeleteValue(Hive::CurrentUser, K(key), name, nullptr), RegStatus::kNotFound) << key;
  }
  EXPECT_FALSE(reg_->KeyExists(Hive::CurrentUser, K("Baum\\Ast")));
  EXPECT_EQ(reg_->DeleteKeyTree(Hive::CurrentUser, K("Baum\\Ast"), nullptr), RegStatus::kNotFound);
}

TEST_P(RegistryBehaviour, LocalMachineWritesFollowTheRights) {
  std::string err;
  const RegStatus status = reg_->WriteValue(Hive::LocalMachine, K("Maschine"), "Wert", RegValue::Sz("m"), &err);
  const bool writable = GetParam().local_machine_writable;
  EXPECT_EQ(status, writable ? RegStatus::kOk : RegStatus::kDenied) << err;
  EXPECT_EQ(err.empty(), writable);
  EXPECT_EQ(reg_->ValueExists(Hive::LocalMachine, K("Maschine"), "Wert"), writable);
  EXPECT_FALSE(reg_->ValueExists(Hive::CurrentUser, K("Maschine"), "Wert"));  // hives are apart
  EXPECT_TRUE(writable || reg_->CreateKey(Hive::LocalMachine, K("Maschine"), nullptr) == RegStatus::kDenied);
}

INSTANTIATE_TEST_SUITE_P(All, RegistryBehaviour, ::testing::ValuesIn(AllRegistries()),
                         [](const auto& p) { return p.param.name; });

}  // namespace
}  // namespace krv

// Behaviour of the registry interface, run against the memory registry and
// every native implementation of the platform, so all of them agree.
#include "platform/Registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>

#include "platform/RegistryUnderTest.h"
#include "testing/FakeRegistry.h"

namespace krv {
namespace {

std::vector<RegistryUnderTest> AllRegistries() {
  std::vector<RegistryUnderTest> all;
  all.push_back({"Fake", [] { return std::make_unique<FakeRegistry>(); }, "Software\\KrvRegistryTest", true});
  all.push_back({"FakeReadOnlyMachine",
                 [] {
                   auto fake = std::make_unique<FakeRegistry>();
                   fake->read_only.insert(Hive::LocalMachine);
                   return fake;
                 },
                 "Software\\KrvRegistryTest", false});
  for (RegistryUnderTest& native : NativeRegistriesUnderTest()) all.push_back(std::move(native));
  return all;
}

std::vector<uint8_t> Bytes(std::string_view s) { return std::vector<uint8_t>(s.begin(), s.end()); }

std::set<std::string> AsSet(const std::vector<std::string>& v) { return {v.begin(), v.end()}; }

class RegistryBehaviour : public ::testing::TestWithParam<RegistryUnderTest> {
 protected:
  void SetUp() override {
    reg_ = GetParam().make();
    ASSERT_NE(reg_, nullptr);
    Cleanup();
  }
  void TearDown() override {
    if (reg_) Cleanup();
  }
  void Cleanup() {
    reg_->DeleteKeyTree(Hive::CurrentUser, GetParam().test_root, nullptr);
    if (GetParam().local_machine_writable) reg_->DeleteKeyTree(Hive::LocalMachine, GetParam().test_root, nullptr);
  }
  std::string K(const std::string& sub) const { return GetParam().test_root + "\\" + sub; }
  void Write(const std::string& key, const std::string& name, const RegValue& value, Hive hive = Hive::CurrentUser) {
    std::string err;
    ASSERT_EQ(reg_->WriteValue(hive, key, name, value, &err), RegStatus::kOk) << err;
  }
  RegValue Read(const std::string& key, const std::string& name) {
    RegValue v;
    std::string err;
    EXPECT_EQ(reg_->ReadValue(Hive::CurrentUser, key, name, &v, &err), RegStatus::kOk) << name << ": " << err;
    return v;
  }

  std::unique_ptr<Registry> reg_;
};

TEST_P(RegistryBehaviour, ReadsBackEveryTypeAsWritten) {
  const std::u16string multi(u"eins\0zwei\0\0", 11);
  std::vector<uint8_t> multi_bytes;
  for (char16_t c : multi) {
    multi_bytes.push_back(static_cast<uint8_t>(c & 0xFF));
    multi_bytes.push_back(static_cast<uint8_t>(c >> 8));
  }
  std::vector<uint8_t> big(5000);
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<uint8_t>(i * 31 + 7);
  const struct {
    const char* name;
    RegValue value;
  } cases[] = {
      {"", RegValue::Sz("Vorgabe")},
      {"Umlaute", RegValue::Sz("Grüße äöüß ÄÖÜ € \xE6\xBC\xA2\xF0\x9F\x98\x80")},
      {"Zeichen", RegValue::Sz("C:\\Pfad\\\"zitiert\" ; # = [x] @\r\nzweite Zeile\ttab")},
      {"Expand", RegValue::ExpandSz("%ProgramFiles%\\Korvella\\%USERNAME%")},
      {"Max", RegValue::Dword(0xFFFFFFFFu)},
      {"Binary", RegValue::Raw(kRegBinary, Bytes("\x01\x00\xFF\x7F"))},
      {"BigBinary", RegValue::Raw(kRegBinary, big)},
      {"Multi", RegValue::Raw(kRegMultiSz, multi_bytes)},
      {"Qword", RegValue::Raw(kRegQword, Bytes("\x01\x02\x03\x04\x05\x06\x07\x08"))},
      {"None", RegValue::Raw(kRegNone, Bytes("\x09"))},
  };
  std::vector<std::string> names;
  for (const auto& c : cases) {
    Write(K("Types"), c.name, RegValue::Sz("12"));  // a rewrite may change the type
    Write(K("Types"), c.name, c.value);
    names.push_back(c.name);
  }
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(reg_->ValueExists(Hive::CurrentUser, K("Types"), c.name));
    EXPECT_EQ(Read(K("Types"), c.name), c.value);
  }
  EXPECT_EQ(AsSet(reg_->ValueNames(Hive::CurrentUser, K("Types"))), AsSet(names));
}

TEST_P(RegistryBehaviour, NamesIgnoreLetterCaseAndKeepTheirFirstSpelling) {
  Write(K("Gemischt\\Schlüssel"), "WertName", RegValue::Sz("a"));
  Write(K("GEMISCHT\\schlüssel"), "wertname", RegValue::Sz("b"));
  ASSERT_EQ(reg_->CreateKey(Hive::CurrentUser, K("gemischt\\SCHLÜSSEL"), nullptr), RegStatus::kOk);
  EXPECT_EQ(reg_->SubKeys(Hive::CurrentUser, GetParam().test_root), std::vector<std::string>{"Gemischt"});
  EXPECT_EQ(reg_->SubKeys(Hive::CurrentUser, K("gemischt")), std::vector<std::string>{"Schlüssel"});
  EXPECT_EQ(reg_->ValueNames(Hive::CurrentUser, K("Gemischt\\Schlüssel")), std::vector<std::string>{"WertName"});
  EXPECT_EQ(Read(K("gEmIsChT\\SchLüssel"), "WERTNAME").text, "b");
  EXPECT_TRUE(reg_->KeyExists(Hive::CurrentUser, K("GEMISCHT")));
  EXPECT_TRUE(reg_->ValueExists(Hive::CurrentUser, K("gemischt\\schlüssel"), "wertNAME"));
}

TEST_P(RegistryBehaviour, ValuesAreListedInCreationOrder) {
  if (!GetParam().value_creation_order) GTEST_SKIP() << "this store sorts value names";
  for (const char* name : {"c", "a", "B", "d"}) Write(K("Order"), name, RegValue::Dword(1));
  Write(K("Order"), "A", RegValue::Sz("replaced keeps its place"));
  std::string err;
  ASSERT_EQ(reg_->DeleteValue(Hive::CurrentUser, K("Order"), "b", &err), RegStatus::kOk) << err;
  Write(K("Order"), "b", RegValue::Dword(2));  // a new value goes to the end
  EXPECT_EQ(reg_->ValueNames(Hive::CurrentUser, K("Order")), (std::vector<std::string>{"c", "a", "d", "b"}));
}

TEST_P(RegistryBehaviour, MissingKeysAndValuesAreNotFound) {
  Write(K("Da"), "Wert", RegValue::Sz("x"));
  const struct {
    const char* key;
    const char* name;
  } missing[] = {{"Fehlt", "Wert"}, {"Da", "Fehlt"}, {"Da\\Fehlt", "Wert"}};
  for (const auto& m : missing) {
    SCOPED_TRACE(std::string(m.key) + " / " + m.name);
    RegValue v;
    EXPECT_EQ(reg_->ReadValue(Hive::CurrentUser, K(m.key), m.name, &v, nullptr), RegStatus::kNotFound);
    EXPECT_FALSE(reg_->ValueExists(Hive::CurrentUser, K(m.key), m.name));
    EXPECT_EQ(reg_->DeleteValue(Hive::CurrentUser, K(m.key), m.name, nullptr), RegStatus::kNotFound);
  }
  EXPECT_FALSE(reg_->KeyExists(Hive::CurrentUser, K("Fehlt")));
  EXPECT_EQ(reg_->DeleteKeyTree(Hive::CurrentUser, K("Fehlt"), nullptr), RegStatus::kNotFound);
  EXPECT_TRUE(reg_->SubKeys(Hive::CurrentUser, K("Fehlt")).empty());
}

TEST_P(RegistryBehaviour, DeleteKeyTreeRemovesTheWholeSubtreeAndNothingElse) {
  Write(K("Baum\\Ast\\Zweig"), "v", RegValue::Dword(1));
  Write(K("Baum\\Ast"), "v", RegValue::Dword(2));
  Write(K("Baum\\Nachbar"), "v", RegValue::Dword(3));
  Write(K("Baum"), "v", RegValue::Dword(4));
  std::string err;
  ASSERT_EQ(reg_->DeleteKeyTree(Hive::CurrentUser, K("baum\\AST"), &err), RegStatus::kOk) << err;
  EXPECT_FALSE(reg_->KeyExists(Hive::CurrentUser, K("Baum\\Ast")));
  EXPECT_FALSE(reg_->ValueExists(Hive::CurrentUser, K("Baum\\Ast\\Zweig"), "v"));
  EXPECT_EQ(reg_->SubKeys(Hive::CurrentUser, K("Baum")), std::vector<std::string>{"Nachbar"});
  EXPECT_EQ(Read(K("Baum\\Nachbar"), "v").dword, 3u);
  EXPECT_EQ(Read(K("Baum"), "v").dword, 4u);
  ASSERT_EQ(reg_->DeleteValue(Hive::CurrentUser, K("Baum"), "V", &err), RegStatus::kOk) << err;
  EXPECT_TRUE(reg_->ValueNames(Hive::CurrentUser, K("Baum")).empty());
  EXPECT_TRUE(reg_->KeyExists(Hive::CurrentUser, K("Baum")));
}

TEST_P(RegistryBehaviour, UnusualCharactersInNamesSurvive) {
  const std::vector<std::string> keys = {"Mit/Schräg \"Anführung\"", "Semi;kolon = # ] Klammern [", " Leer "};
  const std::vector<std::string> names = {"\"", "a\\b", "; # = [x]", "@", " blank ", "-"};
  for (const std::string& key : keys) {
    for (const std::string& name : names) Write(K("Namen\\" + key), name, RegValue::Sz(key + "|" + name));
  }
  EXPECT_EQ(AsSet(reg_->SubKeys(Hive::CurrentUser, K("Namen"))), AsSet(keys));
  for (const std::string& key : keys) {
    SCOPED_TRACE(key);
    EXPECT_EQ(AsSet(reg_->ValueNames(Hive::CurrentUser, K("Namen\\" + key))), AsSet(names));
    for (const std::string& name : names) EXPECT_EQ(Read(K("Namen\\" + key), name).text, key + "|" + name);
  }
}

TEST_P(RegistryBehaviour, LocalMachineWritesFollowTheRights) {
  std::string err;
  const RegStatus status = reg_->WriteValue(Hive::LocalMachine, K("Maschine"), "Wert", RegValue::Sz("m"), &err);
  if (GetParam().local_machine_writable) {
    ASSERT_EQ(status, RegStatus::kOk) << err;
    RegValue v;
    ASSERT_EQ(reg_->ReadValue(Hive::LocalMachine, K("Maschine"), "Wert", &v, &err), RegStatus::kOk) << err;
    EXPECT_EQ(v.text, "m");
    EXPECT_FALSE(reg_->ValueExists(Hive::CurrentUser, K("Maschine"), "Wert"));  // hives are apart
  } else {
    EXPECT_EQ(status, RegStatus::kDenied);
    EXPECT_FALSE(err.empty());
    EXPECT_EQ(reg_->CreateKey(Hive::LocalMachine, K("Maschine"), nullptr), RegStatus::kDenied);
    EXPECT_FALSE(reg_->ValueExists(Hive::LocalMachine, K("Maschine"), "Wert"));
  }
}

std::string TestName(const ::testing::TestParamInfo<RegistryUnderTest>& info) {
  std::string name = info.param.name;
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(All, RegistryBehaviour, ::testing::ValuesIn(AllRegistries()), TestName);

}  // namespace
}  // namespace krv

// Win32 code only: the registry through advapi32, always in the 32-bit view.
#include <cstring>
#include <vector>

#include "base/Text.h"
#include "platform/RegTree.h"
#include "platform/win32/Services_win32.h"
#include "platform/win32/Win32Util_win32.h"

namespace krv::win32 {
namespace {

// The 32-bit view is where 32-bit Office writes; a 64-bit build of us reads the same keys.
constexpr REGSAM kView = KEY_WOW64_32KEY;

HKEY RootKey(Hive hive) {
  switch (hive) {
    case Hive::ClassesRoot:
      return HKEY_CLASSES_ROOT;
    case Hive::CurrentUser:
      return HKEY_CURRENT_USER;
    case Hive::LocalMachine:
      return HKEY_LOCAL_MACHINE;
    case Hive::Users:
      return HKEY_USERS;
  }
  return nullptr;
}

// Leading, trailing and doubled backslashes do not matter, as in the memory registry.
std::string NormalKey(const std::string& key) {
  std::string out;
  for (const std::string& part : SplitKeyPath(key)) {
    if (!out.empty()) out += '\\';
    out += part;
  }
  return out;
}

std::string Where(Hive hive, const std::string& key) {
  std::string s = HiveName(hive);
  if (!key.empty()) s += "\\" + key;
  return s;
}

RegStatus StatusOf(LONG rc) {
  switch (rc) {
    case ERROR_SUCCESS:
      return RegStatus::kOk;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return RegStatus::kNotFound;
    case ERROR_ACCESS_DENIED:
      return RegStatus::kDenied;
    default:
      return RegStatus::kFailed;
  }
}

RegStatus Report(LONG rc, std::string* err, const char* api, const std::string& where) {
  if (rc != ERROR_SUCCESS && err) *err = ApiError(api, where, static_cast<DWORD>(rc));
  return StatusOf(rc);
}

LONG OpenKey(Hive hive, const std::string& key, REGSAM access, UniqueKey* out) {
  HKEY root = RootKey(hive);
  if (!root) return ERROR_INVALID_HANDLE;
  return RegOpenKeyExW(root, Wide(key).c_str(), 0, access | kView, out->out());
}

LONG CreateOrOpenKey(Hive hive, const std::string& key, REGSAM access, UniqueKey* out) {
  HKEY root = RootKey(hive);
  if (!root) return ERROR_INVALID_HANDLE;
  return RegCreateKeyExW(root, Wide(key).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access | kView, nullptr,
                         out->out(), nullptr);
}

// Text of REG_SZ data: up to the first NUL (Windows stores one; some writers store none or several).
std::string TextOf(const std::vector<BYTE>& bytes) {
  std::wstring w(bytes.size() / sizeof(wchar_t), L'\0');
  if (!w.empty()) memcpy(w.data(), bytes.data(), w.size() * sizeof(wchar_t));
  const size_t nul = w.find(L'\0');
  if (nul != std::wstring::npos) w.resize(nul);
  return Narrow(w);
}

RegValue ValueOf(DWORD type, std::vector<BYTE> bytes) {
  if (type == REG_SZ || type == REG_EXPAND_SZ) {
    RegValue v = RegValue::Sz(TextOf(bytes));
    v.type = type;
    return v;
  }
  if (type == REG_DWORD) {
    bytes.resize(sizeof(DWORD), 0);  // a short value reads as its bytes padded with zeros
    DWORD d = 0;
    memcpy(&d, bytes.data(), sizeof d);
    return RegValue::Dword(d);
  }
  return RegValue::Raw(type, std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

// The bytes Windows stores for a value.
std::vector<BYTE> BytesOf(const RegValue& value) {
  if (value.type == kRegSz || value.type == kRegExpandSz) {
    const std::wstring w = Wide(value.text);
    const auto* p = reinterpret_cast<const BYTE*>(w.c_str());
    return std::vector<BYTE>(p, p + (w.size() + 1) * sizeof(wchar_t));  // with the terminating NUL
  }
  if (value.type == kRegDword) {
    const auto* p = reinterpret_cast<const BYTE*>(&value.dword);
    return std::vector<BYTE>(p, p + sizeof(DWORD));
  }
  return std::vector<BYTE>(value.data.begin(), value.data.end());
}

class Win32Registry : public Registry {
 public:
  bool KeyExists(Hive hive, const std::string& key) override {
    UniqueKey k;
    const LONG rc = OpenKey(hive, NormalKey(key), KEY_QUERY_VALUE, &k);
    return rc == ERROR_SUCCESS || rc == ERROR_ACCESS_DENIED;  // denied: it is there, we may not look
  }

  RegStatus CreateKey(Hive hive, const std::string& key, std::string* err) override {
    const std::string path = NormalKey(key);
    UniqueKey k;
    return Report(CreateOrOpenKey(hive, path, KEY_QUERY_VALUE, &k), err, "RegCreateKeyExW", Where(hive, path));
  }

  RegStatus DeleteKeyTree(Hive hive, const std::string& key, std::string* err) override {
    const std::string path = NormalKey(key);
    if (path.empty()) {
      if (err) *err = "RegDeleteTreeW(" + Where(hive, path) + "): a whole hive is never deleted";
      return RegStatus::kDenied;
    }
    {
      UniqueKey k;
      LONG rc = OpenKey(hive, path, DELETE | KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | KEY_SET_VALUE, &k);
      if (rc != ERROR_SUCCESS) return Report(rc, err, "RegOpenKeyExW", Where(hive, path));
      // Empties the key; the key itself goes below, named in our view.
      rc = RegDeleteTreeW(k.get(), nullptr);
      if (rc != ERROR_SUCCESS) return Report(rc, err, "RegDeleteTreeW", Where(hive, path));
    }
    const LONG rc = RegDeleteKeyExW(RootKey(hive), Wide(path).c_str(), kView, 0);
    return Report(rc, err, "RegDeleteKeyExW", Where(hive, path));
  }

  bool ValueExists(Hive hive, const std::string& key, const std::string& name) override {
    UniqueKey k;
    if (OpenKey(hive, NormalKey(key), KEY_QUERY_VALUE, &k) != ERROR_SUCCESS) return false;
    return RegQueryValueExW(k.get(), Wide(name).c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  }

  RegStatus ReadValue(Hive hive, const std::string& key, const std::string& name, RegValue* out,
                      std::string* err) override {
    const std::string path = NormalKey(key);
    UniqueKey k;
    LONG rc = OpenKey(hive, path, KEY_QUERY_VALUE, &k);
    if (rc != ERROR_SUCCESS) return Report(rc, err, "RegOpenKeyExW", Where(hive, path));
    const std::wstring wname = Wide(name);
    std::vector<BYTE> bytes(256);
    DWORD type = REG_NONE;
    // The value may grow between the size query and the read; try a few times.
    for (int attempt = 0; attempt < 4; ++attempt) {
      DWORD size = static_cast<DWORD>(bytes.size());
      rc = RegQueryValueExW(k.get(), wname.c_str(), nullptr, &type, bytes.data(), &size);
      if (rc == ERROR_MORE_DATA) {
        bytes.resize(size + sizeof(wchar_t));
        continue;
      }
      if (rc == ERROR_SUCCESS) bytes.resize(size);
      break;
    }
    if (rc != ERROR_SUCCESS) return Report(rc, err, "RegQueryValueExW", Where(hive, path) + "\\" + name);
    *out = ValueOf(type, std::move(bytes));
    return RegStatus::kOk;
  }

  RegStatus WriteValue(Hive hive, const std::string& key, const std::string& name, const RegValue& value,
                       std::string* err) override {
    const std::string path = NormalKey(key);
    UniqueKey k;
    LONG rc = CreateOrOpenKey(hive, path, KEY_SET_VALUE, &k);
    if (rc != ERROR_SUCCESS) return Report(rc, err, "RegCreateKeyExW", Where(hive, path));
    const std::vector<BYTE> bytes = BytesOf(value);
    rc = RegSetValueExW(k.get(), Wide(name).c_str(), 0, value.type, bytes.empty() ? nullptr : bytes.data(),
                        static_cast<DWORD>(bytes.size()));
    return Report(rc, err, "RegSetValueExW", Where(hive, path) + "\\" + name);
  }

  RegStatus DeleteValue(Hive hive, const std::string& key, const std::string& name, std::string* err) override {
    const std::string path = NormalKey(key);
    UniqueKey k;
    LONG rc = OpenKey(hive, path, KEY_SET_VALUE, &k);
    if (rc != ERROR_SUCCESS) return Report(rc, err, "RegOpenKeyExW", Where(hive, path));
    rc = RegDeleteValueW(k.get(), Wide(name).c_str());
    return Report(rc, err, "RegDeleteValueW", Where(hive, path) + "\\" + name);
  }

  std::vector<std::string> ValueNames(Hive hive, const std::string& key) override {
    std::vector<std::string> names;
    UniqueKey k;
    if (OpenKey(hive, NormalKey(key), KEY_QUERY_VALUE, &k) != ERROR_SUCCESS) return names;
    std::wstring buffer(16384, L'\0');  // the longest value name Windows allows, plus NUL
    for (DWORD i = 0;; ++i) {
      DWORD len = static_cast<DWORD>(buffer.size());
      const LONG rc = RegEnumValueW(k.get(), i, buffer.data(), &len, nullptr, nullptr, nullptr, nullptr);
      if (rc != ERROR_SUCCESS) break;
      names.push_back(Narrow(std::wstring_view(buffer.data(), len)));
    }
    return names;
  }

  std::vector<std::string> SubKeys(Hive hive, const std::string& key) override {
    std::vector<std::string> names;
    UniqueKey k;
    if (OpenKey(hive, NormalKey(key), KEY_ENUMERATE_SUB_KEYS, &k) != ERROR_SUCCESS) return names;
    std::wstring buffer(512, L'\0');  // key names have at most 255 characters
    for (DWORD i = 0;; ++i) {
      DWORD len = static_cast<DWORD>(buffer.size());
      const LONG rc = RegEnumKeyExW(k.get(), i, buffer.data(), &len, nullptr, nullptr, nullptr, nullptr);
      if (rc != ERROR_SUCCESS) break;
      names.push_back(Narrow(std::wstring_view(buffer.data(), len)));
    }
    return names;
  }
};

}  // namespace

std::unique_ptr<Registry> NewRegistry() { return std::make_unique<Win32Registry>(); }

}  // namespace krv::win32

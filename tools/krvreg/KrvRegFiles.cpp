#include "krvreg/KrvRegFiles.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace krv {
namespace {

namespace fs = std::filesystem;

// File names arrive as UTF-8 on every platform.
fs::path NativePath(const std::string& utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

std::string Utf8Name(const fs::path& path) {
  const std::u8string name = path.u8string();
  return std::string(name.begin(), name.end());
}

std::string Failure(const char* api, const fs::path& path, const std::error_code& ec) {
  return std::string(api) + "(" + Utf8Name(path) + "): " + ec.message();
}

std::error_code LastErrno() { return std::error_code(errno != 0 ? errno : EIO, std::generic_category()); }

void CopyInto(Registry& reg, Hive hive, const std::string& path, RegKey& into) {
  for (const std::string& name : reg.ValueNames(hive, path)) {
    RegValue value;
    // A value removed since the listing is simply not exported.
    if (reg.ReadValue(hive, path, name, &value, nullptr) == RegStatus::kOk) into.SetValue(name, value);
  }
  for (const std::string& sub : reg.SubKeys(hive, path)) {
    CopyInto(reg, hive, path.empty() ? sub : path + "\\" + sub, *into.GetOrCreateChild(sub));
  }
}

}  // namespace

bool ReadWholeFile(const std::string& file, std::string* bytes, std::string* why) {
  const fs::path path = NativePath(file);
  std::error_code ec;
  if (fs::is_directory(path, ec)) {
    *why = Failure("open", path, std::make_error_code(std::errc::is_a_directory));
    return false;
  }
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *why = Failure("open", path, LastErrno());
    return false;
  }
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) {
    *why = Failure("read", path, LastErrno());
    return false;
  }
  *bytes = std::move(buffer).str();
  return true;
}

bool FileExists(const std::string& file) {
  std::error_code ec;
  return fs::exists(NativePath(file), ec);
}

bool WriteWholeFile(const std::string& file, const std::string& bytes, std::string* why) {
  fs::path target = NativePath(file);
  std::error_code ec;
  if (fs::is_symlink(fs::symlink_status(target, ec))) {
    const fs::path resolved = fs::canonical(target, ec);
    if (!ec) target = resolved;
  }
  fs::path temp = target;
  temp += ".krvreg-tmp";
  {
    errno = 0;
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) {
      *why = Failure("open", temp, LastErrno());
      return false;
    }
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      *why = Failure("write", temp, LastErrno());
      fs::remove(temp, ec);
      return false;
    }
  }
  const fs::file_status old = fs::status(target, ec);
  if (!ec && fs::exists(old)) fs::permissions(temp, old.permissions(), ec);
  fs::rename(temp, target, ec);
  if (ec) {
    *why = Failure("rename", target, ec);
    fs::remove(temp, ec);
    return false;
  }
  return true;
}

RegKey CopyKeyTree(Registry& reg, Hive hive, const std::string& key) {
  const std::vector<std::string> parts = SplitKeyPath(key);
  RegKey copy(parts.empty() ? std::string(HiveName(hive)) : parts.back());
  CopyInto(reg, hive, key, copy);
  return copy;
}

}  // namespace krv

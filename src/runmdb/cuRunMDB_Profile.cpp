// The "/Profile" part of the Access command line and the escaping of
// argument texts.
#include "runmdb/RunMdbErrors.h"
#include "runmdb/cuRunMDB.h"

namespace krv {
namespace {

using H = cuRunMDB_Helpers;

constexpr int32_t kHKLM = static_cast<int32_t>(0x80000002u);

}  // namespace

std::string cuRunMDB::RegProfileKey(int index) {
  if (index < 0 || index > 3) return "";
  return "SOFTWARE\\Microsoft\\Office\\" + std::to_string(index + 8) + ".0\\Access\\Profiles";
}

std::string cuRunMDB::GetProfile() {
  Log("[Profil]", true);
  if (profile_.empty()) {
    Log("Kein Profil eingestellt");
    return "";
  }
  Log("Profil: " + profile_);
  if (verify_profile_) {
    const int index = acc_version_ == -1 ? 0 : acc_version_;
    const std::string key = index >= 0 && index <= 3 ? RegProfileKey(index) : "";
    Log("Schlüssel: " + key);
    if (!key.empty() && helpers_.RegValueExists(kHKLM, key, profile_)) {
      Log("Profil: OK");
    } else {
      Log("Profil ist nicht vorhanden");
      Fail(kRunMdbProfileNotFound, "GetProfile", profile_);
    }
  }
  std::string escaped = EscapeArgument(profile_);
  CheckArgument(escaped, "Profil");
  return "/Profile " + H::QuoteString(escaped, false, true);
}

std::string cuRunMDB::EscapeArgument(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    out += c;
    if (c == '/' || c == ';') out += c;
  }
  return out;
}

}  // namespace krv

// Feeds arbitrary bytes as what a backend file and its tables hold: the file
// header to the engine test, a stored replica expiry to the backend object,
// and a stored timestamp to the format service. None may crash; a bad date
// is an error with the backend's name, never a value.
#include <cstdint>
#include <string>

#include "base/KrvError.h"
#include "suite/krvBackend.h"
#include "suite/krvFormat.h"
#include "testing/FuzzCheck.h"

namespace {

// A backend whose replica table holds `text` as its expiry date.
class OneValue final : public krv::DbConnection, public krv::Database {
 public:
  explicit OneValue(std::string text) : text_(std::move(text)) {}
  krv::DbEngine Engine() const override { return krv::DbEngine::kSqlite; }
  bool ReadOnly() const override { return true; }
  bool Execute(const std::string&, int64_t*, std::string*) override { return false; }
  bool QueryValue(const std::string&, std::string* value, bool* has_row, std::string*) override {
    *value = text_;
    *has_row = true;
    return true;
  }
  bool HasTable(const std::string&, bool* exists, std::string*) override { return *exists = true; }
  std::unique_ptr<krv::DbConnection> Open(const std::string&, krv::DbStatus* status, std::string*) override {
    *status = krv::DbStatus::kOk;
    return std::make_unique<OneValue>(text_);
  }

 private:
  std::string text_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  krv::EngineFromHeader(text);
  const std::string shown = krv::FormatStoredTimestamp(text);
  krv::FuzzCheck(shown == text || shown.size() == 16);
  OneValue db(text);
  try {
    const std::optional<krv::LocalTime> expiry = krv::krvBackend(&db, "C:\\b.mdb").ReplicaExpiry();
    krv::FuzzCheck(expiry && expiry->month >= 1 && expiry->month <= 12 && expiry->day >= 1 && expiry->day <= 31);
    krv::FormatDate(*expiry);
  } catch (const krv::KrvError& e) {
    krv::FuzzCheck(e.number == krv::kErrBackendDatabase && e.description.find("C:\\b.mdb") != std::string::npos);
  }
  return 0;
}

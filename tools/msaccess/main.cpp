// Stand-in for msaccess.exe in sandbox installations: records its arguments
// in "msaccess.args" beside itself and, like Access with Jet, opens the data
// backend of the settings, creates and holds its lock file and writes one
// record to "USysLock". It stays for KRV_ACCESS_STAY seconds (default 0) and
// removes both at a normal end; killed, it leaves both behind.
#include <cstdio>
#include <memory>

#include "msaccess/StandIn.h"

int main(int argc, char** argv) {
  using namespace krv;
  if (!standin::RecordArguments("msaccess", standin::Arguments(argc, argv))) return 1;
  const std::string backend = standin::BackendPath();
  if (backend.empty()) return 0;  // nothing to open, as with a front end alone
  std::unique_ptr<Database> service = CreateOdbcDatabase();
  DbStatus status = DbStatus::kFailed;
  std::string err;
  std::unique_ptr<DbConnection> db = service->Open(backend, &status, &err);
  if (!db) {
    std::fprintf(stderr, "msaccess: %s: %s\n", backend.c_str(), err.c_str());
    return 0;  // Access shows its own error; the arguments are recorded
  }
  standin::LockFile lock(backend);
  const std::string me = standin::ProcessTag("msaccess");
  const bool recorded = db->Execute("INSERT INTO [USysLock] ([Benutzer]) VALUES ('" + me + "')", nullptr, &err);
  if (!recorded) std::fprintf(stderr, "msaccess: USysLock: %s\n", err.c_str());
  std::fflush(stderr);
  standin::Sleep(standin::Seconds("KRV_ACCESS_STAY"));
  if (recorded) db->Execute("DELETE FROM [USysLock] WHERE [Benutzer] = '" + me + "'", nullptr, &err);
  lock.Release();
  return 0;
}

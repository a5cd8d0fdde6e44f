// Stand-in for the suite's sibling programs that the starter hands over to
// (krvcmp25, krvup25): records its arguments in "<name>.args" beside itself.
// The compressor also really compacts an SQLite data backend of the settings
// and records its new size in the size history, as the real one does.
#include <cstdio>
#include <memory>

#include "msaccess/StandIn.h"

#ifndef KRV_STANDIN_NAME
#error "KRV_STANDIN_NAME names the program"
#endif

int main(int argc, char** argv) {
  using namespace krv;
  const std::string name = KRV_STANDIN_NAME;
  if (!standin::RecordArguments(name, standin::Arguments(argc, argv))) return 1;
  if (name != "krvcmp25") return 0;
  const std::string backend = standin::BackendPath();
  std::unique_ptr<Database> service = CreateOdbcDatabase();
  DbStatus status = DbStatus::kFailed;
  std::string err;
  std::unique_ptr<DbConnection> db = backend.empty() ? nullptr : service->Open(backend, &status, &err);
  if (!db || db->Engine() != DbEngine::kSqlite || !db->Execute("VACUUM", nullptr, &err)) {
    std::fprintf(stderr, "krvcmp25: %s nicht komprimiert: %s\n", backend.c_str(), err.c_str());
    return 1;
  }
  std::printf("krvcmp25: %s komprimiert\n", backend.c_str());
  standin::RecordCompressedSize(*db, backend);
  return 0;
}

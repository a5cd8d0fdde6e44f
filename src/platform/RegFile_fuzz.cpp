// Parsing must not crash on any bytes, and whatever it reads must survive an
// export and a re-import: the export parses without a warning and exporting
// again gives the same bytes (ANSI after one round that settles the characters
// Windows-1252 cannot hold).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/RegFile.h"

namespace {

void Require(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "RegFile_fuzz: %s\n", what);
  std::abort();
}

std::string Export(krv::Hive hive, const krv::RegTree& tree, krv::RegFormat format) {
  return krv::EncodeRegFile(krv::ExportRegText(hive, "", tree.root(), format), format);
}

// Parses an export of ours back into a tree; it must be clean.
void Reimport(const std::string& bytes, krv::Hive hive, krv::RegTree* tree) {
  krv::RegParseResult parsed;
  std::string err;
  Require(krv::ParseRegFile(bytes, &parsed, &err), "export does not parse");
  Require(parsed.warnings.empty(), "export parses with warnings");
  tree->Clear();
  krv::ApplyRegOps(*tree, hive, parsed.ops);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  krv::RegParseResult parsed;
  std::string err;
  if (!krv::ParseRegFile(std::string_view(reinterpret_cast<const char*>(data), size), &parsed, &err)) return 0;
  for (krv::Hive hive : {krv::Hive::ClassesRoot, krv::Hive::CurrentUser, krv::Hive::LocalMachine, krv::Hive::Users}) {
    krv::RegTree tree;
    krv::ApplyRegOps(tree, hive, parsed.ops);
    for (krv::RegFormat format : {krv::RegFormat::kUnicode5, krv::RegFormat::kRegedit4}) {
      const std::string first = Export(hive, tree, format);
      krv::RegTree again;
      Reimport(first, hive, &again);
      const std::string second = Export(hive, again, format);
      if (format == krv::RegFormat::kUnicode5) Require(second == first, "5.00 export changes on re-import");
      Reimport(second, hive, &again);
      Require(Export(hive, again, format) == second, "REGEDIT4 export does not settle");
    }
  }
  return 0;
}

// Runs a fuzz target over the files of the folders or files given on the
// command line, and over deterministic mutations of each, so every fuzz
// target doubles as a quick test when libFuzzer is not linked.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

void Run(const std::string& input) {
  LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
}

// Runs a file as it is, then flipped, truncated and spliced with a fixed
// seed: cheap, repeatable. Returns 1 for the count of files replayed.
size_t RunFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream read;
  read << in.rdbuf();
  const std::string seed = read.str();
  Run(seed);
  uint32_t state = 2463534242u;
  auto next = [&state] {
    state ^= state << 13;
    state ^= state >> 17;
    return state ^= state << 5;
  };
  for (int round = 0; round < 200; ++round) {
    std::string m = seed;
    for (uint32_t edits = 1 + next() % 8; edits > 0 && !m.empty(); --edits) {
      const size_t pos = next() % m.size();
      const uint32_t op = next() % 4;
      if (op == 0) {
        m[pos] = static_cast<char>(next());
      } else if (op == 1) {
        m.erase(pos, 1 + next() % 4);
      } else if (op == 2) {
        m.insert(pos, m.substr(next() % m.size(), 1 + next() % 16));
      } else {
        m.resize(pos);
      }
    }
    Run(m);
  }
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  size_t files = 0;
  Run("");
  for (int i = 1; i < argc; ++i) {
    if (std::filesystem::is_directory(argv[i])) {
      for (const auto& entry : std::filesystem::directory_iterator(argv[i])) files += RunFile(entry.path());
    } else if (std::filesystem::exists(argv[i])) {
      files += RunFile(argv[i]);
    }
  }
  std::printf("%zu inputs replayed with mutations\n", files);
  return 0;
}

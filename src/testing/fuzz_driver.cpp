// Runs a fuzz target over the files of the folders or files given on the
// command line, and over deterministic mutations of each, so every fuzz
// target doubles as a quick test when libFuzzer is not linked.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

void Run(const std::string& input) {
  LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
}

// Flips, truncates and splices bytes with a fixed seed: cheap, repeatable.
void RunMutations(const std::string& seed) {
  uint32_t state = 2463534242u;
  auto next = [&state] {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
  };
  for (int round = 0; round < 200; ++round) {
    std::string m = seed;
    const int edits = 1 + static_cast<int>(next() % 8);
    for (int e = 0; e < edits && !m.empty(); ++e) {
      const size_t pos = next() % m.size();
      switch (next() % 4) {
        case 0:
          m[pos] = static_cast<char>(next());
          break;
        case 1:
          m.erase(pos, 1 + next() % 4);
          break;
        case 2:
          m.insert(pos, m.substr(next() % m.size(), 1 + next() % 16));
          break;
        default:
          m.resize(pos);
          break;
      }
    }
    Run(m);
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::filesystem::path> files;
  for (int i = 1; i < argc; ++i) {
    std::filesystem::path p(argv[i]);
    if (std::filesystem::is_directory(p)) {
      for (const auto& entry : std::filesystem::directory_iterator(p)) files.push_back(entry.path());
    } else if (std::filesystem::exists(p)) {
      files.push_back(p);
    }
  }
  Run("");
  for (const auto& file : files) {
    std::ifstream in(file, std::ios::binary);
    const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Run(content);
    RunMutations(content);
  }
  std::printf("%zu inputs replayed with mutations\n", files.size());
  return 0;
}

#include "suite/PeVersion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "suite/FileVersion.h"
#include "testing/FakeFileSystem.h"

namespace krv {
namespace {

// Tiny programs built by the mingw tool chains from src/suite/testdata, with
// the file version 2.5.17.4711.
std::vector<uint8_t> LoadSample(const char* name) {
  const char* root = std::getenv("KRV_SOURCE_DIR");
  if (!root) return {};
  std::ifstream in(std::string(root) + "/fuzz/corpus/PeVersion_fuzz/" + name, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Put32(std::vector<uint8_t>& image, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) image.at(at + i) = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t Get32(const std::vector<uint8_t>& image, size_t at) {
  return image.at(at) | image.at(at + 1) << 8 | image.at(at + 2) << 16 | static_cast<uint32_t>(image.at(at + 3)) << 24;
}

class PeVersionSample : public testing::TestWithParam<const char*> {};

TEST_P(PeVersionSample, ReadsTheFixedFileVersion) {
  const std::vector<uint8_t> image = LoadSample(GetParam());
  ASSERT_GT(image.size(), 1024u) << "set KRV_SOURCE_DIR to the source tree";
  std::string version, err;
  ASSERT_TRUE(PeFileVersion(image, &version, &err)) << err;
  EXPECT_EQ(version, "2.5.17.4711");
}

// Every prefix of a real program is read without touching a byte past its
// end (the sanitizer build checks that) and gives the version or nothing.
TEST_P(PeVersionSample, TruncatedImagesFailCleanly) {
  const std::vector<uint8_t> image = LoadSample(GetParam());
  ASSERT_FALSE(image.empty());
  for (size_t size = 0; size < image.size(); ++size) {
    const std::vector<uint8_t> prefix(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(size));
    std::string version;
    if (PeFileVersion(prefix, &version)) {
      EXPECT_EQ(version, "2.5.17.4711") << size;
    }
  }
}

// Damaged header fields are refused, whatever they point at.
TEST_P(PeVersionSample, DamagedFieldsAreRefused) {
  const std::vector<uint8_t> image = LoadSample(GetParam());
  ASSERT_FALSE(image.empty());
  const uint32_t pe = Get32(image, 0x3C);
  const size_t opt = pe + 24;
  const bool pe32 = image.at(opt) == 0x0B && image.at(opt + 1) == 0x01;
  const size_t resource_dir = opt + (pe32 ? 96 : 112) + 16;
  struct Damage {
    const char* what;
    size_t at;
    uint32_t value;
  };
  const Damage damages[] = {
      {"MZ", 0, 0x00005A4E},
      {"e_lfanew far away", 0x3C, 0xFFFFFFF0u},
      {"PE signature", pe, 0x00004551},
      {"optional header magic", opt, 0x0000010C | (Get32(image, opt) & 0xFFFF0000u)},
      {"no resource directory", resource_dir, 0},
      {"resource directory outside", resource_dir, 0x7FFFFFF0u},
  };
  for (const Damage& d : damages) {
    std::vector<uint8_t> bad = image;
    Put32(bad, d.at, d.value);
    std::string version, err;
    EXPECT_FALSE(PeFileVersion(bad, &version, &err)) << d.what;
    EXPECT_FALSE(err.empty()) << d.what;
  }
}

// The version resource's signature and key are checked.
TEST_P(PeVersionSample, DamagedVersionResourceIsRefused) {
  const std::vector<uint8_t> image = LoadSample(GetParam());
  ASSERT_FALSE(image.empty());
  const uint8_t signature[] = {0xBD, 0x04, 0xEF, 0xFE};
  const auto at = std::search(image.begin(), image.end(), std::begin(signature), std::end(signature));
  ASSERT_NE(at, image.end());
  std::vector<uint8_t> bad = image;
  bad[static_cast<size_t>(at - image.begin())] = 0;
  std::string version;
  EXPECT_FALSE(PeFileVersion(bad, &version));
  bad = image;
  bad[static_cast<size_t>(at - image.begin()) - 40 + 6] = 'X';  // first letter of "VS_VERSION_INFO"
  EXPECT_FALSE(PeFileVersion(bad, &version));
}

INSTANTIATE_TEST_SUITE_P(Programs, PeVersionSample, testing::Values("tiny32.exe", "tiny64.exe"));

TEST(PeVersion, NoProgramAtAll) {
  std::string version, err;
  EXPECT_FALSE(PeFileVersion({}, &version, &err));
  const std::string text = "MZ but nothing else";
  EXPECT_FALSE(PeFileVersion(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()), &version, &err));
  EXPECT_EQ(err, "no PE image");
}

TEST(FileVersion, ProgramsByResourceAccessFilesBySideFile) {
  FakeFileSystem fs;
  const std::vector<uint8_t> image = LoadSample("tiny32.exe");
  ASSERT_FALSE(image.empty());
  fs.AddFile("C:\\Korvella\\krvup25.exe", std::string(image.begin(), image.end()));
  fs.AddFile("C:\\Korvella\\krvlib25.mde", "Jet");
  fs.AddFile("C:\\Korvella\\krvlib25.mde.version", "[Version]\r\nFile=2.5.0.12\t; Bibliothek\r\n");
  fs.AddFile("C:\\Korvella\\krv25.mde", "Jet");
  fs.AddFile("C:\\Daten\\alt.mdb.version", "[Version]\nFile=2.4.0.0\n");  // without its database
  fs.AddFile("C:\\Korvella\\leer.dll", "");

  EXPECT_EQ(FileVersion(fs, "C:\\Korvella\\krvup25.exe"), "2.5.17.4711");
  EXPECT_EQ(FileVersion(fs, "C:\\Korvella\\KRVLIB25.MDE"), "2.5.0.12");
  EXPECT_EQ(FileVersion(fs, "C:\\Korvella\\krv25.mde"), "");  // no side file
  EXPECT_EQ(FileVersion(fs, "C:\\Daten\\alt.mdb"), "");
  EXPECT_EQ(FileVersion(fs, "C:\\Korvella\\leer.dll"), "");
  EXPECT_EQ(FileVersion(fs, "C:\\Korvella\\fehlt.exe"), "");
  EXPECT_EQ(FileVersion(fs, ""), "");
}

}  // namespace
}  // namespace krv

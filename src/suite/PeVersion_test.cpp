#include "suite/PeVersion.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <tuple>
#include <vector>

#include "suite/FileVersion.h"
#include "suite/VersionCompare.h"
#include "testing/FakeFileSystem.h"

namespace krv {
namespace {

// Tiny programs built by the mingw tool chains from src/suite/testdata, file version 2.5.17.4711.
std::vector<uint8_t> LoadSample(const char* name) {
  const char* root = std::getenv("KRV_SOURCE_DIR");
  std::ifstream in(std::string(root ? root : ".") + "/fuzz/corpus/PeVersion_fuzz/" + name, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Version(const std::vector<uint8_t>& image) {
  std::string version, err;
  return PeFileVersion(image, &version, &err) ? version : "error: " + err;
}

class PeVersionSample : public testing::TestWithParam<const char*> {};

// Every prefix gives the version or an error without reading past its end
// (the sanitizer build checks that); damaged fields are refused.
TEST_P(PeVersionSample, ReadsTheFixedFileVersionAndRefusesDamage) {
  const std::vector<uint8_t> image = LoadSample(GetParam());
  ASSERT_GT(image.size(), 1024u) << "set KRV_SOURCE_DIR to the source tree";
  EXPECT_EQ(Version(image), "2.5.17.4711");
  for (size_t size = 0; size < image.size(); ++size) {
    const std::string v = Version(std::vector<uint8_t>(image.begin(), image.begin() + static_cast<long>(size)));
    EXPECT_TRUE(v == "2.5.17.4711" || v.starts_with("error: ")) << size << " " << v;
  }
  const size_t pe = image[0x3C] | image[0x3D] << 8, opt = pe + 24;
  const size_t resource_dir = opt + (image[opt] == 0x0B && image[opt + 1] == 0x01 ? 96 : 112) + 16;
  const size_t fixed = std::string(image.begin(), image.end()).find("\xBD\x04\xEF\xFE");
  for (const auto& [at, value, error] : {std::tuple<size_t, uint8_t, const char*>{0, 'N', "no PE image"},
                                         {pe + 1, 'F', "no PE image"},
                                         {resource_dir + 3, 0x7F, "no version resource"},
                                         {fixed, 0, "damaged version resource"},
                                         {fixed - 40 + 6, 'X', "damaged version resource"}}) {  // "VS_VERSION_INFO"
    std::vector<uint8_t> bad = image;
    bad.at(at) = value;
    EXPECT_EQ(Version(bad), std::string("error: ") + error) << at;
  }
}

INSTANTIATE_TEST_SUITE_P(Programs, PeVersionSample, testing::Values("tiny32.exe", "tiny64.exe"));

TEST(FileVersion, ProgramsByResourceAccessFilesBySideFile) {
  FakeFileSystem fs;
  const std::vector<uint8_t> image = LoadSample("tiny32.exe");
  fs.AddFile("C:\\K\\krvup25.exe", std::string(image.begin(), image.end()));
  fs.AddFile("C:\\K\\krvlib25.mde.version", "[Version]\r\nFile=2.5.0.12\t; Bibliothek\r\n");
  fs.AddFile("C:\\K\\krvlib25.mde", "Jet");
  fs.AddFile("C:\\K\\alt.mdb.version", "[Version]\nFile=2.4.0.0\n");  // without its database
  EXPECT_EQ(FileVersion(fs, "C:\\K\\krvup25.exe") + FileVersion(fs, "C:\\K\\KRVLIB25.MDE"), "2.5.17.47112.5.0.12");
  EXPECT_EQ(FileVersion(fs, "C:\\K\\alt.mdb") + FileVersion(fs, "C:\\K\\krvlib25.mde.version"), "");
}

TEST(VersionCompare, FieldByFieldAsNumbers) {
  const struct {
    const char *a, *b;
    int expected;
  } cases[] = {{"2.5.0.12", "2.5.0.9", kVersionHigher},
               {"2.5", "2.5.0.0", kVersionEqual},
               {"2.5.0.1", "2.5", kVersionHigher},
               {" 02.05 . 1 ", "2.5.1", kVersionEqual},
               {"99999999999999999999", "100000000000000000000", kVersionLower},
               {"2.5", "2.5a", kVersionNotComparable},
               {"2..5", "2.5", kVersionNotComparable}};
  for (const auto& c : cases) EXPECT_EQ(VersionCompare(c.a, c.b), c.expected) << c.a << " vs " << c.b;
}

}  // namespace
}  // namespace krv
